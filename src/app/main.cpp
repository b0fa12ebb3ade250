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
    // Started through PATH, argv[0] is a bare name: debug.ini and pelvar.log
    // belong beside the executable, not in the working directory.
    TPelvarStartupPlatform startup(
        argc, argv,
        ProgramPath(QString::fromLocal8Bit(argv[0]), QString::fromLocal8Bit(qgetenv("PATH"))));
    return RunStartup(arguments, startup.ProgramDirectory(), startup);
}
