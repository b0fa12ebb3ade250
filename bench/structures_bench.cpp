// Structures of a dictionary of 20,000 in an SQLite database: (a) loading the
// list as the "All" folder does (the store read, one row of texts per
// structure with its inheritance depth, sorted by name) and (b) exporting all
// of them to an export file, each against a plain ODBC fetch of the same rows
// (SQLExecDirect, bound columns, SQLFetch) in the same run. Prints the times;
// the last two lines are the ratios. An argument changes the number of
// structures.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/odbc/odbcapi.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "basekit/datatypes.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"
#include "benchsupport.h"
#include "opkit/dspoperations.h"

namespace {

int gStructures = 20000;
constexpr int kRuns = 5;  // best of: the machine is shared
const QString kAlias = QStringLiteral("STRUCTBENCH");

// Tables with fields and indexes, views, forms and parameters with
// inheritance chains, some names with "$".
void Generate(TDatabase& db) {
    TTransactionScope tx(db);
    TExecQuery q(db, QStringLiteral("INSERT INTO QXMAIL_DSP (OBJECT_TYPE, OBJECT_NAME, INFO, "
                                    "TABLE_NAME, PARENT_OBJECT, REMARK, LASTCHANGE) VALUES "
                                    "(:type, :name, :info, :tab, :parent, :remark, :stamp)"));
    const int types[] = {10, 10, 10, 12, 12, 14, 14, 16, 72, 75, 21, 84};
    const QDateTime base(QDate(2024, 1, 1), QTime(8, 0));
    for (int i = 0; i < gStructures; ++i) {
        const int type = types[i % 12];
        QString name = QStringLiteral("OBJ_%1").arg(i, 6, 10, QLatin1Char('0'));
        if (i % 17 == 0) name += QStringLiteral("$EXT");
        QByteArray body;
        if (type == 10) {
            TDicTableDescription t;
            t.Name = name;
            t.AddField(QStringLiteral("ID"), dtInteger, 4);
            for (int f = 0; f < 8; ++f)
                t.AddField(QStringLiteral("FIELD_%1").arg(f), f % 2 ? dtString : dtFloat, 40,
                           QStringLiteral("Поле %1").arg(f));
            t.AddIndex(name + QStringLiteral("_PK"), {QStringLiteral("ID")}, true, true);
            body = MakeTableStructure(name, t).ToBytes();
        } else {
            body = MakeSqlStructure(name, QStringLiteral("SELECT * FROM OBJ WHERE N = %1").arg(i))
                       .ToBytes();
        }
        // Every fifth parameter or form inherits from the one listed before it of its type.
        const bool inherits = (type == 12 || type == 14) && i % 5 == 0 && i >= 12;
        q.ParamByName(QStringLiteral("type")).SetValue(type);
        q.ParamByName(QStringLiteral("name")).SetValue(name);
        q.ParamByName(QStringLiteral("info")).SetValue(body);
        q.ParamByName(QStringLiteral("tab")).SetValue(type == 10 ? name : QString());
        q.ParamByName(QStringLiteral("parent"))
            .SetValue(inherits ? QStringLiteral("OBJ_%1")
                                     .arg(i - 12, 6, 10, QLatin1Char('0'))
                                     .append(((i - 12) % 17) ? "" : "$EXT")
                               : QString());
        q.ParamByName(QStringLiteral("remark"))
            .SetValue(QStringLiteral("Структура номер %1").arg(i));
        q.ParamByName(QStringLiteral("stamp")).SetValue(base.addSecs(i * 37));
        q.Execute();
    }
    tx.Commit();
}

// The plain fetch: bound character buffers, one row per SQLFetch; with
// bodies, each body read with SQLGetData as a plain program would.
double RawRead(TDatabase& db, qint64& rows, bool withBodies = false) {
    const TOdbcApi& api = Odbc();
    QElapsedTimer timer;
    timer.start();
    SQLHSTMT st = SQL_NULL_HSTMT;
    api.SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(db.Handle()), &st);
    QByteArray sql =
        "SELECT OBJECT_NAME, OBJECT_TYPE, TABLE_NAME, PARENT_OBJECT, REMARK, LASTCHANGE";
    sql += withBodies ? ", INFO FROM QXMAIL_DSP" : " FROM QXMAIL_DSP";
    if (!OdbcOk(api.SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)))
        qFatal("raw read failed");
    char name[256], table[256], parent[256], remark[1024];
    SQLINTEGER type = 0;
    SQL_TIMESTAMP_STRUCT stamp{};
    SQLLEN ind[7];
    api.SQLBindCol(st, 1, SQL_C_CHAR, name, sizeof name, &ind[0]);
    api.SQLBindCol(st, 2, SQL_C_SLONG, &type, 0, &ind[1]);
    api.SQLBindCol(st, 3, SQL_C_CHAR, table, sizeof table, &ind[2]);
    api.SQLBindCol(st, 4, SQL_C_CHAR, parent, sizeof parent, &ind[3]);
    api.SQLBindCol(st, 5, SQL_C_CHAR, remark, sizeof remark, &ind[4]);
    api.SQLBindCol(st, 6, SQL_C_TYPE_TIMESTAMP, &stamp, sizeof stamp, &ind[5]);
    static char body[1 << 16];
    rows = 0;
    while (OdbcOk(api.SQLFetch(st))) {
        while (withBodies && api.SQLGetData(st, 7, SQL_C_BINARY, body, sizeof body, &ind[6]) ==
                                 SQL_SUCCESS_WITH_INFO) {
        }
        ++rows;
    }
    api.SQLFreeHandle(SQL_HANDLE_STMT, st);
    return timer.nsecsElapsed() / 1e6;
}

