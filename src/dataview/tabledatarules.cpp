#include "tabledatarules.h"

#include "basekit/datatypes.h"
#include "gridkit/blobtable.h"

TSearchStep SearchStepOf(TSearchDirection direction) {
    return TSearchStep{direction == dsFirst, direction != dsBack};
}

void ReorderFields(QList<TDicFieldDescription>& physical, const QStringList& dictionaryOrder) {
    int p = 0;
    for (const QString& name : dictionaryOrder) {
        if (p >= physical.size()) break;
        const QString n = name.toUpper();
        if (physical[p].Name.toUpper() == n) {
            ++p;
            continue;
        }
        for (int i = p + 1; i < physical.size(); ++i) {
            if (physical[i].Name.toUpper() != n) continue;
            physical.swapItemsAt(i, p);
            ++p;
            break;
        }
    }
}

QString ApplyDictionary(TDicTableDescription& physical, const TDicTableDescription& dictionary) {
    QStringList order;
    for (const auto& f : dictionary.Fields)
        order << f.Name;
    ReorderFields(physical.Fields, order);
    QString autoInc;
    for (const auto& f : dictionary.Fields) {
        if (f.DataType != dtAutoInc) continue;
        autoInc = f.Name;
        for (auto& pf : physical.Fields)
            if (pf.Name == f.Name.toUpper()) pf.DataType = dtAutoInc;
    }
    return autoInc;
}

bool ReadDictionaryTable(const QString& alias, const QString& table,
                         TDicTableDescription& description) {
    return ReadTableStructure(alias, table.toUpper(), description);
}

QString BlobStructureName(const QString& tableName, const QString& fieldName) {
    // The short name: no schema before it, no quotes around it.
    QString table = tableName.mid(tableName.lastIndexOf(QLatin1Char('.')) + 1);
    table.remove(QLatin1Char('"'));
    return table.toUpper() + QLatin1Char('.') + fieldName;
}

TPopupItems PopupItemsOf(bool rowsExist, int fieldType, bool blobStructureExists, bool readOnly) {
    TPopupItems items;
    const bool blob = rowsExist && IsBlobDataType(fieldType);
    const bool file = rowsExist && (blob || fieldType == dtMemo);
    items.BLOBTable = blob;
    items.CreateBLOBTable = blob && blobStructureExists && !readOnly;
    items.CreateDSPTree = !readOnly;
    items.BlobToFile = file;
    items.FileToBlob = file && !readOnly;
    items.LongStringEdit = rowsExist && fieldType == dtMemo && !readOnly;
    return items;
}

QString FieldDataText(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c.unicode() < 32 || c == QLatin1Char('#'))
            out += QStringLiteral("#%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

void TSortState::Assign(const QString& field) {
    if (field == FField)
        FAscending = !FAscending;
    else
        FField = field;
}

QString TSortState::IndexFieldNames() const {
    if (FField.isEmpty()) return QString();
    return FAscending ? FField : FField + QStringLiteral(" DESC");
}

QString SearchDirectionParam() {
    return QStringLiteral("\\SearchInColumnWindow\\Direction");
}

QString SearchValueParam() {
    return QStringLiteral("\\SearchInColumnWindow\\SearchValue");
}

QString ShowFieldDataParam() {
    return QStringLiteral("\\PELVAR\\Confirmations\\ShowFieldData");
}
