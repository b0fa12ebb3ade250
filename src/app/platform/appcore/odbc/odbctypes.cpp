#include "odbctypes.h"

#include "appcore/dialect.h"
#include "appcore/query.h"
#include "basekit/datatypes.h"
#include "basekit/record.h"

SQL_TIMESTAMP_STRUCT ToTimestamp(const QDateTime& dt) {
    SQL_TIMESTAMP_STRUCT ts{};
    const QDate d = dt.date();
    const QTime t = dt.time();
    ts.year = SQLSMALLINT(d.year());
    ts.month = SQLUSMALLINT(d.month());
    ts.day = SQLUSMALLINT(d.day());
    ts.hour = SQLUSMALLINT(t.hour());
    ts.minute = SQLUSMALLINT(t.minute());
    ts.second = SQLUSMALLINT(t.second());
    ts.fraction = SQLUINTEGER(t.msec()) * 1000000u;
    return ts;
}

QDateTime FromTimestamp(const SQL_TIMESTAMP_STRUCT& ts) {
    return QDateTime(QDate(ts.year, ts.month, ts.day),
                     QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000u)));
}

// The SQL type a NULL of the given data type is bound as.
SQLSMALLINT SqlTypeForNull(int dataType, SQLSMALLINT binaryType) {
    if (dataType < 0) return SQL_VARCHAR;
    if (IsBlobDataType(dataType)) return binaryType;
    if (IsIntegerDataType(dataType)) return SQL_BIGINT;
    switch (dataType) {
        case dtFloat:
        case dtCurrency:
            return SQL_DOUBLE;
        case dtDate:
            return SQL_TYPE_DATE;
        case dtDateTime:
            return SQL_TYPE_TIMESTAMP;
        case dtBoolean:
            return SQL_BIT;
        case dtMemo:
            return SQL_LONGVARCHAR;
        default:
            return SQL_VARCHAR;
    }
}

// The C type each column is read as, and the bound element size when it can be
// bound (0: read with SQLGetData).
void FetchPlan(const TResultColumn& c, bool sizesEnforced, SQLSMALLINT& cType,
               SQLLEN& elementSize) {
    elementSize = 0;
    switch (c.DataType) {
        case dtSmallint:
        case dtInteger:
        case dtLargeint:
        case dtWord:
        case dtByte:
        case dtShortint:
        case dtLongWord:
        case dtAutoInc:
        case dtBoolean:
            cType = SQL_C_SBIGINT;
            elementSize = sizeof(SQLBIGINT);
            return;
        case dtFloat:
        case dtCurrency:
            cType = SQL_C_DOUBLE;
            elementSize = sizeof(double);
            return;
        case dtDate:
        case dtDateTime:
            cType = SQL_C_TYPE_TIMESTAMP;
            elementSize = sizeof(SQL_TIMESTAMP_STRUCT);
            return;
        case dtBlob:
        case dtGraphic:
            cType = SQL_C_BINARY;
            return;
        case dtMemo:
            cType = SQL_C_CHAR;
            return;
        default:
            cType = SQL_C_CHAR;
            // Character data: bound only where the engine guarantees the size
            // (UTF-8 takes up to 4 bytes per character).
            if (sizesEnforced && c.ColumnSize > 0 && c.ColumnSize <= 2000)
                elementSize = SQLLEN(c.ColumnSize * 4 + 1);
            return;
    }
}

void StoreValue(TField& f, int dataType, SQLSMALLINT cType, const void* data, SQLLEN ind) {
    if (ind == SQL_NULL_DATA) {
        f.SetNull();
        return;
    }
    switch (cType) {
        case SQL_C_SBIGINT: {
            const auto v = *static_cast<const SQLBIGINT*>(data);
            if (dataType == dtBoolean)
                f.SetAsBoolean(v != 0);
            else
                f.SetAsInteger(v);
            return;
        }
        case SQL_C_DOUBLE:
            f.SetAsFloat(*static_cast<const double*>(data));
            return;
        case SQL_C_TYPE_TIMESTAMP: {
            const QDateTime dt = FromTimestamp(*static_cast<const SQL_TIMESTAMP_STRUCT*>(data));
            if (dataType == dtDate)
                f.SetValue(TQXVariant(dt.date()));
            else
                f.SetAsDateTime(dt);
            return;
        }
        default:
            f.SetAsString(QString::fromUtf8(static_cast<const char*>(data), int(ind)));
            return;
    }
}

int DataTypeFromSql(SQLSMALLINT sqlType, SQLULEN columnSize, SQLSMALLINT decimalDigits) {
    switch (sqlType) {
        case SQL_CHAR:
        case SQL_WCHAR:
            return dtFixedChar;
        case SQL_VARCHAR:
        case SQL_WVARCHAR:
            return dtString;
        case SQL_LONGVARCHAR:
        case SQL_WLONGVARCHAR:
            return dtMemo;
        case SQL_TINYINT:
        case SQL_SMALLINT:
            return dtSmallint;
        case SQL_INTEGER:
            return dtInteger;
        case SQL_BIGINT:
            return dtLargeint;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return dtFloat;
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            if (decimalDigits == 0 && columnSize <= 18) return dtLargeint;
            return decimalDigits == 4 ? dtCurrency : dtFloat;
        case SQL_BIT:
            return dtBoolean;
        case SQL_TYPE_DATE:
        case SQL_DATE:
            return dtDate;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            return dtDateTime;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return dtBlob;
        default:
            return dtString;
    }
}

SQLSMALLINT BinaryParameterType(const TSqlDialect& dialect) {
    return dialect.BinaryBinding() == TSqlDialect::TBinaryBinding::VarBinary ? SQL_VARBINARY
                                                                             : SQL_LONGVARBINARY;
}
