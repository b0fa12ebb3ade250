// The export of a table of 1,000,000 rows and 5 columns in SQLite to an
// export file (TUOExportDatabase) against the sqlite3 tool's ".dump" of the
// same table, and its import into an empty database (TUOImportDatabase)
// against the tool's ".read" of that dump, in the same run. A first number
// argument changes the row count. The last two lines are the ratios.
#include <sys/resource.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
#include "opkit/dbexchange.h"
#include "opkit/dspoperations.h"

namespace {

int gRows = 1000000;
// The best of a few runs: the machine is shared, the best run is the code's.
constexpr int kRuns = 3;

// Data sources of our own: the source and one fresh target per run.
QStringList Aliases() {
    QStringList names{QStringLiteral("EXSOURCE")};
    for (int i = 0; i < kRuns; ++i)
        names << QStringLiteral("EXTARGET%1").arg(i);
    return names;
}

TDicTableDescription Described() {
    TDicTableDescription t;
    t.Name = QStringLiteral("BENCH");
    t.AddField(QStringLiteral("ID"), dtInteger, 0);
    t.AddField(QStringLiteral("TITLE"), dtString, 40);
    t.AddField(QStringLiteral("QTY"), dtInteger, 0);
    t.AddField(QStringLiteral("PRICE"), dtFloat, 0);
    t.AddField(QStringLiteral("NOTE"), dtString, 60);
    t.AddIndex(QStringLiteral("BENCH_PK"), {QStringLiteral("ID")}, true, true);
    return t;
}

void Fill(const QString& alias) {
    TDatabase& db = OpenWithSystemTables(alias);
    GetDSPTable(alias).PutStructure(
        QStringLiteral("BENCH"), otTable,
        MakeTableStructure(QStringLiteral("BENCH"), Described()).ToBytes());
    TTransactionScope tx(db);
    for (const QString& sql : db.Dialect().CreateTableScript(Described()))
        db.ExecDirect(sql);
    db.ExecDirect(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                 "WHERE i < %1) INSERT INTO BENCH SELECT i, 'title ' || i, "
                                 "i % 1000, i * 0.25, 'a note on row ' || i FROM n")
                      .arg(gRows));
    tx.Commit();
}

double Sqlite3(const QStringList& args, const QString& output = QString()) {
    QProcess p;
    if (!output.isEmpty()) p.setStandardOutputFile(output);
    QElapsedTimer timer;
    timer.start();
    p.start(QStringLiteral("sqlite3"), args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        qFatal("sqlite3 failed: %s", p.readAllStandardError().constData());
    return timer.nsecsElapsed() / 1e6;
}

long PeakMB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0) gRows = QByteArray(argv[1]).toInt();
    QTemporaryDir dir;
    PrepareSqliteSources(dir.path(), Aliases());
    SetSettingsFileName(dir.filePath(QStringLiteral("bench.ini")));
    TPlatform platform;
    const QString source = QStringLiteral("EXSOURCE");
    BaseMng().Databases().SetDefaultAlias(source);
    Fill(source);
    const long filled = PeakMB();

    const QString file = dir.filePath(QStringLiteral("bench.eif"));
    const QString dump = dir.filePath(QStringLiteral("bench.sql"));
    const QString sourceFile = dir.filePath(source + QStringLiteral(".sqlite"));
    double exportMs = 1e300, dumpMs = 1e300, importMs = 1e300, readMs = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        TUOExportDatabase exp;
        exp.SetSourceAlias(source);
        exp.SetFileName(file);
        exp.Parts = dpStructures | dpTableData;
        exportMs = std::min(exportMs, TimedOperation(exp));
        dumpMs = std::min(dumpMs, Sqlite3({sourceFile, QStringLiteral(".dump BENCH")}, dump));
    }
    const long exported = PeakMB();
    for (int i = 0; i < kRuns; ++i) {
        const QString target = QStringLiteral("EXTARGET%1").arg(i);
        OpenWithSystemTables(target);
        TUOImportDatabase imp;
        imp.SetFileName(file);
        imp.SetTargetAlias(target);
        importMs = std::min(importMs, TimedOperation(imp));
        BaseMng().Databases().CloseDatabase(target);
        const QString read = dir.filePath(QStringLiteral("read%1.sqlite").arg(i));
        readMs = std::min(readMs, Sqlite3({read, QStringLiteral(".read ") + dump}));
    }

    std::printf("%d rows: export %.0f ms (%lld bytes), sqlite3 .dump %.0f ms (%lld bytes)\n", gRows,
                exportMs, qint64(QFile(file).size()), dumpMs, qint64(QFile(dump).size()));
    std::printf("import %.0f ms, sqlite3 .read %.0f ms\n", importMs, readMs);
    std::printf("peak memory: %ld MB filled, %ld MB exported, %ld MB imported\n", filled, exported,
                PeakMB());
    std::printf("ei-export/sqlite3-dump ratio: %.2f\n", exportMs / dumpMs);
    std::printf("ei-import/sqlite3-read ratio: %.2f\n", importMs / readMs);
    return 0;
}
