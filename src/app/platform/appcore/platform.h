#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <memory>
#include <vector>

#include "configuration.h"

class QLibrary;
class QObject;
class TDatabaseManager;
class TExecQuery;
class TSelectQuery;
class TDSPContainer;
class TDSPTable;
class TLContainer;
class TLocalizatorTable;
class TLanguagesTable;
class TDicDBContainer;

// The application manager ("BaseMng"): the login, the current language, the
// running module and the connections.
class TApplicationManager {
  public:
    TApplicationManager();
    virtual ~TApplicationManager();

    TDatabaseManager& Databases() { return *FDatabases; }
    // The database of the login (upper-cased).
    QString CurrentAlias() const;
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

    void CloseConnections();
    // The exception display; goes through the interaction seam.
    virtual void ShowException(QObject* sender, const std::exception& e);

    bool TableExists(const QString& table, const QString& alias, const QString& owner = QString());
    void StartTransaction(const QString& alias);
    void Commit(const QString& alias);
    void Rollback(const QString& alias);
    std::unique_ptr<TExecQuery> GetExecQuery(const QString& sql, const QString& alias);
    std::unique_ptr<TSelectQuery> GetSelectQuery(const QString& sql, const QString& alias);

  private:
    std::unique_ptr<TDatabaseManager> FDatabases;
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
TSecurityManager& SecurityManager();
TDSPContainer& DSPContainer();
TLContainer& LContainer();
TDicDBContainer& DicDBContainer();
TDSPTable& GetDSPTable(const QString& alias);
TLocalizatorTable& GetLocalizatorTable(const QString& alias);
TLanguagesTable& GetLanguagesTable(const QString& alias);
