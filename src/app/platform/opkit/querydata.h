#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "basekit/errors.h"
#include "basekit/record.h"
#include "utiloperation.h"

class TSelectQuery;
class TQXVariant;

// A query data file that does not read: the message names the file and line.
PELVAR_DECLARE_ERROR(EDicUtilError, EPelvarError);

// The text layout of a query data section, shared by its writer and reader:
//
//   [PARAMETRS]            a heading line, then |name|type name|value| per parameter
//   [FIELDS]               the row-number caption, then one caption per column
//   [RECORDS]              <number|value|value...> per row
//
// A value is unquoted (numbers, dates; empty for NULL) or quoted: text and
// bytes between "'" and "'", where every byte that could end the value or
// the line ("|", "#", control bytes) is "#" and two hexadecimal digits. A
// record longer than kMaxLine continues on the next line: the piece before
// ends with "@", the next begins with "@".
namespace QueryData {

inline const QString kParamsHeader = QStringLiteral("[PARAMETRS]");
inline const QString kFieldsHeader = QStringLiteral("[FIELDS]");
inline const QString kRecordsHeader = QStringLiteral("[RECORDS]");
inline const QString kSectionClass = QStringLiteral("TEIQueryData");
constexpr int kMaxLine = 99990;

// Text as a quoted value; `asciiOnly` also escapes every non-ASCII character
// (as its UTF-8 bytes), for files in a single-byte encoding.
QString QuoteText(const QString& text, bool asciiOnly);
QString QuoteBytes(const QByteArray& bytes);
// The bytes of a quoted value without its quotes (text gives its UTF-8);
// false for a broken "#" escape.
bool DecodeQuoted(QStringView inner, QByteArray& bytes);
// A value as a record holds it.
QString RecordValue(const TQXVariant& value, bool asciiOnly);
// A logical line as physical lines of at most kMaxLine characters plus the
// "@" marks.
QStringList SplitLine(const QString& line);

}  // namespace QueryData

// Writes the rows of a select statement (it runs anew) as one query data
// section of a new file. The file is made under a temporary name and renamed
// into place once complete: a failure or a cancel leaves any earlier file as
// it was. With TableFormat the rows follow once more as a table data section,
// ready to be imported into a table.
class TUOExportQueryData : public TUtilOperation {  // alias: SourceAlias(); file: FileName()
  public:
    TSelectQuery* Query = nullptr;
    TRecord Params;       // the statement's parameters as the window holds them
    qint64 RowLimit = 0;  // rows to write at most, 0 for all
    QString SectionName;  // "<file name> - Query data"
    bool SortFields = false;
    bool TableFormat = false;
    bool NewFormat = true;  // false: the release 17 layout
    bool Utf8 = true;       // false: Windows-1251
    void Execute(TOperationContext& context) override;
    qint64 RowsWritten() const { return FRows; }

  private:
    qint64 FRows = 0;
};
