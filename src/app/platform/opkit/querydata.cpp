#include "querydata.h"

#include <numeric>

#include "appcore/query.h"
#include "basekit/datatypes.h"
#include "basekit/variant.h"
#include "dspexportwriter.h"
#include "eiobjects.h"

namespace QueryData {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(QString& out, unsigned char b) {
    out += QLatin1Char('#');
    out += QLatin1Char(kHex[b >> 4]);
    out += QLatin1Char(kHex[b & 15]);
}

// Bytes that would end a value or a line, or read differently after a trim.
bool NeedsEscape(char16_t c) {
    return c < 32 || c == 127 || c == u'#' || c == u'|';
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

}  // namespace

QString QuoteText(const QString& text, bool asciiOnly) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('\'');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (NeedsEscape(c.unicode())) {
            AppendEscaped(out, static_cast<unsigned char>(c.unicode()));
        } else if (asciiOnly && c.unicode() > 127) {
            // A surrogate pair is one character of UTF-8.
            const qsizetype n = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            for (const char b : QStringView(text).mid(i, n).toUtf8())
                AppendEscaped(out, static_cast<unsigned char>(b));
            i += n - 1;
        } else {
            out += c;
        }
    }
    out += QLatin1Char('\'');
    return out;
}

QString QuoteBytes(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size() + 2);
    out += QLatin1Char('\'');
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b > 127 || NeedsEscape(b))
            AppendEscaped(out, b);
        else
            out += QLatin1Char(c);
    }
    out += QLatin1Char('\'');
    return out;
}

bool DecodeQuoted(QStringView inner, QByteArray& bytes) {
    bytes.clear();
    bytes.reserve(inner.size());
    qsizetype run = 0;  // start of the characters not yet converted
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] != QLatin1Char('#')) continue;
        bytes += inner.mid(run, i - run).toUtf8();
        const int hi = i + 2 < inner.size() ? HexDigit(inner[i + 1]) : -1;
        const int lo = hi >= 0 ? HexDigit(inner[i + 2]) : -1;
        if (lo < 0) return false;
        bytes += char(hi * 16 + lo);
        i += 2;
        run = i + 1;
    }
    bytes += inner.mid(run).toUtf8();
    return true;
}

QString RecordValue(const TQXVariant& value, bool asciiOnly) {
    switch (value.Kind()) {
        case TQXVariant::vkNull:
            return QString();
        case TQXVariant::vkString:
            return QuoteText(value.AsString(), asciiOnly);
        case TQXVariant::vkBinary:
            return QuoteBytes(value.AsBinary());
        case TQXVariant::vkBoolean:
            return value.AsBoolean() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        default:
            return value.AsString();
    }
}

QStringList SplitLine(const QString& line) {
    if (line.size() <= kMaxLine) return {line};
    QStringList pieces;
    for (qsizetype at = 0; at < line.size(); at += kMaxLine) {
        QString piece = line.mid(at, kMaxLine);
        if (at > 0) piece.prepend(QLatin1Char('@'));
        if (at + kMaxLine < line.size()) piece += QLatin1Char('@');
        pieces << piece;
    }
    return pieces;
}

}  // namespace QueryData

using namespace QueryData;

void TUOExportQueryData::Execute(TOperationContext& context) {
    if (Query == nullptr)
        throw EDicUtilError(QStringLiteral("Can not export Query data. Query not assigned"));
    FRows = 0;
    const bool asciiOnly = !Utf8 || !NewFormat;
    DSPExport::TNewFile target(FileName(), Utf8 && NewFormat ? eeUTF8 : eeANSI, !NewFormat);
    target.Write([&](TEIFile& file) {
        context.Status(SectionName);
        TEISectionParameters parameters;
        parameters.SetValues(QStringLiteral("TableName"), SectionName);
        parameters.SetValues(QStringLiteral("Alias"), SourceAlias());
        parameters.SetValues(QStringLiteral("SQL"), Query->SQL());
        TEISectionWriter writer = file.BeginSection(kSectionClass, SectionName, parameters);
        writer.Writeln(kParamsHeader);
        writer.Writeln(QStringLiteral("|Name|Type|Value|"));
        for (int i = 0; i < Params.GetFieldCount(); ++i) {
            const TField& p = Params.GetFields(i);
            writer.Writeln(QStringLiteral("|%1|%2|%3|")
                               .arg(p.Name(), DataTypeName(p.DataType()),
                                    p.IsNull() ? QStringLiteral("{NULL}") : p.AsString()));
        }
        Query->Open();
        std::vector<int> order(size_t(Query->FieldCount()));
        std::iota(order.begin(), order.end(), 0);
        if (SortFields)
            std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
                return Query->Column(a).Name.compare(Query->Column(b).Name, Qt::CaseInsensitive) <
                       0;
            });
        writer.Writeln(kFieldsHeader);
        writer.Writeln(QStringLiteral("#"));
        QList<TDicFieldDescription> fields;
        for (const int i : order) {
            const TResultColumn& c = Query->Column(i);
            writer.Writeln(c.Name);
            fields.append({c.Name, c.DataType, IsLongDataType(c.DataType) ? 0 : int(c.ColumnSize)});
        }
        writer.Writeln(kRecordsHeader);
        QString line;
        for (; !Query->Eof() && (RowLimit <= 0 || FRows < RowLimit); Query->Next()) {
            line = QLatin1Char('<') + QString::number(FRows + 1);
            for (const int i : order)
                line +=
                    QLatin1Char('|') + RecordValue(Query->Fields().GetFields(i).Value(), asciiOnly);
            line += QLatin1Char('>');
            for (const QString& piece : SplitLine(line))
                writer.Writeln(piece);
            if (++FRows % 100 == 0) {
                context.Progress(FRows, RowLimit);
                context.CheckCancel();
            }
        }
        Query->Close();
        writer.Commit();
        if (!TableFormat) return;
        // The same rows again, as table data.
        TEITableDataWriter table(file, SectionName, fields);
        Query->Open();
        QList<TQXVariant> values;
        for (qint64 n = 0; !Query->Eof() && n < FRows; Query->Next(), ++n) {
            values.clear();
            for (const int i : order)
                values.append(Query->Fields().GetFields(i).Value());
            table.AddRow(values);
            if (n % 100 == 99) context.CheckCancel();
        }
        Query->Close();
        table.Commit();
    });
    target.Commit();
}
