#pragma once

#include <QApplication>
#include <exception>
#include <functional>

// The application object: no exception ever crosses the event loop. Whatever a
// handler raises goes to the installed handler (the main window's
// AppException), or to the application manager's display before it exists.
class TPelvarApplication final : public QApplication {
  public:
    TPelvarApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    using TExceptionHandler = std::function<void(const std::exception&)>;
    static void SetExceptionHandler(TExceptionHandler handler);
    static void HandleException(const std::exception& e);
};
