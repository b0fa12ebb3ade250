#pragma once

#include <sql.h>
#include <sqlext.h>

#include <QDateTime>

struct TResultColumn;
class TField;

// Conversions between ODBC buffers and the platform's values, for binding
// parameters and fetching result columns.

SQL_TIMESTAMP_STRUCT ToTimestamp(const QDateTime& dt);
QDateTime FromTimestamp(const SQL_TIMESTAMP_STRUCT& ts);
// The SQL type a NULL of the given data type is bound as.
SQLSMALLINT SqlTypeForNull(int dataType, SQLSMALLINT binaryType);
// The C type each column is read as, and the bound element size when it can be
// bound (0: read with SQLGetData).
void FetchPlan(const TResultColumn& c, bool sizesEnforced, SQLSMALLINT& cType, SQLLEN& elementSize);
// Stores a fetched value (or NULL, by its indicator) in the field.
void StoreValue(TField& f, int dataType, SQLSMALLINT cType, const void* data, SQLLEN ind);
