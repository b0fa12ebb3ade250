// Long values in chunks: streamed parameters and a value read into a sink.
#include "odbc/odbcapi.h"
#include "query.h"

short TQuery::PutStreamedData() {
    const TOdbcApi& api = Odbc();
    SQLPOINTER token = nullptr;
    SQLRETURN rc = api.SQLParamData(FStmt, &token);
    std::vector<char> chunk(256 * 1024);
    while (rc == SQL_NEED_DATA) {
        const auto* p = static_cast<const TQueryParam*>(token);
        qint64 left = p->StreamLength();
        try {
            // At least one call, so that an empty value is sent as empty.
            do {
                const qint64 got =
                    p->Source()(chunk.data(), qMin<qint64>(left, qint64(chunk.size())));
                if (got <= 0 && left > 0)
                    throw EDatabaseError(
                        QStringLiteral("The value of parameter '%1' ended early").arg(p->Name()));
                OdbcCheck(api.SQLPutData(FStmt, chunk.data(), SQLLEN(got)), SQL_HANDLE_STMT, FStmt,
                          QStringLiteral("Can not send parameter '%1'").arg(p->Name()));
                left -= got;
            } while (left > 0);
        } catch (...) {
            // The statement never runs: nothing is half written.
            api.SQLCancel(FStmt);
            api.SQLFreeStmt(FStmt, SQL_CLOSE);
            throw;
        }
        rc = api.SQLParamData(FStmt, &token);
    }
    return rc;
}

bool TLongValueQuery::ReadInto(bool binary, const TSink& sink, bool& isNull) {
    isNull = false;
    BindAndExecute();
    const TOdbcApi& api = Odbc();
    struct TCloser {
        void* Stmt;
        ~TCloser() { Odbc().SQLFreeStmt(Stmt, SQL_CLOSE); }
    } closer{FStmt};
    SQLRETURN rc = api.SQLFetch(FStmt);
    if (rc == SQL_NO_DATA) return false;
    OdbcCheck(rc, SQL_HANDLE_STMT, FStmt,
              QStringLiteral("Error reading rows of database %1").arg(Database().Alias()));
    const SQLSMALLINT cType = binary ? SQL_C_BINARY : SQL_C_CHAR;
    std::vector<char> chunk(256 * 1024);
    // A text chunk ends in a terminating zero that is not the value's.
    const qint64 room = binary ? qint64(chunk.size()) : qint64(chunk.size()) - 1;
    for (;;) {
        SQLLEN ind = 0;
        rc = api.SQLGetData(FStmt, 1, cType, chunk.data(), SQLLEN(chunk.size()), &ind);
        if (rc == SQL_NO_DATA) break;
        OdbcCheck(rc, SQL_HANDLE_STMT, FStmt, QStringLiteral("Error reading a long value"));
        if (ind == SQL_NULL_DATA) {
            isNull = true;
            break;
        }
        const qint64 got = (ind == SQL_NO_TOTAL || ind > room) ? room : qint64(ind);
        sink(chunk.data(), got);
        if (rc == SQL_SUCCESS) break;
    }
    return true;
}
