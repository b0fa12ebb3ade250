#include <QDrag>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>

#include "explorer/listview.h"
#include "explorer/popupmenuwokey.h"
#include "explorerfixture.h"
#include "model/dragobject.h"

namespace {

const QString kTarget = QStringLiteral("\\A2\\Structures\\Tables");

// Delivers a drag to a widget as the windowing system would: enter, move, drop.
Qt::DropAction DropOn(QWidget* target, const QPoint& pos, QDrag& drag) {
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, actions, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    if (!move.isAccepted()) return Qt::IgnoreAction;
    QDropEvent drop(QPointF(pos), actions, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

QPoint RowCentre(TCommonListForm* w, int row) {
    return w->ListView()->CurrentView()->visualRect(w->ListView()->Model().index(row, 0)).center();
}

QWidget* ListViewport(TCommonListForm* w) {
    return w->ListView()->CurrentView()->viewport();
}

class TDragDropTest : public TExplorerTest {
  protected:
    void SetUp() override {
        TExplorerTest::SetUp();
        World().AcceptDrops.insert(kTarget);
        FSource = Window(kTables);
        FTarget = Window("\\A2\\Structures");
        Select(FSource, {"T1", "T3"});
        // Mouse drags end on the target's first row.
        TCommonListForm::SetDragRunner([this](QDrag& drag) {
            ++FDrags;
            return DropOn(ListViewport(FTarget), RowCentre(FTarget, 0), drag);
        });
    }
    // Drags the selection from the source list with the mouse.
    void MouseDrag(Qt::MouseButton button, const QPoint& by) {
        const QPoint from = RowCentre(FSource, Row(FSource, "T1"));
        QTest::mousePress(ListViewport(FSource), button, {}, from);
        QTest::mouseMove(ListViewport(FSource), from + by);
        QTest::mouseRelease(ListViewport(FSource), button, {}, from + by);
    }
    TCommonListForm* FSource = nullptr;
    TCommonListForm* FTarget = nullptr;
    int FDrags = 0;
};

}  // namespace

TEST_F(TDragDropTest, LeftDragOntoARowOfAnotherWindow) {
    MouseDrag(Qt::LeftButton, QPoint(2, 1));  // not far enough to start
    EXPECT_EQ(FDrags, 0);
    Select(FSource, {"T1", "T3"});
    MouseDrag(Qt::LeftButton, QPoint(30, 0));
    EXPECT_EQ(FDrags, 1);
    EXPECT_EQ(World().Log, QStringList{QStringLiteral(
                               "drop \\A2\\Structures\\Tables <- [A1|Structures|Tables] T1,T3")});
    EXPECT_EQ(TPelvarDragObject::RunningCount(), 0);  // the drag ended itself
}

TEST_F(TDragDropTest, RightDragNeedsFiftyPixelsAndDropsThroughTheMenu) {
    MouseDrag(Qt::RightButton, QPoint(30, 0));
    EXPECT_EQ(FDrags, 0);
    // The release without a drag opened the list's menu instead.
    EXPECT_TRUE(FSource->ListViewPopupMenu()->isVisible());
    FSource->ListViewPopupMenu()->hide();

    Select(FSource, {"T1"});
    MouseDrag(Qt::RightButton, QPoint(55, 0));
    EXPECT_EQ(FDrags, 1);
    EXPECT_TRUE(World().Log.isEmpty());  // nothing happens before the choice
    TPopupMenuWOKey* menu = FTarget->ListViewPopupMenu();
    EXPECT_EQ(menu->Tag(), 1);
    ASSERT_GE(menu->actions().size(), 2);
    menu->actions().first()->trigger();
    EXPECT_EQ(World().Log,
              QStringList{"drop \\A2\\Structures\\Tables <- [A1|Structures|Tables] T1"});
    menu->hide();
}

TEST_F(TDragDropTest, TreeDropsAreLeftButtonOnly) {
    ASSERT_TRUE(FTarget->ExpandNode(FTarget->FindTreeNodeByPath("\\A2\\Structures")));
    QTreeWidgetItem* node = FTarget->FindTreeNodeByPath(kTarget);
    ASSERT_NE(node, nullptr);
    const QPoint at = FTarget->TreeView()->visualItemRect(node).center();
    for (bool right : {true, false}) {
        TPelvarDragObject* drag = FSource->ListViewStartDrag(right, QPoint());
        ASSERT_TRUE(FTarget->TreeDragOver(*drag, at));
        FTarget->TreeDragDrop(*drag, at);
        drag->Finished(nullptr, 0, 0, true);
    }
    EXPECT_EQ(World().Log, QStringList{QStringLiteral(
                               "drop \\A2\\Structures\\Tables <- [A1|Structures|Tables] T1,T3")});
}

TEST_F(TDragDropTest, DropsWithinTheSameListMoveIconsOnly) {
    const QPoint empty = ListViewport(FSource)->rect().bottomRight() - QPoint(20, 20);
    FSource->SetListViewStyle(3);
    TPelvarDragObject* drag = FSource->ListViewStartDrag(false, QPoint(5, 5));
    EXPECT_FALSE(FSource->ListDragOver(*drag, empty));
    drag->Finished(nullptr, 0, 0, false);

    FSource->SetListViewStyle(0);
    QTest::qWait(20);
    const QModelIndex t1 = FSource->ListView()->Model().index(Row(FSource, "T1"), 0);
    const QPoint before = FSource->ListView()->IconView()->ItemPosition(t1);
    Select(FSource, {"T1"});
    drag = FSource->ListViewStartDrag(false, QPoint(5, 5));
    ASSERT_TRUE(FSource->ListDragOver(*drag, empty));
    FSource->ListDragDrop(*drag, empty);
    drag->Finished(nullptr, 0, 0, true);
    EXPECT_EQ(FSource->ListView()->IconView()->ItemPosition(t1), before + empty - QPoint(5, 5));
    EXPECT_TRUE(World().Log.isEmpty());
}

TEST_F(TDragDropTest, FolderTakesDropsOnEmptySpace) {
    TCommonListForm* tables = Window(kTarget);
    TPelvarDragObject* drag = FSource->ListViewStartDrag(false, QPoint());
    const QPoint empty = ListViewport(tables)->rect().bottomRight() - QPoint(5, 5);
    ASSERT_TRUE(tables->ListDragOver(*drag, empty));
    tables->ListDragDrop(*drag, empty);
    drag->Finished(nullptr, 0, 0, true);
    EXPECT_EQ(World().Log.size(), 1);
    // A folder that takes nothing refuses.
    EXPECT_EQ(FTarget->ListViewStartDrag(false, QPoint()), nullptr);  // nothing selected
    Select(FTarget, {"Tables"});
    drag = FTarget->ListViewStartDrag(false, QPoint());
    EXPECT_FALSE(FSource->ListDragOver(*drag, ListViewport(FSource)->rect().bottomRight()));
    drag->Finished(nullptr, 0, 0, false);
}

TEST_F(TDragDropTest, FileWindowsDragWithTheFileName) {
    TCommonListForm* file = Window(QString(), "/tmp/some data.eif");
    Select(file, {"Section2"});
    TPelvarDragObject* drag = file->ListViewStartDrag(false, QPoint(1, 2));
    ASSERT_NE(drag, nullptr);
    EXPECT_TRUE(drag->FromEIFile);
    EXPECT_EQ(drag->FullPath, "/tmp/some data.eif");
    EXPECT_EQ(drag->Origin, QPoint(1, 2));
    ASSERT_EQ(drag->Items.Count(), 1);
    EXPECT_NE(dynamic_cast<TTestFileItem*>(drag->Items.Items(0)), nullptr);
    EXPECT_EQ(drag->Items.Items(0)->SubPath(), "Section2");
    drag->Finished(nullptr, 0, 0, false);
}
