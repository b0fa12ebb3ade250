#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TQueryResultModel;
class TEISectionDataReader;

// One parameter line of a query data file.
struct TQueryDataParam {
    QString Name;
    QString TypeName;
    QString Value;
};

// Reads a query data file written by TUOExportQueryData: the parameters as
// they were, the column captions and the rows. Every fault (a missing file,
// a file of another kind, a truncated file, a broken record) raises one
// EDicUtilError or EEIFileError that names the file and, where there is one,
// the line.
class TQueryDataReader {
  public:
    // Asked at the 1st, 101st, 201st ... record with the records read; false
    // stops reading.
    using TProgress = std::function<bool(qint64 records)>;

    explicit TQueryDataReader(QString fileName) : FFileName(std::move(fileName)) {}
    // Fills `rows` (which should be a model no view shows yet, so a failure
    // leaves nothing half shown). False when `progress` stopped it.
    bool Read(TQueryResultModel& rows, const TProgress& progress = {});

    const QList<TQueryDataParam>& Params() const { return FParams; }
    // Whether the file held the captions.
    bool HasFields() const { return FHasFields; }
    qint64 RecordCount() const { return FRecords; }

    // A quoted value shows as text when it is short UTF-8, else as "(BLOB)".
    static bool ShowsAsText(const QByteArray& bytes);

  private:
    bool Next(TEISectionDataReader& data, QString& line);
    bool ReadParams(TEISectionDataReader& data, QString& line);
    bool ReadFields(TEISectionDataReader& data, QString& line, TQueryResultModel& rows);
    bool ReadRecords(TEISectionDataReader& data, QString& line, TQueryResultModel& rows,
                     const TProgress& progress);
    // The values of one logical record, its pieces joined; `line` holds its first piece.
    QStringList RecordValues(TEISectionDataReader& data, QString line);
    [[noreturn]] void Fail(const TEISectionDataReader& data, const QString& what) const;

    QString FFileName;
    QList<TQueryDataParam> FParams;
    bool FHasFields = false;
    bool FStopped = false;
    qint64 FRecords = 0;
};
