#include "testrun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <clocale>

#include "appcore/platform.h"
#include "basekit/registry.h"
#include "scriptedinteraction.h"
#include "testenv.h"

void PrepareTestProcess() {
    if (qEnvironmentVariableIsEmpty("LANG")) qputenv("LANG", "C.UTF-8");
    setlocale(LC_ALL, "C.UTF-8");
    TTestEnvironment& env = TTestEnvironment::Instance();  // before any ODBC call
    qputenv("XDG_RUNTIME_DIR", env.Dir().toLocal8Bit());
    QDir().mkpath(env.Dir());
    QFile::setPermissions(env.Dir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    SetSettingsFileName(env.Dir() + QStringLiteral("/settings.ini"));
}

int RunPelvarTests(int& argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TPlatform platform;
    TScriptedInteraction script;
    return RUN_ALL_TESTS();
}
