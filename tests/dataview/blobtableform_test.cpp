#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <map>
#include <set>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "basekit/datatypes.h"
#include "dataview/tabledataform.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "gridkit/blobtable.h"
#include "gridkit/blobtableform.h"
#include "gridkit/blobtablemodel.h"
#include "gridkit/datagrid.h"
#include "gridkit/recorddataform.h"
#include "gridkit/tablemodel.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

constexpr int kItems = 1, kTree = 2;

class BlobTableFormTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        Script().Reset();
        const char* blob = FDb->IsPostgres() ? "BYTEA" : "BLOB";
        Exec(QStringLiteral("CREATE TABLE orders (id INTEGER PRIMARY KEY, items %1, tree %1)")
                 .arg(blob));
        Exec("INSERT INTO orders (id) VALUES (1)");
        Exec("INSERT INTO orders (id, items) VALUES (2, :B)", QByteArray("old bytes"));
        CreateMissingSystemTables(Alias());
        TDicTableDescription items;
        items.AddField("POS", dtAutoInc, 0);
        items.AddField("WHAT", dtString, 20).Required = true;
        items.AddField("QTY", dtInteger, 0);
        items.AddIndex("PK", {"POS"}, true, true);
        GetDSPTable(Alias()).PutStructure("ORDERS.ITEMS", otTable,
                                          MakeTableStructure("ORDERS.ITEMS", items).ToBytes());
        FItems = items;
    }
    void TearDown() override {
        delete FForm.data();
        TEngineTest::TearDown();
    }
    void Exec(const QString& sql, const QByteArray& bytes = QByteArray()) {
        TExecQuery q(Db(), sql);
        if (sql.contains(":B")) q.ParamByName("B").SetValue(TQXVariant(bytes));
        q.Execute();
    }
    QByteArray Bytes(int id, const char* field = "items") {
        TSelectQuery q(Db(),
                       QStringLiteral("SELECT %1 FROM orders WHERE id = %2").arg(field).arg(id));
        q.Open();
        return q.Eof() ? QByteArray("<no row>") : q.Fields().GetFields(0).AsBinary();
    }
    TTableDataForm& Open(bool readOnly = false) {
        FForm = new TTableDataForm;
        EXPECT_TRUE(FForm->Open("orders", Alias(), readOnly));
        FForm->show();
        return *FForm;
    }
    // The record editor's answer: fills it and presses OK.
    static void Editor(std::function<void(TRecordDataForm&)> fill) {
        Script().AnswerModal([=](QObject* form) {
            auto* e = qobject_cast<TRecordDataForm*>(form);
            fill(*e);
            e->TryAccept();
            return e->result() == QDialog::Accepted ? IDOK : IDCANCEL;
        });
    }
    // The BLOB table editor's answer: `work` runs in it, then OK is pressed.
    static void BlobEditor(std::function<void(TBLOBTableDataForm&)> work) {
        Script().AnswerModal([=](QObject* form) {
            auto* f = qobject_cast<TBLOBTableDataForm*>(form);
            work(*f);
            f->TryAccept();
            return f->result() == QDialog::Accepted ? IDOK : IDCANCEL;
        });
    }
    QList<QString> Whats(int id) {
        TBlobTable t(FItems);
        t.Load(Bytes(id));
        QList<QString> out;
        for (int i = 0; i < t.RowCount(); ++i)
            out << t.Row(i).Values[0].AsString() + ":" + t.Row(i).Values[1].AsString();
        return out;
    }
    TDicTableDescription FItems;
    QPointer<TTableDataForm> FForm;
};

