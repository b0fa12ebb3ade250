#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

#include "basekit/interaction.h"

// The interaction seam for tests: answers come from a script, in order, and
// everything asked is recorded. A question without a scripted answer is
// recorded as unexpected and answered with Cancel (or No / an empty name).
class TScriptedInteraction : public TInteraction {
  public:
    struct TAsked {
        QString Kind;  // "message", "open", "openmany", "save", "directory", "modal", "exception"
        QString Text;
        QString Caption;
        int Flags = 0;
    };
    struct TProgressLog {
        QString Caption;
        QStringList Statuses;
        QStringList Errors;
        qint64 LastPosition = 0;
        qint64 LastMaximum = 0;
        bool Finished = false;
    };

    TScriptedInteraction();
    ~TScriptedInteraction() override;

    void AnswerMessage(int button) { FMessages.push_back(button); }
    // The next message box is answered with its default button, as Enter does.
    void AnswerMessageWithEnter() { FMessages.push_back(kEnter); }
    void AnswerFile(const QString& name) { FFiles.push_back(name); }
    void AnswerFiles(const QStringList& names) { FFileLists.push_back(names); }
    void AnswerDirectory(const QString& dir) { FDirectories.push_back(dir); }
    // `fill` receives the form, may set its widgets, and returns the modal result.
    void AnswerModal(std::function<int(QObject* form)> fill) { FModals.push_back(std::move(fill)); }
    // The next modal form is a login: its user name and password are filled in, then OK.
    void AnswerLogin(const QString& user, const QString& password);
    // The next progress window asks to cancel once `afterChecks` checks have passed.
    void CancelProgressAfter(int afterChecks) { FCancelAfter = afterChecks; }

    QList<TAsked> Asked;
    QList<TAsked> Unexpected;
    QList<std::shared_ptr<TProgressLog>> Progress;
    bool AllAnswersUsed() const;
    void Reset();

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

  private:
    static constexpr int kEnter = -1;
    std::deque<int> FMessages;
    std::deque<QString> FFiles;
    std::deque<QStringList> FFileLists;
    std::deque<QString> FDirectories;
    std::deque<std::function<int(QObject*)>> FModals;
    int FCancelAfter = -1;
    TInteraction* FPrevious = nullptr;
    TScriptedInteraction* FPreviousScript = nullptr;
};

// The scripted seam installed by the test main().
TScriptedInteraction& Script();
