#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "basekit/registry.h"
#include "gridkit/resultmodel.h"
#include "query/queryform.h"
#include "queryformfixture.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

class QueryFormTest : public TQueryWindowTest {
  protected:
    void SetUp() override {
        TQueryWindowTest::SetUp();
        if (IsSkipped()) return;
        Db().ExecDirect(
            "CREATE TABLE T (S VARCHAR(30), I INTEGER, F FLOAT, D DATE, DT TIMESTAMP, B SMALLINT, "
            "N INTEGER)");
    }
    void TearDown() override {
        if (FForm && Db().InTransaction()) Db().Rollback();
        TQueryWindowTest::TearDown();
    }
    qint64 Count(const QString& where = "1 = 1") {
        auto q = BaseMng().GetSelectQuery("SELECT COUNT(*) FROM T WHERE " + where, Alias());
        q->Open();
        return q->Fields().GetFields(0).AsInteger();
    }
    void SetGridParam(int row, const QString& type, const QString& value) {
        auto* grid = FForm->findChild<QTableWidget*>("ParamStringGrid");
        qobject_cast<QComboBox*>(grid->cellWidget(row, 1))->setCurrentText(type);
        grid->item(row, 2)->setText(value);
    }
};

TEST_P(QueryFormTest, ParametersOfEveryTypeReachTheDatabase) {
    FForm->SetQueryText("INSERT INTO T VALUES (:s, :i, :f, :d, :dt, :b, :n)");
    FForm->RefreshParams();
    auto* grid = FForm->findChild<QTableWidget*>("ParamStringGrid");
    ASSERT_EQ(grid->rowCount(), 7);
    EXPECT_EQ(grid->item(6, 0)->text(), "n");
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    SetGridParam(0, "String", "it's");
    SetGridParam(1, "Integer", "42");
    SetGridParam(2, "Float", "2.5");
    SetGridParam(3, "Date", "2024-02-29");
    SetGridParam(4, "DateTime", "2024-02-29 10:11:12");
    SetGridParam(5, "Smallint", "7");
    SetGridParam(6, "Integer", "{null}");
    Run(FForm->QueryText());
    EXPECT_TRUE(Script().Asked.isEmpty()) << qPrintable(Script().Asked.value(0).Text);
    EXPECT_TRUE(ResultText().contains("1 rows affected")) << qPrintable(ResultText());
    EXPECT_EQ(Count("S = 'it''s' AND I = 42 AND F = 2.5 AND B = 7 AND N IS NULL"), 1);
    EXPECT_TRUE(FForm->Params().GetFields(6).IsNull());

    // A select with a parameter; the history keeps both runs.
    Run("SELECT S, I, D FROM T WHERE I = :i");
    SetGridParam(0, "Integer", "42");
    Run(FForm->QueryText());
    TQueryResultModel* model = FForm->ResultModel();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->CellText(0, 1), "it's");
    EXPECT_TRUE(model->CellText(0, 3).startsWith("2024-02-29"));
    EXPECT_TRUE(ResultText().startsWith("Ok. 1 rows")) << qPrintable(ResultText());
    // The value typed for :i stayed with its name: the second run repeats the first.
    EXPECT_EQ(FForm->History().Count(), 2);

    // A value that does not convert: one clear error, nothing run.
    SetGridParam(0, "Integer", "forty");
    Run(FForm->QueryText());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Kind, "exception");
    EXPECT_TRUE(Script().Asked[0].Text.contains("forty"));

    // Back through the history: the statement and its parameters return.
    FForm->SetQueryText("select 1");
    FForm->Action("PrevQueryAction")->trigger();
    EXPECT_TRUE(FForm->QueryText().startsWith("INSERT INTO T"));
    EXPECT_EQ(grid->rowCount(), 7);
    EXPECT_EQ(grid->item(0, 2)->text(), "it's");
    EXPECT_EQ(grid->item(6, 2)->text(), "{NULL}");
    EXPECT_FALSE(FForm->Action("PrevQueryAction")->isEnabled());
    FForm->Action("NextQueryAction")->trigger();
    EXPECT_EQ(FForm->QueryText(), "SELECT S, I, D FROM T WHERE I = :i");
    EXPECT_EQ(grid->item(0, 2)->text(), "42");
}

