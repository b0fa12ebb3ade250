// Opens the table data window on a 10,000,000-row SQLite table and, in the
// same run, has the sqlite3 tool read the same first and last screens. Prints
// the time to the first screen, the time to jump to the last row, the time the
// row count took (it arrives after the first screen) and the peak memory above
// an empty window; the last line gives the ratios. The table is generated once
// into /tmp (an argument names another file).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QTableView>
#include <algorithm>
#include <cstdio>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "dataview/tabledataform.h"
#include "gridkit/datagrid.h"
#include "gridkit/tablemodel.h"
#include "testenv.h"
#include "testrun.h"

namespace {

constexpr qint64 kRows = 10000000;
constexpr int kScreen = 40;
constexpr int kRuns = 3;

QString gFile = QStringLiteral("/tmp/pelvar_datawindow_bench_10m.sqlite");

qint64 StatusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ')[0].toLongLong();
    return 0;
}

void ResetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

bool Sqlite3(const QString& file, const QString& sql, QByteArray* out = nullptr) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {file, sql});
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        std::fprintf(stderr, "sqlite3 failed: %s\n", p.readAllStandardError().constData());
        return false;
    }
    if (out) *out = p.readAllStandardOutput();
    return true;
}

bool EnsureTable() {
    if (QFile::exists(gFile)) return true;
    std::fprintf(stderr, "generating %lld rows into %s ...\n", kRows, qPrintable(gFile));
    const QString tmp = gFile + QStringLiteral(".part");
    QFile::remove(tmp);
    const bool ok = Sqlite3(
        tmp, QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                            "CREATE TABLE big (id INTEGER PRIMARY KEY, name VARCHAR(40), value "
                            "INTEGER, note VARCHAR(80));"
                            "INSERT INTO big WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT "
                            "x + 1 FROM c WHERE x < %1)"
                            " SELECT x, 'name ' || x, x % 1000, 'note for row ' || x FROM c;")
                 .arg(kRows));
    return ok && QFile::rename(tmp, gFile);
}

double ToolMs(const QString& sql) {
    QElapsedTimer t;
    t.start();
    QByteArray out;
    Sqlite3(gFile, sql, &out);
    const double ms = t.nsecsElapsed() / 1e6;
    if (out.count('\n') != kScreen)
        std::fprintf(stderr, "sqlite3 gave %lld lines\n", qint64(out.count('\n')));
    return ms;
}

// The visible rows painted now.
void Paint(TTableDataForm& form) {
    form.Grid()->View()->viewport()->grab();
}

struct TWindowRun {
    double First = 0, Count = 0, Last = 0;
};

TWindowRun WindowRun() {
    TWindowRun r;
    auto* form = new TTableDataForm;
    form->resize(900, 40 * form->Grid()->RowHeight());
    QElapsedTimer t;
    t.start();
    if (!form->Open(QStringLiteral("big"), QStringLiteral("BIGDB"), true)) {
        std::fprintf(stderr, "the window did not open\n");
        std::exit(1);
    }
    form->show();
    Paint(*form);
    r.First = t.nsecsElapsed() / 1e6;
    t.restart();
    while (form->Model()->rowCount() < kRows)
        QApplication::processEvents();
    r.Count = t.nsecsElapsed() / 1e6;
    t.restart();
    const QModelIndex last = form->Model()->index(form->Model()->rowCount() - 1, 0);
    form->Grid()->SetCurrentIndex(last);
    Paint(*form);
    r.Last = t.nsecsElapsed() / 1e6;
    if (form->Model()->data(last).toLongLong() != kRows)
        std::fprintf(stderr, "last row shows %s\n",
                     qPrintable(form->Model()->data(last).toString()));
    delete form;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareTestProcess();
    QApplication app(argc, argv);
    if (argc > 1) gFile = QString::fromLocal8Bit(argv[1]);
    if (!EnsureTable()) return 1;
    TPlatform platform;
    TTestEnvironment::Instance().AddSqliteDataSource(QStringLiteral("BIGDB"), gFile,
                                                     QStringLiteral("10 million rows"));
    BaseMng().Databases().OpenDataBase(QStringLiteral("BIGDB"));

    {
        TTableDataForm empty;
        empty.show();
        QApplication::processEvents();
    }
    const qint64 emptyKb = StatusKb("VmRSS:");
    ResetPeak();
    TWindowRun best{1e18, 1e18, 1e18};
    for (int i = 0; i < kRuns; ++i) {
        const TWindowRun r = WindowRun();
        best = {std::min(best.First, r.First), std::min(best.Count, r.Count),
                std::min(best.Last, r.Last)};
    }
    const double peakMb = (StatusKb("VmHWM:") - emptyKb) / 1024.0;
    double toolFirst = 1e18, toolLast = 1e18;
    for (int i = 0; i < kRuns; ++i) {
        toolFirst = std::min(
            toolFirst,
            ToolMs(
                QStringLiteral("SELECT rowid, * FROM big ORDER BY rowid LIMIT %1").arg(kScreen)));
        toolLast = std::min(
            toolLast, ToolMs(QStringLiteral("SELECT rowid, * FROM big ORDER BY rowid DESC LIMIT %1")
                                 .arg(kScreen)));
    }
    std::printf(
        "window: first screen %.1f ms, row count %.1f ms (after the first screen), last row %.1f "
        "ms\n",
        best.First, best.Count, best.Last);
    std::printf("sqlite3: first screen %.1f ms, last screen %.1f ms\n", toolFirst, toolLast);
    std::printf("datawindow first-screen ratio: %.2f, last-row ratio: %.2f, peak MB: %.0f\n",
                best.First / toolFirst, best.Last / toolLast, peakMb);
    return 0;
}
