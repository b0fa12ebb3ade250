#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "basekit/interaction.h"

class QLabel;
class QProgressBar;
class QPlainTextEdit;
class QPushButton;

// The progress window of a utility operation: caption, current step, a bar, the
// errors met so far and a Cancel button. The operation runs on the main thread;
// each check for cancellation lets the window process its events.
class TProgressForm final : public QDialog, public TProgressSink {
    Q_OBJECT
  public:
    TProgressForm(const QString& caption, QWidget* parent);
    ~TProgressForm() override;

    void SetStatus(const QString& text) override;
    void SetProgress(qint64 position, qint64 maximum) override;
    bool CancelRequested() override;
    void ReportError(const QString& text) override;
    void Finish() override;

    bool Cancelled() const { return FCancelled; }
    int ErrorCount() const { return FErrors; }

  private:
    void KeepAlive(bool force);
    QLabel* FStatus;
    QProgressBar* FBar;
    QPlainTextEdit* FErrorsView;
    QLabel* FErrorsLabel;
    QPushButton* FButton;
    QElapsedTimer FSinceEvents;
    bool FCancelled = false;
    bool FFinished = false;
    int FErrors = 0;
};
