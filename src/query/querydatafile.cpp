#include "querydatafile.h"

#include <QFile>
#include <QHash>

#include "gridkit/resultmodel.h"
#include "opkit/eifile.h"
#include "opkit/querydata.h"

using namespace QueryData;

bool TQueryDataReader::ShowsAsText(const QByteArray& bytes) {
    if (bytes.size() > TQueryResultModel::kCellChars) return false;
    return QString::fromUtf8(bytes).toUtf8() == bytes && !bytes.contains('\0');
}

bool TQueryDataReader::Read(TQueryResultModel& rows, const TProgress& progress) {
    FParams.clear();
    FHasFields = FStopped = false;
    FRecords = 0;
    if (!QFile::exists(FFileName))
        throw EDicUtilError(QStringLiteral("FileNotFound: %1").arg(FFileName));
    TEIFile file(FFileName);
    file.SetReadOnly(true);
    file.Open();
    if (file.Sections().GetCount() == 0) {
        const QString note = file.UnfinishedSectionNote();
        throw EDicUtilError(QStringLiteral("Error while reading Header Section: File %1%2")
                                .arg(FFileName, note.isEmpty() ? QString() : "\n" + note));
    }
    const TEISection& section = *file.Sections().GetSections(0);
    if (section.ClassName() != kSectionClass)
        throw EDicUtilError(QStringLiteral("File is not QueryData: File %1, line %2 holds %3")
                                .arg(FFileName)
                                .arg(section.LineNumber())
                                .arg(section.ClassName()));
    rows.Clear();
    TEISectionDataReader data = section.OpenData();
    QString line;
    bool have = Next(data, line);
    while (have && !FStopped) {
        const bool part = line == kParamsHeader || line == kFieldsHeader || line == kRecordsHeader;
        if (line == kParamsHeader) have = ReadParams(data, line);
        if (have && line == kFieldsHeader) have = ReadFields(data, line, rows);
        if (have && line == kRecordsHeader) have = ReadRecords(data, line, rows, progress);
        if (!part && have) have = Next(data, line);
    }
    rows.EndRows();
    return !FStopped;
}

bool TQueryDataReader::Next(TEISectionDataReader& data, QString& line) {
    if (!data.Readln(line)) return false;
    line = line.trimmed();
    return true;
}

void TQueryDataReader::Fail(const TEISectionDataReader& data, const QString& what) const {
    throw EDicUtilError(QStringLiteral("File %1, line %2: %3 (Position:%4)")
                            .arg(FFileName)
                            .arg(data.LineNumber())
                            .arg(what)
                            .arg(data.Position()));
}

bool TQueryDataReader::ReadParams(TEISectionDataReader& data, QString& line) {
    // The first line after the heading holds the column titles.
    bool first = true;
    while (Next(data, line)) {
        if (line.startsWith(QLatin1Char('['))) return true;
        if (std::exchange(first, false)) continue;
        const QString inner = line.mid(1, line.size() - 2);
        FParams.append({inner.section(QLatin1Char('|'), 0, 0),
                        inner.section(QLatin1Char('|'), 1, 1), inner.section(QLatin1Char('|'), 2)});
    }
    return false;
}

bool TQueryDataReader::ReadFields(TEISectionDataReader& data, QString& line,
                                  TQueryResultModel& rows) {
    QStringList captions;
    QString numberCaption;
    bool first = true;
    bool have;
    while ((have = Next(data, line)) && !line.startsWith(QLatin1Char('['))) {
        if (std::exchange(first, false))
            numberCaption = line;
        else
            captions << line;
    }
    rows.BeginRows(captions, numberCaption);
    FHasFields = true;
    return have;
}

QStringList TQueryDataReader::RecordValues(TEISectionDataReader& data, QString line) {
    static const QString kBroken =
        QStringLiteral("Can not import data. Invalid record data structure. ");
    if (line.size() < 2 || !line.startsWith(QLatin1Char('<')))
        Fail(data, kBroken + QStringLiteral("'<' is missing"));
    line.remove(0, 1);
    while (line.endsWith(QLatin1Char('@'))) {
        QString next;
        if (!Next(data, next))
            Fail(data, kBroken + QStringLiteral("Unexpected end of data section"));
        if (!next.startsWith(QLatin1Char('@')))
            Fail(data, kBroken + QStringLiteral("'@' is missing"));
        line.chop(1);
        line += QStringView(next).mid(1);
    }
    if (!line.endsWith(QLatin1Char('>'))) Fail(data, kBroken + QStringLiteral("'>' is missing"));
    line.chop(1);
    return line.split(QLatin1Char('|'));
}

bool TQueryDataReader::ReadRecords(TEISectionDataReader& data, QString& line,
                                   TQueryResultModel& rows, const TProgress& progress) {
    if (!FHasFields) Fail(data, QStringLiteral("Can not import data. The fields are missing"));
    const int fields = rows.FieldCount();
    QStringList cells;
    QHash<int, QByteArray> blobs;
    QByteArray bytes;
    while (Next(data, line)) {
        if (line.startsWith(QLatin1Char('['))) return true;
        if (FRecords % 100 == 0 && progress && !progress(FRecords)) {
            FStopped = true;
            return false;
        }
        const QStringList values = RecordValues(data, line);
        if (values.size() != fields + 1)
            Fail(data, QStringLiteral("Can not import data. The record holds %1 values for %2 "
                                      "columns")
                           .arg(values.size() - 1)
                           .arg(fields));
        cells.clear();
        blobs.clear();
        for (int i = 0; i < fields; ++i) {
            const QString& v = values[i + 1];
            const bool quoted = v.size() > 1 && v.startsWith(QLatin1Char('\''));
            if (FRecords == 0) rows.SetFieldRightAligned(i, !quoted);
            if (!quoted) {
                cells << v;
                continue;
            }
            if (!DecodeQuoted(QStringView(v).mid(1, v.size() - 2), bytes))
                Fail(data, QStringLiteral("Can not import data. A broken \"#\" escape in column %1")
                               .arg(i + 1));
            if (ShowsAsText(bytes)) {
                cells << QString::fromUtf8(bytes);
            } else {
                cells << QString();
                blobs.insert(i, bytes);
            }
        }
        rows.AppendRow(cells, blobs);
        ++FRecords;
    }
    return false;
}
