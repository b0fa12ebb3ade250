// Recreating a table with its data from its structure (TUORecreateTable) on
// a table of 1,000,000 rows and 5 columns, against a plain CREATE TABLE and
// INSERT INTO ... SELECT of the same rows through the same driver in the same
// run. SQLite always; PostgreSQL too when given its server as
// "--pg host:port:database:user:password". A first number argument changes
// the row count. The last line is the larger of the engines' ratios.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "basekit/datatypes.h"
#include "basekit/registry.h"
#include "benchsupport.h"
#include "opkit/dspoperations.h"
#include "opkit/dsprecreate.h"

namespace {

int gRows = 1000000;
constexpr int kRuns = 5;

// Data sources of our own, before the first ODBC call.
void PrepareOdbc(const QString& dir, const QStringList& pg) {
    WriteBenchFile(
        dir + QStringLiteral("/odbcinst.ini"),
        QStringLiteral("[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n"
                       "[PostgreSQL Unicode]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/"
                       "psqlodbcw.so\n"));
    WriteBenchFile(dir + QStringLiteral("/odbc.ini"), QString());
    QString sources =
        QStringLiteral("[RCBENCH]\nDriver=SQLite3\nDatabase=%1/bench.sqlite\nTimeout=5000\n")
            .arg(dir);
    if (pg.size() == 5)
        sources += QStringLiteral(
                       "[RCBENCH_PG]\nDriver=PostgreSQL Unicode\nServername=%1\n"
                       "Port=%2\nDatabase=%3\nSSLmode=disable\nUseDeclareFetch=1\n")
                       .arg(pg[0], pg[1], pg[2]);
    WriteBenchFile(dir + QStringLiteral("/user.ini"), sources);
    qputenv("ODBCSYSINI", dir.toLocal8Bit());
    qputenv("ODBCINI", (dir + QStringLiteral("/user.ini")).toLocal8Bit());
}

TDicTableDescription Described(const QString& name) {
    TDicTableDescription t;
    t.Name = name;
    t.AddField(QStringLiteral("ID"), dtInteger, 0);
    t.AddField(QStringLiteral("TITLE"), dtString, 40);
    t.AddField(QStringLiteral("QTY"), dtInteger, 0);
    t.AddField(QStringLiteral("PRICE"), dtFloat, 0);
    t.AddField(QStringLiteral("NOTE"), dtString, 60);
    t.AddIndex(name + QStringLiteral("_PK"), {QStringLiteral("ID")}, true, true);
    return t;
}

void Run(TDatabase& db, const QStringList& script) {
    for (const QString& sql : script)
        db.ExecDirect(sql);
}

// The table of the structure BENCH with gRows rows, made inside the server.
void Fill(TDatabase& db, bool postgres) {
    const TSqlDialect& d = db.Dialect();
    TTransactionScope tx(db);
    Run(db, d.CreateTableScript(Described(QStringLiteral("BENCH"))));
    const QString values =
        QStringLiteral("SELECT i, 'title ' || i, i % 1000, i * 0.25, 'a note on row ' || i");
    if (postgres)
        db.ExecDirect(QStringLiteral("INSERT INTO %1 %2 FROM generate_series(1, %3) AS g(i)")
                          .arg(d.Ident(QStringLiteral("BENCH")), values)
                          .arg(gRows));
    else
        db.ExecDirect(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                     "FROM n WHERE i < %1) INSERT INTO %2 %3 FROM n")
                          .arg(gRows)
                          .arg(d.Ident(QStringLiteral("BENCH")), values));
    tx.Commit();
}

double Recreate(const QString& alias) {
    TUORecreateTable op;
    op.TableName = QStringLiteral("BENCH");
    op.SetSourceAlias(alias);
    QElapsedTimer timer;
    timer.start();
    if (!ExecuteUtilOperationDirect(op))
        qFatal("recreate failed: %s", qPrintable(op.Errors().join(QLatin1Char('\n'))));
    return timer.nsecsElapsed() / 1e6;
}

double InsertSelect(TDatabase& db) {
    const TSqlDialect& d = db.Dialect();
    QElapsedTimer timer;
    timer.start();
    {
        TTransactionScope tx(db);
        Run(db, d.CreateTableScript(Described(QStringLiteral("PLAIN"))));
        db.ExecDirect(QStringLiteral("INSERT INTO %1 SELECT * FROM %2")
                          .arg(d.Ident(QStringLiteral("PLAIN")), d.Ident(QStringLiteral("BENCH"))));
        tx.Commit();
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    db.ExecDirect(d.DropTableStatement(QStringLiteral("PLAIN")));
    return ms;
}

double Bench(const QString& alias, bool postgres) {
    TDatabase& db = OpenWithSystemTables(alias);
    for (const QString& t : {QStringLiteral("BENCH"), QStringLiteral("PLAIN")})
        if (db.TableExists(t)) db.ExecDirect(db.Dialect().DropTableStatement(t));
    GetDSPTable(alias).PutStructure(
        QStringLiteral("BENCH"), otTable,
        MakeTableStructure(QStringLiteral("BENCH"), Described(QStringLiteral("BENCH"))).ToBytes());
    Fill(db, postgres);
    InsertSelect(db);  // warm up: driver, caches
    double recreate = 1e300, plain = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        recreate = std::min(recreate, Recreate(alias));
        plain = std::min(plain, InsertSelect(db));
    }
    std::printf(
        "%s: %d rows, recreate with data %.0f ms, CREATE TABLE + INSERT ... SELECT %.0f ms\n",
        qPrintable(db.Dialect().Name()), gRows, recreate, plain);
    db.ExecDirect(db.Dialect().DropTableStatement(QStringLiteral("BENCH")));
    return recreate / plain;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList pg;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--pg" && i + 1 < argc)
            pg = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char(':'));
        else if (arg.toInt() > 0)
            gRows = arg.toInt();
    }
    QTemporaryDir dir;
    PrepareOdbc(dir.path(), pg);
    SetSettingsFileName(dir.filePath(QStringLiteral("bench.ini")));
    TPlatform platform;
    TDatabaseManager& dbs = BaseMng().Databases();
    dbs.SetDefaultAlias(QStringLiteral("RCBENCH"));
    double ratio = Bench(QStringLiteral("RCBENCH"), false);
    std::printf("SQLite recreate/insert-select ratio: %.2f\n", ratio);
    if (pg.size() == 5) {
        dbs.SetLoginParamsEx(pg[3], pg[4], 255, QString(), false, QString(),
                             QStringLiteral("RCBENCH_PG"));
        const double pgRatio = Bench(QStringLiteral("RCBENCH_PG"), true);
        std::printf("PostgreSQL recreate/insert-select ratio: %.2f\n", pgRatio);
        ratio = std::max(ratio, pgRatio);
    }
    std::printf("recreate/insert-select ratio: %.2f\n", ratio);
    return 0;
}
