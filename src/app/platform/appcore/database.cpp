#include "database.h"

#include <type_traits>

#include "basekit/datatypes.h"
#include "dialect.h"
#include "dialectengines.h"
#include "odbc/catalogrows.h"
#include "odbc/odbcapi.h"
#include "odbc/odbctypes.h"
#include "query.h"

// The header keeps the handle opaque.
static_assert(std::is_same_v<SQLHDBC, void*>);

TDatabase::TDatabase(QString alias, QString dataSource)
    : FAlias(std::move(alias)), FDataSource(std::move(dataSource)) {}

TDatabase::~TDatabase() {
    try {
        Disconnect();
    } catch (...) {
    }
}

void TDatabase::Connect(const QString& user, const QString& password) {
    if (Connected()) return;
    const TOdbcApi& api = Odbc();
    SQLHDBC dbc = SQL_NULL_HDBC;
    OdbcCheck(api.SQLAllocHandle(SQL_HANDLE_DBC, OdbcEnvironment(), &dbc), SQL_HANDLE_ENV,
              OdbcEnvironment(),
              QStringLiteral("Can not allocate a connection for database %1").arg(FAlias));
    api.SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
    const QByteArray dsn = FDataSource.toUtf8(), uid = user.toUtf8(), pwd = password.toUtf8();
    const SQLRETURN rc =
        api.SQLConnect(dbc, reinterpret_cast<SQLCHAR*>(const_cast<char*>(dsn.constData())), SQL_NTS,
                       reinterpret_cast<SQLCHAR*>(const_cast<char*>(uid.constData())), SQL_NTS,
                       reinterpret_cast<SQLCHAR*>(const_cast<char*>(pwd.constData())), SQL_NTS);
    if (!OdbcOk(rc)) {
        QString state;
        const QString diag = OdbcDiagnostics(SQL_HANDLE_DBC, dbc, &state);
        api.SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        throw EDatabaseError(
            QStringLiteral("Can not connect to database %1:\n%2")
                .arg(FAlias,
                     diag.isEmpty() ? QStringLiteral("no reason given by the driver") : diag),
            state);
    }
    FDbc = dbc;
    OdbcConnectionOpened();
    SQLCHAR name[256] = {0};
    SQLSMALLINT len = 0;
    api.SQLGetInfo(FDbc, SQL_DBMS_NAME, name, sizeof name, &len);
    FDbmsName = QString::fromUtf8(reinterpret_cast<char*>(name));
    FDialect = TSqlDialect::ForDbms(FDbmsName);
    FInTransaction = false;
}

void TDatabase::Disconnect() {
    if (!Connected()) return;
    const TOdbcApi& api = Odbc();
    if (FInTransaction) api.SQLEndTran(SQL_HANDLE_DBC, FDbc, SQL_ROLLBACK);
    api.SQLDisconnect(FDbc);
    api.SQLFreeHandle(SQL_HANDLE_DBC, FDbc);
    FDbc = SQL_NULL_HDBC;
    FInTransaction = false;
    OdbcConnectionClosed();
}

