#include "basekit/datatypes.h"
#include "dialect.h"
#include "odbc/odbcapi.h"
#include "odbc/odbctypes.h"
#include "query.h"

// Reading a SELECT: rows in blocks where every column can be bound, otherwise
// row by row with long values in chunks. Texts and BLOBs of unknown or
// unenforced size are bound with a modest buffer; the few values that do not
// fit are read again whole with SQLGetData on their row.

// Column-wise bound buffers for block fetching.
struct TSelectQuery::TBlock {
    struct TColumn {
        SQLSMALLINT CType = SQL_C_CHAR;
        SQLLEN ElementSize = 0;
        bool MayOverflow = false;  // a value may be longer than the buffer
        std::vector<char> Data;
        std::vector<SQLLEN> Ind;
    };
    std::vector<TColumn> Columns;
    SQLULEN RowsInBlock = 0;
    SQLULEN Current = 0;
    std::vector<SQLUSMALLINT> Status;
    bool Finished = false;
};

namespace {

// Rows per fetch when some values may overflow their bound buffers and must be
// read again with SQLGetData: a block where the driver allows that within a
// block (SQLSetPos, then SQLGetData), one row where it allows it only on the
// current row, 0 where it does not allow it on bound columns at all.
int RereadableRows(SQLHDBC dbc, int blockRows) {
    SQLUINTEGER ext = 0;
    if (!OdbcOk(Odbc().SQLGetInfo(dbc, SQL_GETDATA_EXTENSIONS, &ext, sizeof ext, nullptr)) ||
        (ext & SQL_GD_BOUND) == 0)
        return 0;
    return (ext & SQL_GD_BLOCK) != 0 ? blockRows : 1;
}

SQLLEN OverflowBufferSize(const TResultColumn& c, SQLSMALLINT cType) {
    // Large enough for the usual short value, small enough that a block stays
    // cheap when the driver pads every element.
    if (cType == SQL_C_BINARY)
        return c.ColumnSize > 0 && c.ColumnSize <= 1024 ? SQLLEN(c.ColumnSize) : 1024;
    return c.ColumnSize > 0 && c.ColumnSize <= 256 ? SQLLEN(c.ColumnSize * 4 + 1) : 1025;
}

}  // namespace

TSelectQuery::TSelectQuery(TDatabase& db, const QString& sql) : TQuery(db, sql) {}

