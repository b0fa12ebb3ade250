#include "querycsv.h"

#include <QSaveFile>
#include <algorithm>
#include <numeric>

#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/strutils.h"
#include "gridkit/resultmodel.h"
#include "opkit/querydata.h"

TQueryDataToCSV::TQueryDataToCSV(TSelectQuery* query, qint64 rowLimit, bool sortFields,
                                 bool tableFormat)
    : FQuery(query), FRowLimit(rowLimit), FSortFields(sortFields), FTableFormat(tableFormat) {}

void TQueryDataToCSV::SetEncoding(TEIEncoding encoding, bool byteOrderMark) {
    FEncoding = encoding;
    FByteOrderMark = byteOrderMark;
}

QString TQueryDataToCSV::CsvValue(const TQXVariant& value) {
    switch (value.Kind()) {
        case TQXVariant::vkNull:
            return QStringLiteral("NULL");
        case TQXVariant::vkBoolean:
            return value.AsBoolean() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case TQXVariant::vkBinary:
            return BlobToText(value.AsBinary());
        case TQXVariant::vkString:
            break;
        default:
            return value.AsString();
    }
    // Control characters, "#" and ";" as "#" and two hexadecimal digits keep a
    // value on one line and in one column; a quote is doubled as spreadsheet
    // programs expect inside a quoted value.
    const QString text = value.AsString();
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c.unicode() < 32 || c == QLatin1Char('#') || c == QLatin1Char(';'))
            out += QStringLiteral("#%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else if (c == QLatin1Char('"'))
            out += QStringLiteral("\"\"");
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}

QStringList TQueryDataToCSV::SplitLine(const QString& line) {
    return QueryData::SplitLine(line);
}

qint64 TQueryDataToCSV::Execute(const QString& fileName) {
    if (FQuery == nullptr)
        throw EEIFileError(QStringLiteral("Can not export Query data. Query not assigned"));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EEIFileError(SafeFormat(LString(QStringLiteral("M_pelvar_QueryFrm_CsvWriteError")),
                                      fileName, file.errorString()));
    TEIStream stream(file, FEncoding);
    if (FByteOrderMark && FEncoding == eeUTF8) stream.WriteRaw(QByteArrayLiteral("\xEF\xBB\xBF"));
    FQuery->Open();
    std::vector<int> order(size_t(FQuery->FieldCount()));
    std::iota(order.begin(), order.end(), 0);
    if (FSortFields)
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
            return FQuery->Column(a).Name.compare(FQuery->Column(b).Name, Qt::CaseInsensitive) < 0;
        });
    QString header = QStringLiteral("№");
    for (int i : order)
        header += QLatin1Char(';') + FQuery->Column(i).Name;
    stream.Writeln(header);
    qint64 rows = 0;
    for (; !FQuery->Eof(); FQuery->Next()) {
        if (FRowLimit > 0 && rows >= FRowLimit) break;
        if (rows % 100 == 0 && FStop && FStop()) break;
        QString line = QString::number(rows + 1);
        for (int i : order)
            line += QLatin1Char(';') + CsvValue(FQuery->Fields().GetFields(i).Value());
        for (const QString& piece : SplitLine(line))
            stream.Writeln(piece);
        ++rows;
    }
    FQuery->Close();
    stream.Flush();
    if (!file.commit())
        throw EEIFileError(SafeFormat(LString(QStringLiteral("M_pelvar_QueryFrm_CsvWriteError")),
                                      fileName, file.errorString()));
    return rows;
}
