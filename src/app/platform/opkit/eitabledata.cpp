#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "basekit/datatypes.h"
#include "basekit/strutils.h"
#include "eiformat.h"
#include "eiobjects.h"

namespace {

bool NeedsEscape(QChar c) {
    return c.unicode() < 0x20 || c == u'"' || c == u'\\';
}

void AppendJsonString(QString& out, const QString& text) {
    out += u'"';
    if (std::none_of(text.cbegin(), text.cend(), NeedsEscape)) {
        out += text;
        out += u'"';
        return;
    }
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '"':
                out += QLatin1String("\\\"");
                break;
            case '\\':
                out += QLatin1String("\\\\");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            case '\t':
                out += QLatin1String("\\t");
                break;
            default:
                if (c.unicode() < 0x20)
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    out += c;
        }
    }
    out += u'"';
}

QString JsonString(const QString& text) {
    QString result;
    result.reserve(text.size() + 2);
    AppendJsonString(result, text);
    return result;
}

// Doubles keep a fraction or an exponent so that they read back as doubles;
// JSON has no infinities or NaN, so those travel as texts.
void AppendJsonFloat(QString& out, double value) {
    if (std::isnan(value)) {
        out += QLatin1String("\"NaN\"");
    } else if (std::isinf(value)) {
        out += value > 0 ? QLatin1String("\"Infinity\"") : QLatin1String("\"-Infinity\"");
    } else {
        // The shortest digits that read back as the same double.
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const std::string_view text(digits, size_t(end - digits));
        out += QLatin1String(digits, end - digits);
        if (text.find_first_of(".e") == std::string_view::npos) out += QLatin1String(".0");
    }
}

// Appended in place: a table's rows are millions of these.
void AppendJsonValue(QString& out, const TQXVariant& value) {
    switch (value.Kind()) {
        case TQXVariant::vkNull:
            out += QLatin1String("null");
            return;
        case TQXVariant::vkInteger: {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, value.AsInteger()).ptr;
            out += QLatin1String(digits, end - digits);
            return;
        }
        case TQXVariant::vkFloat:
            return AppendJsonFloat(out, value.AsFloat());
        case TQXVariant::vkBoolean:
            out += value.AsBoolean() ? QLatin1String("true") : QLatin1String("false");
            return;
        case TQXVariant::vkDate:
            return AppendJsonString(out, value.AsDate().toString(Qt::ISODate));
        case TQXVariant::vkDateTime:
            return AppendJsonString(out, FormatStamp(value.AsDateTime(), u'T', true));
        case TQXVariant::vkBinary:
            return AppendJsonString(out, QString::fromLatin1(value.AsBinary().toBase64()));
        case TQXVariant::vkString:
            break;
    }
    AppendJsonString(out, value.AsString());
}

bool IsFloatType(int type) {
    return type == dtFloat || type == dtCurrency;
}

// The value back from JSON; the field type tells how a text is meant.
bool ValueFromJson(const QJsonValue& json, int type, TQXVariant& value) {
    switch (json.type()) {
        case QJsonValue::Null:
            value = TQXVariant();
            return true;
        case QJsonValue::Bool:
            value = TQXVariant(json.toBool());
            return true;
        case QJsonValue::Double: {
            const QVariant v = json.toVariant();
            const bool integral = v.metaType().id() == QMetaType::LongLong;
            if (integral && !IsFloatType(type))
                value = TQXVariant(qlonglong(v.toLongLong()));
            else
                value = TQXVariant(json.toDouble());
            return true;
        }
        case QJsonValue::String:
            break;
        default:
            return false;
    }
    const QString text = json.toString();
    if (IsBlobDataType(type)) {
        auto bytes = QByteArray::fromBase64Encoding(text.toLatin1(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
        if (!bytes) return false;
        value = TQXVariant(*bytes);
        return true;
    }
    if (type == dtDate || type == dtDateTime) {
        if (text.size() == 10) {
            const QDate date = QDate::fromString(text, Qt::ISODate);
            if (date.isValid()) {
                value = TQXVariant(date);
                return true;
            }
        }
        const QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (when.isValid()) {
            value = TQXVariant(when);
            return true;
        }
    }
    if (IsFloatType(type)) {
        if (text == QLatin1String("NaN")) {
            value = TQXVariant(std::nan(""));
            return true;
        }
        if (text == QLatin1String("Infinity") || text == QLatin1String("-Infinity")) {
            const double inf = std::numeric_limits<double>::infinity();
            value = TQXVariant(text.startsWith(u'-') ? -inf : inf);
            return true;
        }
    }
    value = TQXVariant(text);
    return true;
}

[[noreturn]] void RaiseAt(const TEISectionDataReader& data, const QString& what) {
    EIFormat::Raise(data.FileName(), data.LineNumber(), what);
}

QJsonArray ParseArray(const TEISectionDataReader& data, const QString& line) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        RaiseAt(data, QStringLiteral("invalid JSON data: %1").arg(error.errorString()));
    if (!doc.isArray()) RaiseAt(data, QStringLiteral("a JSON array expected"));
    return doc.array();
}

QList<TDicFieldDescription> ReadFields(TEISectionDataReader& data) {
    QString line;
    if (!data.Readln(line))
        EIFormat::Raise(data.FileName(), data.LineNumber(),
                        QStringLiteral("the field list of the table is missing"));
    QList<TDicFieldDescription> fields;
    for (const QJsonValue& item : ParseArray(data, line)) {
        const QJsonArray f = item.toArray();
        if (f.size() != 3 || !f[0].isString() || !f[1].isDouble() || !f[2].isDouble())
            RaiseAt(data, QStringLiteral("a field must be [name, type code, size]"));
        TDicFieldDescription field;
        field.Name = f[0].toString();
        field.DataType = f[1].toInt(-1);
        field.Size = f[2].toInt(-1);
        if (!IsValidDataType(field.DataType) || field.Size < 0)
            RaiseAt(data,
                    QStringLiteral("the field %1 has an invalid type or size").arg(field.Name));
        fields.append(field);
    }
    return fields;
}

TEISectionWriter BeginTable(TEIFile& file, TEITableData& header, const QString& tableName,
                            const QList<TDicFieldDescription>& fields) {
    header.SetTableName(tableName);
    header.SetFields(fields);
    TEISectionParameters parameters;
    header.FillParameters(parameters);
    return file.BeginSection(header.SectionClass(), header.SectionName(), parameters);
}

}  // namespace

