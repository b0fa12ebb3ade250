#include "scriptedinteraction.h"

namespace {

TScriptedInteraction* gScript = nullptr;

class TScriptedProgress final : public TProgressSink {
  public:
    TScriptedProgress(std::shared_ptr<TScriptedInteraction::TProgressLog> log, int cancelAfter)
        : FLog(std::move(log)), FCancelAfter(cancelAfter) {}
    void SetStatus(const QString& text) override { FLog->Statuses << text; }
    void SetProgress(qint64 position, qint64 maximum) override {
        FLog->LastPosition = position;
        FLog->LastMaximum = maximum;
    }
    bool CancelRequested() override {
        if (FCancelAfter < 0) return false;
        return FChecks++ >= FCancelAfter;
    }
    void ReportError(const QString& text) override { FLog->Errors << text; }
    void Finish() override { FLog->Finished = true; }

  private:
    std::shared_ptr<TScriptedInteraction::TProgressLog> FLog;
    int FCancelAfter;
    int FChecks = 0;
};

// The button a message box with `flags` answers to Enter: its default button.
int DefaultButton(int flags) {
    QList<int> buttons;
    switch (flags & MB::ButtonMask) {
        case MB::OKCANCEL:
            buttons = {IDOK, IDCANCEL};
            break;
        case MB::YESNOCANCEL:
            buttons = {IDYES, IDNO, IDCANCEL};
            break;
        case MB::YESNO:
            buttons = {IDYES, IDNO};
            break;
        default:
            buttons = {IDOK};
            break;
    }
    const int index = (flags & 0xF00) >> 8;
    return buttons.value(index, buttons.first());
}

}  // namespace

TScriptedInteraction& Script() {
    return *gScript;
}

TScriptedInteraction::TScriptedInteraction() {
    FPrevious = SetInteraction(this);
    FPreviousScript = gScript;
    gScript = this;
}

TScriptedInteraction::~TScriptedInteraction() {
    SetInteraction(FPrevious);
    // A script made inside a test hands Script() back to the one it replaced.
    if (gScript == this) gScript = FPreviousScript;
}

bool TScriptedInteraction::AllAnswersUsed() const {
    return FMessages.empty() && FFiles.empty() && FFileLists.empty() && FDirectories.empty() &&
           FModals.empty();
}

void TScriptedInteraction::Reset() {
    FMessages.clear();
    FFiles.clear();
    FFileLists.clear();
    FDirectories.clear();
    FModals.clear();
    FCancelAfter = -1;
    Asked.clear();
    Unexpected.clear();
    Progress.clear();
}

int TScriptedInteraction::MessageBox(const QString& text, const QString& caption, int flags) {
    TAsked a{QStringLiteral("message"), text, caption, flags};
    Asked << a;
    if (FMessages.empty()) {
        Unexpected << a;
        const int buttons = flags & MB::ButtonMask;
        return buttons == MB::OK ? IDOK : buttons == MB::YESNO ? IDNO : IDCANCEL;
    }
    const int answer = FMessages.front();
    FMessages.pop_front();
    return answer == kEnter ? DefaultButton(flags) : answer;
}

QString TScriptedInteraction::OpenFileName(const QString& caption, const QString& dir,
                                           const QString& filter) {
    TAsked a{QStringLiteral("open"), dir + QLatin1Char('|') + filter, caption, 0};
    Asked << a;
    if (FFiles.empty()) {
        Unexpected << a;
        return {};
    }
    const QString f = FFiles.front();
    FFiles.pop_front();
    return f;
}

QStringList TScriptedInteraction::OpenFileNames(const QString& caption, const QString& dir,
                                                const QString& filter) {
    TAsked a{QStringLiteral("openmany"), dir + QLatin1Char('|') + filter, caption, 0};
    Asked << a;
    if (FFileLists.empty()) {
        Unexpected << a;
        return {};
    }
    const QStringList f = FFileLists.front();
    FFileLists.pop_front();
    return f;
}

QString TScriptedInteraction::SaveFileName(const QString& caption, const QString& dir,
                                           const QString& filter, const QString& defaultSuffix) {
    TAsked a{QStringLiteral("save"),
             dir + QLatin1Char('|') + filter + QLatin1Char('|') + defaultSuffix, caption, 0};
    Asked << a;
    if (FFiles.empty()) {
        Unexpected << a;
        return {};
    }
    const QString f = FFiles.front();
    FFiles.pop_front();
    return f;
}

QString TScriptedInteraction::SelectDirectory(const QString& caption, const QString& dir) {
    TAsked a{QStringLiteral("directory"), dir, caption, 0};
    Asked << a;
    if (FDirectories.empty()) {
        Unexpected << a;
        return {};
    }
    const QString d = FDirectories.front();
    FDirectories.pop_front();
    return d;
}

int TScriptedInteraction::ExecModal(QObject* form) {
    TAsked a{QStringLiteral("modal"), form ? form->objectName() : QString(), QString(), 0};
    Asked << a;
    if (FModals.empty()) {
        Unexpected << a;
        return IDCANCEL;
    }
    auto fill = std::move(FModals.front());
    FModals.pop_front();
    return fill(form);
}

void TScriptedInteraction::ShowException(const QString& className, const QString& message,
                                         const QStringList&) {
    Asked << TAsked{QStringLiteral("exception"), message, className, 0};
}

std::unique_ptr<TProgressSink> TScriptedInteraction::BeginProgress(const QString& caption) {
    auto log = std::make_shared<TProgressLog>();
    log->Caption = caption;
    Progress << log;
    const int cancel = FCancelAfter;
    FCancelAfter = -1;
    return std::make_unique<TScriptedProgress>(log, cancel);
}
