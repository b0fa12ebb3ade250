#include "scriptedinteraction.h"

#include <QVariant>

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

namespace {

// Records the question and hands out the next scripted answer; without one the
// question is unexpected and answered empty.
template <typename T>
T Take(TScriptedInteraction& script, std::deque<T>& answers,
       const TScriptedInteraction::TAsked& asked) {
    script.Asked << asked;
    if (answers.empty()) {
        script.Unexpected << asked;
        return {};
    }
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

QString TScriptedInteraction::OpenFileName(const QString& caption, const QString& dir,
                                           const QString& filter) {
    return Take(*this, FFiles, {QStringLiteral("open"), dir + QLatin1Char('|') + filter, caption});
}

QStringList TScriptedInteraction::OpenFileNames(const QString& caption, const QString& dir,
                                                const QString& filter) {
    return Take(*this, FFileLists,
                {QStringLiteral("openmany"), dir + QLatin1Char('|') + filter, caption});
}

QString TScriptedInteraction::SaveFileName(const QString& caption, const QString& dir,
                                           const QString& filter, const QString& defaultSuffix) {
    return Take(*this, FFiles,
                {QStringLiteral("save"),
                 dir + QLatin1Char('|') + filter + QLatin1Char('|') + defaultSuffix, caption});
}

QString TScriptedInteraction::SelectDirectory(const QString& caption, const QString& dir) {
    return Take(*this, FDirectories, {QStringLiteral("directory"), dir, caption});
}

void TScriptedInteraction::AnswerLogin(const QString& user, const QString& password) {
    AnswerModal([=](QObject* form) {
        for (const auto& [name, text] :
             {std::pair{"UserNameEdit", user}, {"PasswordEdit", password}})
            if (QObject* edit = form->findChild<QObject*>(QLatin1String(name)))
                edit->setProperty("text", QVariant(text));
        return IDOK;
    });
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
