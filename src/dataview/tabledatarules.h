#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "appcore/tabledesc.h"

// Rules of the table data window that need no window.

enum TSearchDirection : int { dsForward = 0, dsBack = 1, dsFirst = 2 };

// Where a column search starts and which way it goes.
struct TSearchStep {
    bool FromFirst = false;
    bool Forward = true;
};
TSearchStep SearchStepOf(TSearchDirection direction);

// Puts the physical fields into the dictionary's order; fields the dictionary
// does not list follow the listed ones.
void ReorderFields(QList<TDicFieldDescription>& physical, const QStringList& dictionaryOrder);
// Applies the dictionary's description of the table (when it knows it) to the
// physical one: its field order and its auto-increment field, whose name is
// returned (empty when there is none).
QString ApplyDictionary(TDicTableDescription& physical, const TDicTableDescription& dictionary);
// The dictionary's description of a table (its table structure); false when
// the dictionary does not know the table.
bool ReadDictionaryTable(const QString& alias, const QString& table,
                         TDicTableDescription& description);

// The table structure that describes the table kept in a BLOB field:
// the table's short name upper-cased, a point and the field's name.
QString BlobStructureName(const QString& tableName, const QString& fieldName);

// Which items of the table data window's popup menu are enabled when it
// opens; `fieldType` -1 when no field is selected.
struct TPopupItems {
    bool BLOBTable = false;
    bool CreateBLOBTable = false;
    bool DSPTree = true;
    bool CreateDSPTree = true;
    bool BlobToFile = false;
    bool FileToBlob = false;
    bool LongStringEdit = false;
};
TPopupItems PopupItemsOf(bool rowsExist, int fieldType, bool blobStructureExists, bool readOnly);

// A field's value in the field data panel: characters below 32 and "#" as "#"
// and two capital hexadecimal digits.
QString FieldDataText(const QString& value);

// The sorted field of the grid: another field keeps the direction, the same
// field turns it round.
class TSortState {
  public:
    void Assign(const QString& field);
    const QString& Field() const { return FField; }
    bool Ascending() const { return FAscending; }
    // The grid's index field names: the field, " DESC" when descending.
    QString IndexFieldNames() const;

  private:
    QString FField;
    bool FAscending = true;
};

// The settings of the column search, directly below the configuration's key.
QString SearchDirectionParam();
QString SearchValueParam();
// Whether the table data windows show the field data panel.
QString ShowFieldDataParam();
