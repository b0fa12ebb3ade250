#include <QCoreApplication>
#include <QTextStream>
#include <clocale>
#include <cstdio>

#include "appcore/platform.h"
#include "exchangecli.h"

int main(int argc, char** argv) {
    // ODBC text is UTF-8 only under a UTF-8 locale.
    if (!std::setlocale(LC_ALL, "")) std::setlocale(LC_ALL, "C.UTF-8");
    QCoreApplication app(argc, argv);
    TPlatform platform;
    QTextStream out(stdout), err(stderr);
    return RunExchangeCli(app.arguments().mid(1), out, err);
}
