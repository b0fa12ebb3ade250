#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "basekit/record.h"

// Rules of the query window that need no window.

// Ordinals equal the items of the query type box.
enum TQueryType { qtAuto = 0, qtSelect = 1, qtExecute = 2 };

// The type one run uses: under qtAuto a statement whose trimmed text begins
// with SELECT (any case) is read as a result, anything else executed.
TQueryType DecideQueryType(TQueryType chosen, const QString& sql);

// The parameter names of a statement in order of first use, each once.
QStringList StatementParameterNames(const QString& sql);

// Brings the parameter record in step with the statement: fields no longer
// named go, new names come in as text (type code 0) at their position, and a
// field already known keeps its type and value wherever it moves to.
void SyncParameters(TRecord& params, const QString& sql);

// A parameter value typed into the grid, converted by the type code. "{NULL}"
// in any case makes it NULL, and so does an empty text for a type that is not
// text; booleans are true exactly for "TRUE" in any case.
// A text that does not convert raises EConvertError.
TQXVariant ParameterValueFromText(int dataType, const QString& text);
// The value as the grid shows it ("{NULL}" for NULL).
QString ParameterValueText(const TField& field);
// Replaces field `index` by one of another type, keeping its name; the value
// is converted from its text when it can be and NULL otherwise.
void ChangeParameterType(TRecord& params, int index, int dataType);

// True when both records have the same count of fields with equal type codes
// and equal values as text.
bool SameParameters(const TRecord& a, const TRecord& b);

// A search in one result column: direction 0 looks at the rows after `from`
// downwards, 1 at those before it upwards, 2 at all rows from the first. A
// row matches when its cell (`cell(row)`), leading blanks removed, begins
// with `text` ignoring case. Returns the first match, -1 for none.
int FindResultRow(const std::function<QString(int row)>& cell, int rowCount, int from,
                  const QString& text, int direction);

// The BLOB commands of the result (show as table or DSP tree, save to a
// file) need a data column, a focused row and a "(BLOB)" cell there.
bool BlobCommandAllowed(int column, int focusedRow, bool blobCell);