TSelectQuery::~TSelectQuery() {
    try {
        Close();
    } catch (...) {
    }
}

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
        SQLSMALLINT sqlType = 0, digits = 0;
        SQLULEN size = 0;
        OdbcCheck(api.SQLDescribeCol(FStmt, i, name, sizeof name, &nameLen, &sqlType, &size,
                                     &digits, &nullable),
                  SQL_HANDLE_STMT, FStmt,
                  QStringLiteral("Can not describe result column %1").arg(i));
        c.Name = QString::fromUtf8(reinterpret_cast<char*>(name));
        c.Nullable = nullable != SQL_NO_NULLS;
        c.SqlType = sqlType;
        c.ColumnSize = size;
        c.DecimalDigits = digits;
        c.DataType = DataTypeFromSql(sqlType, size, digits);
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
    int rows = kBlockRows;
    bool asked = false;
    for (const auto& c : FColumns) {
        TBlock::TColumn bc;
        FetchPlan(c, enforced, bc.CType, bc.ElementSize);
        if (bc.ElementSize == 0) {
            if (!asked) rows = RereadableRows(Database().Handle(), kBlockRows);
            asked = true;
            bc.ElementSize = rows > 0 ? OverflowBufferSize(c, bc.CType) : 0;
            bc.MayOverflow = true;
        }
        bindable = bindable && bc.ElementSize > 0;
        block->Columns.push_back(std::move(bc));
    }
    const TOdbcApi& api = Odbc();
    if (bindable) {
        bool ok = OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_BIND_TYPE,
                                            reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0)) &&
                  OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                            reinterpret_cast<SQLPOINTER>(SQLULEN(rows)), 0));
        block->Status.resize(size_t(rows));
        ok = ok &&
             OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROWS_FETCHED_PTR, &block->RowsInBlock, 0)) &&
             OdbcOk(api.SQLSetStmtAttr(FStmt, SQL_ATTR_ROW_STATUS_PTR, block->Status.data(), 0));
        for (size_t i = 0; ok && i < block->Columns.size(); ++i) {
            auto& bc = block->Columns[i];
            bc.Data.resize(size_t(bc.ElementSize) * size_t(rows));
            bc.Ind.resize(size_t(rows));
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
        bool positioned = false;
        for (size_t i = 0; i < b.Columns.size(); ++i) {
            const auto& bc = b.Columns[i];
            const SQLLEN ind = bc.Ind[r];
            const char* data = bc.Data.data() + r * size_t(bc.ElementSize);
            TField& f = FRow.GetFields(int(i));
            const bool isText = bc.CType == SQL_C_CHAR;
            // A text needs room for its terminating zero; bytes fill the buffer.
            const bool overflow = ind != SQL_NULL_DATA &&
                                  (ind == SQL_NO_TOTAL || ind > bc.ElementSize - (isText ? 1 : 0));
            if (overflow) {
                if (!bc.MayOverflow)
                    throw EDatabaseError(
                        QStringLiteral("The value of column %1 is longer than the database "
                                       "reported")
                            .arg(FColumns[i].Name));
                // A single-row fetch is positioned on its row already.
                if (!positioned && b.Status.size() > 1)
                    OdbcCheck(
                        Odbc().SQLSetPos(FStmt, SQLSETPOSIROW(r + 1), SQL_POSITION,
                                         SQL_LOCK_NO_CHANGE),
                        SQL_HANDLE_STMT, FStmt, [&] {
                            return QStringLiteral("Error reading column %1").arg(FColumns[i].Name);
                        });
                positioned = true;
                ReadLongValue(int(i), bc.CType, f);
            } else if (bc.CType == SQL_C_BINARY) {
                if (ind == SQL_NULL_DATA)
                    f.SetNull();
                else
                    f.SetAsBinary(QByteArray(data, qsizetype(ind)));
            } else {
                StoreValue(f, FColumns[i].DataType, bc.CType, data, ind);
            }
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
                OdbcCheck(rc, SQL_HANDLE_STMT, FStmt, [&] {
                    return QStringLiteral("Error reading rows of database %1")
                        .arg(Database().Alias());
                });
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
    OdbcCheck(rc, SQL_HANDLE_STMT, FStmt, [&] {
        return QStringLiteral("Error reading rows of database %1").arg(Database().Alias());
    });
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
            ReadLongValue(int(i), cType, f);
            continue;
        }
        union {
            SQLBIGINT i;
            double d;
            SQL_TIMESTAMP_STRUCT ts;
        } buf{};
        SQLLEN ind = 0;
        OdbcCheck(api.SQLGetData(FStmt, col, cType, &buf, sizeof buf, &ind), SQL_HANDLE_STMT, FStmt,
                  [&] { return QStringLiteral("Error reading column %1").arg(FColumns[i].Name); });
        StoreValue(f, FColumns[i].DataType, cType, &buf, ind);
    }
}

void TSelectQuery::ReadLongValue(int column, SQLSMALLINT cType, TField& f) {
    // Read in chunks: a value of any size arrives whole. The first chunk is
    // small because some drivers fill the whole buffer (a strncpy), which for
    // short values costs more than the value; the rest follows in one piece
    // once its size is known.
    const TOdbcApi& api = Odbc();
    const auto col = SQLUSMALLINT(column + 1);
    QByteArray value;
    char first[512];
    QByteArray more;
    char* chunk = first;
    qsizetype chunkSize = sizeof first;
    SQLLEN ind = 0;
    bool isNull = false;
    for (;;) {
        const SQLRETURN rc = api.SQLGetData(FStmt, col, cType, chunk, SQLLEN(chunkSize), &ind);
        if (rc == SQL_NO_DATA) break;
        OdbcCheck(rc, SQL_HANDLE_STMT, FStmt, [&] {
            return QStringLiteral("Error reading column %1").arg(FColumns[size_t(column)].Name);
        });
        if (ind == SQL_NULL_DATA) {
            isNull = true;
            break;
        }
        const qsizetype room = cType == SQL_C_CHAR ? chunkSize - 1 : chunkSize;
        const qsizetype got = (ind == SQL_NO_TOTAL || ind > room) ? room : qsizetype(ind);
        if (value.isEmpty() && ind != SQL_NO_TOTAL && ind > room) value.reserve(ind);
        value.append(chunk, got);
        if (rc == SQL_SUCCESS) break;
        constexpr qsizetype kMaxChunk = 64 * 1024 * 1024;
        const qsizetype rest = ind == SQL_NO_TOTAL ? 65536 : qsizetype(ind) - got + 1;
        more.resize(qBound<qsizetype>(2, rest, kMaxChunk));
        chunk = more.data();
        chunkSize = more.size();
    }
    if (isNull)
        f.SetNull();
    else if (cType == SQL_C_BINARY)
        f.SetAsBinary(value);
    else
        f.SetAsString(QString::fromUtf8(value));
}
