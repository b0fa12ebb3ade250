#pragma once

// The ODBC layer of this library: only its implementation files include this.

#include <sql.h>
#include <sqlext.h>

#include <QString>
#include <type_traits>

#include "appcore/datasources.h"
#include "appcore/dberrors.h"

// The ODBC driver manager, loaded at run time. Only its types come from the
// headers; every call goes through these pointers.
struct TOdbcApi {
#define PELVAR_ODBC_FN(name) decltype(&::name) name = nullptr;
    PELVAR_ODBC_FN(SQLAllocHandle)
    PELVAR_ODBC_FN(SQLFreeHandle)
    PELVAR_ODBC_FN(SQLSetEnvAttr)
    PELVAR_ODBC_FN(SQLSetConnectAttr)
    PELVAR_ODBC_FN(SQLGetConnectAttr)
    PELVAR_ODBC_FN(SQLConnect)
    PELVAR_ODBC_FN(SQLDisconnect)
    PELVAR_ODBC_FN(SQLGetInfo)
    PELVAR_ODBC_FN(SQLSetStmtAttr)
    PELVAR_ODBC_FN(SQLExecDirect)
    PELVAR_ODBC_FN(SQLPrepare)
    PELVAR_ODBC_FN(SQLExecute)
    PELVAR_ODBC_FN(SQLBindParameter)
    PELVAR_ODBC_FN(SQLNumResultCols)
    PELVAR_ODBC_FN(SQLDescribeCol)
    PELVAR_ODBC_FN(SQLFetch)
    PELVAR_ODBC_FN(SQLFetchScroll)
    PELVAR_ODBC_FN(SQLGetData)
    PELVAR_ODBC_FN(SQLSetPos)
    PELVAR_ODBC_FN(SQLBindCol)
    PELVAR_ODBC_FN(SQLRowCount)
    PELVAR_ODBC_FN(SQLCloseCursor)
    PELVAR_ODBC_FN(SQLFreeStmt)
    PELVAR_ODBC_FN(SQLEndTran)
    PELVAR_ODBC_FN(SQLGetDiagRec)
    PELVAR_ODBC_FN(SQLDataSources)
    PELVAR_ODBC_FN(SQLTables)
    PELVAR_ODBC_FN(SQLColumns)
    PELVAR_ODBC_FN(SQLStatistics)
    PELVAR_ODBC_FN(SQLPrimaryKeys)
    PELVAR_ODBC_FN(SQLMoreResults)
    PELVAR_ODBC_FN(SQLCancel)
    PELVAR_ODBC_FN(SQLParamData)
    PELVAR_ODBC_FN(SQLPutData)
#undef PELVAR_ODBC_FN
    // From the installer library beside the driver manager (may be missing).
    int (*SQLGetPrivateProfileString)(const char*, const char*, const char*, char*, int,
                                      const char*) = nullptr;
};

// The loaded driver manager; loads the default one on first use.
const TOdbcApi& Odbc();

// The shared ODBC environment handle (ODBC 3).
SQLHENV OdbcEnvironment();
// Connections opened through the environment, so that reloading can be refused.
void OdbcConnectionOpened();
void OdbcConnectionClosed();

// The driver's diagnostic records for a handle, as one text; empty when none.
QString OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, QString* sqlState = nullptr);
// Raises EDatabaseError with `what` and the diagnostics when `rc` is an error.
void OdbcCheck(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& what);
inline bool OdbcOk(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}
// The same with the message built only on failure, for calls made per row.
template <class TWhat>
requires std::is_invocable_r_v<QString, TWhat>
void OdbcCheck(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, TWhat&& what) {
    if (!OdbcOk(rc) && rc != SQL_NO_DATA) OdbcCheck(rc, handleType, handle, QString(what()));
}