struct TListRow {
    QString Caption;
    int Indent = 0;
    QStringList SubItems;
};

// What the "All" folder does with the store: list, one row per structure
// (parent, remark, last change, type; indent = inheritance depth), sorted by
// name as the list's first column does.
double AllFolder(qint64& rows) {
    // A first opening: the cache of the previous round is not part of it.
    TDSPTable& dsp = GetDSPTable(kAlias);
    dsp.DropCache();
    QElapsedTimer timer;
    timer.start();
    TDSPList list;
    dsp.FillStructuresList(0, list);
    std::vector<TListRow> view;
    view.reserve(size_t(list.Count()));
    QStringList chain;
    for (int i = 0; i < list.Count(); ++i) {
        const TDSPListItem& item = list.Items(i);
        TListRow row;
        row.Caption = item.Name;
        dsp.FillHierarchy(item.Name, item.ObjectType, chain);
        row.Indent = int(chain.size()) - 1;
        row.SubItems << item.ParentName << item.Remark
                     << (item.LastChange.IsNull() ? QString()
                                                  : FormatStamp(item.LastChange.AsDateTime()))
                     << QString::number(item.ObjectType);
        view.push_back(std::move(row));
    }
    std::stable_sort(view.begin(), view.end(), [](const TListRow& a, const TListRow& b) {
        return QString::compare(a.Caption, b.Caption, Qt::CaseInsensitive) < 0;
    });
    rows = qint64(view.size());
    return timer.nsecsElapsed() / 1e6;
}

double Export(const QString& file, const TDSPList& items) {
    QFile::remove(file);
    TUOExportDSPObjects op;
    op.SetSourceAlias(kAlias);
    op.Items.Assign(items);
    op.SetFileName(file);
    return TimedOperation(op);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0) gStructures = QByteArray(argv[1]).toInt();
    QTemporaryDir dir;
    PrepareSqliteSources(dir.path(), {kAlias});
    SetSettingsFileName(dir.filePath(QStringLiteral("bench.ini")));
    TPlatform platform;
    TDatabaseManager& dbs = BaseMng().Databases();
    TDatabase& db = OpenWithSystemTables(kAlias);
    dbs.SetDefaultAlias(kAlias);
    Generate(db);

    qint64 rawRows = 0, listRows = 0;
    RawRead(db, rawRows);  // warm up: driver, page cache
    AllFolder(listRows);
    double raw = 1e300, list = 1e300, exported = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        raw = std::min(raw, RawRead(db, rawRows));
        list = std::min(list, AllFolder(listRows));
    }
    if (rawRows != gStructures || listRows != gStructures)
        std::fprintf(stderr, "rows: raw %lld, list %lld\n", rawRows, listRows);

    TDSPList items;
    GetDSPTable(kAlias).FillStructuresList(0, items);
    items.Sort(dskForExport);
    const QString file = dir.filePath(QStringLiteral("all.eif"));
    Export(file, items);
    double rawBodies = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        exported = std::min(exported, Export(file, items));
        raw = std::min(raw, RawRead(db, rawRows));
        rawBodies = std::min(rawBodies, RawRead(db, rawRows, true));
    }
    std::printf("raw ODBC fetch of %d structure rows (6 columns): %.1f ms (best of %d)\n",
                gStructures, raw, kRuns);
    std::printf("\"All\" folder list (store read, rows with depth, sorted): %.1f ms\n", list);
    std::printf("export of %d structures with bodies to one file: %.1f ms (%.1f MB)\n", gStructures,
                exported, QFile(file).size() / 1e6);
    std::printf(
        "raw ODBC fetch of the same rows with their bodies (SQLGetData): %.1f ms, "
        "export/that ratio: %.2f\n",
        rawBodies, exported / rawBodies);
    std::printf("structures/raw-read ratio: %.2f\n", list / raw);
    std::printf("structure-export/raw-read ratio: %.2f\n", exported / raw);
    return 0;
}
