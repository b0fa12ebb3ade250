#pragma once

#include <QList>
#include <QString>

#include "basekit/record.h"

class TTableScroller;

// Writes to the table a scroller reads, one record at a time, positioned by
// the scroller's record-ID fields. Every write is one statement: a write the
// engine refuses (a constraint) raises its message and leaves the row as it
// was; a record that is gone raises "M_Pelvar_TblDatas_RecordNotFound".
class TTableWriter {
  public:
    explicit TTableWriter(TTableScroller& scroller) : FScroller(scroller) {}

    void WriteField(const QList<TQXVariant>& key, int field, const TQXVariant& value);
    // The record's fields as the scroller describes them; long texts and BLOBs
    // stay NULL (they are written one by one, never through a record).
    TRecord ReadRecord(const QList<TQXVariant>& key);
    // Writes the named fields of the record in one statement.
    void Update(const QList<TQXVariant>& key, const TRecord& record, const QStringList& fields);
    // An empty record of the table's fields.
    TRecord EmptyRecord() const;
    void Delete(const QList<TQXVariant>& key);
    // Inserts the record's non-NULL fields: a NULL auto-increment field is
    // left to the engine to generate. Returns the new record's ID, or an empty list
    // when it cannot be told.
    QList<TQXVariant> Insert(const TRecord& record);

    // A long text or BLOB field to and from a file of any size, streamed in
    // chunks. Loading sends the file while the update runs: a file that cannot
    // be read stops it and the field keeps its value. Saving writes a
    // temporary file renamed over the target only when complete; NULL gives an
    // empty file. A text goes as UTF-8.
    void LoadFieldFromFile(const QList<TQXVariant>& key, int field, const QString& fileName);
    void SaveFieldToFile(const QList<TQXVariant>& key, int field, const QString& fileName);

  private:
    [[noreturn]] void RaiseNotFound() const;
    TTableScroller& FScroller;
};
