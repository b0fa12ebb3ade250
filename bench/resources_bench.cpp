// Texts of a dictionary of 100,000 string IDs in 3 languages (1,000 sections
// of 100) in an SQLite database: (a) the resource search's full scan (every
// section, a text that is nowhere, on a connection of its own as the search
// worker has) and the time to its first batch when every string matches, and
// (b) the export of every section to an export file, each against a plain
// ODBC fetch of the same rows (SQLExecDirect, bound columns, SQLFetch) in the
// same run. The last two lines are the ratios. An argument changes the
// number of sections.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/localizator.h"
#include "appcore/odbc/odbcapi.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "basekit/registry.h"
#include "benchsupport.h"
#include "opkit/dspoperations.h"
#include "opkit/lresoperations.h"
#include "opkit/lresreader.h"
#include "opkit/lressearch.h"

namespace {

int gSections = 1000;
constexpr int kIdents = 100;
constexpr int kRuns = 5;
const QStringList kLanguages = {QStringLiteral("ENGLISH"), QStringLiteral("RUSSIAN"),
                                QStringLiteral("GERMAN")};
const QString kAlias = QStringLiteral("LRESBENCH");

// Sections of every kind the folders classify, each with its marker row.
QString SectionName(int s) {
    static const char* prefixes[] = {"C_FORM", "M_MSG", "E_ERR", "K", "RT", "X"};
    return QStringLiteral("%1_%2")
        .arg(QLatin1String(prefixes[s % 6]))
        .arg(s, 4, 10, QLatin1Char('0'));
}

void Generate(TDatabase& db) {
    TTransactionScope tx(db);
    TExecQuery q(db, QStringLiteral("INSERT INTO TEXT_RESOURCES (STRINGID, LANGUAGEID, TEXT, "
                                    "LASTCHANGE) VALUES (:id, :lang, :text, :stamp)"));
    const QDateTime stamp = QDateTime::currentDateTime();
    q.ParamByName(QStringLiteral("stamp")).SetValue(stamp);
    for (int s = 0; s < gSections; ++s) {
        const QString section = SectionName(s);
        q.ParamByName(QStringLiteral("id")).SetValue(section);
        q.ParamByName(QStringLiteral("lang")).SetValue(TLocalizatorTable::kSectionMarker);
        q.ParamByName(QStringLiteral("text")).SetNull();
        q.Execute();
        for (int i = 0; i < kIdents; ++i) {
            q.ParamByName(QStringLiteral("id"))
                .SetValue(TLocalizatorTable::ComposeID(section, QStringLiteral("STR%1").arg(i)));
            const QString texts[3] = {
                QStringLiteral("Text number %1 of section %2, with %s inside").arg(i).arg(s),
                QStringLiteral("Текст номер %1 раздела %2 с %s внутри").arg(i).arg(s),
                QStringLiteral("Text Nummer %1 im Abschnitt %2 mit %s").arg(i).arg(s)};
            for (int l = 0; l < 3; ++l) {
                q.ParamByName(QStringLiteral("lang")).SetValue(kLanguages[l]);
                q.ParamByName(QStringLiteral("text")).SetValue(texts[l].toUtf8());
                q.Execute();
            }
        }
    }
    tx.Commit();
}

// The plain fetch of every text row: bound buffers, one row per SQLFetch.
double RawRead(TDatabase& db, qint64& rows) {
    const TOdbcApi& api = Odbc();
    QElapsedTimer timer;
    timer.start();
    SQLHSTMT st = SQL_NULL_HSTMT;
    api.SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(db.Handle()), &st);
    QByteArray sql = "SELECT STRINGID, LANGUAGEID, TEXT FROM TEXT_RESOURCES";
    if (!OdbcOk(api.SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)))
        qFatal("raw read failed");
    char id[256], lang[64], text[4096];
    SQLLEN ind[3];
    api.SQLBindCol(st, 1, SQL_C_CHAR, id, sizeof id, &ind[0]);
    api.SQLBindCol(st, 2, SQL_C_CHAR, lang, sizeof lang, &ind[1]);
    api.SQLBindCol(st, 3, SQL_C_BINARY, text, sizeof text, &ind[2]);
    rows = 0;
    while (OdbcOk(api.SQLFetch(st)))
        ++rows;
    api.SQLFreeHandle(SQL_HANDLE_STMT, st);
    return timer.nsecsElapsed() / 1e6;
}

