#include <QApplication>

#include "testrun.h"

// Test executables of windows and dialogs: offscreen, with a QApplication.
int main(int argc, char** argv) {
    // gtest_discover_tests runs the binary at build time without the tests'
    // environment: make the display headless here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareTestProcess();
    QApplication app(argc, argv);
    return RunPelvarTests(argc, argv);
}
