#include <QTreeWidget>
#include <thread>

#include "explorer/listview.h"
#include "explorerfixture.h"
#include "scriptedinteraction.h"

namespace {

const QString kStructures = QStringLiteral("\\A1\\Structures");
const QString kTables = QStringLiteral("\\A1\\Structures\\Tables");

bool Idle(TCommonListForm* w) {
    return TExplorerTest::WaitFor([w] { return w->PendingChanges() == 0; });
}

}  // namespace

TEST_F(TExplorerTest, ChangedAddedAndDeletedRows) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    World().Content[kTables][1].Remark = QStringLiteral("renamed");  // T1
    World().Add(kTables, {QStringLiteral("T0"), false, 5, QStringLiteral("new")});
    World().Remove(kTables, QStringLiteral("T2"));
    w->DataChanged(kTables + QStringLiteral("\\T1"));
    w->DataChanged(kTables + QStringLiteral("\\T0"));
    w->DataChanged(kTables + QStringLiteral("\\T2"));
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(Captions(w), (QStringList{QStringLiteral("Sub"), QStringLiteral("T0"),
                                        QStringLiteral("T1"), QStringLiteral("T3")}));
    const TListRow& t1 = w->ListView()->Rows()[size_t(Row(w, QStringLiteral("T1")))];
    EXPECT_EQ(t1.SubItems.value(1), QStringLiteral("renamed"));
    EXPECT_TRUE(Reported().isEmpty());
}

TEST_F(TExplorerTest, ChangesAreTakenOnePerPass) {
    TCommonListForm* w = Window(kTables);
    for (const char* name : {"T1", "T2", "T3"})
        w->DataChanged(kTables + QLatin1Char('\\') + QLatin1String(name));
    EXPECT_EQ(w->PendingChanges(), 3);
    EXPECT_FALSE(w->ProcessNextChange());
    EXPECT_EQ(w->PendingChanges(), 2);
    EXPECT_FALSE(w->ProcessNextChange());
    EXPECT_TRUE(w->ProcessNextChange());  // that was the last one
    EXPECT_TRUE(w->ProcessNextChange());
}

TEST_F(TExplorerTest, NewFoldersReachTheTreeOfOpenedNodes) {
    TCommonListForm* w = Window(kStructures);
    ASSERT_TRUE(w->ExpandNode(w->FindTreeNodeByPath(kStructures)));
    World().Add(kStructures, {QStringLiteral("Forms"), true});
    World().Add(kStructures, {QStringLiteral("Note"), false});
    w->DataChanged(kStructures + QStringLiteral("\\Forms"));
    w->DataChanged(kStructures + QStringLiteral("\\Note"));
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(
        ChildTexts(w->FindTreeNodeByPath(kStructures)),
        (QStringList{QStringLiteral("Forms"), QStringLiteral("Tables"), QStringLiteral("Views")}));
    EXPECT_EQ(Captions(w), (QStringList{QStringLiteral("Forms"), QStringLiteral("Note"),
                                        QStringLiteral("Tables"), QStringLiteral("Views")}));

    // A folder that was never opened ignores changes below it.
    World().Add(QStringLiteral("\\A2\\Structures"), {QStringLiteral("Late"), true});
    w->DataChanged(QStringLiteral("\\A2\\Structures\\Late"));
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(World().Opens.count(QStringLiteral("\\A2\\Structures")), 0u);
    EXPECT_TRUE(Reported().isEmpty());
}

TEST_F(TExplorerTest, DeletingTheShownFolderMovesToItsParent) {
    TCommonListForm* w = Window(kTables + QStringLiteral("\\Sub"));
    World().Remove(kStructures, QStringLiteral("Tables"));
    w->DataChanged(kTables);
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(w->CurrentPath(), kStructures);
    EXPECT_EQ(w->FindTreeNodeByPath(kTables), nullptr);
    EXPECT_EQ(w->TreeView()->currentItem(), w->FindTreeNodeByPath(kStructures));
    EXPECT_EQ(Captions(w), QStringList{QStringLiteral("Views")});
    EXPECT_TRUE(Reported().isEmpty());
}

TEST_F(TExplorerTest, AnAddedChildThatIsMissingIsAnError) {
    TCommonListForm* w = Window(kTables);
    World().BadAddAnswer[kTables] = QString();
    w->DataChanged(kTables + QStringLiteral("\\Ghost"));
    ASSERT_TRUE(Idle(w));
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Kind, QStringLiteral("exception"));
    EXPECT_EQ(Script().Asked[0].Text, QStringLiteral("Added object not found. Path:") + kTables +
                                          QStringLiteral("\\Ghost"));
}

TEST_F(TExplorerTest, RefreshAndRootChanges) {
    TCommonListForm* w = Window(kTables);
    World().Add(kTables, {QStringLiteral("T9"), false});
    w->RefreshAction->trigger();
    ASSERT_TRUE(Idle(w));
    EXPECT_TRUE(Captions(w).contains(QStringLiteral("T9")));

    w->SetCurrentPath(QString());
    World().Add(QString(), {QStringLiteral("A3"), true});
    w->DataChanged(QString());
    ASSERT_TRUE(Idle(w));
    EXPECT_EQ(ChildTexts(w->TreeView()->topLevelItem(0)),
              (QStringList{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")}));
    EXPECT_TRUE(Captions(w).contains(QStringLiteral("A3")));
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
    EXPECT_EQ(Captions(w).mid(4, 2), (QStringList{QStringLiteral("W00"), QStringLiteral("W01")}));
}