TEST_P(BlobTableFormTest, ABLOBTableIsCreatedEditedAndReadBack) {
    TTableDataForm& f = Open();
    QStringList captions;
    for (QAction* a : f.PopupMenu()->actions())
        captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions.join("|"),
              "BLOB table|Create BLOB table|-|DSP tree|Create DSP tree|Save BLOB to file...|"
              "Load BLOB from file...|Edit long text...");
    auto* create = f.findChild<QAction*>("CreateBLOBTableMenuItem");
    f.Grid()->SetCurrent(0, kTree);  // no structure describes this field
    f.UpdateFieldActions(true);
    EXPECT_FALSE(create->isEnabled());
    f.Grid()->SetCurrent(0, kItems);
    f.UpdateFieldActions(true);
    EXPECT_TRUE(create->isEnabled());

    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    Script().AnswerMessage(IDOK);
    QTest::keyClick(f.Grid()->View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Script().Asked.last().Text, "The BLOB table was created.");
    EXPECT_TRUE(Whats(1).isEmpty());

    BlobEditor([](TBLOBTableDataForm& b) {
        EXPECT_EQ(b.windowTitle(), "ORDERS.ITEMS");
        Editor([](TRecordDataForm& e) { e.SetCellText("WHAT", "bolts"); });
        QTest::keyClick(b.Grid()->View(), Qt::Key_Insert);
        Editor([](TRecordDataForm& e) {
            e.SetCellText("WHAT", "nuts");
            e.SetCellText("QTY", "12");
        });
        b.InsertRecord();
        Editor([](TRecordDataForm& e) { e.SetCellText("WHAT", "washers"); });
        b.InsertRecord();
        // A row the table refuses: the message, the rows as they were.
        Editor([](TRecordDataForm& e) {
            e.SetCellText("POS", "1");
            e.SetCellText("WHAT", "x");
        });
        b.InsertRecord();
        EXPECT_TRUE(Script().Unexpected.last().Text.contains("'PK'"));
        ASSERT_EQ(b.Model()->rowCount(), 3);
        EXPECT_EQ(b.Grid()->CurrentRow(), 2);
        EXPECT_EQ(b.findChild<QLabel*>("CountLabel")->text(), "Rows: 3");
        b.Grid()->SetCurrent(1, 1);
        Editor([](TRecordDataForm& e) { e.SetCellText("WHAT", "big nuts"); });
        QTest::keyClick(b.Grid()->View(), Qt::Key_Return);
        Script().AnswerMessage(IDYES);
        b.Grid()->SetCurrent(0, 1);
        b.DeleteRecord();
        if (qEnvironmentVariableIsSet("PELVAR_SCREENSHOT")) {
            b.show();
            QApplication::processEvents();
            b.grab().save(qEnvironmentVariable("PELVAR_SCREENSHOT"));
        }
    });
    QTest::keyClick(f.Grid()->View(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(Whats(1), QList<QString>({"2:big nuts", "3:washers"}));
    EXPECT_TRUE(Script().AllAnswersUsed());

    // Over data already in the field: asked first, No keeps it; bytes that
    // hold no table are refused with one message.
    f.Grid()->SetCurrent(1, kItems);
    Script().Reset();
    Script().AnswerMessage(IDNO);
    f.CreateBLOBTable();
    EXPECT_EQ(Bytes(2), "old bytes");
    f.OpenBLOBTable();
    ASSERT_EQ(Script().Unexpected.size(), 1);
    EXPECT_TRUE(Script().Unexpected[0].Text.contains("does not hold a table"));

    // The record was deleted by someone else before the table is written:
    // the error is shown and the editor stays open; Cancel writes nothing.
    f.Grid()->SetCurrent(0, kItems);
    Script().Reset();
    Script().AnswerModal([this](QObject* form) {
        auto* b = qobject_cast<TBLOBTableDataForm*>(form);
        Script().AnswerMessage(IDYES);
        b->DeleteRecord();
        Exec("DELETE FROM orders WHERE id = 1");
        b->TryAccept();
        EXPECT_NE(b->result(), QDialog::Accepted);
        return IDCANCEL;
    });
    f.OpenBLOBTable();
    ASSERT_EQ(Script().Unexpected.size(), 1);
    EXPECT_EQ(Script().Unexpected[0].Text, "Could not find record");
    EXPECT_EQ(CountRows("orders"), 1);
}

TEST_P(BlobTableFormTest, ReadOnlyWindowsShowTheTableButRefuseEveryEdit) {
    TBlobTable t(FItems);
    TRecord r = t.EmptyRecord();
    r.FieldByName("WHAT").SetValue(TQXVariant("kept"));
    t.Insert(r);
    Exec("UPDATE orders SET items = :B WHERE id = 1", t.Save());
    TTableDataForm& f = Open(true);
    f.Grid()->SetCurrent(0, kItems);
    f.UpdateFieldActions(true);
    EXPECT_TRUE(f.findChild<QAction*>("BLOBTableMenuItem")->isEnabled());
    EXPECT_FALSE(f.findChild<QAction*>("CreateBLOBTableMenuItem")->isEnabled());
    EXPECT_FALSE(f.findChild<QAction*>("CreateDSPTreeMenuItem")->isEnabled());
    f.CreateBLOBTable();
    f.CreateDSPTree();
    BlobEditor([](TBLOBTableDataForm& b) {
        EXPECT_TRUE(b.ReadOnly());
        EXPECT_FALSE(b.findChild<QAction*>("InsertButton")->isEnabled());
        for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Return})
            QTest::keyClick(b.Grid()->View(), key);
        b.InsertRecord();
        b.DeleteRecord();
        b.EditRecord();
        EXPECT_EQ(b.Model()->rowCount(), 1);
    });
    f.OpenBLOBTable();
    EXPECT_EQ(Script().Asked.size(), 1);  // the BLOB table editor only
    EXPECT_EQ(Whats(1), QList<QString>({"1:kept"}));
    EXPECT_TRUE(Bytes(1, "tree").isEmpty());
}

