#include "interaction.h"

#include <cstdio>

namespace {

class TConsoleProgress final : public TProgressSink {
  public:
    void SetStatus(const QString&) override {}
    void SetProgress(qint64, qint64) override {}
    bool CancelRequested() override { return false; }
    void ReportError(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void Finish() override {}
};

// Used where no user interface exists (command-line tools): says everything on
// stderr and declines every question.
class TConsoleInteraction final : public TInteraction {
  public:
    int MessageBox(const QString& text, const QString& caption, int flags) override {
        std::fprintf(stderr, "%s%s%s\n", qPrintable(caption), caption.isEmpty() ? "" : ": ",
                     qPrintable(text));
        const int buttons = flags & MB::ButtonMask;
        return buttons == MB::OK ? IDOK : buttons == MB::YESNO ? IDNO : IDCANCEL;
    }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QStringList OpenFileNames(const QString&, const QString&, const QString&) override {
        return {};
    }
    QString SaveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString SelectDirectory(const QString&, const QString&) override { return {}; }
    int ExecModal(QObject*) override { return IDCANCEL; }
    void ShowException(const QString& className, const QString& message,
                       const QStringList&) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(className), qPrintable(message));
    }
    std::unique_ptr<TProgressSink> BeginProgress(const QString&) override {
        return std::make_unique<TConsoleProgress>();
    }
};

TConsoleInteraction gConsole;
TInteraction* gCurrent = &gConsole;

}  // namespace

TInteraction& Interaction() {
    return *gCurrent;
}

TInteraction* SetInteraction(TInteraction* interaction) {
    TInteraction* previous = gCurrent == &gConsole ? nullptr : gCurrent;
    gCurrent = interaction ? interaction : &gConsole;
    return previous;
}
