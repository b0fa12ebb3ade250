#include "appmanager.h"

#include <QCoreApplication>
#include <QLibrary>

#include "basekit/basetexts.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "dictionary.h"
#include "dsptable.h"
#include "localizator.h"
#include "query.h"
#include "texts.h"

namespace {
TPlatform* gPlatform = nullptr;
}

// ---- TDatabaseManager ----

TDatabaseManager::~TDatabaseManager() {
    CloseConnections();
}

QString TDatabaseManager::ResolveAlias(const QString& alias) const {
    return alias.isEmpty() ? FDefault : alias.toUpper();
}

void TDatabaseManager::SetLoginParamsEx(const QString& user, const QString& password,
                                        int accessLevel, const QString& role, bool flag,
                                        const QString& extra, const QString& alias) {
    FLogin[ResolveAlias(alias)] = TLoginParams{user, password, accessLevel, role, flag, extra};
}

void TDatabaseManager::RemoveLoginParams(const QString& alias) {
    FLogin.erase(ResolveAlias(alias));
}

bool TDatabaseManager::HasLoginParams(const QString& alias) const {
    return FLogin.count(ResolveAlias(alias)) > 0;
}

TDatabase& TDatabaseManager::OpenDataBase(const QString& alias, bool exclusive) {
    Q_UNUSED(exclusive);
    const QString key = ResolveAlias(alias);
    if (key.isEmpty()) throw EDatabaseError(QStringLiteral("No database alias was given"));
    if (auto it = FDatabases.find(key); it != FDatabases.end()) return *it->second;
    TAliasList sources;
    FillODBCAliasesWithDescription(sources);
    QString dataSource;
    for (const auto& s : sources)
        if (s.first.compare(key, Qt::CaseInsensitive) == 0) dataSource = s.first;
    if (dataSource.isEmpty())
        throw EDatabaseError(
            QStringLiteral("Unknown database alias %1: there is no ODBC data source of that name")
                .arg(key));
    const TLoginParams params = FLogin.count(key) ? FLogin[key] : TLoginParams{};
    auto db = std::make_unique<TDatabase>(key, dataSource);
    db->Connect(params.User, params.Password);
    TDatabase& result = *db;
    FDatabases[key] = std::move(db);
    return result;
}

void TDatabaseManager::CloseDatabase(const QString& alias) {
    const QString key = ResolveAlias(alias);
    auto it = FDatabases.find(key);
    if (it == FDatabases.end()) return;
    for (const auto& hook : FHooks)
        hook(key);
    FDatabases.erase(it);
}

bool TDatabaseManager::IsOpen(const QString& alias) const {
    return FDatabases.count(ResolveAlias(alias)) > 0;
}

bool TDatabaseManager::IsDatabaseValid(const QString& alias) const {
    const auto it = FDatabases.find(ResolveAlias(alias));
    return it != FDatabases.end() && it->second->IsValid();
}

TDatabase& TDatabaseManager::GetDatabase(const QString& alias) {
    const QString key = ResolveAlias(alias);
    const auto it = FDatabases.find(key);
    if (it == FDatabases.end())
        throw EDatabaseError(QStringLiteral("The database %1 is not connected")
                                 .arg(key.isEmpty() ? QStringLiteral("(none)") : key));
    return *it->second;
}

QStringList TDatabaseManager::OpenAliases() const {
    QStringList list;
    for (const auto& [k, v] : FDatabases)
        list << k;
    return list;
}

void TDatabaseManager::CloseConnections() {
    while (!FDatabases.empty())
        CloseDatabase(FDatabases.begin()->first);
}

// ---- TConfiguration ----

QString TConfiguration::GetRegistryKey() const {
    return RegistryBaseKey();
}

// ---- TApplicationManager ----

TApplicationManager::TApplicationManager() = default;

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
    return FDatabases.GetDatabase(alias).TableExists(table);
}

void TApplicationManager::StartTransaction(const QString& alias) {
    FDatabases.GetDatabase(alias).StartTransaction();
}
void TApplicationManager::Commit(const QString& alias) {
    FDatabases.GetDatabase(alias).Commit();
}
void TApplicationManager::Rollback(const QString& alias) {
    FDatabases.GetDatabase(alias).Rollback();
}

std::unique_ptr<TExecQuery> TApplicationManager::GetExecQuery(const QString& sql,
                                                              const QString& alias) {
    return std::make_unique<TExecQuery>(FDatabases.GetDatabase(alias), sql);
}

std::unique_ptr<TSelectQuery> TApplicationManager::GetSelectQuery(const QString& sql,
                                                                  const QString& alias) {
    return std::make_unique<TSelectQuery>(FDatabases.GetDatabase(alias), sql);
}

// ---- TPlatform ----

TPlatform::TPlatform()
    : Manager(std::make_unique<TApplicationManager>()),
      DSP(std::make_unique<TDSPContainer>()),
      L(std::make_unique<TLContainer>()),
      DicDB(std::make_unique<TDicDBContainer>()) {
    gPlatform = this;
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
