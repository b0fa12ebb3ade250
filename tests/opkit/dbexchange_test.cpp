#include <gtest/gtest.h>

#include <QFile>

#include "demodictionary.h"
#include "dspfixture.h"
#include "opkit/dbexchange.h"
#include "opkit/dbtransfer.h"
#include "opkit/dspimport.h"
#include "opkit/eifile.h"
#include "opkit/lresreader.h"

namespace {

// Cancels once CheckCancel has been asked `after` times.
class TCancelAfter : public TProgressSink {
  public:
    explicit TCancelAfter(int after) : FLeft(after) {}
    void SetStatus(const QString&) override {}
    void SetProgress(qint64, qint64) override {}
    bool CancelRequested() override { return --FLeft < 0; }
    void ReportError(const QString&) override {}
    void Finish() override {}

  private:
    int FLeft;
};

qint64 CountRowsOf(TDatabase& db, const QString& table) {
    TSelectQuery q(db, "SELECT COUNT(*) FROM " + db.Dialect().Ident(table));
    q.Open();
    return q.Fields().GetFields(0).AsInteger();
}

// Everything a dictionary holds, as comparable text: structures with their
// bodies, texts, languages and every table's rows (sorted, values read as
// the field's type so that engines compare alike).
QStringList Dump(const QString& alias) {
    QStringList out;
    TDSPList items;
    GetDSPTable(alias).FillStructuresList(0, items);
    TDatabase& db = BaseMng().Databases().GetDatabase(alias);
    for (int i = 0; i < items.Count(); ++i) {
        const TDSPListItem& it = items.Items(i);
        out << QStringLiteral("S %1 %2 %3 %4 %5 %6")
                   .arg(it.Name)
                   .arg(it.ObjectType)
                   .arg(it.ParentName, it.TableName, it.Remark,
                        QString::fromLatin1(
                            GetDSPTable(alias).GetStructure(it.Name, it.ObjectType).toHex()));
        TDicTableDescription t;
        if (it.ObjectType != otTable || !db.DescribeTable(it.Name, t)) continue;
        QStringList names, rows;
        for (const auto& f : t.Fields)
            names << f.Name;
        DBTransfer::ReadRows(db, it.Name, names, {}, [&](QList<TQXVariant>& v) {
            QStringList cells;
            for (qsizetype c = 0; c < v.size(); ++c)
                cells << DBTransfer::ConvertValue(v[c], t.Fields[c].DataType).AsString();
            rows << cells.join(u'|');
        });
        rows.sort();
        out << QStringLiteral("T %1 %2 rows").arg(it.Name).arg(rows.size()) << rows;
    }
    TLSectionReader(db).ReadAll({}, {}, [&](const QString& s, const QList<TEILResText>& texts) {
        for (const auto& t : texts)
            out << QStringLiteral("R %1 %2 %3 %4").arg(s, t.Ident, t.Language, t.Text);
        return true;
    });
    TLanguageStrings languages;
    GetLanguagesTable(alias).FillLanguageInfo(languages);
    for (const auto& [id, l] : languages)
        out << QStringLiteral("L %1 %2 %3").arg(id, l.EnglishName, l.NativeName);
    return out;
}

class DBExchangeTest : public DSPOpTest {
  protected:
    void SetUp() override {
        // The demo makes the system tables itself.
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        Script().Reset();
        Summary = GenerateDemoDictionary({Alias(), 1, 1});
        File = Dir.filePath("dict.eif");
    }
    // A second database of `engine` with its system tables.
    std::unique_ptr<TTestDatabase> Target(const std::string& engine, const QString& name) {
        auto db = std::make_unique<TTestDatabase>(engine, name, false);
        CreateMissingSystemTables(db->Alias());
        return db;
    }
    template <typename TOp>
    void Run(TOp& op) {
        ASSERT_TRUE(ExecuteUtilOperationDirect(op)) << op.Errors().join("\n").toStdString();
    }
    TDemoSummary Summary;
    QTemporaryDir Dir;
    QString File;
};

TEST_P(DBExchangeTest, ExportImportAndCopyKeepTheWholeDictionary) {
    ASSERT_GT(Summary.Rows, 0);
    const QStringList source = Dump(Alias());
    TUOExportDatabase exp;
    exp.SetSourceAlias(Alias());
    exp.SetFileName(File);
    Run(exp);

    auto imported = Target(GetParam(), "IMPORTED");
    TUOImportDatabase imp;
    imp.SetFileName(File);
    imp.SetTargetAlias(imported->Alias());
    Run(imp);
    EXPECT_EQ(Dump(imported->Alias()), source);

    // Importing again replaces rather than doubles.
    Run(imp);
    EXPECT_EQ(Dump(imported->Alias()), source);

    // A copy to the other engine and back loses nothing either.
    const std::string other = GetParam() == "SQLite" ? "PostgreSQL" : "SQLite";
    if (other == "PostgreSQL" && !TTestEnvironment::PostgresAvailable()) return;
    auto there = Target(other, "THERE");
    auto back = Target(GetParam(), "BACK");
    TUOCopyDatabase copy;
    copy.SetSourceAlias(Alias());
    copy.SetTargetAlias(there->Alias());
    Run(copy);
    copy.SetSourceAlias(there->Alias());
    copy.SetTargetAlias(back->Alias());
    Run(copy);
    EXPECT_EQ(Dump(back->Alias()), source);
}

TEST_P(DBExchangeTest, ViewsGeneratorsAndProceduresComeWithTheDictionary) {
    const bool pg = FDb->IsPostgres();
    const QString view = "SELECT ID FROM COUNTRIES WHERE ID < 3";
    Put("V_FEW", otView, MakeSqlStructure("V_FEW", view).ToBytes());
    Dic().CreateView("V_FEW", view);
    Put("G_NUM", otGenerator, MakeGeneratorStructure("G_NUM", 10).ToBytes());
    Dic().CreateGenerator("G_NUM", 10);
    Dic().GeneratorNext("G_NUM", 40);
    const QString proc = "CREATE PROCEDURE p_noop() LANGUAGE SQL AS $$ SELECT 1 $$";
    Put("P_NOOP", otExecStoredProc, MakeSqlStructure("P_NOOP", proc).ToBytes());
    if (pg) Dic().CreateStoredProc(proc);
    const qint64 few = Count("V_FEW");
    ASSERT_GT(few, 0);
    TUOExportDatabase exp;
    exp.SetSourceAlias(Alias());
    exp.SetFileName(File);
    Run(exp);

    // Objects work in the target; SQLite takes no procedure and says so once.
    const auto check = [&](const QString& alias, qint64 next, bool procedure) {
        TDicDatabase& dic = DicDBContainer().GetDicDatabase(alias);
        TDatabase& db = BaseMng().Databases().GetDatabase(alias);
        EXPECT_EQ(CountRowsOf(db, "V_FEW"), few);
        EXPECT_EQ(dic.GeneratorNext("G_NUM", 1), next);
        EXPECT_EQ(dic.ExecStoredProcExists("P_NOOP"), procedure);
    };
    auto imported = Target(GetParam(), "OBJ_IMP");
    TUOImportDatabase imp;
    imp.SetFileName(File);
    imp.SetTargetAlias(imported->Alias());
    TOperationResult r = ExecuteUtilOperation(imp, "i");
    ASSERT_TRUE(r.Completed);
    ASSERT_EQ(r.Errors.size(), pg ? 0 : 1) << r.Errors.join("\n").toStdString();
    if (!pg) {
        EXPECT_TRUE(r.Errors[0].contains("no stored procedures")) << r.Errors[0].toStdString();
    }
    check(imported->Alias(), 11, pg);

    // A copy goes on from the source's generator value and leaves out the
    // objects the source lacks (the demo's V_PLANNED).
    auto copied = Target(GetParam(), "OBJ_COPY");
    TUOCopyDatabase copy;
    copy.SetSourceAlias(Alias());
    copy.SetTargetAlias(copied->Alias());
    Run(copy);
    check(copied->Alias(), 51, pg);
    EXPECT_FALSE(DicDBContainer().GetDicDatabase(copied->Alias()).ViewExists("V_PLANNED"));
    if (!pg) return;
    auto lite = Target("SQLite", "OBJ_LITE");
    copy.SetTargetAlias(lite->Alias());
    r = ExecuteUtilOperation(copy, "c");
    ASSERT_EQ(r.Errors.size(), 1);
    check(lite->Alias(), 51, false);
}

TEST_P(DBExchangeTest, CancelOrFailureLeavesTheTargetAsItWas) {
    TUOExportDatabase exp;
    exp.SetSourceAlias(Alias());
    exp.SetFileName(File);
    Run(exp);
    auto target = Target(GetParam(), "KEPT");
    PutTable("KEEP", 3);  // in the source: a table the target gets below
    TUOCopyDSPObject one;
    one.SetSourceAlias(Alias());
    one.SetTargetAlias(target->Alias());
    one.SourceName = one.TargetName = "KEEP";
    one.SourceType = one.TargetType = otTable;
    one.CreateDBObject = one.CopyTableData = true;
    Run(one);  // rows across databases
    const QStringList before = Dump(target->Alias());
    ASSERT_TRUE(before.contains("T KEEP 3 rows"));

    for (int after : {5, 40}) {
        TCancelAfter sink(after);
        TOperationContext context(&sink);
        TUOCopyDatabase copy;
        copy.SetSourceAlias(Alias());
        copy.SetTargetAlias(target->Alias());
        EXPECT_THROW(copy.Execute(context), EAbortError);
        EXPECT_EQ(Dump(target->Alias()), before) << after;
    }

    // A row in the middle of the file that is no JSON: the error names the
    // file and its line, and nothing of the import stays.
    QFile f(File);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    f.close();
    const qsizetype data = text.indexOf("TEITableData");
    const qsizetype first = text.indexOf("\n>[", text.indexOf("\n>[[", data) + 4);
    const qsizetype row = text.indexOf("\n>[", first + 1);  // the second row
    ASSERT_GT(first, 0);
    ASSERT_GT(row, 0);
    text.insert(row + 3, "{");
    const QString broken = Dir.filePath("broken.eif");
    QFile b(broken);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(text);
    b.close();
    const int line = int(text.left(row + 1).count('\n')) + 1;
    TUOImportDatabase imp;
    imp.SetFileName(broken);
    imp.SetTargetAlias(target->Alias());
    EXPECT_FALSE(ExecuteUtilOperationDirect(imp));
    ASSERT_EQ(imp.Errors().size(), 1);
    EXPECT_TRUE(imp.Errors()[0].contains(broken)) << imp.Errors()[0];
    EXPECT_TRUE(imp.Errors()[0].contains(QString::number(line))) << imp.Errors()[0];
    EXPECT_EQ(Dump(target->Alias()), before);

    // A file cut short, and a target without system tables: one clear error each.
    b.open(QIODevice::WriteOnly);
    b.write(text.left(text.size() / 2));
    b.close();
    EXPECT_FALSE(ExecuteUtilOperationDirect(imp));
    EXPECT_EQ(Dump(target->Alias()), before);
    TTestDatabase bare(GetParam(), "BARE", false);
    imp.SetFileName(File);
    imp.SetTargetAlias(bare.Alias());
    EXPECT_FALSE(ExecuteUtilOperationDirect(imp));
    ASSERT_EQ(imp.Errors().size(), 1);
    EXPECT_TRUE(imp.Errors()[0].contains("system table")) << imp.Errors()[0];
    TDatabase& bareDb = BaseMng().Databases().GetDatabase(bare.Alias());
    TDSPList tables;
    Dsp().FillStructuresList(otTable, tables);
    ASSERT_GT(tables.Count(), 0);
    for (int i = 0; i < tables.Count(); ++i)  // no table of the file stayed behind
        EXPECT_FALSE(bareDb.TableExists(tables.Items(i).Name))
            << tables.Items(i).Name.toStdString();
}

TEST_P(DBExchangeTest, TableDataByConditionAndChosenSections) {
    PutTable(kQuoted, 30);
    auto target = Target(GetParam(), "PART");
    TDicTableDescription t;
    t.Name = "DEST";
    t.AddField("N", dtInteger, 4);
    t.AddField("NAME", dtString, 40);
    t.AddField("EXTRA", dtString, 10);
    TDictionary(target->Alias()).CreateTableByDef(t, QString(), false);

    TUOCustomCopyTable copy;
    copy.SetSourceAlias(Alias());
    copy.SetTargetAlias(target->Alias());
    copy.Copy = {kQuoted, "DEST", "ID > 25", {"N=ID", "NAME=TITLE"}, false};
    Run(copy);
    TDatabase& db = BaseMng().Databases().GetDatabase(target->Alias());
    QStringList rows;
    DBTransfer::ReadRows(db, "DEST", {"N", "NAME", "EXTRA"}, "N > 0", [&](QList<TQXVariant>& v) {
        rows << v[0].AsString() + "|" + v[1].AsString() + "|" + (v[2].IsNull() ? "null" : "?");
    });
    rows.sort();
    EXPECT_EQ(rows,
              QStringList({"26|row 26 ж'\"|null", "27|row 27 ж'\"|null", "28|row 28 ж'\"|null",
                           "29|row 29 ж'\"|null", "30|row 30 ж'\"|null"}));
    copy.Copy.FieldMap = {"NOPE=ID"};
    EXPECT_FALSE(ExecuteUtilOperationDirect(copy));
    EXPECT_TRUE(copy.Errors()[0].contains("NOPE=ID")) << copy.Errors()[0];

    // Only the chosen sections of a file, keeping what exists when asked to.
    TUOExportDatabase exp;
    exp.SetSourceAlias(Alias());
    exp.SetFileName(File);
    Run(exp);
    TEIFile file(File);
    file.Open();
    QList<int> chosen;
    for (int i = 0; i < file.Sections().GetCount(); ++i)
        if (file.Sections().GetSections(i)->Name().contains(kQuoted)) chosen << i;
    ASSERT_EQ(chosen.size(), 2);  // the structure and its rows right after it
    TUOImportDSPObjects imp;
    imp.SetTargetAlias(target->Alias());
    imp.File = &file;
    imp.SectionIndexes = {chosen[0]};
    imp.ReplaceExisting = imp.ImportTableData = true;
    Run(imp);
    EXPECT_EQ(CountRowsOf(db, kQuoted), 30);
    db.ExecDirect("DELETE FROM " + db.Dialect().Ident(kQuoted) + " WHERE ID > 10");
    imp.ReplaceExisting = false;
    TOperationContext context;
    imp.Execute(context);
    EXPECT_EQ(context.Errors().size(), 1);  // reported as kept
    EXPECT_EQ(CountRowsOf(db, kQuoted), 10);

    TUOImportTableData data;
    data.SetTargetAlias(target->Alias());
    data.File = &file;
    data.SectionIndexes = {chosen[1]};
    data.ReplaceExisting = true;
    Run(data);
    EXPECT_EQ(CountRowsOf(db, kQuoted), 30);
}

TEST_P(DBExchangeTest, StructureCopiesBetweenDatabasesAreAllOrNothing) {
    PutTable("T1", 450);  // more rows than one statement takes
    PutTable("T2", 5);
    auto target = Target(GetParam(), "EX");
    TDatabase& db = BaseMng().Databases().GetDatabase(target->Alias());
    TDicTableDescription t;
    t.Name = "T2";
    t.AddField("ID", dtInteger, 4);
    TDictionary(target->Alias()).CreateTableByDef(t, QString(), false);
    const QStringList before = Dump(target->Alias());

    TUOCopyDSPObjectsEx copy;
    copy.SetSourceAlias(Alias());
    copy.SetTargetAlias(target->Alias());
    copy.Items.AddCopy(Item("T1", otTable));
    copy.Items.AddCopy(Item("T2", otTable));
    copy.CreateDBObjects = copy.CopyTableData = true;
    EXPECT_FALSE(ExecuteUtilOperationDirect(copy));  // T2 is there already
    EXPECT_TRUE(copy.Errors().join("").contains("T2")) << copy.Errors().join("").toStdString();
    EXPECT_EQ(Dump(target->Alias()), before);
    EXPECT_FALSE(db.TableExists("T1"));

    db.ExecDirect(db.Dialect().DropTableStatement("T2"));
    Run(copy);
    EXPECT_EQ(CountRowsOf(db, "T1"), 450);
    EXPECT_EQ(CountRowsOf(db, "T2"), 5);
}

PELVAR_ENGINE_TESTS(DBExchangeTest);

}  // namespace