bool TDatabase::IsValid() const {
    if (!Connected()) return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc =
        Odbc().SQLGetConnectAttr(FDbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    return !OdbcOk(rc) || dead == SQL_CD_FALSE;
}

void TDatabase::SetAutoCommit(bool on) {
    OdbcCheck(Odbc().SQLSetConnectAttr(
                  FDbc, SQL_ATTR_AUTOCOMMIT,
                  reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0),
              SQL_HANDLE_DBC, FDbc,
              QStringLiteral("Can not change the transaction mode of database %1").arg(FAlias));
}

void TDatabase::StartTransaction() {
    if (!Connected())
        throw EDatabaseError(QStringLiteral("Database %1 is not connected").arg(FAlias));
    if (FInTransaction)
        throw EDatabaseError(
            QStringLiteral("A transaction is already active in database %1").arg(FAlias));
    SetAutoCommit(false);
    FInTransaction = true;
}

void TDatabase::Commit() {
    if (!FInTransaction)
        throw EDatabaseError(QStringLiteral("No transaction is active in database %1").arg(FAlias));
    const SQLRETURN rc = Odbc().SQLEndTran(SQL_HANDLE_DBC, FDbc, SQL_COMMIT);
    if (!OdbcOk(rc)) {
        QString state;
        const QString diag = OdbcDiagnostics(SQL_HANDLE_DBC, FDbc, &state);
        Rollback();
        throw EDatabaseError(
            QStringLiteral("Can not commit the transaction in database %1:\n%2").arg(FAlias, diag),
            state);
    }
    FInTransaction = false;
    SetAutoCommit(true);
}

void TDatabase::Rollback() {
    if (!FInTransaction) return;
    FInTransaction = false;
    const SQLRETURN rc = Odbc().SQLEndTran(SQL_HANDLE_DBC, FDbc, SQL_ROLLBACK);
    SetAutoCommit(true);
    OdbcCheck(rc, SQL_HANDLE_DBC, FDbc,
              QStringLiteral("Can not roll back the transaction in database %1").arg(FAlias));
}

void TDatabase::ExecDirect(const QString& sql) {
    TExecQuery q(*this, sql);
    q.Execute();
}

bool TDatabase::TableExists(const QString& table) {
    return FDialect->TableExists(*this, table);
}

bool TDatabase::CatalogTableExists(const QString& name, const char* type) {
    const TOdbcApi& api = Odbc();
    TStmt st(*this);
    QByteArray t(type);
    OdbcCheck(api.SQLTables(st.H, nullptr, 0, nullptr, 0, nullptr, 0,
                            reinterpret_cast<SQLCHAR*>(t.data()), SQL_NTS),
              SQL_HANDLE_STMT, st.H,
              QStringLiteral("Can not list the tables of database %1").arg(FAlias));
    while (OdbcOk(api.SQLFetch(st.H)))
        if (ColumnText(api, st.H, 3).compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool TDatabase::DescribeTable(const QString& table, TDicTableDescription& d) {
    const TOdbcApi& api = Odbc();
    d.Clear();
    // The catalogue keeps the engine's spelling of the name: try it as given,
    // then folded either way as the engines fold (ASCII letters only).
    QStringList spellings = {table, AsciiLower(table), AsciiUpper(table)};
    spellings.removeDuplicates();
    for (const QString& name : spellings) {
        // The first row fixes the catalogue's spelling; rows of another table
        // whose name differs only in case are not this table's.
        QString stored;
        const auto isTable = [&](const QString& t) {
            if (stored.isEmpty() && AsciiUpper(t) == AsciiUpper(name)) stored = t;
            return !stored.isEmpty() && t == stored;
        };
        const auto columns = [&](SQLHSTMT h, SQLCHAR* n, bool literal) {
            const SQLRETURN rc = api.SQLColumns(h, nullptr, 0, nullptr, 0, n, SQL_NTS, nullptr, 0);
            if (!literal)
                OdbcCheck(rc, SQL_HANDLE_STMT, h,
                          QStringLiteral("Can not read the columns of table %1").arg(table));
            return rc;
        };
        TableCatalogRows(*this, name, true, columns, isTable, [&](SQLHSTMT h) {
            const QString col = ColumnText(api, h, 4);
            const auto sqlType = SQLSMALLINT(ColumnInt(api, h, 5));
            const auto size = SQLULEN(ColumnInt(api, h, 7));
            const auto digits = SQLSMALLINT(ColumnInt(api, h, 9));
            auto& f = d.AddField(col.toUpper(), DataTypeFromSql(sqlType, size, digits), int(size));
            f.Required = ColumnInt(api, h, 11) == SQL_NO_NULLS;
            if (IsLongDataType(f.DataType)) f.Size = 0;
        });
        if (d.Fields.isEmpty()) continue;
        d.Name = table.toUpper();

        QMap<qint64, QString> keys;
        QString pkName;
        TableCatalogRows(
            *this, stored, false,
            [&](SQLHSTMT h, SQLCHAR* n, bool) {
                return api.SQLPrimaryKeys(h, nullptr, 0, nullptr, 0, n, SQL_NTS);
            },
            isTable,
            [&](SQLHSTMT h) {
                keys.insert(ColumnInt(api, h, 5), ColumnText(api, h, 4).toUpper());
                pkName = ColumnText(api, h, 6).toUpper();
            });
        if (!keys.isEmpty())
            d.AddIndex(pkName.isEmpty() ? d.Name + QStringLiteral("_PK") : pkName, keys.values(),
                       true, true);
        {
            QMap<QString, TDicIndexDescription> found;
            QStringList order;
            TableCatalogRows(
                *this, stored, false,
                [&](SQLHSTMT h, SQLCHAR* n, bool) {
                    return api.SQLStatistics(h, nullptr, 0, nullptr, 0, n, SQL_NTS, SQL_INDEX_ALL,
                                             SQL_QUICK);
                },
                isTable,
                [&](SQLHSTMT h) {
                    const QString idx = ColumnText(api, h, 6).toUpper();
                    if (idx.isEmpty()) return;  // table statistics row
                    if (!found.contains(idx)) {
                        order << idx;
                        found[idx].Name = idx;
                        found[idx].Unique = ColumnInt(api, h, 4) == SQL_FALSE;
                    }
                    found[idx].Fields << ColumnText(api, h, 9).toUpper();
                });
            TDicIndexDescription* primary = nullptr;
            for (auto& i : d.Indexes)
                if (i.Primary) primary = &i;
            auto sameSet = [](QStringList a, QStringList b) {
                a.sort();
                b.sort();
                return a == b;
            };
            // Some drivers number primary key columns in table order; the index
            // behind the key has the real order. It is the index of the key's
            // name, or else the one unique index over the same columns (SQLite
            // names it sqlite_autoindex_...).
            QString keyIndex;
            if (primary) {
                QStringList candidates;
                for (const QString& idx : order) {
                    if (idx == primary->Name) {
                        candidates = {idx};
                        break;
                    }
                    if (found[idx].Unique && sameSet(found[idx].Fields, primary->Fields))
                        candidates << idx;
                }
                for (const QString& c : candidates)
                    if (candidates.size() == 1 || c.startsWith(QStringLiteral("SQLITE_AUTOINDEX")))
                        keyIndex = c;
                if (!keyIndex.isEmpty()) primary->Fields = found[keyIndex].Fields;
            }
            QList<TDicIndexDescription> others;
            for (const QString& idx : order)
                if (idx != keyIndex && !idx.startsWith(QStringLiteral("SQLITE_AUTOINDEX")))
                    others.append(found[idx]);
            d.Indexes.append(others);
        }
        return true;
    }
    return false;
}

TTransactionScope::TTransactionScope(TDatabase& db) : FDb(db) {
    if (!db.InTransaction()) {
        db.StartTransaction();
        FOwn = true;
    }
}

TTransactionScope::~TTransactionScope() {
    if (FOwn && !FDone) {
        try {
            FDb.Rollback();
        } catch (...) {
        }
    }
}

void TTransactionScope::Commit() {
    FDone = true;
    if (FOwn) FDb.Commit();
}