TEST_P(QueryFormTest, AnSqlErrorIsShownWithTheEngineMessageAndTheWindowGoesOn) {
    Run("SELEC * FROM T");  // not a select under auto: executed, and refused
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Kind, "exception");
    EXPECT_TRUE(Script().Asked[0].Text.contains("syntax error", Qt::CaseInsensitive))
        << qPrintable(Script().Asked[0].Text);
    Run("SELECT * FROM MISSING_TABLE");
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_TRUE(Script().Asked[1].Text.contains("missing_table", Qt::CaseInsensitive));
    Run("INSERT INTO T (S) VALUES ('x')");
    Run("  select * from T");
    EXPECT_EQ(Script().Asked.size(), 2);
    EXPECT_EQ(FForm->ResultModel()->rowCount(), 1);
    EXPECT_EQ(FForm->ResultModel()->columnCount(), 8);
    if (qEnvironmentVariableIsSet("PELVAR_QUERY_SHOT"))
        FForm->grab().save(qEnvironmentVariable("PELVAR_QUERY_SHOT"));
}

TEST_P(QueryFormTest, CsvExportWritesTheShownRowsWithTheChosenEncoding) {
    Db().ExecDirect("INSERT INTO T (S, I) VALUES ('a;b', 1)");
    Db().ExecDirect("INSERT INTO T (S, I) VALUES ('c', 2)");
    Run("SELECT S, I FROM T ORDER BY I");
    Db().ExecDirect("INSERT INTO T (S, I) VALUES ('late', 3)");  // not shown: not written
    const QString name = TTestEnvironment::Instance().Dir() + "/window.csv";
    Script().AnswerModal([&](QObject* form) {
        form->findChild<QComboBox*>("FileNameEComboBox")->setEditText(name);
        return IDOK;
    });
    FForm->Action("ExportToCsvAction")->trigger();
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toUpper(), "\xEF\xBB\xBF\xE2\x84\x96;S;I\n1;\"A#3BB\";1\n2;\"C\";2\n");
    EXPECT_TRUE(Script().Asked.empty() || Script().Asked[0].Kind != "exception");
}

TEST_P(QueryFormTest, ClosingWithATransactionAsksToCommitOrRollBack) {
    QAction* start = FForm->Action("StartTransactionAction");
    QAction* commit = FForm->Action("CommitTransactionAction");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(commit->isEnabled());
    start->trigger();
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(commit->isEnabled());
    Run("INSERT INTO T (S) VALUES ('kept')");

    Script().AnswerMessage(IDCANCEL);
    FForm->close();
    ASSERT_TRUE(FForm);  // Cancel keeps the window
    EXPECT_TRUE(Db().InTransaction());
    Script().AnswerMessage(IDYES);
    FForm->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FForm);
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_EQ(Script().Asked[1].Flags, MB::YESNOCANCEL | MB::ICONQUESTION);
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ(Count(), 1);

    FForm = new TQueryForm(Alias());
    FForm->Action("StartTransactionAction")->trigger();
    Run("INSERT INTO T (S) VALUES ('dropped')");
    Script().AnswerMessage(IDNO);
    FForm->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FForm);
    EXPECT_EQ(Count(), 1);
    // The history written at closing comes back in the next window.
    TQueryForm next(Alias());
    ASSERT_EQ(next.History().Count(), 2);
    EXPECT_EQ(TQueryHistory::StatementOf(next.History().Entry(0)),
              "INSERT INTO T (S) VALUES ('dropped')");
    EXPECT_TRUE(next.Action("PrevQueryAction")->isEnabled());
}

TEST_P(QueryFormTest, EscapeStopsALongFetchAndKeepsTheRows) {
    TQueryResultModel* model = FForm->ResultModel();
    model->SetSliceRows(500);
    FForm->SetQueryType(qtSelect);
    FForm->SetQueryText(
        "WITH RECURSIVE C(X) AS (SELECT 1 UNION ALL SELECT X + 1 FROM C WHERE X < 200000) "
        "SELECT X FROM C");
    FForm->Execute();
    for (int i = 0; i < 1000 && model->rowCount() < 1000; ++i)
        QApplication::processEvents();
    QTest::keyClick(FForm->findChild<QTableView*>("ResultQueryListView"), Qt::Key_Escape);
    EXPECT_TRUE(Script().Asked.isEmpty()) << qPrintable(Script().Asked.value(0).Text);
    EXPECT_FALSE(model->Fetching());
    EXPECT_TRUE(model->Stopped());
    const int rows = model->rowCount();
    EXPECT_GE(rows, 1000);
    EXPECT_LT(rows, 200000);
    QApplication::processEvents();
    EXPECT_EQ(model->rowCount(), rows);
    EXPECT_TRUE(ResultText().startsWith(QString("Ok. %1 rows").arg(rows)))
        << qPrintable(ResultText());
}

PELVAR_ENGINE_TESTS(QueryFormTest);

}  // namespace
