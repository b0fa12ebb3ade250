#pragma once

#include <QString>
#include <functional>

#include "appcore/database.h"
#include "odbcapi.h"

// Reading the ODBC catalogue; seen only by the database files.

inline QString ColumnText(const TOdbcApi& api, SQLHSTMT st, SQLUSMALLINT col) {
    char buf[512] = {0};
    SQLLEN ind = 0;
    if (!OdbcOk(api.SQLGetData(st, col, SQL_C_CHAR, buf, sizeof buf, &ind)) || ind == SQL_NULL_DATA)
        return QString();
    return QString::fromUtf8(buf);
}

inline qint64 ColumnInt(const TOdbcApi& api, SQLHSTMT st, SQLUSMALLINT col) {
    SQLBIGINT v = 0;
    SQLLEN ind = 0;
    if (!OdbcOk(api.SQLGetData(st, col, SQL_C_SBIGINT, &v, 0, &ind)) || ind == SQL_NULL_DATA)
        return 0;
    return v;
}

// A statement handle freed when the scope ends.
struct TStmt {
    explicit TStmt(TDatabase& db) {
        OdbcCheck(Odbc().SQLAllocHandle(SQL_HANDLE_STMT, db.Handle(), &H), SQL_HANDLE_DBC,
                  db.Handle(),
                  QStringLiteral("Can not allocate a statement for database %1").arg(db.Alias()));
    }
    ~TStmt() { Odbc().SQLFreeHandle(SQL_HANDLE_STMT, H); }
    SQLHSTMT H = SQL_NULL_HSTMT;
};

// Drivers differ in how catalogue functions take a table name: the standard
// has SQLColumns take a search pattern and SQLPrimaryKeys and SQLStatistics a
// plain name; the SQLite driver takes patterns everywhere, and psqlODBC can not
// escape a backslash but takes SQLColumns' name literally under
// SQL_ATTR_METADATA_ID. So each call goes out with the name escaped and, when
// that finds nothing of the table, as given (`metadataId` says to mark it an
// identifier, which strict drivers may refuse: `call` is told which try it
// makes); only rows whose table name (column 3) `isTable` accepts reach `row`.
bool TableCatalogRows(TDatabase& db, const QString& name, bool metadataId,
                      const std::function<SQLRETURN(SQLHSTMT, SQLCHAR*, bool literal)>& call,
                      const std::function<bool(const QString&)>& isTable,
                      const std::function<void(SQLHSTMT)>& row);
