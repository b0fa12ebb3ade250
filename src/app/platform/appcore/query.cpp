#include "query.h"

#include <QTimeZone>
#include <cstring>

#include "basekit/datatypes.h"

namespace {

// Replaces ":name" parameters with "?" outside strings, quoted identifiers and
// comments; "::" (casts) is left alone.
QString ParseParameters(const QString& sql, QStringList& names) {
    QString out;
    out.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    auto isNameStart = [](QChar c) { return c.isLetter() || c == QLatin1Char('_'); };
    auto isNameChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int start = i++;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out += sql.mid(start, i - start);
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            const int start = i;
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            out += sql.mid(start, i - start);
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const int end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const int stop = end < 0 ? n : end + 2;
            out += sql.mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char(':') && i + 1 < n && sql[i + 1] == QLatin1Char(':')) {
            out += QStringLiteral("::");
            i += 2;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql[i + 1])) {
            int j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            names << sql.mid(i + 1, j - i - 1);
            out += QLatin1Char('?');
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

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

}  // namespace

struct TQuery::TParamBuffer {
    QByteArray Data;
    SQLLEN Ind = 0;
    SQLBIGINT Int = 0;
    double Dbl = 0;
    unsigned char Bit = 0;
    SQL_TIMESTAMP_STRUCT Ts{};
    SQL_DATE_STRUCT Date{};
};

TQuery::TQuery(TDatabase& db, const QString& sql) : FDb(db), FSql(sql) {
    QStringList names;
    FNativeSql = ParseParameters(sql, names);
    for (const QString& name : names) {
        int index = -1;
        for (size_t i = 0; i < FParams.size(); ++i)
            if (FParams[i]->Name().compare(name, Qt::CaseInsensitive) == 0) index = int(i);
        if (index < 0) {
            FParams.push_back(std::make_unique<TQueryParam>(name));
            index = int(FParams.size() - 1);
        }
        FPositions.push_back(index);
    }
}

TQuery::~TQuery() {
    FreeStatement();
}

void TQuery::FreeStatement() {
    if (FStmt != SQL_NULL_HSTMT) {
        Odbc().SQLFreeHandle(SQL_HANDLE_STMT, FStmt);
        FStmt = SQL_NULL_HSTMT;
    }
    FPrepared = false;
}

TQueryParam* TQuery::FindParam(const QString& name) {
    for (auto& p : FParams)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0) return p.get();
    return nullptr;
}

TQueryParam& TQuery::ParamByName(const QString& name) {
    if (TQueryParam* p = FindParam(name)) return *p;
    throw EDatabaseError(
        QStringLiteral("Parameter '%1' not found in the statement:\n%2").arg(name, FSql));
}

void TQuery::Prepare() {
    if (FPrepared) return;
    if (!FDb.Connected())
        throw EDatabaseError(QStringLiteral("Database %1 is not connected").arg(FDb.Alias()));
    const TOdbcApi& api = Odbc();
    OdbcCheck(api.SQLAllocHandle(SQL_HANDLE_STMT, FDb.Handle(), &FStmt), SQL_HANDLE_DBC,
              FDb.Handle(),
              QStringLiteral("Can not allocate a statement for database %1").arg(FDb.Alias()));
    QByteArray text = FNativeSql.toUtf8();
    const SQLRETURN rc =
        api.SQLPrepare(FStmt, reinterpret_cast<SQLCHAR*>(text.data()), SQLINTEGER(text.size()));
    if (!OdbcOk(rc)) {
        QString state;
        const QString diag = OdbcDiagnostics(SQL_HANDLE_STMT, FStmt, &state);
        FreeStatement();
        throw EDatabaseError(QStringLiteral("Error in the statement for database %1:\n%2\n%3")
                                 .arg(FDb.Alias(), diag, FSql),
                             state);
    }
    FPrepared = true;
}