// The search as its worker runs it; `firstBatch` gets the time to the first batch.
double Search(const TConnectionInfo& info, const QStringList& sections, const QString& text,
              bool stopAtFirst, double& firstBatch, qint64& found) {
    std::unique_ptr<TDatabase> own = OpenOwnConnection(info);
    TLResSearchRequest request;
    request.Sections = sections;
    request.Languages = kLanguages;
    request.TextSubstr = text;
    QElapsedTimer timer;
    timer.start();
    found = 0;
    firstBatch = -1;
    TLResSearchEvents events;
    events.Stopped = [&] { return stopAtFirst && firstBatch >= 0; };
    events.Status = [](const QString&) {};
    events.Batch = [&](TLResBatch&& batch) {
        if (firstBatch < 0) firstBatch = timer.nsecsElapsed() / 1e6;
        found += batch.size();
    };
    RunLResSearch(*own, request, events);
    return timer.nsecsElapsed() / 1e6;
}

// The query layer alone over every row.
double QueryRead(TDatabase& db, qint64& rows) {
    QElapsedTimer timer;
    timer.start();
    TSelectQuery q(db, QStringLiteral("SELECT STRINGID, LANGUAGEID, TEXT FROM TEXT_RESOURCES"));
    rows = 0;
    for (q.Open(); !q.Eof(); q.Next())
        ++rows;
    return timer.nsecsElapsed() / 1e6;
}

// The one-pass section read alone, as the export makes it.
double ReadSections(const TConnectionInfo& info, const QStringList& sections, qint64& rows) {
    std::unique_ptr<TDatabase> own = OpenOwnConnection(info);
    QElapsedTimer timer;
    timer.start();
    TLSectionReader reader(*own);
    rows = 0;
    QSet<QString> wanted(sections.begin(), sections.end());
    reader.ReadAll(wanted, kLanguages, [&](const QString&, const QList<TEILResText>& texts) {
        rows += texts.size();
        return true;
    });
    return timer.nsecsElapsed() / 1e6;
}

double Export(const QString& file, const QStringList& sections) {
    QFile::remove(file);
    TUOExportLSections op;
    op.SetSourceAlias(kAlias);
    op.Sections = sections;
    op.Target.FileName = file;
    return TimedOperation(op);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0) gSections = QByteArray(argv[1]).toInt();
    QTemporaryDir dir;
    PrepareSqliteSources(dir.path(), {kAlias});
    SetSettingsFileName(dir.filePath(QStringLiteral("bench.ini")));
    TPlatform platform;
    TDatabaseManager& dbs = BaseMng().Databases();
    TDatabase& db = OpenWithSystemTables(kAlias);
    dbs.SetDefaultAlias(kAlias);
    Generate(db);
    const qint64 expected = qint64(gSections) * kIdents * 3 + gSections;

    QStringList sections;
    GetLocalizatorTable(kAlias).FillSectionListEx(kLanguages, sections);
    const TConnectionInfo info = ConnectionInfoOf(kAlias);
    qint64 rawRows = 0, found = 0;
    double first = 0;
    RawRead(db, rawRows);  // warm up: driver, page cache
    double raw = 1e300, scan = 1e300, firstBatch = 1e300, exported = 1e300, reads = 1e300;
    qint64 readRows = 0;
    double queryRead = 1e300;
    const QString file = dir.filePath(QStringLiteral("texts.eif"));
    for (int i = 0; i < kRuns; ++i) {
        raw = std::min(raw, RawRead(db, rawRows));
        scan = std::min(scan, Search(info, sections, QStringLiteral("NOWHERE TO BE FOUND"), false,
                                     first, found));
        Search(info, sections, QStringLiteral("TEXT"), true, first, found);
        firstBatch = std::min(firstBatch, first);
        exported = std::min(exported, Export(file, sections));
        reads = std::min(reads, ReadSections(info, sections, readRows));
        queryRead = std::min(queryRead, QueryRead(db, readRows));
    }
    if (rawRows != expected) std::fprintf(stderr, "rows: raw %lld of %lld\n", rawRows, expected);
    std::printf(
        "raw ODBC fetch of %lld text rows (%d string IDs x 3 languages): %.1f ms (best of %d)\n",
        rawRows, gSections * kIdents, raw, kRuns);
    std::printf("one-pass section read alone (%lld texts): %.1f ms\n", readRows, reads);
    std::printf("query layer over every row: %.1f ms\n", queryRead);
    std::printf("search full scan of %d sections on its own connection: %.1f ms\n", gSections,
                scan);
    std::printf("search first batch (every string matches): %.1f ms, %.1f%% of the full scan\n",
                firstBatch, 100.0 * firstBatch / scan);
    std::printf("export of every section to one file: %.1f ms (%.1f MB)\n", exported,
                QFile(file).size() / 1e6);
    std::printf("search/raw-read ratio: %.2f\n", scan / raw);
    std::printf("resource-export/raw-read ratio: %.2f\n", exported / raw);
    return 0;
}
