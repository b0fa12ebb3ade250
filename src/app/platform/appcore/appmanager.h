#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "database.h"

class TExecQuery;
class TSelectQuery;
class TDSPContainer;
class TDSPTable;
class TLContainer;
class TLocalizatorTable;
class TLanguagesTable;
class TDicDBContainer;
class QLibrary;

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
    ~TDatabaseManager();

    void SetDefaultAlias(const QString& alias) { FDefault = alias.toUpper(); }
    const QString& DefaultAlias() const { return FDefault; }
    QString ResolveAlias(const QString& alias) const;

    void SetLoginParamsEx(const QString& user, const QString& password, int accessLevel,
                          const QString& role, bool flag, const QString& extra,
                          const QString& alias);
    void RemoveLoginParams(const QString& alias);
    bool HasLoginParams(const QString& alias) const;

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

// Settings of the platform installation.
class TConfiguration {
  public:
    // The base key of every program's settings.
    QString GetRegistryKey() const;
    QString LogTableName() const { return FLogTableName; }
    void SetLogTableName(const QString& name) { FLogTableName = name; }
    // The older (release 17) layout of the dictionary: no USER_LEGACY table.
    bool WorkAs17Version() const { return FWorkAs17Version; }
    void SetWorkAs17Version(bool on) { FWorkAs17Version = on; }
    QString DefaultFontName() const { return QStringLiteral("Arial"); }
    int DefaultFontSize() const { return 10; }

  private:
    QString FLogTableName = QStringLiteral("QX_LOG");
    bool FWorkAs17Version = false;
};

// The application manager ("BaseMng"): the login, the current language, the
// running module and the connections.
class TApplicationManager {
  public:
    TApplicationManager();
    virtual ~TApplicationManager();

    TDatabaseManager& Databases() { return FDatabases; }
    // The database of the login (upper-cased).
    QString CurrentAlias() const { return FDatabases.DefaultAlias(); }
    QString UserName() const { return FUserName; }
    void SetUserName(const QString& user) { FUserName = user; }
    QString CurrentLanguage() const { return FLanguage; }
    void SetCurrentLanguage(const QString& language) { FLanguage = language.toUpper(); }

    QString ModuleName() const { return FModule; }
    void ChangeModule(const QString& module) { FModule = module; }
    quint8 ModuleFlags() const { return FModuleFlags; }
    void SetModuleFlags(quint8 flags) { FModuleFlags = flags; }
    QString RecommendedFlags() const { return FRecommended; }
    void SetRecommendedFlagsForPelvar(const QString& flags) { FRecommended = flags; }

    // Loads the add-on libraries configured for the module (values "0", "1", ...
    // of the settings key "\MODULES\<module>\Libraries"). Raises naming the
    // first library that cannot be loaded.
    void LoadCustomLibraries(const QString& module);
    void UnloadCustomLibraries();
    QStringList LoadedLibraries() const;

    void DetectVornakRoot();
    QString VornakRoot() const { return FRoot; }

    void CloseConnections() { FDatabases.CloseConnections(); }
    // The exception display; goes through the interaction seam.
    virtual void ShowException(QObject* sender, const std::exception& e);

    bool TableExists(const QString& table, const QString& alias, const QString& owner = QString());
    void StartTransaction(const QString& alias);
    void Commit(const QString& alias);
    void Rollback(const QString& alias);
    std::unique_ptr<TExecQuery> GetExecQuery(const QString& sql, const QString& alias);
    std::unique_ptr<TSelectQuery> GetSelectQuery(const QString& sql, const QString& alias);

  private:
    TDatabaseManager FDatabases;
    QString FUserName;
    QString FLanguage = QStringLiteral("ENGLISH");
    QString FModule;
    quint8 FModuleFlags = 0;
    QString FRecommended;
    QString FRoot;
    std::vector<std::unique_ptr<QLibrary>> FLibraries;
};

class TSecurityManager {
  public:
    // True when the logged-in user holds the role. The roles come from the user
    // information structure (type 21) named by the upper-cased user; a
    // dictionary without any such structure grants every role.
    bool HavePrivilege(const QString& role);
};

// Everything the platform holds for one run of the program; create one before
// any other platform call and keep it until the end.
class TPlatform {
  public:
    TPlatform();
    ~TPlatform();
    TPlatform(const TPlatform&) = delete;
    TPlatform& operator=(const TPlatform&) = delete;
    static TPlatform& Instance();

    TConfiguration Configuration;
    std::unique_ptr<TApplicationManager> Manager;
    TSecurityManager Security;
    std::unique_ptr<TDSPContainer> DSP;
    std::unique_ptr<TLContainer> L;
    std::unique_ptr<TDicDBContainer> DicDB;
};

TApplicationManager& BaseMng();
TConfiguration& Configuration();
TSecurityManager& SecurityManager();
TDSPContainer& DSPContainer();
TLContainer& LContainer();
TDicDBContainer& DicDBContainer();
TDSPTable& GetDSPTable(const QString& alias);
TLocalizatorTable& GetLocalizatorTable(const QString& alias);
TLanguagesTable& GetLanguagesTable(const QString& alias);
