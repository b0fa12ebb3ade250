// Reads 1,000,000 rows of 5 columns of an SQLite table into the query window's
// result model, fetched slice by slice between event-loop turns as the window
// does, and in the same run through a minimal ODBC loop over the same
// statement (bound columns, blocks of 256 rows). Prints both times; the last
// line is the ratio raw time / grid time. An argument changes the row count.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "appcore/dbmanager.h"
#include "appcore/odbc/odbcapi.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "basekit/registry.h"
#include "gridkit/resultmodel.h"

namespace {

int gRows = 1000000;
constexpr int kRuns = 3;
const QString kAlias = QStringLiteral("QUERYBENCH");
const QString kSql = QStringLiteral("SELECT ID, A, F, S1, S2 FROM B");

void WriteFile(const QString& name, const QString& text) {
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "can not write %s\n", qPrintable(name));
        std::exit(1);
    }
}

// The process's own ODBC configuration, before the first ODBC call.
void PrepareOdbc(const QString& dir) {
    WriteFile(
        dir + QStringLiteral("/odbcinst.ini"),
        QStringLiteral("[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n"));
    WriteFile(dir + QStringLiteral("/odbc.ini"), QString());
    WriteFile(dir + QStringLiteral("/user.ini"),
              QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=%2/bench.sqlite\nTimeout=5000\n")
                  .arg(kAlias, dir));
    qputenv("ODBCSYSINI", dir.toLocal8Bit());
    qputenv("ODBCINI", (dir + QStringLiteral("/user.ini")).toLocal8Bit());
}

void Fill(TDatabase& db) {
    db.ExecDirect(
        QStringLiteral("CREATE TABLE B (ID INTEGER PRIMARY KEY, A INTEGER, F REAL, S1 VARCHAR(20), "
                       "S2 VARCHAR(40))"));
    db.ExecDirect(QStringLiteral("WITH RECURSIVE C(X) AS (SELECT 1 UNION ALL SELECT X + 1 FROM C "
                                 "WHERE X < %1) INSERT INTO B SELECT X, X * 7 % 1000, X / 3.0, "
                                 "'name ' || X, 'a somewhat longer text ' || (X % 977) FROM C")
                      .arg(gRows));
}

double GridRun(qint64& rows) {
    QElapsedTimer timer;
    timer.start();
    TQueryResultModel model;
    std::unique_ptr<TSelectQuery> query = BaseMng().GetSelectQuery(kSql, kAlias);
    query->Open();
    model.Start(std::move(query));
    while (model.Fetching())
        QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    rows = model.rowCount();
    return ms;
}

double RawRun(qint64& rows) {
    const TOdbcApi& api = Odbc();
    TDatabase& db = BaseMng().Databases().GetDatabase(kAlias);
    constexpr int kBlock = 256, kText = 161;
    QElapsedTimer timer;
    timer.start();
    SQLHSTMT stmt = nullptr;
    api.SQLAllocHandle(SQL_HANDLE_STMT, db.Handle(), &stmt);
    std::vector<SQLBIGINT> id(kBlock), a(kBlock);
    std::vector<double> f(kBlock);
    std::vector<char> s1(kBlock * kText), s2(kBlock * kText);
    std::vector<SQLLEN> ind(kBlock * 5);
    SQLULEN fetched = 0;
    api.SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE,
                       reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
    api.SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(kBlock)),
                       0);
    api.SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    QByteArray sql = kSql.toUtf8();
    api.SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQLINTEGER(sql.size()));
    api.SQLBindCol(stmt, 1, SQL_C_SBIGINT, id.data(), 0, &ind[0]);
    api.SQLBindCol(stmt, 2, SQL_C_SBIGINT, a.data(), 0, &ind[kBlock]);
    api.SQLBindCol(stmt, 3, SQL_C_DOUBLE, f.data(), 0, &ind[2 * kBlock]);
    api.SQLBindCol(stmt, 4, SQL_C_CHAR, s1.data(), kText, &ind[3 * kBlock]);
    api.SQLBindCol(stmt, 5, SQL_C_CHAR, s2.data(), kText, &ind[4 * kBlock]);
    rows = 0;
    qint64 checksum = 0;
    while (SQL_SUCCEEDED(api.SQLFetchScroll(stmt, SQL_FETCH_NEXT, 0))) {
        rows += qint64(fetched);
        checksum += id[0] + a[fetched - 1];
    }
    api.SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (checksum == 0) std::fprintf(stderr, "raw loop read nothing\n");
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    PrepareOdbc(dir.path());
    SetSettingsFileName(dir.filePath(QStringLiteral("bench.ini")));
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0) gRows = QByteArray(argv[1]).toInt();
    TPlatform platform;
    BaseMng().Databases().SetLoginParamsEx(QString(), QString(), 255, QString(), false, QString(),
                                           kAlias);
    Fill(BaseMng().Databases().OpenDataBase(kAlias));
    qint64 gridRows = 0, rawRows = 0;
    double grid = 1e300, raw = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        grid = std::min(grid, GridRun(gridRows));
        raw = std::min(raw, RawRun(rawRows));
    }
    if (gridRows != gRows || rawRows != gRows)
        std::fprintf(stderr, "rows read: grid %lld, raw %lld, expected %d\n", gridRows, rawRows,
                     gRows);
    std::printf("grid: %d rows of 5 columns into the result model: %.1f ms (best of %d)\n", gRows,
                grid, kRuns);
    std::printf("raw: ODBC loop, bound columns, blocks of 256: %.1f ms (best of %d)\n", raw, kRuns);
    std::printf("query/raw-fetch ratio: %.2f\n", raw / grid);
    return 0;
}
