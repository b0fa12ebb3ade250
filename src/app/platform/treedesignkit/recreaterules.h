#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "appcore/tabledesc.h"
#include "opkit/dsprecreate.h"

// The recreate confirmation without its window: which field of the new table
// takes the rows of which field of the old one, and what that means (fields
// renamed, dropped, added).
class TRecreateTableConfirmation {
  public:
    TRecreateTableConfirmation(QString tableName, QString alias, TDicTableDescription oldTable,
                               TDicTableDescription newTable, bool copyData);

    struct TRow {
        QString Name;  // the new table's field
        int DataType = 0;
        QString Source;  // the old field it takes its values from; empty: none (added)
    };
    const QString& TableName() const { return FTableName; }
    const QString& Alias() const { return FAlias; }
    const QList<TRow>& Rows() const { return FRows; }
    const TDicTableDescription& OldTable() const { return FOld; }
    bool CopyData = true;

    // The old fields a row may take, "" (none) first.
    QStringList Sources() const;
    // Points the row at an old field (or none); an old field feeds one row
    // only, so a row that had it loses it.
    void SetSource(int row, const QString& source);
    // Old fields no row takes, rows fed by a field of another name, rows fed
    // by none.
    QStringList Dropped() const;
    QStringList Renamed() const;  // "OLD -> NEW"
    QStringList Added() const;

    // The operation's lists: ordinary and long (BLOB, memo) pairs, and the
    // new table's fields.
    void Result(TRecreateFieldPairs& pairs, TRecreateFieldPairs& blobPairs,
                QStringList& fields) const;

  private:
    QString FTableName;
    QString FAlias;
    TDicTableDescription FOld;
    QList<TRow> FRows;
};

using TRecreateTablePrompt = std::function<bool(TRecreateTableConfirmation& state)>;
void SetRecreateTablePrompt(TRecreateTablePrompt prompt);

// Shows the new structure of the existing table `tableName` against the table
// and lets the user map the fields. On OK (true) fills the copy-data flag and
// the three lists; false on Cancel or without an installed window.
bool ConfirmRecreateTable(const QString& tableName, const QString& alias, bool& copyData,
                          TRecreateFieldPairs& pairs, TRecreateFieldPairs& blobPairs,
                          QStringList& fields);
