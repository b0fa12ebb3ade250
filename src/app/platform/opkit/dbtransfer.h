#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "appcore/tabledesc.h"
#include "basekit/variant.h"

class TDatabase;
class TExecQuery;

// Moving table rows between databases: rows are read as a stream and written
// in multi-row INSERTs, so neither side holds more than one batch.
namespace DBTransfer {

// The value as a field of `dataType` takes it: texts of numbers, dates and
// flags become those, and the reverse, so rows cross engines whose drivers
// report the same column differently. A value that does not convert goes as
// it is and the database judges it.
TQXVariant ConvertValue(const TQXVariant& value, int dataType);

// Writes rows into one table in batches of many rows per statement.
class TRowInserter {
  public:
    // `fields` are the target's fields in the order of the values given to Add.
    TRowInserter(TDatabase& db, const QString& table, const QList<TDicFieldDescription>& fields);
    ~TRowInserter();
    TRowInserter(const TRowInserter&) = delete;
    TRowInserter& operator=(const TRowInserter&) = delete;

    void Add(const QList<TQXVariant>& values);
    // Writes what is buffered; call it once after the last row.
    void Flush();
    qint64 Rows() const { return FRows; }
    int RowsPerStatement() const { return FBatch; }

  private:
    void Execute(TExecQuery& query, int rows);
    QString Statement(int rows) const;

    TDatabase& FDb;
    QString FTable;
    QList<TDicFieldDescription> FFields;
    int FBatch = 1;
    std::unique_ptr<TExecQuery> FFull;  // prepared once for full batches
    QList<QList<TQXVariant>> FPending;
    qint64 FRows = 0;
};

// Streams the rows of `table` (only the listed fields, in that order; the
// condition, when not empty, is a WHERE clause of the source's SQL) to `visit`.
void ReadRows(TDatabase& db, const QString& table, const QStringList& fields,
              const QString& condition, const std::function<void(QList<TQXVariant>&)>& visit);

// Streams the rows (the condition as in ReadRows) into the target table,
// source field i into target field i, and moves the target's counters past
// them; `step` runs every thousand rows (a cancel check). Returns the rows.
qint64 Pump(TDatabase& from, const QString& sourceTable, const QStringList& sourceFields,
            const QString& condition, TDatabase& to, const QString& targetTable,
            const QList<TDicFieldDescription>& targetFields, const std::function<void()>& step);

// The tables the platform keeps a dictionary in; their rows are never
// copied as table data.
bool IsSystemTable(const QString& table);

}  // namespace DBTransfer
