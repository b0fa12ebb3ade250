#include <QCoreApplication>

#include "testrun.h"

// Test executables of the widget-free platform libraries: Qt Core only.
int main(int argc, char** argv) {
    PrepareTestProcess();
    QCoreApplication app(argc, argv);
    return RunPelvarTests(argc, argv);
}
