#pragma once

#include <QString>
#include <memory>

#include "dberrors.h"
#include "tabledesc.h"

class TSqlDialect;

// One ODBC connection to one data source (alias). Belongs to the thread that
// opened it.
class TDatabase {
  public:
    TDatabase(QString alias, QString dataSource);
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Raises EDatabaseError with the driver's message when the connection fails.
    void Connect(const QString& user, const QString& password);
    void Disconnect();
    bool Connected() const { return FDbc != nullptr; }
    // The connection is open and the driver does not report it dead.
    bool IsValid() const;

    const QString& Alias() const { return FAlias; }
    const QString& DataSource() const { return FDataSource; }
    const QString& DbmsName() const { return FDbmsName; }
    const TSqlDialect& Dialect() const { return *FDialect; }
    // The driver's connection handle (an SQLHDBC) for the ODBC files of this
    // library; opaque everywhere else.
    void* Handle() const { return FDbc; }

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return FInTransaction; }

    // Runs one statement without parameters or results.
    void ExecDirect(const QString& sql);

    bool TableExists(const QString& table);
    // Existence through the ODBC catalogue (SQLTables), for engines we have no
    // catalogue queries for. `type` is "TABLE" or "VIEW".
    bool CatalogTableExists(const QString& name, const char* type);
    // Reads a table's fields and indexes from the catalogue; false when the
    // table does not exist.
    bool DescribeTable(const QString& table, TDicTableDescription& description);

  private:
    void SetAutoCommit(bool on);
    QString FAlias;
    QString FDataSource;
    QString FDbmsName;
    void* FDbc = nullptr;
    std::unique_ptr<TSqlDialect> FDialect;
    bool FInTransaction = false;
};

// Joins a running transaction or runs its own: commits on Commit(), rolls its
// own transaction back when left without committing (an exception on the way).
class TTransactionScope {
  public:
    explicit TTransactionScope(TDatabase& db);
    ~TTransactionScope();
    void Commit();

  private:
    TDatabase& FDb;
    bool FOwn = false;
    bool FDone = false;
};
