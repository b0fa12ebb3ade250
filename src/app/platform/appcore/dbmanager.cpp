#include "dbmanager.h"

#include "datasources.h"

TDatabaseManager::TDatabaseManager() = default;

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

TLoginParams TDatabaseManager::LoginParamsOf(const QString& alias) const {
    const auto it = FLogin.find(ResolveAlias(alias));
    return it == FLogin.end() ? TLoginParams{} : it->second;
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
