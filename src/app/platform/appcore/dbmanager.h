#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "database.h"

// What a connection logs in with. Passwords stay in memory only.
struct TLoginParams {
    QString User;
    QString Password;
    int AccessLevel = 255;
    QString Role;
    bool Flag = false;
    QString Extra;
};

// The open connections, one per alias (upper-cased). The empty alias names the
// default (login) database.
class TDatabaseManager {
  public:
    using TCloseHook = std::function<void(const QString& alias)>;
    TDatabaseManager();
    ~TDatabaseManager();

    void SetDefaultAlias(const QString& alias) { FDefault = alias.toUpper(); }
    const QString& DefaultAlias() const { return FDefault; }
    QString ResolveAlias(const QString& alias) const;

    void SetLoginParamsEx(const QString& user, const QString& password, int accessLevel,
                          const QString& role, bool flag, const QString& extra,
                          const QString& alias);
    void RemoveLoginParams(const QString& alias);
    bool HasLoginParams(const QString& alias) const;
    // What the alias logged in with, for a second connection of another
    // thread (a connection belongs to one thread); empty when none was given.
    TLoginParams LoginParamsOf(const QString& alias) const;

    // Connects (or returns the open connection). Raises EDatabaseError naming
    // the alias for an unknown data source or a refused login.
    TDatabase& OpenDataBase(const QString& alias, bool exclusive = false);
    void CloseDatabase(const QString& alias);
    bool IsOpen(const QString& alias) const;
    // Open and alive.
    bool IsDatabaseValid(const QString& alias) const;
    // Raises EDatabaseError when the database is not connected.
    TDatabase& GetDatabase(const QString& alias);
    QStringList OpenAliases() const;
    void CloseConnections();
    void AddCloseHook(TCloseHook hook) { FHooks.push_back(std::move(hook)); }

  private:
    std::map<QString, std::unique_ptr<TDatabase>> FDatabases;
    std::map<QString, TLoginParams> FLogin;
    QString FDefault;
    std::vector<TCloseHook> FHooks;
};
