#include <gtest/gtest.h>

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

#include "appcore/dsptable.h"
#include "appcore/dsptree.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "gridkit/blobtable.h"
#include "gridkit/blobtableform.h"
#include "query/querywindows.h"
#include "queryformfixture.h"

namespace {

class QueryCommandsTest : public TQueryWindowTest {
  protected:
    void SetUp() override {
        TQueryWindowTest::SetUp();
        if (IsSkipped()) return;
        const QString blob = FDb->IsPostgres() ? "BYTEA" : "BLOB";
        Db().ExecDirect("CREATE TABLE BL (ID INTEGER, NAME VARCHAR(20), DATA " + blob + ")");
        TDSPNode tree("ROOT");
        tree.SetProperty("Remark", "kept");
        auto ins = BaseMng().GetExecQuery("INSERT INTO BL VALUES (:id, :name, :data)", Alias());
        for (int id = 1; id <= 5; ++id) {
            ins->ParamByName("id").SetValue(id);
            ins->ParamByName("name").SetValue(QString(id % 2 ? " apple%1" : "berry%1").arg(id));
            ins->ParamByName("data").SetValue(id == 2 ? tree.ToBytes() : QByteArray("x", 1));
            ins->Execute();
        }
        Run("SELECT ID, NAME, DATA FROM BL ORDER BY ID");
        FView = FForm->findChild<QTableView*>("ResultQueryListView");
    }
    void TearDown() override {
        SetQueryFindDialogHook({});
        SetQueryBlobTableHook({});
        TQueryWindowTest::TearDown();
    }
    void Focus(int row, int column) {
        FView->selectionModel()->setCurrentIndex(FForm->ResultModel()->index(row, column),
                                                 QItemSelectionModel::ClearAndSelect);
    }
    QTableView* FView = nullptr;
};

TEST_P(QueryCommandsTest, FindAndTheBlobViewersFollowTheFocusedCell) {
    QAction* find = FForm->Action("FindAction");
    QAction* table = FForm->Action("ShowBlobTableAction");
    QAction* tree = FForm->Action("ShowBlobAsDSPTreeAction");
    Focus(0, 3);
    EXPECT_FALSE(find->isEnabled());  // no search dialog registered
    EXPECT_TRUE(table->isEnabled());
    EXPECT_TRUE(tree->isEnabled());

    // Find: the dialog comes back until cancelled; each OK moves the focus.
    QStringList asked;
    QList<std::pair<QString, int>> answers = {{"APPLE", 0}, {"berry", 1}, {"nothing", 2}};
    SetQueryFindDialogHook([&](QWidget*, const QString& caption, QString& text, int& direction) {
        asked << caption.toUpper() + "=" + text;  // PostgreSQL reads names in lower case
        if (answers.isEmpty()) return false;
        std::tie(text, direction) = answers.takeFirst();
        return true;
    });
    Focus(0, 2);
    ASSERT_TRUE(find->isEnabled());
    find->trigger();
    EXPECT_EQ(asked, QStringList({"NAME=apple1", "NAME=APPLE", "NAME=berry", "NAME=nothing"}));
    EXPECT_EQ(FView->currentIndex().row(), 1);  // down to apple3, up to berry2, then no match
    EXPECT_EQ(FView->currentIndex().column(), 2);

    // The BLOB table form gets the cell's bytes under the column's name.
    QString shownName;
    QByteArray shownBytes;
    SetQueryBlobTableHook(
        [&](QWidget*, const QString&, const QString& name, const QByteArray& bytes) {
            shownName = name;
            shownBytes = bytes;
            if (bytes == "x") throw EPelvarError("broken");
        });
    Focus(1, 2);
    EXPECT_FALSE(table->isEnabled());  // not a BLOB cell
    Focus(1, 3);
    ASSERT_TRUE(table->isEnabled());
    table->trigger();
    EXPECT_EQ(shownName.toUpper(), "QUERY.DATA");
    EXPECT_EQ(TDSPNode::FromBytes(shownBytes).Property("Remark").toString(), "kept");
    EXPECT_TRUE(Script().Asked.isEmpty());
    Focus(0, 3);
    table->trigger();  // a failing form is one message, the window goes on
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, "Can not show the BLOB as a table.");

    // The DSP tree dialog shows the bytes read-only, named after the column.
    Focus(1, 3);
    Script().AnswerModal([](QObject* dialog) {
        auto* view = qobject_cast<TDSPTreeViewDialog*>(dialog)->TreeView();
        EXPECT_TRUE(view->ReadOnly());
        EXPECT_EQ(TDSPNode::FromBytes(view->Bytes()).Property("Remark").toString(), "kept");
        return IDCANCEL;
    });
    tree->trigger();
    EXPECT_TRUE(Script().AllAnswersUsed());
}