void TQuery::BindAndExecute() {
    Prepare();
    const TOdbcApi& api = Odbc();
    api.SQLFreeStmt(FStmt, SQL_RESET_PARAMS);
    FBuffers.clear();
    for (size_t pos = 0; pos < FPositions.size(); ++pos) {
        const TQueryParam& p = *FParams[size_t(FPositions[pos])];
        auto buf = std::make_unique<TParamBuffer>();
        SQLSMALLINT cType = SQL_C_CHAR, sqlType = SQL_VARCHAR, digits = 0;
        SQLULEN colSize = 1;
        SQLPOINTER value = nullptr;
        SQLLEN bufLen = 0;
        const TQXVariant& v = p.Value();
        switch (v.Kind()) {
            case TQXVariant::vkNull:
                sqlType = SqlTypeForNull(p.DataType(), FDb.Dialect().BinaryParameterType());
                cType = sqlType == FDb.Dialect().BinaryParameterType() ? SQL_C_BINARY : SQL_C_CHAR;
                buf->Ind = SQL_NULL_DATA;
                if (sqlType == SQL_TYPE_TIMESTAMP) colSize = 23, digits = 3;
                break;
            case TQXVariant::vkInteger:
                cType = SQL_C_SBIGINT;
                sqlType = SQL_BIGINT;
                buf->Int = v.AsInteger();
                value = &buf->Int;
                colSize = 19;
                break;
            case TQXVariant::vkFloat:
                cType = SQL_C_DOUBLE;
                sqlType = SQL_DOUBLE;
                buf->Dbl = v.AsFloat();
                value = &buf->Dbl;
                colSize = 15;
                break;
            case TQXVariant::vkBoolean:
                cType = SQL_C_BIT;
                sqlType = SQL_BIT;
                buf->Bit = v.AsBoolean() ? 1 : 0;
                value = &buf->Bit;
                break;
            case TQXVariant::vkDate: {
                const QDate d = v.AsDate();
                buf->Date = SQL_DATE_STRUCT{SQLSMALLINT(d.year()), SQLUSMALLINT(d.month()),
                                            SQLUSMALLINT(d.day())};
                cType = SQL_C_TYPE_DATE;
                sqlType = SQL_TYPE_DATE;
                value = &buf->Date;
                colSize = 10;
                break;
            }
            case TQXVariant::vkDateTime:
                buf->Ts = ToTimestamp(v.AsDateTime());
                cType = SQL_C_TYPE_TIMESTAMP;
                sqlType = SQL_TYPE_TIMESTAMP;
                value = &buf->Ts;
                colSize = 23;
                digits = 3;
                break;
            case TQXVariant::vkBinary:
                buf->Data = v.AsBinary();
                cType = SQL_C_BINARY;
                sqlType = FDb.Dialect().BinaryParameterType();
                value = buf->Data.data();
                bufLen = buf->Ind = buf->Data.size();
                colSize = SQLULEN(qMax<qsizetype>(buf->Data.size(), 1));
                break;
            case TQXVariant::vkString:
                buf->Data = v.AsString().toUtf8();
                sqlType = buf->Data.size() > 4000 ? SQL_LONGVARCHAR : SQL_VARCHAR;
                value = buf->Data.data();
                bufLen = buf->Ind = buf->Data.size();
                colSize = SQLULEN(qMax<qsizetype>(buf->Data.size(), 1));
                break;
        }
        if (v.Kind() != TQXVariant::vkNull && v.Kind() != TQXVariant::vkBinary &&
            v.Kind() != TQXVariant::vkString)
            buf->Ind = 0;
        const SQLRETURN rc =
            api.SQLBindParameter(FStmt, SQLUSMALLINT(pos + 1), SQL_PARAM_INPUT, cType, sqlType,
                                 colSize, digits, value, bufLen, &buf->Ind);
        OdbcCheck(rc, SQL_HANDLE_STMT, FStmt,
                  QStringLiteral("Can not bind parameter '%1'").arg(p.Name()));
        FBuffers.push_back(std::move(buf));
    }
    const SQLRETURN rc = api.SQLExecute(FStmt);
    if (!OdbcOk(rc) && rc != SQL_NO_DATA) {
        QString state;
        const QString diag = OdbcDiagnostics(SQL_HANDLE_STMT, FStmt, &state);
        api.SQLFreeStmt(FStmt, SQL_CLOSE);
        throw EDatabaseError(QStringLiteral("Error executing a statement in database %1:\n%2\n%3")
                                 .arg(FDb.Alias(), diag, FSql),
                             state);
    }
}

qint64 TExecQuery::Execute() {
    BindAndExecute();
    SQLLEN count = -1;
    if (!OdbcOk(Odbc().SQLRowCount(FStmt, &count))) count = -1;
    Odbc().SQLFreeStmt(FStmt, SQL_CLOSE);
    return count;
}

