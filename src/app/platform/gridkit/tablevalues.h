#pragma once

#include <QString>

#include "basekit/variant.h"

// A value of a field as the data grid shows and edits it, and the value a
// typed text stands for. `ok` is false when the text does not convert to the
// field's type (the value is then NULL).
QString TableValueText(const TQXVariant& value, int dataType);
TQXVariant TableTextToValue(const QString& text, int dataType, bool* ok);
// A cell's text in a data grid: NULL as "(null)", a BLOB as "(BLOB)".
QString GridDisplayText(const TQXVariant& value, int dataType);
