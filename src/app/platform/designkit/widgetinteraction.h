#pragma once

#include "basekit/interaction.h"

// The interaction seam with real widgets: message boxes, file and directory
// dialogs, modal forms, the error display and progress windows.
class TWidgetInteraction final : public TInteraction {
  public:
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    QString OpenFileName(const QString& caption, const QString& dir,
                         const QString& filter) override;
    QStringList OpenFileNames(const QString& caption, const QString& dir,
                              const QString& filter) override;
    QString SaveFileName(const QString& caption, const QString& dir, const QString& filter,
                         const QString& defaultSuffix) override;
    QString SelectDirectory(const QString& caption, const QString& dir) override;
    int ExecModal(QObject* form) override;
    void ShowException(const QString& className, const QString& message,
                       const QStringList& stack) override;
    std::unique_ptr<TProgressSink> BeginProgress(const QString& caption) override;
};

// "Text files|*.txt|All|*.*" (the platform's filter form) as a Qt filter
// "Text files (*.txt);;All (*.*)". A filter already in Qt form is kept.
QString QtFileFilter(const QString& filter);