// Column-wise bound buffers for block fetching.
struct TSelectQuery::TBlock {
    struct TColumn {
        SQLSMALLINT CType = SQL_C_CHAR;
        SQLLEN ElementSize = 0;
        std::vector<char> Data;
        std::vector<SQLLEN> Ind;
    };
    std::vector<TColumn> Columns;
    SQLULEN RowsInBlock = 0;
    SQLULEN Current = 0;
    std::vector<SQLUSMALLINT> Status;
    bool Finished = false;
};

TSelectQuery::TSelectQuery(TDatabase& db, const QString& sql) : TQuery(db, sql) {}

TSelectQuery::~TSelectQuery() {
    try {
        Close();
    } catch (...) {
    }
}

namespace {

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

}  // namespace

void TSelectQuery::Describe() {
    const TOdbcApi& api = Odbc();
    SQLSMALLINT count = 0;
    OdbcCheck(api.SQLNumResultCols(FStmt, &count), SQL_HANDLE_STMT, FStmt,
              QStringLiteral("Can not describe the result"));
    FColumns.clear();
    FRow.Clear();
    for (SQLUSMALLINT i = 1; i <= count; ++i) {
        SQLCHAR name[256] = {0};
        SQLSMALLINT nameLen = 0, nullable = 0;
        TResultColumn c;
        OdbcCheck(api.SQLDescribeCol(FStmt, i, name, sizeof name, &nameLen, &c.SqlType,
                                     &c.ColumnSize, &c.DecimalDigits, &nullable),
                  SQL_HANDLE_STMT, FStmt,
                  QStringLiteral("Can not describe result column %1").arg(i));
        c.Name = QString::fromUtf8(reinterpret_cast<char*>(name));
        c.Nullable = nullable != SQL_NO_NULLS;
        c.DataType = DataTypeFromSql(c.SqlType, c.ColumnSize, c.DecimalDigits);
        FColumns.push_back(c);
        FRow.AddField(c.Name, c.DataType, IsLongDataType(c.DataType) ? 0 : int(c.ColumnSize));
    }
}

void TSelectQuery::Open() {
    Close();
    BindAndExecute();
    FActive = true;
    FRowsFetched = 0;
    Describe();

    // Block fetching when every column can be bound.
    const bool enforced = Database().Dialect().EnforcesDeclaredSizes();
    auto block = std::make_unique<TBlock>();
    bool bindable = !FColumns.empty();
    for (const auto& c : FColumns) {
        TBlock::TColumn bc;
        FetchPlan(c, enforced, bc.CType, bc.ElementSize);
        bindable = bindable && bc.ElementSize > 0;
        block->Columns.push_back(std::move(bc));
    }
    const TOdbcApi& api = Odbc();
    if (bindable) {
        bool ok = OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_BIND_TYPE,
                                            reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0)) &&
                  OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                            reinterpret_cast<SQLPOINTER>(SQLULEN(kBlockRows)), 0));
        block->Status.resize(kBlockRows);
        ok = ok &&
             OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROWS_FETCHED_PTR, &block->RowsInBlock, 0)) &&
             OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_STATUS_PTR, block->Status.data(), 0));
        for (size_t i = 0; ok && i < block->Columns.size(); ++i) {
            auto& bc = block->Columns[i];
            bc.Data.resize(size_t(bc.ElementSize) * kBlockRows);
            bc.Ind.resize(kBlockRows);
            ok = OdbcOk(api.SQLBindCol(FStmt, SQLUSMALLINT(i + 1), bc.CType, bc.Data.data(),
                                       bc.ElementSize, bc.Ind.data()));
        }
        if (ok) {
            FBlock = std::move(block);
        } else {
            // The driver cannot fetch in blocks: fall back to one row at a time.
            api.SQLFreeStmt(FStmt, SQL_UNBIND);
            api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_ARRAY_SIZE,
                               reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
        }
    }
    FEof = false;
    FetchRow();
}

void TSelectQuery::Close() {
    if (!FActive) return;
    FActive = false;
    FEof = true;
    const TOdbcApi& api = Odbc();
    api.SQLFreeStmt(FStmt, SQL_CLOSE);
    if (FBlock) {
        api.SQLFreeStmt(FStmt, SQL_UNBIND);
        api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)),
                           0);
        api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        FBlock.reset();
    }
}

void TSelectQuery::Next() {
    if (!FActive || FEof) return;
    FetchRow();
}

