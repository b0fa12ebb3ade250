#include "appstartup.h"

#include <QFileInfo>

#include "appcore/datasources.h"
#include "appcore/login.h"
#include "appcore/platform.h"
#include "appcore/prockit.h"
#include "appcore/texts.h"
#include "basekit/stacktrace.h"
#include "basekit/threadname.h"
#include "databases/fileroot.h"
#include "databases/root.h"
#include "designkit/platformdialogs.h"
#include "designkit/widgetinteraction.h"
#include "exchange/exportdialogs.h"
#include "explorer/commonlistform.h"
#include "explorer/formlookup.h"
#include "mainform.h"
#include "pelvarapplication.h"
#include "structures/structuredialogs.h"

TPelvarStartupPlatform::TPelvarStartupPlatform(int& argc, char** argv, QString programPath)
    : FArgc(argc), FArgv(argv), FProgramPath(std::move(programPath)) {}

TPelvarStartupPlatform::~TPelvarStartupPlatform() {
    if (FInteraction) SetInteraction(nullptr);
}

QString TPelvarStartupPlatform::ProgramDirectory() const {
    return QFileInfo(FProgramPath).absolutePath();
}

void TPelvarStartupPlatform::InstallStackTraces(bool useMapFile) {
    const QFileInfo program(FProgramPath);
    SetStackTraceSupport(true, useMapFile,
                         program.absolutePath() + QLatin1Char('/') + program.completeBaseName() +
                             QStringLiteral(".map"));
}

void TPelvarStartupPlatform::ReloadOdbcLibrary(const QString& library) {
    ::ReloadOdbcLibrary(library);
}

void TPelvarStartupPlatform::SetCurrentThreadName(const QString& name) {
    ::SetCurrentThreadName(name);
}

void TPelvarStartupPlatform::InitializeApplication() {
    if (!QApplication::instance())
        FApplication = std::make_unique<TPelvarApplication>(FArgc, FArgv);
    QApplication::setApplicationName(QStringLiteral("Pelvar"));
    QApplication::setOrganizationName(QStringLiteral("Pelvar"));
    // A seam installed before us (tests) stays.
    FInteraction = std::make_unique<TWidgetInteraction>();
    if (TInteraction* previous = SetInteraction(FInteraction.get())) {
        SetInteraction(previous);
        FInteraction.reset();
    }
    InstallPlatformDialogs();
    InstallExportDialogs();
    InstallStructureDialogs();
}

void TPelvarStartupPlatform::DetectVornakRoot() {
    BaseMng().DetectVornakRoot();
}
bool TPelvarStartupPlatform::PerformLogin(const QString& params) {
    return ::PerformLogin(params);
}
bool TPelvarStartupPlatform::HavePrivilege(const QString& role) {
    return SecurityManager().HavePrivilege(role);
}
QString TPelvarStartupPlatform::LString(const QString& id) {
    return ::LString(id);
}
int TPelvarStartupPlatform::MessageBox(const QString& text, const QString& caption, int flags) {
    return Interaction().MessageBox(text, caption, flags);
}
void TPelvarStartupPlatform::ChangeModule(const QString& module) {
    BaseMng().ChangeModule(module);
}
void TPelvarStartupPlatform::SetModuleFlags(quint8 flags) {
    BaseMng().SetModuleFlags(flags);
}
void TPelvarStartupPlatform::SetRecommendedFlagsForPelvar(const QString& flags) {
    BaseMng().SetRecommendedFlagsForPelvar(flags);
}
void TPelvarStartupPlatform::LoadCustomLibraries(const QString& module) {
    BaseMng().LoadCustomLibraries(module);
}

int TPelvarStartupPlatform::RunMainWindow() {
    InstallDatabaseRoot();
    QApplication::setQuitOnLastWindowClosed(false);  // the main window ends the program
    auto form = std::make_unique<TDictionaryForm>(ProgramDirectory());
    TFormLookUp::Shared();
    form->show();
    const int result = QApplication::exec();
    CloseAllWindows();
    form.reset();
    TFormLookUp::DestroyShared();
    return result;
}

void InstallDatabaseRoot() {
    TCommonListForm::SetRootFactory([](const QString& fileName) -> std::unique_ptr<TPelvarObject> {
        if (fileName.isEmpty()) return std::make_unique<TDORoot>();
        return std::make_unique<TDOFileRoot>(fileName);
    });
}

void CloseAllWindows() {
    // Explorer windows go first: their alias nodes release their connections.
    for (TCommonListForm* w : TCommonListForm::Windows())
        delete w;
}

void TPelvarStartupPlatform::ResetProcContainer() {
    ::ResetProcContainer();
}
