#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

// Message-box flags, as the Windows message box takes them.
namespace MB {
constexpr int OK = 0x0;
constexpr int OKCANCEL = 0x1;
constexpr int YESNOCANCEL = 0x3;
constexpr int YESNO = 0x4;
constexpr int ICONERROR = 0x10;
constexpr int ICONQUESTION = 0x20;
constexpr int ICONWARNING = 0x30;  // the exclamation mark
constexpr int ICONINFORMATION = 0x40;
constexpr int DEFBUTTON2 = 0x100;
constexpr int TASKMODAL = 0x2000;
constexpr int ButtonMask = 0xF;
constexpr int IconMask = 0xF0;
}  // namespace MB

// Button codes (also modal results of platform dialogs).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// What an operation reports while it runs.
class TProgressSink {
  public:
    virtual ~TProgressSink() = default;
    virtual void SetStatus(const QString& text) = 0;
    virtual void SetProgress(qint64 position, qint64 maximum) = 0;
    // Keeps the user interface alive; true once the user asked to cancel.
    virtual bool CancelRequested() = 0;
    virtual void ReportError(const QString& text) = 0;
    // The operation has ended; a window with errors stays until the user closes it.
    virtual void Finish() = 0;
};

// Every message box, question, file or directory dialog, modal platform dialog
// and progress window goes through this seam. Production shows real widgets;
// tests install a scripted implementation.
class TInteraction {
  public:
    virtual ~TInteraction() = default;

    // Returns a button code (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    // Empty result: the user cancelled.
    virtual QString OpenFileName(const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QStringList OpenFileNames(const QString& caption, const QString& dir,
                                      const QString& filter) = 0;
    virtual QString SaveFileName(const QString& caption, const QString& dir, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString SelectDirectory(const QString& caption, const QString& dir) = 0;
    // Runs a modal form (a QDialog) and returns its modal result (IDOK, IDCANCEL,
    // or a code the form sets). `form` is identified by its objectName.
    virtual int ExecModal(QObject* form) = 0;
    // The exception display of the application manager.
    virtual void ShowException(const QString& className, const QString& message,
                               const QStringList& stack) = 0;
    virtual std::unique_ptr<TProgressSink> BeginProgress(const QString& caption) = 0;
};

// The installed seam; a console fallback (answers Cancel, prints to stderr)
// until a real one is installed. The seam is owned by the caller of SetInteraction.
TInteraction& Interaction();
TInteraction* SetInteraction(TInteraction* interaction);