TEST_P(QueryCommandsTest, ShowBlobTableOpensTheColumnsTableStructureReadOnly) {
    QAction* table = FForm->Action("ShowBlobTableAction");
    const QString name =
        "QUERY." + FForm->ResultModel()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString();
    // No structure of that name yet: one message, nothing opens.
    Focus(0, 3);
    table->trigger();
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, "Can not show the BLOB as a table.");

    CreateMissingSystemTables(Alias());
    TDicTableDescription description;
    description.AddField("CODE", dtString, 10);
    GetDSPTable(Alias()).PutStructure(name, 10, MakeTableStructure(name, description).ToBytes());
    TBlobTable rows(description);
    TRecord record = rows.EmptyRecord();
    record.FieldByName("CODE").SetAsString("A-1");
    rows.Insert(record);
    auto update = BaseMng().GetExecQuery("UPDATE BL SET DATA = :data WHERE ID = 1", Alias());
    update->ParamByName("data").SetValue(rows.Save());
    update->Execute();
    Run("SELECT ID, NAME, DATA FROM BL ORDER BY ID");
    FView = FForm->findChild<QTableView*>("ResultQueryListView");
    int shownRows = -1;
    bool readOnly = false;
    Script().AnswerModal([&](QObject* dialog) {
        auto* form = qobject_cast<TBLOBTableDataForm*>(dialog);
        if (!form) return IDCANCEL;
        shownRows = form->Table().RowCount();
        readOnly = form->ReadOnly();
        return IDCANCEL;
    });
    Focus(0, 3);
    table->trigger();
    EXPECT_EQ(shownRows, 1);
    EXPECT_TRUE(readOnly);
    ASSERT_EQ(Script().Asked.size(), 2);  // the form itself, and no error
    EXPECT_EQ(Script().Asked[1].Kind, "modal");
}

PELVAR_ENGINE_TESTS(QueryCommandsTest);

}  // namespace

class QueryConnectionLostTest : public TQueryWindowTest {};

// The server ends the connection while the grid reads a large result: one
// error, the rows read so far stay, and the window takes the next statement.
TEST_P(QueryConnectionLostTest, ALostConnectionIsOneErrorAndTheWindowGoesOn) {
    if (!FDb->IsPostgres()) GTEST_SKIP() << "a server connection to end";
    auto pid = BaseMng().GetSelectQuery("SELECT pg_backend_pid()", Alias());
    pid->Open();
    const qint64 backend = pid->Fields().GetFields(0).AsInteger();
    pid.reset();
    TTestDatabase killer(GetParam(), "KILLER", false);
    TQueryResultModel* model = FForm->ResultModel();
    model->SetSliceRows(500);
    FForm->SetQueryText("SELECT g, repeat('x', 100) FROM generate_series(1, 3000000) g");
    FForm->Execute();
    for (int i = 0; i < 1000 && model->rowCount() < 1000; ++i)
        QApplication::processEvents();
    ASSERT_TRUE(model->Fetching());
    auto kill = BaseMng().GetSelectQuery(QString("SELECT pg_terminate_backend(%1)").arg(backend),
                                         killer.Alias());
    kill->Open();
    kill.reset();
    for (int i = 0; i < 100000 && model->Fetching(); ++i)
        QApplication::processEvents();
    EXPECT_FALSE(model->Fetching());
    EXPECT_TRUE(model->Failed());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Kind, "exception");
    EXPECT_TRUE(Script().Asked[0].Text.contains(Alias())) << qPrintable(Script().Asked[0].Text);
    const int rows = model->rowCount();
    EXPECT_GE(rows, 1000);
    EXPECT_LT(rows, 3000000);
    EXPECT_EQ(ResultText(), QString("Stopped by an error after %1 rows.").arg(rows));

    // The next statement fails on the dead connection with one error and
    // leaves the window as it was; the history and editor go on.
    Run("SELECT 1");
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_FALSE(model->Fetching());
    EXPECT_TRUE(Script().Asked[1].Text.contains("SELECT 1"));
    FForm->Action("PrevQueryAction")->trigger();
    EXPECT_TRUE(FForm->QueryText().startsWith("SELECT g"));
    // The dead connection cannot drop its schema: the other one does.
    auto drop = BaseMng().GetExecQuery(
        "DROP SCHEMA IF EXISTS " + TTestEnvironment::PostgresSchema(Alias()) + " CASCADE",
        killer.Alias());
    drop->Execute();
}

PELVAR_ENGINE_TESTS(QueryConnectionLostTest);