bool TSelectQuery::FillFromBlock() {
    TBlock& b = *FBlock;
    while (b.Current < b.RowsInBlock) {
        const SQLULEN r = b.Current++;
        if (b.Status[r] == SQL_ROW_NOROW) continue;
        for (size_t i = 0; i < b.Columns.size(); ++i) {
            const auto& bc = b.Columns[i];
            SQLLEN ind = bc.Ind[r];
            if (bc.CType == SQL_C_CHAR && ind != SQL_NULL_DATA &&
                (ind == SQL_NO_TOTAL || ind >= bc.ElementSize))
                throw EDatabaseError(
                    QStringLiteral("The value of column %1 is longer than the database reported")
                        .arg(FColumns[i].Name));
            StoreValue(FRow.GetFields(int(i)), FColumns[i].DataType, bc.CType,
                       bc.Data.data() + r * size_t(bc.ElementSize), ind);
        }
        return true;
    }
    return false;
}

void TSelectQuery::FetchRow() {
    const TOdbcApi& api = Odbc();
    if (FBlock) {
        if (FillFromBlock()) {
            ++FRowsFetched;
            return;
        }
        if (!FBlock->Finished) {
            FBlock->RowsInBlock = 0;
            FBlock->Current = 0;
            const SQLRETURN rc = api.SQLFetchScroll(FStmt, SQL_FETCH_NEXT, 0);
            if (rc == SQL_NO_DATA) {
                FBlock->Finished = true;
            } else {
                OdbcCheck(
                    rc, SQL_HANDLE_STMT, FStmt,
                    QStringLiteral("Error reading rows of database %1").arg(Database().Alias()));
                if (FillFromBlock()) {
                    ++FRowsFetched;
                    return;
                }
            }
        }
        FEof = true;
        return;
    }
    const SQLRETURN rc = api.SQLFetch(FStmt);
    if (rc == SQL_NO_DATA) {
        FEof = true;
        return;
    }
    OdbcCheck(rc, SQL_HANDLE_STMT, FStmt,
              QStringLiteral("Error reading rows of database %1").arg(Database().Alias()));
    ReadColumnsOfCurrentRow();
    ++FRowsFetched;
}

void TSelectQuery::ReadColumnsOfCurrentRow() {
    const TOdbcApi& api = Odbc();
    const bool enforced = Database().Dialect().EnforcesDeclaredSizes();
    for (size_t i = 0; i < FColumns.size(); ++i) {
        const auto col = SQLUSMALLINT(i + 1);
        TField& f = FRow.GetFields(int(i));
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLLEN elementSize = 0;
        FetchPlan(FColumns[i], enforced, cType, elementSize);
        if (cType == SQL_C_CHAR || cType == SQL_C_BINARY) {
            // Read in chunks: a value of any size arrives whole.
            QByteArray value;
            char chunk[65536];
            SQLLEN ind = 0;
            bool isNull = false;
            for (;;) {
                const SQLRETURN rc = api.SQLGetData(FStmt, col, cType, chunk, sizeof chunk, &ind);
                if (rc == SQL_NO_DATA) break;
                OdbcCheck(rc, SQL_HANDLE_STMT, FStmt,
                          QStringLiteral("Error reading column %1").arg(FColumns[i].Name));
                if (ind == SQL_NULL_DATA) {
                    isNull = true;
                    break;
                }
                const qsizetype room =
                    cType == SQL_C_CHAR ? qsizetype(sizeof chunk) - 1 : qsizetype(sizeof chunk);
                const qsizetype got = (ind == SQL_NO_TOTAL || ind > room) ? room : qsizetype(ind);
                if (value.isEmpty() && ind != SQL_NO_TOTAL && ind > room) value.reserve(ind);
                value.append(chunk, got);
                if (rc == SQL_SUCCESS) break;
            }
            if (isNull)
                f.SetNull();
            else if (cType == SQL_C_BINARY)
                f.SetAsBinary(value);
            else
                f.SetAsString(QString::fromUtf8(value));
            continue;
        }
        union {
            SQLBIGINT i;
            double d;
            SQL_TIMESTAMP_STRUCT ts;
        } buf{};
        SQLLEN ind = 0;
        OdbcCheck(api.SQLGetData(FStmt, col, cType, &buf, sizeof buf, &ind), SQL_HANDLE_STMT, FStmt,
                  QStringLiteral("Error reading column %1").arg(FColumns[i].Name));
        StoreValue(f, FColumns[i].DataType, cType, &buf, ind);
    }
}
