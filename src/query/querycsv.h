#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "opkit/eistream.h"
#include "opkit/querydata.h"

class TSelectQuery;
class TQXVariant;

// Writes the rows of a select statement to a CSV file: a header line ("№" and
// the field names), then one line per row (its number from 1 and the values),
// all separated by ";". The statement runs anew; the file is written into a
// temporary file that replaces the target only when complete.
class TQueryDataToCSV {
  public:
    // Longest physical line; longer lines continue with "@" on the next one.
    static constexpr int kMaxLine = QueryData::kMaxLine;

    TQueryDataToCSV(TSelectQuery* query, qint64 rowLimit, bool sortFields, bool tableFormat);
    void SetEncoding(TEIEncoding encoding, bool byteOrderMark);
    // Asked at the 1st, 101st, 201st ... row; true ends the export there (what
    // was written so far is kept).
    void SetStopRequest(std::function<bool()> stop) { FStop = std::move(stop); }
    // Returns the number of rows written. Raises EEIFileError for a file that
    // can not be written (the target stays as it was).
    qint64 Execute(const QString& fileName);

    // One value as the file holds it.
    static QString CsvValue(const TQXVariant& value);
    // A logical line as physical lines of at most kMaxLine characters.
    static QStringList SplitLine(const QString& line);

  private:
    TSelectQuery* FQuery;
    qint64 FRowLimit;
    bool FSortFields;
    bool FTableFormat;
    TEIEncoding FEncoding = eeUTF8;
    bool FByteOrderMark = false;
    std::function<bool()> FStop;
};
