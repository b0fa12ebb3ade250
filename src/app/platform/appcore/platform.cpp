#include "platform.h"

#include <QCoreApplication>
#include <QLibrary>

#include "basekit/basetexts.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "dbmanager.h"
#include "dictionary.h"
#include "dsptable.h"
#include "localizator.h"
#include "query.h"
#include "texts.h"

namespace {
TPlatform* gPlatform = nullptr;
}

TApplicationManager::TApplicationManager() : FDatabases(std::make_unique<TDatabaseManager>()) {}

TApplicationManager::~TApplicationManager() {
    UnloadCustomLibraries();
}

void TApplicationManager::LoadCustomLibraries(const QString& module) {
    TRegistry reg;
    const QString key = Configuration().GetRegistryKey() + QStringLiteral("\\MODULES\\") + module +
                        QStringLiteral("\\Libraries");
    if (!reg.OpenKeyReadOnly(key)) return;
    for (int i = 0; reg.ValueExists(QString::number(i)); ++i) {
        const QString name = reg.ReadString(QString::number(i)).trimmed();
        if (name.isEmpty()) continue;
        auto lib = std::make_unique<QLibrary>(name);
        if (!lib->load())
            throw EPelvarError(
                QStringLiteral("Can not load the add-on library '%1' of module %2: %3")
                    .arg(name, module, lib->errorString()));
        FLibraries.push_back(std::move(lib));
    }
}

void TApplicationManager::UnloadCustomLibraries() {
    while (!FLibraries.empty()) {
        FLibraries.back()->unload();
        FLibraries.pop_back();
    }
}

QString TApplicationManager::CurrentAlias() const {
    return FDatabases->DefaultAlias();
}

void TApplicationManager::CloseConnections() {
    FDatabases->CloseConnections();
}

QStringList TApplicationManager::LoadedLibraries() const {
    QStringList list;
    for (const auto& l : FLibraries)
        list << l->fileName();
    return list;
}

void TApplicationManager::DetectVornakRoot() {
    const QByteArray env = qgetenv("PELVAR_ROOT");
    if (!env.isEmpty())
        FRoot = QString::fromLocal8Bit(env);
    else if (QCoreApplication::instance())
        FRoot = QCoreApplication::applicationDirPath();
}

void TApplicationManager::ShowException(QObject* sender, const std::exception& e) {
    Q_UNUSED(sender);
    const auto* pe = dynamic_cast<const EPelvarError*>(&e);
    Interaction().ShowException(ExceptionClassName(e), ExceptionMessage(e),
                                pe ? pe->StackTrace() : QStringList());
}

bool TApplicationManager::TableExists(const QString& table, const QString& alias,
                                      const QString& owner) {
    Q_UNUSED(owner);
    return FDatabases->GetDatabase(alias).TableExists(table);
}

void TApplicationManager::StartTransaction(const QString& alias) {
    FDatabases->GetDatabase(alias).StartTransaction();
}
void TApplicationManager::Commit(const QString& alias) {
    FDatabases->GetDatabase(alias).Commit();
}
void TApplicationManager::Rollback(const QString& alias) {
    FDatabases->GetDatabase(alias).Rollback();
}

std::unique_ptr<TExecQuery> TApplicationManager::GetExecQuery(const QString& sql,
                                                              const QString& alias) {
    return std::make_unique<TExecQuery>(FDatabases->GetDatabase(alias), sql);
}

std::unique_ptr<TSelectQuery> TApplicationManager::GetSelectQuery(const QString& sql,
                                                                  const QString& alias) {
    return std::make_unique<TSelectQuery>(FDatabases->GetDatabase(alias), sql);
}

TPlatform::TPlatform()
    : Manager(std::make_unique<TApplicationManager>()),
      DSP(std::make_unique<TDSPContainer>()),
      L(std::make_unique<TLContainer>()),
      DicDB(std::make_unique<TDicDBContainer>()) {
    gPlatform = this;
    // Without TZ the C library stats /etc/localtime for every local time
    // conversion, which makes reading a date column of many rows slow. This
    // names the same zone, read once.
    if (qEnvironmentVariableIsEmpty("TZ")) qputenv("TZ", ":/etc/localtime");
    SetTextLookup(&LString);  // basekit's messages in the current language
    // Caches of a database are dropped with its connection.
    Manager->Databases().AddCloseHook([this](const QString& alias) {
        DSP->DropCaches(alias);
        L->DropCaches(alias);
    });
}

TPlatform::~TPlatform() {
    SetTextLookup(nullptr);
    Manager->CloseConnections();
    Manager.reset();
    gPlatform = nullptr;
}

TPlatform& TPlatform::Instance() {
    if (!gPlatform) qFatal("The platform is used before it was created");
    return *gPlatform;
}

TApplicationManager& BaseMng() {
    return *TPlatform::Instance().Manager;
}
TConfiguration& Configuration() {
    return TPlatform::Instance().Configuration;
}
TSecurityManager& SecurityManager() {
    return TPlatform::Instance().Security;
}
TDSPContainer& DSPContainer() {
    return *TPlatform::Instance().DSP;
}
TLContainer& LContainer() {
    return *TPlatform::Instance().L;
}
TDicDBContainer& DicDBContainer() {
    return *TPlatform::Instance().DicDB;
}
TDSPTable& GetDSPTable(const QString& alias) {
    return DSPContainer().GetDSPTable(alias);
}
TLocalizatorTable& GetLocalizatorTable(const QString& alias) {
    return LContainer().GetLocalizatorTable(alias);
}
TLanguagesTable& GetLanguagesTable(const QString& alias) {
    return LContainer().GetLanguagesTable(alias);
}
