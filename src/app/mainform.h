#pragma once

#include <QMainWindow>
#include <exception>
#include <memory>

class TTraceLog;

// The main window of the program.
class TDictionaryForm final : public QMainWindow {
    Q_OBJECT
  public:
    explicit TDictionaryForm(const QString& programDir, QWidget* parent = nullptr);
    ~TDictionaryForm() override;

    // The application's handler of unhandled exceptions: shows each one once;
    // one raised while another is being shown is dropped.
    void AppException(const std::exception& e);
    bool ExceptionFlag() const { return FExceptionFlag; }
    TTraceLog* TraceLog() const { return FTraceLog.get(); }

    static TDictionaryForm* Instance();

  private:
    bool FExceptionFlag = false;
    std::unique_ptr<TTraceLog> FTraceLog;
};
