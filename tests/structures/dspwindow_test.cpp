#include <gtest/gtest.h>

#include <QApplication>
#include <thread>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "explorer/actionpresenter.h"
#include "explorer/daction.h"
#include "explorer/listview.h"
#include "scriptedinteraction.h"
#include "structurefixture.h"
#include "structures/dspconfirmations.h"

namespace {

class DSPWindowTest : public StructuresTest {
  protected:
    const TListRow& RowOf(TCommonListForm* w, const QString& caption) {
        return w->ListView()->Rows()[size_t(Captions(w).indexOf(caption))];
    }
    QAction* Action(TCommonListForm* w, const QString& name) {
        for (TDAction* a : w->CustomActionList())
            if (a->Link->Name == name) return a;
        return nullptr;
    }
    // The folder actions that the selected rows allow (the window also
    // allows single-item actions for its current tree node).
    QStringList Enabled(TCommonListForm* w) {
        w->UpdateActions();
        QStringList on;
        for (const char* name : {"DSP_EditDSPTree", "DSP_Delete", "DSP_Export", "DSP_Add"})
            if (QAction* a = Action(w, name);
                a && a->isEnabled() &&
                TActionPresenter::AllowedForRows(*static_cast<TDAction*>(a)->Link,
                                                 w->ListView()->SelCount()))
                on << name;
        return on;
    }
    static int Designers() {
        int open = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            open += widget->inherits("TDSPTreeViewDialog") && widget->isVisible() ? 1 : 0;
        return open;
    }
};

TEST_P(DSPWindowTest, AnOpenWindowFollowsWritesOfOtherStoresAndThreads) {
    Put("BASE", 12, QString(), "the base");
    Put("MID", 12, "BASE");
    Put("LEAF", 12, "MID");
    Put("ORDERS", 10);
    TCommonListForm* w = Window("Structures\\All");
    w->SetListViewStyle(3);
    EXPECT_EQ(w->ListView()->ShownColumns().Count(), 5);
    QStringList captions = Captions(w);
    captions.sort();
    EXPECT_EQ(captions, QStringList({"BASE", "LEAF", "MID", "ORDERS"}));
    EXPECT_EQ(RowOf(w, "LEAF").Indent, 2);
    EXPECT_EQ(RowOf(w, "BASE").SubItems.value(1), "the base");
    EXPECT_EQ(RowOf(w, "ORDERS").SubItems.value(3), "10");

    // Another store object of the same database writes; the window learns at idle time.
    TDSPTable other(Alias());
    other.PutStructure("CLIENTS", 10, {});
    other.ChangeStructureProperties("BASE", 12, QString(), QString(), "new remark");
    other.PutStructure("ORDERS_NEW", 10, other.GetStructure("ORDERS", 10));
    other.DeleteStructure("ORDERS", 10);
    ASSERT_TRUE(WaitFor([&] { return w->PendingChanges() == 0; }));
    captions = Captions(w);
    captions.sort();
    EXPECT_EQ(captions, QStringList({"BASE", "CLIENTS", "LEAF", "MID", "ORDERS_NEW"}));
    EXPECT_EQ(RowOf(w, "BASE").SubItems.value(1), "new remark");

    // A writer on another connection tells the store's subscribers from its
    // own thread: the row still arrives on the window's thread.
    BaseMng()
        .GetExecQuery(
            "INSERT INTO QXMAIL_DSP (OBJECT_TYPE, OBJECT_NAME, TABLE_NAME, "
            "PARENT_OBJECT, REMARK) VALUES (99, 'FROM_WORKER', '', '', 'w')",
            Alias())
        ->Execute();
    const QString alias = Alias();
    std::thread worker([alias] {
        auto& hub = TDSPNotifier::THub::Instance();
        hub.NextVersion(alias);
        hub.Notify(alias, dckAdded, QStringLiteral("FROM_WORKER"), 99);
    });
    worker.join();
    ASSERT_TRUE(WaitFor([&] { return Captions(w).contains("FROM_WORKER"); }));
    EXPECT_EQ(RowOf(w, "FROM_WORKER").SubItems.value(3), "99");
    EXPECT_TRUE(Script().Asked.isEmpty());
}

TEST_P(DSPWindowTest, ActionsFollowTheSelectionAndDeleteAsksAndPassesTheChoices) {
    Put("P1", 14);
    Put("P2", 14);
    Put("FORM", 12);
    Put("CLIENTS", 10);
    BaseMng().Databases().GetDatabase(Alias()).ExecDirect("CREATE TABLE CLIENTS (ID INTEGER)");
    TCommonListForm* w = Window("Structures\\All");
    Select(w, {});
    EXPECT_EQ(Enabled(w), QStringList({"DSP_Add"}));
    Select(w, {"P1"});
    EXPECT_EQ(Enabled(w), QStringList({"DSP_EditDSPTree", "DSP_Delete", "DSP_Export", "DSP_Add"}));
    Action(w, "DSP_EditDSPTree")->trigger();
    EXPECT_EQ(Designers(), 1);
    Select(w, {"P1", "P2"});
    EXPECT_EQ(Enabled(w), QStringList({"DSP_Delete", "DSP_Export", "DSP_Add"}));
    Action(w, "DSP_EditDSPTree")->trigger();  // refused for two rows
    EXPECT_EQ(Designers(), 1);

    // Plain structures: the counted Yes/No question; No leaves them.
    Script().AnswerMessage(IDNO);
    Action(w, "DSP_Delete")->trigger();
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, "Delete 2 structures?");
    EXPECT_TRUE(FRan.isEmpty());
    Script().AnswerMessage(IDYES);
    Action(w, "DSP_Delete")->trigger();
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_EQ(FRan[0], "DeleteObjects 14:P1,14:P2 db=0 res=0 (Deleting structures)");
    ASSERT_TRUE(
        WaitFor([&] { return !Captions(w).contains("P1") && !Captions(w).contains("P2"); }));

    // A form and a table with its table: the delete confirmation, whose
    // choices the operation gets.
    Script().Reset();
    FRan.clear();
    int asked = 0;
    SetDeleteConfirmationPrompt([&](TDeleteTableConfirmation& state) {
        ++asked;
        EXPECT_TRUE(state.DeleteTableDataCheckbox.Enabled);
        EXPECT_TRUE(state.DeleteLocalResourceCheckBox.Enabled);
        state.DeleteTableDataCheckbox.Checked = false;  // keep the table
        state.DeleteLocalResourceCheckBox.Checked = true;
        return true;
    });
    Select(w, {"CLIENTS", "FORM"});
    Action(w, "DSP_Delete")->trigger();
    SetDeleteConfirmationPrompt(nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Script().Asked.isEmpty());
    EXPECT_EQ(FRan,
              QStringList{"DeleteObjects 10:CLIENTS,12:FORM db=0 res=1 (Deleting structures)"});
    ASSERT_TRUE(WaitFor([&] { return Captions(w).isEmpty(); }));
}

PELVAR_ENGINE_TESTS(DSPWindowTest);

}  // namespace
