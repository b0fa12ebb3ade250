#include "pelvarapplication.h"

#include "appcore/platform.h"
#include "basekit/errors.h"

namespace {
TPelvarApplication::TExceptionHandler gHandler;
}

TPelvarApplication::TPelvarApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TPelvarApplication::SetExceptionHandler(TExceptionHandler handler) {
    gHandler = std::move(handler);
}

void TPelvarApplication::HandleException(const std::exception& e) {
    if (gHandler)
        gHandler(e);
    else
        BaseMng().ShowException(nullptr, e);
}

bool TPelvarApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        HandleException(EPelvarError(QStringLiteral("An unknown error occurred")));
    }
    return false;
}
