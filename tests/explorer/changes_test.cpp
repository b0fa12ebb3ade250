#include <QTreeWidget>
#include <thread>

#include "explorer/listview.h"
#include "explorerfixture.h"
#include "scriptedinteraction.h"

namespace {

const QString kStructures = QStringLiteral("\\A1\\Structures");

bool Idle(TCommonListForm* w) {
    return TExplorerTest::WaitFor([w] { return w->PendingChanges() == 0; });
}

}  // namespace

TEST_F(TExplorerTest, ChangedAddedAndDeletedRowsAreTakenOnePerPass) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    World().Content[kTables][1].Remark = "renamed";  // T1
    World().Add(kTables, {"T0", false, 5, "new"});
    World().Remove(kTables, "T2");
    for (const char* name : {"T1", "T0", "T2"})
        w->DataChanged(kTables + "\\" + name);
    EXPECT_EQ(w->PendingChanges(), 3);
    EXPECT_FALSE(w->ProcessNextChange());
    EXPECT_EQ(w->PendingChanges(), 2);
    EXPECT_FALSE(w->ProcessNextChange());
    EXPECT_TRUE(w->ProcessNextChange());  // that was the last one
    EXPECT_TRUE(w->ProcessNextChange());
    EXPECT_EQ(Captions(w), (QStringList{"Sub", "T0", "T1", "T3"}));
    const TListRow& t1 = w->ListView()->Rows()[size_t(Row(w, "T1"))];
    EXPECT_EQ(t1.SubItems.value(1), "renamed");
    EXPECT_TRUE(Reported().isEmpty());

    // An added child that the folder cannot find is an error.
    World().BadAddAnswer[kTables] = QString();
    w->DataChanged(kTables + "\\Ghost");
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(Reported(), QStringList{"Added object not found. Path:" + kTables + "\\Ghost"});
}

TEST_F(TExplorerTest, NewFoldersReachTheTreeOfOpenedNodes) {
    TCommonListForm* w = Window(kStructures);
    ASSERT_TRUE(w->ExpandNode(w->FindTreeNodeByPath(kStructures)));
    World().Add(kStructures, {"Forms", true});
    World().Add(kStructures, {"Note", false});
    w->DataChanged(kStructures + "\\Forms");
    w->DataChanged(kStructures + "\\Note");
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(ChildTexts(w->FindTreeNodeByPath(kStructures)),
              (QStringList{"Forms", "Tables", "Views"}));
    EXPECT_EQ(Captions(w), (QStringList{"Forms", "Note", "Tables", "Views"}));

    // A folder that was never opened ignores changes below it.
    World().Add("\\A2\\Structures", {"Late", true});
    w->DataChanged("\\A2\\Structures\\Late");
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(World().Opens.count("\\A2\\Structures"), 0u);
    EXPECT_TRUE(Reported().isEmpty());
}

TEST_F(TExplorerTest, DeletingTheShownFolderMovesToItsParent) {
    TCommonListForm* w = Window(kTables + "\\Sub");
    World().Remove(kStructures, "Tables");
    w->DataChanged(kTables);
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(w->CurrentPath(), kStructures);
    EXPECT_EQ(w->FindTreeNodeByPath(kTables), nullptr);
    EXPECT_EQ(w->TreeView()->currentItem(), w->FindTreeNodeByPath(kStructures));
    EXPECT_EQ(Captions(w), QStringList{"Views"});
    EXPECT_TRUE(Reported().isEmpty());
}

TEST_F(TExplorerTest, RefreshAndRootChanges) {
    TCommonListForm* w = Window(kTables);
    World().Add(kTables, {"T9", false});
    w->RefreshAction->trigger();
    ASSERT_TRUE(Idle(w));
    EXPECT_TRUE(Captions(w).contains("T9"));

    w->SetCurrentPath(QString());
    World().Add(QString(), {"A3", true});
    w->DataChanged(QString());
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(ChildTexts(w->TreeView()->topLevelItem(0)), (QStringList{"A1", "A2", "A3"}));
    EXPECT_TRUE(Captions(w).contains("A3"));
    EXPECT_EQ(w->CurrentPath(), QString());
}

TEST_F(TExplorerTest, ChangesMayComeFromOtherThreads) {
    TCommonListForm* w = Window(kTables);
    TPelvarObject* folder = w->CurrentFolderObject();
    for (int i = 0; i < 40; ++i)
        World().Add(kTables, {QStringLiteral("W%1").arg(i, 2, 10, QLatin1Char('0')), false});
    std::thread worker([folder] {
        for (int i = 0; i < 40; ++i)
            folder->DataChanged(kTables + QStringLiteral("\\W%1").arg(i, 2, 10, QLatin1Char('0')));
    });
    worker.join();
    ASSERT_TRUE(WaitFor([&] { return Captions(w).size() == 44; }));
    EXPECT_EQ(Captions(w).mid(4, 2), (QStringList{"W00", "W01"}));
}