TEST_P(BlobTableFormTest, TheDSPTreeOfAFieldIsCreatedAndEdited) {
    TTableDataForm& f = Open();
    f.Grid()->SetCurrent(0, kTree);
    f.CreateDSPTree();
    EXPECT_NO_THROW(TDSPNode::FromBytes(Bytes(1, "tree")));
    Script().AnswerModal([](QObject* form) {
        auto* d = qobject_cast<TDSPTreeViewDialog*>(form);
        EXPECT_TRUE(d->findChild<QLabel*>("HeaderLabel")->text().contains("orders - TREE"));
        TDSPTreeModel& m = d->TreeView()->Model();
        m.Rename(m.index(0, 0), "EDITED");
        return IDOK;
    });
    f.EditDSPTree();
    EXPECT_EQ(TDSPNode::FromBytes(Bytes(1, "tree")).Name(), "EDITED");
    // Replacing a tree asks first.
    Script().AnswerMessage(IDNO);
    f.CreateDSPTree();
    EXPECT_EQ(TDSPNode::FromBytes(Bytes(1, "tree")).Name(), "EDITED");
    EXPECT_TRUE(Script().AllAnswersUsed());
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

TEST_P(BlobTableFormTest, PagingThroughTheGridShowsEveryRowOnce) {
    Exec(FDb->IsPostgres()
             ? "INSERT INTO orders (id) SELECT g FROM generate_series(3, 300) g"
             : "WITH RECURSIVE g(n) AS (SELECT 3 UNION ALL SELECT n + 1 FROM g WHERE n < 300) "
               "INSERT INTO orders (id) SELECT n FROM g");
    TTableDataForm& f = Open();
    f.resize(500, 300);
    QApplication::processEvents();
    f.Model()->FetchCount();
    TDataGrid& grid = *f.Grid();
    // Model row -> the ID shown there: a row shown twice (the last screen is a
    // full one) shows the same record.
    std::map<int, int> shown;
    QAbstractItemModel* window = grid.View()->model();
    for (int guard = 0; guard < 400; ++guard) {
        for (int r = 0; r < window->rowCount(); ++r) {
            const int id = window->data(window->index(r, 0)).toInt();
            const auto [at, added] = shown.emplace(grid.FirstRow() + r, id);
            EXPECT_EQ(at->second, id) << "row " << at->first;
        }
        const int next = grid.FirstRow() + window->rowCount();
        if (next >= f.Model()->rowCount()) break;
        grid.ScrollToRow(next);
    }
    std::set<int> ids;
    for (const auto& [row, id] : shown)
        ids.insert(id);
    EXPECT_EQ(shown.size(), 300u);
    EXPECT_EQ(ids.size(), 300u);
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 300);
}

PELVAR_ENGINE_TESTS(BlobTableFormTest);

}  // namespace
