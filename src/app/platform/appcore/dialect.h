#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "tabledesc.h"

class TDatabase;

// What differs between database engines: column types, identifier quoting,
// catalogue look-ups, generators, views and stored procedures. One class per
// engine, chosen from the driver's DBMS name.
class TSqlDialect {
  public:
    virtual ~TSqlDialect() = default;
    static std::unique_ptr<TSqlDialect> ForDbms(const QString& dbmsName);

    virtual QString Name() const = 0;
    // An identifier as it must appear in SQL.
    virtual QString Ident(const QString& name) const;
    // Column type for a field description; raises for an unknown type code.
    QString ColumnType(const TDicFieldDescription& field, bool autoIncPrimary) const;
    // Statements that create the table with its indexes and column comments.
    virtual QStringList CreateTableScript(const TDicTableDescription& table) const;
    virtual QString DropTableStatement(const QString& table) const;

    virtual bool TableExists(TDatabase& db, const QString& table) const = 0;
    virtual bool ViewExists(TDatabase& db, const QString& view) const = 0;
    virtual bool GeneratorExists(TDatabase& db, const QString& generator) const = 0;
    virtual bool ExecProcExists(TDatabase& db, const QString& proc) const = 0;
    virtual bool SelectProcExists(TDatabase& db, const QString& proc) const = 0;
    virtual void CreateGenerator(TDatabase& db, const QString& generator,
                                 qint64 startValue) const = 0;
    virtual void DropGenerator(TDatabase& db, const QString& generator) const = 0;
    // Adds `increment` to the generator and returns the new value.
    virtual qint64 GeneratorNext(TDatabase& db, const QString& generator,
                                 qint64 increment) const = 0;
    virtual bool SupportsStoredProcedures() const = 0;

    // A view from its SELECT text.
    virtual void CreateView(TDatabase& db, const QString& view, const QString& select) const;
    virtual void DropView(TDatabase& db, const QString& view) const;
    // A stored procedure from its whole CREATE statement (the body is written
    // in the engine's own language), and dropped by name; `selectProc` tells a
    // procedure that returns rows. Engines without procedures raise
    // ENotSupportedError.
    virtual void CreateStoredProc(TDatabase& db, const QString& createSql) const;
    virtual void DropStoredProc(TDatabase& db, const QString& proc, bool selectProc) const;

    // Recreating a table with its rows, inside the server. The statements that
    // move the described table out of its name to `tempName`, releasing the
    // names of its indexes and keys (names the new table takes again).
    virtual QStringList ReleaseTableStatements(const TDicTableDescription& described,
                                               const QString& tempName) const;
    // A statement that makes the running transaction give up waiting for a
    // lock after `ms` milliseconds; empty where the connection's own timeout
    // does (SQLite's busy timeout).
    virtual QString LockTimeoutStatement(int ms) const;
    // Drops the released table once its rows moved on.
    virtual void DropReleasedTable(TDatabase& db, const QString& tempName) const;
    // The old column's value as the new field takes it in INSERT ... SELECT.
    virtual QString ConvertExpression(const QString& column, const TDicFieldDescription& from,
                                      const TDicFieldDescription& to) const;
    // A condition, true for a non-NULL value of the old column that can not
    // become the new field's type; empty when the engine converts every value
    // or reports the failure itself.
    virtual QString UnconvertibleCondition(const QString& column, const TDicFieldDescription& from,
                                           const TDicFieldDescription& to) const;
    // After rows came in with their own auto-increment values: the engine's
    // counters move past them.
    virtual void AfterRowsCopied(TDatabase& db, const TDicTableDescription& table) const;
    // The field's default as an SQL literal (text quoted, so nothing typed
    // there reaches the statement as SQL); empty for none.
    QString DefaultLiteral(const TDicFieldDescription& field) const;

    // How binary parameters are bound: engines differ in the SQL type they take.
    enum class TBinaryBinding { LongVarBinary, VarBinary };
    virtual TBinaryBinding BinaryBinding() const { return TBinaryBinding::LongVarBinary; }
    // True when the engine refuses values longer than a column's declared size,
    // so bound fetch buffers of that size can never truncate.
    virtual bool EnforcesDeclaredSizes() const = 0;
    // True when the driver takes a "?" inside an SQL comment for a parameter
    // marker; such comments reach it with a full-width "？" instead.
    virtual bool MarksInComments() const { return false; }
    // What follows the text column in ORDER BY and range conditions so that
    // it compares in code-point order; empty where its collation already
    // does (SQLite's BINARY), which keeps its indexes usable.
    virtual QString CodePointCollation(TDatabase& db, const QString& table,
                                       const QString& column) const;

  protected:
    // Raises ENotSupportedError: "<what> are not supported by the database ...".
    [[noreturn]] void RaiseNotSupported(TDatabase& db, const char* what) const;
    // The engine's names of the column types that differ between engines.
    struct TTypeNames {
        QString Float = QStringLiteral("DOUBLE PRECISION");
        QString DateTime = QStringLiteral("TIMESTAMP");
        QString Memo = QStringLiteral("TEXT");
        QString Blob = QStringLiteral("BLOB");
        QString Boolean = QStringLiteral("BOOLEAN");
        QString AutoInc = QStringLiteral("INTEGER");
        // An auto-increment field that is the whole primary key, when the engine
        // declares such a key in the column itself.
        QString AutoIncKey;
        QString True = QStringLiteral("TRUE");
        QString False = QStringLiteral("FALSE");
    };
    virtual TTypeNames TypeNames() const { return TTypeNames(); }
    // Text after a column definition that carries its comment (engines without
    // column comments keep it as an SQL comment in the stored schema).
    virtual QString ColumnCommentSuffix(const TDicFieldDescription& field) const;
};
