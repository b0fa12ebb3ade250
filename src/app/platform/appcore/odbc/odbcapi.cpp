#include "odbcapi.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QMutex>
#include <atomic>

namespace {

struct TOdbcState {
    QMutex Lock;
    void* Handle = nullptr;
    void* InstHandle = nullptr;
    QString Name;
    TOdbcApi Api;
    SQLHENV Env = SQL_NULL_HENV;
    std::atomic<int> Connections{0};
};

TOdbcState& State() {
    static TOdbcState state;
    return state;
}

template <typename T>
bool Resolve(void* lib, const char* name, T& out) {
    out = reinterpret_cast<T>(dlsym(lib, name));
    return out != nullptr;
}

// The installer library lives beside the driver manager: libodbc.so.2 ->
// libodbcinst.so.2.
void* LoadInstaller(const QString& dmName) {
    QString inst = dmName;
    inst.replace(QStringLiteral("libodbc."), QStringLiteral("libodbcinst."));
    if (inst == dmName) inst = QStringLiteral("libodbcinst.so.2");
    void* h = dlopen(inst.toLocal8Bit().constData(), RTLD_NOW | RTLD_GLOBAL);
    if (!h) h = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_GLOBAL);
    return h;
}

void LoadLocked(TOdbcState& s, const QString& name) {
    void* lib = dlopen(name.toLocal8Bit().constData(), RTLD_NOW | RTLD_GLOBAL);
    if (!lib) {
        const char* err = dlerror();
        throw EDatabaseError(
            QStringLiteral("Can not load the ODBC driver manager library '%1': %2")
                .arg(name, err ? QString::fromLocal8Bit(err) : QStringLiteral("unknown error")));
    }
    TOdbcApi api;
    const char* missing = nullptr;
#define PELVAR_ODBC_RESOLVE(fn) \
    if (!missing && !Resolve(lib, #fn, api.fn)) missing = #fn;
    PELVAR_ODBC_RESOLVE(SQLAllocHandle)
    PELVAR_ODBC_RESOLVE(SQLFreeHandle)
    PELVAR_ODBC_RESOLVE(SQLSetEnvAttr)
    PELVAR_ODBC_RESOLVE(SQLSetConnectAttr)
    PELVAR_ODBC_RESOLVE(SQLGetConnectAttr)
    PELVAR_ODBC_RESOLVE(SQLConnect)
    PELVAR_ODBC_RESOLVE(SQLDisconnect)
    PELVAR_ODBC_RESOLVE(SQLGetInfo)
    PELVAR_ODBC_RESOLVE(SQLSetStmtAttr)
    PELVAR_ODBC_RESOLVE(SQLExecDirect)
    PELVAR_ODBC_RESOLVE(SQLPrepare)
    PELVAR_ODBC_RESOLVE(SQLExecute)
    PELVAR_ODBC_RESOLVE(SQLBindParameter)
    PELVAR_ODBC_RESOLVE(SQLNumResultCols)
    PELVAR_ODBC_RESOLVE(SQLDescribeCol)
    PELVAR_ODBC_RESOLVE(SQLFetch)
    PELVAR_ODBC_RESOLVE(SQLFetchScroll)
    PELVAR_ODBC_RESOLVE(SQLGetData)
    PELVAR_ODBC_RESOLVE(SQLSetPos)
    PELVAR_ODBC_RESOLVE(SQLBindCol)
    PELVAR_ODBC_RESOLVE(SQLRowCount)
    PELVAR_ODBC_RESOLVE(SQLCloseCursor)
    PELVAR_ODBC_RESOLVE(SQLFreeStmt)
    PELVAR_ODBC_RESOLVE(SQLEndTran)
    PELVAR_ODBC_RESOLVE(SQLGetDiagRec)
    PELVAR_ODBC_RESOLVE(SQLDataSources)
    PELVAR_ODBC_RESOLVE(SQLTables)
    PELVAR_ODBC_RESOLVE(SQLColumns)
    PELVAR_ODBC_RESOLVE(SQLStatistics)
    PELVAR_ODBC_RESOLVE(SQLPrimaryKeys)
    PELVAR_ODBC_RESOLVE(SQLMoreResults)
    PELVAR_ODBC_RESOLVE(SQLCancel)
    PELVAR_ODBC_RESOLVE(SQLParamData)
    PELVAR_ODBC_RESOLVE(SQLPutData)
#undef PELVAR_ODBC_RESOLVE
    if (missing) {
        dlclose(lib);
        throw EDatabaseError(
            QStringLiteral("The library '%1' is not an ODBC driver manager: it has no function %2")
                .arg(name, QLatin1String(missing)));
    }
    SQLHENV env = SQL_NULL_HENV;
    if (!OdbcOk(api.SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        dlclose(lib);
        throw EDatabaseError(
            QStringLiteral("The ODBC driver manager '%1' could not create an environment")
                .arg(name));
    }
    api.SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    void* inst = LoadInstaller(name);
    if (inst) Resolve(inst, "SQLGetPrivateProfileString", api.SQLGetPrivateProfileString);

    // Only now replace the previous library: a failed load keeps it.
    if (s.Env != SQL_NULL_HENV) s.Api.SQLFreeHandle(SQL_HANDLE_ENV, s.Env);
    if (s.InstHandle) dlclose(s.InstHandle);
    if (s.Handle) dlclose(s.Handle);
    s.Handle = lib;
    s.InstHandle = inst;
    s.Api = api;
    s.Env = env;
    s.Name = name;
}

}  // namespace

QString DefaultOdbcLibrary() {
    return QStringLiteral("libodbc.so.2");
}

void ReloadOdbcLibrary(const QString& libraryName) {
    TOdbcState& s = State();
    QMutexLocker lock(&s.Lock);
    if (s.Connections > 0)
        throw EDatabaseError(
            QStringLiteral(
                "Can not change the ODBC driver manager to '%1' while databases are connected")
                .arg(libraryName));
    LoadLocked(s, libraryName.trimmed());
}

QString OdbcLibraryName() {
    TOdbcState& s = State();
    QMutexLocker lock(&s.Lock);
    return s.Name.isEmpty() ? DefaultOdbcLibrary() : s.Name;
}

const TOdbcApi& Odbc() {
    TOdbcState& s = State();
    QMutexLocker lock(&s.Lock);
    if (!s.Handle) LoadLocked(s, DefaultOdbcLibrary());
    return s.Api;
}

SQLHENV OdbcEnvironment() {
    Odbc();
    return State().Env;
}

void OdbcConnectionOpened() {
    ++State().Connections;
}
void OdbcConnectionClosed() {
    --State().Connections;
}

QString OdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, QString* sqlState) {
    const TOdbcApi& api = Odbc();
    QStringList parts;
    for (SQLSMALLINT i = 1; i < 20; ++i) {
        SQLCHAR state[6] = {0};
        SQLINTEGER native = 0;
        SQLCHAR text[2048] = {0};
        SQLSMALLINT len = 0;
        const SQLRETURN rc =
            api.SQLGetDiagRec(handleType, handle, i, state, &native, text, sizeof text, &len);
        if (!OdbcOk(rc)) break;
        const QString st = QString::fromLatin1(reinterpret_cast<char*>(state));
        if (i == 1 && sqlState) *sqlState = st;
        parts << QStringLiteral("[%1] %2").arg(
            st, QString::fromUtf8(reinterpret_cast<char*>(text)).trimmed());
    }
    return parts.join(QLatin1Char('\n'));
}

void OdbcCheck(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& what) {
    if (OdbcOk(rc) || rc == SQL_NO_DATA) return;
    QString state;
    const QString diag = handle ? OdbcDiagnostics(handleType, handle, &state) : QString();
    throw EDatabaseError(diag.isEmpty() ? what : what + QStringLiteral(":\n") + diag, state);
}
