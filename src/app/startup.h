#pragma once

#include <QString>
#include <QStringList>

// The platform calls that start-up makes, in the order it makes them. The
// program's own implementation goes to AppCore and the widgets; tests record.
class TStartupPlatform {
  public:
    virtual ~TStartupPlatform() = default;
    virtual void InstallStackTraces(bool useMapFile) = 0;
    virtual void ReloadOdbcLibrary(const QString& library) = 0;
    virtual void SetCurrentThreadName(const QString& name) = 0;
    virtual void InitializeApplication() = 0;
    virtual void DetectVornakRoot() = 0;
    virtual bool PerformLogin(const QString& params) = 0;
    virtual bool HavePrivilege(const QString& role) = 0;
    virtual QString LString(const QString& id) = 0;
    virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
    virtual void ChangeModule(const QString& module) = 0;
    virtual void SetModuleFlags(quint8 flags) = 0;
    virtual void SetRecommendedFlagsForPelvar(const QString& flags) = 0;
    virtual void LoadCustomLibraries(const QString& module) = 0;
    // Creates the main window and the lookup form and runs the message loop.
    virtual int RunMainWindow() = 0;
    virtual void ResetProcContainer() = 0;
};

// The path of the running executable: the file /proc/self/exe leads to, where
// the system has it; otherwise `argv0` taken from the working directory when it
// names a folder, or looked up in the folders of `pathVariable` (as the shell
// found it) when it is a bare name.
QString ProgramPath(const QString& argv0, const QString& pathVariable,
                    const QString& selfLink = QStringLiteral("/proc/self/exe"));

// The driver-manager libraries named by "/odbcdll:" arguments, in order.
QStringList OdbcDllArguments(const QStringList& arguments);

// The start-up of the program, from the diagnostics switches in
// `programDir`/debug.ini to the end of the message loop. Returns the exit code.
int RunStartup(const QStringList& arguments, const QString& programDir, TStartupPlatform& platform);
