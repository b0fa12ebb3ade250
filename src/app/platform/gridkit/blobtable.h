#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "appcore/tabledesc.h"
#include "basekit/record.h"

// One row of a BLOB table: its record ID (stable while the table is open,
// never stored) and its values in the description's field order.
struct TBlobTableRow {
    qint64 ID = 0;
    QList<TQXVariant> Values;
};

// A table kept inside a BLOB field and described by a table structure. The
// rows live in memory (a BLOB value is read whole anyway) and go back into
// the field as bytes.
//
// The bytes are one CBOR map (RFC 8949), compact and self-describing:
//   {"format": "pelvar-blob-table", "version": 1,
//    "fields": [[name, type code], ...],
//    "rows":   [[value, ...], ...]}     one array per row, in "fields" order
// Values are CBOR null, integers, booleans, doubles (float, currency), text
// strings (texts; dates as "yyyy-MM-dd"; date-times ISO 8601 with
// milliseconds) and byte strings (BLOBs). Empty bytes are an empty table.
// Reading matches the stored fields to the structure's by name, ignoring
// case, so a structure may change between writes: a field it no longer has
// is dropped, a new one reads NULL, a stored value that does not convert to a
// changed type reads NULL. A newer version than kFormatVersion is refused
// rather than misread.
//
// Writes check what an engine would: values of the field's type, texts no
// longer than the field's size, required fields set, unique and primary
// indexes without duplicates. A refused write raises EDatabaseError and
// changes nothing. With a primary index the rows are kept in its order,
// otherwise in the order they were added.
class TBlobTable {
  public:
    static constexpr int kFormatVersion = 1;

    explicit TBlobTable(TDicTableDescription description);

    const TDicTableDescription& Description() const { return FDesc; }
    const QList<TDicFieldDescription>& Fields() const { return FDesc.Fields; }
    // Raises EDatabaseError when the bytes hold no table of this format.
    void Load(const QByteArray& bytes);
    QByteArray Save() const;
    // The bytes of a new, empty table.
    QByteArray CreateTable() const { return TBlobTable(FDesc).Save(); }
    bool Modified() const { return FModified; }

    int RowCount() const { return int(FRows.size()); }
    const TBlobTableRow& Row(int index) const { return FRows[size_t(index)]; }
    // -1 when no row has that record ID.
    int IndexOfID(qint64 id) const;

    // A record of the table's fields, every value NULL.
    TRecord EmptyRecord() const;
    // Raise "M_Pelvar_TblDatas_RecordNotFound" when the record ID is gone.
    TRecord ReadRecord(qint64 id) const;
    void Update(qint64 id, const TRecord& record, const QStringList& fields);
    void Delete(qint64 id);
    // A NULL auto-increment field gets the next number. Returns the record ID.
    qint64 Insert(const TRecord& record);

  private:
    int FindOrRaise(qint64 id) const;
    TQXVariant Converted(const TQXVariant& value, int field) const;
    void Check(const QList<TQXVariant>& values, qint64 self) const;
    void Order();
    TDicTableDescription FDesc;
    std::vector<TBlobTableRow> FRows;
    qint64 FNextID = 1;
    bool FModified = false;
};

// A value as the field's type holds it; `ok` false (and NULL) when it does not
// convert.
TQXVariant BlobValueOfType(const TQXVariant& value, int dataType, bool* ok);

// The table structure of that name (object type 10) in the alias's
// dictionary; false when the dictionary has none.
bool ReadTableStructure(const QString& alias, const QString& name,
                        TDicTableDescription& description);
