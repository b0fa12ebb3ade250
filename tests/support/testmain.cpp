#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include "appcore/platform.h"
#include "basekit/registry.h"
#include "scriptedinteraction.h"
#include "testenv.h"

// Every test executable runs offscreen, in a UTF-8 locale, with its own ODBC
// configuration and settings file, the platform created and the scripted
// interaction installed.
int main(int argc, char** argv) {
    // gtest_discover_tests runs the binary at build time without the tests'
    // environment: make the display headless here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("LANG")) qputenv("LANG", "C.UTF-8");
    setlocale(LC_ALL, "C.UTF-8");
    TTestEnvironment& env = TTestEnvironment::Instance();  // before any ODBC call
    qputenv("XDG_RUNTIME_DIR", env.Dir().toLocal8Bit());
    QDir().mkpath(env.Dir());
    QFile::setPermissions(env.Dir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetSettingsFileName(env.Dir() + QStringLiteral("/settings.ini"));
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    TPlatform platform;
    TScriptedInteraction script;
    return RUN_ALL_TESTS();
}
