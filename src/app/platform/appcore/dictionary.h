#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

#include "tabledesc.h"

// Tables of one database described and created from platform table descriptions.
class TDictionary {
  public:
    explicit TDictionary(QString alias) : FAlias(std::move(alias)) {}
    const QString& Alias() const { return FAlias; }

    // Creates the table with its indexes in one transaction. With `replace`, an
    // existing table of that name is dropped first; without it, an existing
    // table is an error. The statements run are returned in `script`.
    void CreateTableByDef(const TDicTableDescription& description, const QString& tableSpace,
                          bool replace, QStringList* script = nullptr);
    // Reads the table's description from the database; false when it does not exist.
    bool GetTableInfo(const QString& table, TDicTableDescription& description);

  private:
    QString FAlias;
};

// The database objects that structures describe, and their existence tests.
class TDicDatabase {
  public:
    explicit TDicDatabase(QString alias) : FAlias(std::move(alias)) {}
    const QString& Alias() const { return FAlias; }

    bool GeneratorExists(const QString& name);
    bool ViewExists(const QString& name);
    bool ExecStoredProcExists(const QString& name);
    bool SelectStoredProcExists(const QString& name);
    bool SupportsStoredProcedures();
    void CreateGenerator(const QString& name, qint64 startValue = 0);
    void DropGenerator(const QString& name);
    // Moves the generator on by `increment` and returns its new value.
    qint64 GeneratorNext(const QString& name, qint64 increment = 1);
    void CreateView(const QString& name, const QString& select);
    void DropView(const QString& name);
    // Raise ENotSupportedError where the engine has no stored procedures.
    void CreateStoredProc(const QString& createSql);
    void DropStoredProc(const QString& name, bool selectProc);

  private:
    QString FAlias;
};

class TDicDBContainer {
  public:
    TDicDatabase& GetDicDatabase(const QString& alias);

  private:
    std::map<QString, std::unique_ptr<TDicDatabase>> FDatabases;
};
