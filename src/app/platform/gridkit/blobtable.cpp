#include "blobtable.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <algorithm>

#include "appcore/database.h"
#include "appcore/dberrors.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "tablevalues.h"

namespace {

const QString kFormat = QStringLiteral("pelvar-blob-table");

[[noreturn]] void Refuse(const char* id, const QString& a = QString(),
                         const QString& b = QString()) {
    const QString text = LString(QLatin1String(id));
    if (text.contains(QLatin1String("%2"))) throw EDatabaseError(text.arg(a, b));
    throw EDatabaseError(text.contains(QLatin1String("%1")) ? text.arg(a) : text);
}

QCborValue ToCbor(const TQXVariant& v) {
    switch (v.Kind()) {
        case TQXVariant::vkNull:
            return QCborValue(nullptr);
        case TQXVariant::vkInteger:
            return QCborValue(qint64(v.AsInteger()));
        case TQXVariant::vkFloat:
            return QCborValue(v.AsFloat());
        case TQXVariant::vkBoolean:
            return QCborValue(v.AsBoolean());
        case TQXVariant::vkDate:
            return QCborValue(v.AsDate().toString(Qt::ISODate));
        case TQXVariant::vkDateTime:
            return QCborValue(v.AsDateTime().toString(Qt::ISODateWithMs));
        case TQXVariant::vkBinary:
            return QCborValue(v.AsBinary());
        default:
            return QCborValue(v.AsString());
    }
}

TQXVariant FromCbor(const QCborValue& c) {
    if (c.isInteger()) return TQXVariant(qlonglong(c.toInteger()));
    if (c.isDouble()) return TQXVariant(c.toDouble());
    if (c.isBool()) return TQXVariant(c.toBool());
    if (c.isString()) return TQXVariant(c.toString());
    if (c.isByteArray()) return TQXVariant(c.toByteArray());
    return {};
}

// NULL first; values of one field are of one kind once converted.
int Compare(const TQXVariant& a, const TQXVariant& b) {
    if (a.IsNull() || b.IsNull()) return int(!a.IsNull()) - int(!b.IsNull());
    switch (a.Kind()) {
        case TQXVariant::vkInteger:
        case TQXVariant::vkBoolean:
            return a.AsInteger() < b.AsInteger() ? -1 : a.AsInteger() > b.AsInteger();
        case TQXVariant::vkFloat:
            return a.AsFloat() < b.AsFloat() ? -1 : a.AsFloat() > b.AsFloat();
        case TQXVariant::vkDate:
        case TQXVariant::vkDateTime:
            return a.AsDateTime() < b.AsDateTime() ? -1 : a.AsDateTime() > b.AsDateTime();
        case TQXVariant::vkBinary:
            return a.AsBinary().compare(b.AsBinary());
        default:
            return a.AsString().compare(b.AsString());
    }
}

int FieldIndex(const TDicTableDescription& desc, const QString& name) {
    for (int i = 0; i < desc.Fields.size(); ++i)
        if (desc.Fields[i].Name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

}  // namespace

TQXVariant BlobValueOfType(const TQXVariant& value, int dataType, bool* ok) {
    *ok = true;
    if (value.IsNull()) return {};
    const TQXVariant::TKind kind = value.Kind();
    if (IsBlobDataType(dataType)) {
        if (kind == TQXVariant::vkBinary) return value;
        *ok = false;
        return {};
    }
    if (IsTextDataType(dataType))
        return kind == TQXVariant::vkString ? value : TQXVariant(TableValueText(value, dataType));
    if (dataType == dtBoolean && kind == TQXVariant::vkBoolean) return value;
    if (dataType == dtBoolean && kind == TQXVariant::vkInteger)
        return TQXVariant(value.AsInteger() != 0);
    if (IsIntegerDataType(dataType) &&
        (kind == TQXVariant::vkInteger || kind == TQXVariant::vkBoolean))
        return TQXVariant(value.AsInteger());
    if ((dataType == dtFloat || dataType == dtCurrency) &&
        (kind == TQXVariant::vkFloat || kind == TQXVariant::vkInteger))
        return TQXVariant(value.AsFloat());
    if (dataType == dtDate && (kind == TQXVariant::vkDate || kind == TQXVariant::vkDateTime))
        return TQXVariant(value.AsDate());
    if (dataType == dtDateTime && (kind == TQXVariant::vkDate || kind == TQXVariant::vkDateTime))
        return TQXVariant(value.AsDateTime());
    if (dataType == dtDateTime && kind == TQXVariant::vkString) {
        const QDateTime d = QDateTime::fromString(value.AsString(), Qt::ISODateWithMs);
        if (d.isValid()) return TQXVariant(d);
    }
    if (kind == TQXVariant::vkBinary) {
        *ok = false;
        return {};
    }
    return TableTextToValue(TableValueText(value, dataType), dataType, ok);
}

TBlobTable::TBlobTable(TDicTableDescription description) : FDesc(std::move(description)) {}

void TBlobTable::Load(const QByteArray& bytes) {
    FRows.clear();
    FModified = false;
    if (bytes.isEmpty()) return;
    QCborParserError error;
    const QCborValue root = QCborValue::fromCbor(bytes, &error);
    if (error.error != QCborError::NoError || !root.isMap() ||
        root[QLatin1String("format")].toString() != kFormat)
        Refuse("M_Pelvar_BlobTable_NotATable", FDesc.Name);
    const qint64 version = root[QLatin1String("version")].toInteger(-1);
    if (version < 1 || version > kFormatVersion)
        Refuse("M_Pelvar_BlobTable_Version", FDesc.Name, QString::number(version));
    // Stored field i goes to field map[i] of the structure, -1 when it has none.
    QList<int> map;
    for (const QCborValue f : root[QLatin1String("fields")].toArray())
        map << FieldIndex(FDesc, f[0].toString());
    std::vector<TBlobTableRow> rows;
    for (const QCborValue r : root[QLatin1String("rows")].toArray()) {
        const QCborArray cells = r.toArray();
        if (cells.size() != map.size()) Refuse("M_Pelvar_BlobTable_NotATable", FDesc.Name);
        TBlobTableRow row;
        row.ID = FNextID++;
        for (int i = 0; i < FDesc.Fields.size(); ++i)
            row.Values << TQXVariant();
        for (int i = 0; i < map.size(); ++i) {
            if (map[i] < 0) continue;
            bool ok = false;
            row.Values[map[i]] =
                BlobValueOfType(FromCbor(cells[i]), FDesc.Fields[map[i]].DataType, &ok);
        }
        rows.push_back(std::move(row));
    }
    FRows = std::move(rows);
    Order();
}

QByteArray TBlobTable::Save() const {
    QCborArray fields;
    for (const TDicFieldDescription& f : FDesc.Fields)
        fields.append(QCborArray{f.Name, f.DataType});
    QCborArray rows;
    for (const TBlobTableRow& r : FRows) {
        QCborArray cells;
        for (const TQXVariant& v : r.Values)
            cells.append(ToCbor(v));
        rows.append(cells);
    }
    QCborMap root;
    root.insert(QLatin1String("format"), kFormat);
    root.insert(QLatin1String("version"), kFormatVersion);
    root.insert(QLatin1String("fields"), fields);
    root.insert(QLatin1String("rows"), rows);
    return root.toCborValue().toCbor();
}

int TBlobTable::IndexOfID(qint64 id) const {
    for (size_t i = 0; i < FRows.size(); ++i)
        if (FRows[i].ID == id) return int(i);
    return -1;
}

int TBlobTable::FindOrRaise(qint64 id) const {
    const int at = IndexOfID(id);
    if (at < 0) Refuse("M_Pelvar_TblDatas_RecordNotFound");
    return at;
}

TRecord TBlobTable::EmptyRecord() const {
    TRecord record;
    for (const TDicFieldDescription& f : FDesc.Fields)
        record.AddField(f.Name, f.DataType, f.Size).SetRequired(f.Required);
    return record;
}

TRecord TBlobTable::ReadRecord(qint64 id) const {
    const TBlobTableRow& row = FRows[size_t(FindOrRaise(id))];
    TRecord record = EmptyRecord();
    for (int i = 0; i < row.Values.size(); ++i)
        record.GetFields(i).SetValue(row.Values[i]);
    return record;
}

TQXVariant TBlobTable::Converted(const TQXVariant& value, int field) const {
    const TDicFieldDescription& f = FDesc.Fields[field];
    bool ok = false;
    TQXVariant v = BlobValueOfType(value, f.DataType, &ok);
    if (!ok) Refuse("M_Pelvar_BlobTable_BadValue", value.AsString(), f.Name);
    if (IsTextDataType(f.DataType) && f.DataType != dtMemo && f.Size > 0 &&
        v.AsString().size() > f.Size)
        Refuse("M_Pelvar_BlobTable_TooLong", f.Name, QString::number(f.Size));
    return v;
}

void TBlobTable::Check(const QList<TQXVariant>& values, qint64 self) const {
    for (int i = 0; i < FDesc.Fields.size(); ++i)
        if (FDesc.Fields[i].Required && values[i].IsNull())
            Refuse("M_Pelvar_BlobTable_Required", FDesc.Fields[i].Name);
    for (const TDicIndexDescription& index : FDesc.Indexes) {
        if (!index.Unique && !index.Primary) continue;
        QList<int> cols;
        for (const QString& name : index.Fields)
            if (const int c = FieldIndex(FDesc, name); c >= 0) cols << c;
        QStringList key;
        for (const int c : cols) {
            if (values[c].IsNull()) {
                if (index.Primary) Refuse("M_Pelvar_BlobTable_Required", FDesc.Fields[c].Name);
                key.clear();
                break;
            }
            key << TableValueText(values[c], FDesc.Fields[c].DataType);
        }
        if (key.isEmpty()) continue;  // NULLs never collide
        for (const TBlobTableRow& row : FRows) {
            if (row.ID == self) continue;
            if (std::all_of(cols.begin(), cols.end(),
                            [&](int c) { return row.Values[c] == values[c]; }))
                Refuse("M_Pelvar_BlobTable_Duplicate", index.Name, key.join(QLatin1String(", ")));
        }
    }
}

void TBlobTable::Order() {
    const TDicIndexDescription* primary = FDesc.PrimaryIndex();
    if (!primary) return;
    QList<int> cols;
    for (const QString& name : primary->Fields)
        if (const int c = FieldIndex(FDesc, name); c >= 0) cols << c;
    std::stable_sort(FRows.begin(), FRows.end(),
                     [&](const TBlobTableRow& a, const TBlobTableRow& b) {
                         for (const int c : cols)
                             if (const int d = Compare(a.Values[c], b.Values[c]); d != 0)
                                 return d < 0;
                         return false;
                     });
}

void TBlobTable::Update(qint64 id, const TRecord& record, const QStringList& fields) {
    const int at = FindOrRaise(id);
    QList<TQXVariant> values = FRows[size_t(at)].Values;
    for (const QString& name : fields) {
        const int i = FieldIndex(FDesc, name);
        const TField* f = record.FindField(name);
        if (i >= 0 && f) values[i] = Converted(f->Value(), i);
    }
    Check(values, id);
    FRows[size_t(at)].Values = values;
    FModified = true;
    Order();
}

void TBlobTable::Delete(qint64 id) {
    FRows.erase(FRows.begin() + FindOrRaise(id));
    FModified = true;
}

qint64 TBlobTable::Insert(const TRecord& record) {
    QList<TQXVariant> values;
    for (int i = 0; i < FDesc.Fields.size(); ++i) {
        const TField* f = record.FindField(FDesc.Fields[i].Name);
        values << (f ? Converted(f->Value(), i) : TQXVariant());
        if (FDesc.Fields[i].DataType != dtAutoInc || !values[i].IsNull()) continue;
        qlonglong next = 1;
        for (const TBlobTableRow& row : FRows)
            if (!row.Values[i].IsNull()) next = qMax(next, row.Values[i].AsInteger() + 1);
        values[i] = TQXVariant(next);
    }
    Check(values, 0);
    const qint64 id = FNextID++;
    FRows.push_back(TBlobTableRow{id, values});
    FModified = true;
    Order();
    return id;
}

bool ReadTableStructure(const QString& alias, const QString& name,
                        TDicTableDescription& description) {
    // A database without system tables has no dictionary: no need to ask it.
    if (!BaseMng().Databases().GetDatabase(alias).TableExists(QStringLiteral("QXMAIL_DSP")))
        return false;
    TDSPTable& dsp = GetDSPTable(alias);
    if (!dsp.DSPStructureExist(name, otTable)) return false;
    description =
        TableFromStructure(TDSPNode::FromBytes(dsp.GetStructure(name, otTable), name), name);
    return true;
}