// ---- TEITableData ----

void TEITableData::FillParameters(TEISectionParameters& parameters) const {
    parameters.SetValues(QStringLiteral("TableName"), FTableName);
    // Zero padded: the writer patches it once the rows are written.
    parameters.SetValues(QStringLiteral("RowCount"), EIFormat::PadCount(FRowCount));
}

void TEITableData::Load(const TEISection& section) {
    bool ok = false;
    const QString rows = section.Parameters().GetValues(QStringLiteral("RowCount"));
    const qint64 rowCount = rows.toLongLong(&ok);
    if (!ok || rowCount < 0)
        EIFormat::Raise(section.Source() ? section.Source()->SourceName() : QString(),
                        section.LineNumber(),
                        QStringLiteral("the row count \"%1\" is not a number").arg(rows));
    TEISectionDataReader data = section.OpenData();
    FFields = ReadFields(data);
    FTableName = section.Parameters().GetValues(QStringLiteral("TableName"));
    FRowCount = rowCount;
}

void TEITableData::Save(TEISectionWriter& writer) const {
    QStringList fields;
    for (const TDicFieldDescription& f : FFields)
        fields << QStringLiteral("[%1,%2,%3]").arg(JsonString(f.Name)).arg(f.DataType).arg(f.Size);
    writer.Writeln(u'[' + fields.join(u',') + u']');
}

// ---- TEITableDataWriter ----

TEITableDataWriter::TEITableDataWriter(TEIFile& file, const QString& tableName,
                                       const QList<TDicFieldDescription>& fields)
    : FWriter(BeginTable(file, FHeader, tableName, fields)) {
    FHeader.Save(FWriter);
}

void TEITableDataWriter::AddRow(const QList<TQXVariant>& values) {
    if (values.size() != FHeader.Fields().size())
        throw EEIFileError(QStringLiteral("A row of table %1 has %2 values for %3 fields")
                               .arg(FHeader.TableName())
                               .arg(values.size())
                               .arg(FHeader.Fields().size()));
    FLine.resize(0);  // keeps its capacity from row to row
    FLine += u'[';
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0) FLine += u',';
        AppendJsonValue(FLine, values[i]);
    }
    FLine += u']';
    FWriter.Writeln(FLine);
    ++FRows;
}

void TEITableDataWriter::AddRow(const TRecord& record) {
    QList<TQXVariant> values;
    values.reserve(FHeader.Fields().size());
    for (const TDicFieldDescription& f : FHeader.Fields()) {
        const TField* field = record.FindField(f.Name);
        values.append(field ? field->Value() : TQXVariant());
    }
    AddRow(values);
}

TEISection& TEITableDataWriter::Commit() {
    FWriter.PatchParameter(QStringLiteral("RowCount"), EIFormat::PadCount(FRows));
    return FWriter.Commit();
}

// ---- TEITableDataReader ----

TEITableDataReader::TEITableDataReader(const TEISection& section) : FData(section.OpenData()) {
    FFields = ReadFields(FData);
}

bool TEITableDataReader::Next(QList<TQXVariant>& values) {
    values.clear();
    QString line;
    if (!FData.Readln(line)) return false;
    const QJsonArray row = ParseArray(FData, line);
    if (row.size() != FFields.size())
        RaiseAt(FData, QStringLiteral("the row has %1 values for %2 fields")
                           .arg(row.size())
                           .arg(FFields.size()));
    values.reserve(row.size());
    for (qsizetype i = 0; i < row.size(); ++i) {
        TQXVariant value;
        if (!ValueFromJson(row[i], FFields[i].DataType, value))
            RaiseAt(FData, QStringLiteral("invalid value of field %1").arg(FFields[i].Name));
        values.append(value);
    }
    ++FRows;
    return true;
}

bool TEITableDataReader::Next(TRecord& record) {
    QList<TQXVariant> values;
    if (!Next(values)) return false;
    if (record.GetFieldCount() == 0)
        for (const TDicFieldDescription& f : FFields)
            record.AddField(f.Name, f.DataType, f.Size);
    for (qsizetype i = 0; i < values.size(); ++i)
        if (TField* field = record.FindField(FFields[i].Name)) field->SetValue(values[i]);
    return true;
}
