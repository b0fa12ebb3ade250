#include <gtest/gtest.h>

#include <QApplication>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "basekit/datatypes.h"
#include "model/dataopeners.h"
#include "opkit/dspoperations.h"
#include "scriptedinteraction.h"
#include "structurefixture.h"
#include "structures/dbobjectitems.h"
#include "structures/dspdialogrules.h"
#include "treedesignkit/generatorform.h"
#include "treedesignkit/recreaterules.h"
#include "treedesignkit/sqleditforms.h"
#include "treedesignkit/tablestructureform.h"

namespace {

// Structures of tables and database objects acting on a real database: the
// operations run for real, recorded by their progress caption.
class DBObjectsTest : public StructuresTest {
  protected:
    void SetUp() override {
        StructuresTest::SetUp();
        if (IsSkipped()) return;
        TDSPOperationRunner real;
        real.Direct = [this](TUtilOperation& op) {
            FRan << "direct";
            return ExecuteUtilOperationDirect(op);
        };
        real.WithProgress = [this](TUtilOperation& op, const QString& caption) {
            FRan << caption;
            TOperationResult r = ExecuteUtilOperation(op, QString());
            FErrors += r.Errors;
            return r;
        };
        SetDSPOperationRunner(real);
    }
    void TearDown() override {
        SetDSPPropertiesPrompt(nullptr);
        SetRecreateTablePrompt(nullptr);
        SetTableDataOpener(nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("TTableStructureForm") || w->inherits("TSqlStructureEditForm") ||
                w->inherits("TGeneratorEditForm"))
                delete w;
        StructuresTest::TearDown();
    }
    void Answer(const QString& name, const QString& parent = QString()) {
        SetDSPPropertiesPrompt([=](TDSPPropertiesRequest& r) {
            EXPECT_TRUE(r.InheritSelect);
            EXPECT_FALSE(r.ObjectTypeEnabled);
            r.Name = name;
            r.ParentName = parent;
            return true;
        });
    }
    void PutTable(const QString& name, int rows) {
        TDicTableDescription t;
        t.Name = name;
        t.AddField("ID", dtInteger, 0);
        t.AddField("TITLE", dtString, 40);
        t.AddIndex(name + "_PK", {"ID"}, true, true);
        Put(name, 10, QString(), QString(), MakeTableStructure(name, t).ToBytes());
        TDictionary(Alias()).CreateTableByDef(t, QString(), false);
        for (int i = 1; i <= rows; ++i)
            Exec(QStringLiteral("INSERT INTO %1 (ID, TITLE) VALUES (%2, 't%2')")
                     .arg(Db().Dialect().Ident(name))
                     .arg(i));
    }
    void Exec(const QString& sql) { TExecQuery(Db(), sql).Execute(); }
    QStringList Links(const QString& column) {
        TSelectQuery q(Db(), "SELECT " + column + " FROM PATTERNLINKTOTABLE ORDER BY 1");
        q.Open();
        QStringList values;
        for (; !q.Eof(); q.Next())
            values << q.Fields().GetFields(0).AsString();
        return values;
    }
    template <typename T>
    T* Item(const QString& below, const QString& subPath) {
        return dynamic_cast<T*>(Open(below)->SubObjects().FindBySubPath(subPath));
    }
    TPelvarObjectAction* Action(TPelvarObject* o, const QString& name) {
        for (int i = 0; i < o->Actions().Count(); ++i)
            if (o->Actions().Items(i)->Name == name) return o->Actions().Items(i);
        return nullptr;
    }
    QStringList FErrors;
};

TEST_P(DBObjectsTest, TablesCreateAskFirstAndRenameCarriesRowsAndLinks) {
    PutTable("ORDERS", 20);
    Put("ORDERS$1", 10);
    Put("S.ORDERS", 10);
    Exec("CREATE TABLE PATTERNLINKTOTABLE (TABLENAME VARCHAR(64), PATTERNNAME VARCHAR(64))");
    Exec("INSERT INTO PATTERNLINKTOTABLE VALUES ('ORDERS', 'P1')");
    Exec("INSERT INTO PATTERNLINKTOTABLE VALUES ('OTHER', 'P2')");
    auto* orders = Item<TDOTableStructure>("Structures\\Tables", "10:ORDERS");
    ASSERT_NE(orders, nullptr);
    TListRow row;
    orders->FillListViewItem(row, TListColumns());
    EXPECT_EQ(row.ImageIndex, 3);

    // Create is offered only for names that can be tables, alone or in the folder.
    auto* folder = dynamic_cast<TDOTableStructures*>(Folder("Structures\\Tables"));
    TPelvarObjectAction* create = Action(folder, "TableStr_CreateTable");
    ASSERT_NE(create, nullptr);
    QStringList one = {"10:ORDERS$1"};
    create->Update(&one);
    EXPECT_FALSE(create->Enabled);
    QStringList two = {"10:ORDERS$1", "10:S.ORDERS"};
    create->Update(&two);
    EXPECT_TRUE(create->Enabled);
    auto* derived = Item<TDOTableStructure>("Structures\\Tables", "10:ORDERS$1");
    Action(derived, "TableStr_CreateTable")->Update(nullptr);
    EXPECT_FALSE(Action(derived, "TableStr_CreateTable")->Enabled);
    create->Execute(&two);  // both skipped: nothing to create
    EXPECT_FALSE(Db().TableExists("ORDERS$1"));

    // An existing table asks the recreate confirmation; Cancel runs nothing.
    QString asked;
    SetRecreateTablePrompt([&](TRecreateTableConfirmation& s) {
        asked = s.TableName() + ":" + s.Renamed().join(",") + s.Added().join(",");
        return false;
    });
    orders->CreateTable();
    EXPECT_EQ(asked, "ORDERS:");
    EXPECT_TRUE(FRan.isEmpty());

    // Rename with data: the new table has every row, the old one and its
    // structure are gone, the links follow.
    Answer("Orders2");
    Script().AnswerMessage(IDYES);
    orders->EditProperties();
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join("\n").toStdString();
    EXPECT_EQ(CountRows(Db().Dialect().Ident("ORDERS2")), 20);
    EXPECT_FALSE(Db().TableExists("ORDERS"));
    EXPECT_FALSE(Store().DSPStructureExist("ORDERS", 10));
    TDSPListItem info;
    ASSERT_TRUE(Store().GetStructureProperties("ORDERS2", 10, info));
    EXPECT_EQ(info.TableName, "Orders2");
    EXPECT_EQ(Links("TABLENAME"), QStringList({"ORDERS2", "OTHER"}));

    // A case-only change is no rename; a rename without a table asks no copy
    // question and offers to create the new table.
    folder->Refresh();  // as the window does on the store's notification
    auto* renamed = Item<TDOTableStructure>("Structures\\Tables", "10:ORDERS2");
    ASSERT_NE(renamed, nullptr);
    Answer("ORDERS2");
    FRan.clear();
    renamed->EditProperties();
    EXPECT_TRUE(FRan.isEmpty());
    Answer("Bare");
    Script().AnswerMessage(IDNO);  // to "create the table?"
    Item<TDOTableStructure>("Structures\\Tables", "10:S.ORDERS")->EditProperties();
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_EQ(Script().Asked.back().Caption, "Warning");
    EXPECT_TRUE(Store().DSPStructureExist("BARE", 10));
    EXPECT_FALSE(Db().TableExists("BARE"));
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

TEST_P(DBObjectsTest, ViewsPatternsAndDataWindows) {
    PutTable("T1", 2);
    Put("V1", 72, QString(), QString(), MakeSqlStructure("V1", "SELECT ID FROM T1").ToBytes());
    Put("V$1", 72, QString(), QString(), MakeSqlStructure("V$1", "SELECT 1").ToBytes());
    auto* view = Item<TDOViewStructure>("Structures\\Views", "72:V1");
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(Item<TDOViewStructure>("Structures\\Views", "72:V$1")->CanCreate());
    view->CreateObject();
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join("\n").toStdString();
    EXPECT_TRUE(DicDBContainer().GetDicDatabase(Alias()).ViewExists("V1"));

    // A view in the database moves with its structure.
    Answer("V2");
    view->EditProperties();
    EXPECT_TRUE(DicDBContainer().GetDicDatabase(Alias()).ViewExists("V2"));
    EXPECT_FALSE(DicDBContainer().GetDicDatabase(Alias()).ViewExists("V1"));
    EXPECT_FALSE(Store().DSPStructureExist("V1", 72));

    // Stored procedures on SQLite: a clear refusal from the operation.
    Put("P1", 73, QString(), QString(),
        MakeSqlStructure("P1", "CREATE PROCEDURE p1() LANGUAGE SQL AS $$ SELECT 1 $$").ToBytes());
    Put("P3", 73, QString(), QString(),
        MakeSqlStructure("P3", "CREATE PROCEDURE \"p3\"() LANGUAGE SQL AS $$ SELECT 1 $$")
            .ToBytes());
    Item<TDOExecStoredProcStructure>("Structures\\StoredProcs", "73:P1")->CreateObject();
    if (!FDb->IsPostgres()) {
        ASSERT_EQ(FErrors.size(), 1);
        EXPECT_TRUE(FErrors[0].contains("not supported")) << FErrors[0].toStdString();
    } else {
        // On PostgreSQL a procedure moves with its structure, its text renamed,
        // whether it exists in the database (P1) or is created on the question (P3).
        TDicDatabase& dic = DicDBContainer().GetDicDatabase(Alias());
        ASSERT_TRUE(dic.ExecStoredProcExists("P1"));
        Answer("P2");
        Item<TDOExecStoredProcStructure>("Structures\\StoredProcs", "73:P1")->EditProperties();
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join("\n").toStdString();
        EXPECT_TRUE(dic.ExecStoredProcExists("P2"));
        EXPECT_FALSE(dic.ExecStoredProcExists("P1"));
        Answer("P4");
        Script().AnswerMessage(IDYES);
        Item<TDOExecStoredProcStructure>("Structures\\StoredProcs", "73:P3")->EditProperties();
        EXPECT_TRUE(dic.ExecStoredProcExists("P4"));
        EXPECT_TRUE(StructureSql(TDSPNode::FromBytes(Store().GetStructure("P4", 73)))
                        .startsWith("CREATE PROCEDURE \"p4\"()"));
        EXPECT_EQ(Script().Asked.size(), 1);  // whether to create P4
        Script().Reset();
    }

    // A pattern rename rewrites its links, whether a row names it or not.
    Exec("CREATE TABLE PATTERNLINKTOTABLE (TABLENAME VARCHAR(64), PATTERNNAME VARCHAR(64))");
    Exec("INSERT INTO PATTERNLINKTOTABLE VALUES ('T1', 'PAT')");
    Put("PAT", 75, QString(), QString(), "{}");
    Answer("Pat2");
    Item<TDOPatternStructure>("Structures\\Pattern", "75:PAT")->EditProperties();
    EXPECT_EQ(Links("PATTERNNAME"), QStringList{"PAT2"});
    EXPECT_TRUE(Store().DSPStructureExist("PAT2", 75));

    // Editors: a view opens its SQL editor; a new generator none, its Edit its own.
    Answer("V9");
    dynamic_cast<TDODSPFolder*>(Folder("Structures\\Views"))->AddStructure();
    int editors = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* e = qobject_cast<TSqlStructureEditForm*>(w); e && e->isVisible()) ++editors;
    EXPECT_EQ(editors, 1);
    Put("G8", 71, QString(), QString(), MakeGeneratorStructure("G8", 5).ToBytes());
    Answer("G9");
    dynamic_cast<TDODSPFolder*>(Folder("Structures\\Generators"))->AddStructure();
    EXPECT_TRUE(Store().DSPStructureExist("G9", 71));
    const auto generatorEditors = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<TGeneratorEditForm*>(w); e && e->isVisible()) ++n;
        return n;
    };
    EXPECT_EQ(generatorEditors(), 0);
    Item<TDOGeneratorStructure>("Structures\\Generators", "71:G8")
        ->Actions()
        .FindByName("GeneratorStr_Edit")
        ->Execute(nullptr);
    EXPECT_EQ(generatorEditors(), 1);

    // Table data opens the data window through the installed opener, else says so.
    auto* t1 = Item<TDOTableStructure>("Structures\\Tables", "10:T1");
    SetTableDataOpener(nullptr);
    t1->TableData();
    ASSERT_EQ(Script().Asked.size(), 1);
    QString opened;
    SetTableDataOpener([&](const QString& name, const QString& alias) {
        opened = name + "@" + alias;
        return true;
    });
    t1->TableData();
    EXPECT_EQ(opened, "T1@" + Alias());
}

PELVAR_ENGINE_TESTS(DBObjectsTest);

}  // namespace
