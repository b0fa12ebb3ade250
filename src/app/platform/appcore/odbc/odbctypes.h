#pragma once

#include <sql.h>
#include <sqlext.h>

#include <QDateTime>

struct TResultColumn;
class TField;
class TSqlDialect;

// Conversions between ODBC types and buffers and the platform's types and
// values, for describing columns, binding parameters and fetching results.

// Maps an SQL type reported by a driver to the platform's data type code.
int DataTypeFromSql(SQLSMALLINT sqlType, SQLULEN columnSize, SQLSMALLINT decimalDigits);
// SQL type used to bind binary parameters on the dialect's engine.
SQLSMALLINT BinaryParameterType(const TSqlDialect& dialect);

SQL_TIMESTAMP_STRUCT ToTimestamp(const QDateTime& dt);
QDateTime FromTimestamp(const SQL_TIMESTAMP_STRUCT& ts);
// The SQL type a NULL of the given data type is bound as.
SQLSMALLINT SqlTypeForNull(int dataType, SQLSMALLINT binaryType);
// The C type each column is read as, and the bound element size when it can be
// bound (0: read with SQLGetData).
void FetchPlan(const TResultColumn& c, bool sizesEnforced, SQLSMALLINT& cType, SQLLEN& elementSize);
// Stores a fetched value (or NULL, by its indicator) in the field.
void StoreValue(TField& f, int dataType, SQLSMALLINT cType, const void* data, SQLLEN ind);
