#pragma once

#include <memory>

#include "startup.h"

class QApplication;
class TWidgetInteraction;

// Start-up over AppCore and real widgets.
class TPelvarStartupPlatform : public TStartupPlatform {
  public:
    TPelvarStartupPlatform(int& argc, char** argv, QString programPath);
    ~TPelvarStartupPlatform() override;

    void InstallStackTraces(bool useMapFile) override;
    void ReloadOdbcLibrary(const QString& library) override;
    void SetCurrentThreadName(const QString& name) override;
    void InitializeApplication() override;
    void DetectVornakRoot() override;
    bool PerformLogin(const QString& params) override;
    bool HavePrivilege(const QString& role) override;
    QString LString(const QString& id) override;
    int MessageBox(const QString& text, const QString& caption, int flags) override;
    void ChangeModule(const QString& module) override;
    void SetModuleFlags(quint8 flags) override;
    void SetRecommendedFlagsForPelvar(const QString& flags) override;
    void LoadCustomLibraries(const QString& module) override;
    int RunMainWindow() override;
    void ResetProcContainer() override;
    // The directory of the executable (not the working directory).
    QString ProgramDirectory() const;

  private:
    int& FArgc;
    char** FArgv;
    QString FProgramPath;
    std::unique_ptr<QApplication> FApplication;
    std::unique_ptr<TWidgetInteraction> FInteraction;
};

// The database root for explorer windows over databases.
void InstallDatabaseRoot();
// Destroys every explorer window (at the end of the run).
void CloseAllWindows();
