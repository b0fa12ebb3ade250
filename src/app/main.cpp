#include <clocale>

#include "appcore/platform.h"
#include "appstartup.h"
#include "basekit/errors.h"

int main(int argc, char** argv) {
    // Narrow ODBC calls carry UTF-8 only under a UTF-8 locale.
    if (!std::setlocale(LC_ALL, "")) std::setlocale(LC_ALL, "C.UTF-8");
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    TPlatform platform;
    TPelvarStartupPlatform startup(argc, argv, QString::fromLocal8Bit(argv[0]));
    return RunStartup(arguments, startup.ProgramDirectory(), startup);
}
