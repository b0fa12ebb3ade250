#include <gtest/gtest.h>

#include <QMenu>

#include "appcore/texts.h"
#include "model/changelist.h"
#include "model/dragobject.h"
#include "model/objectaction.h"
#include "testobjects.h"

namespace {

// A folder that adds its own choice to the right-drop menu.
class TMenuFolder : public TTestFolder {
  public:
    PELVAR_OBJECT_CREATE(TMenuFolder)
    void FillRightDropPopupMenu(QMenu* PMenu, const TPelvarObjectList& SubItems) override {
        PMenu->addAction(QStringLiteral("Move %1 here").arg(SubItems.Count()));
    }
};

class TDragTest : public testing::Test {
  protected:
    void SetUp() override {
        World().Reset();
        World().AcceptDrops.insert(QStringLiteral("\\Target"));
        FTarget.SetFullPath(QStringLiteral("\\Target"));
        FMenu = std::make_unique<QMenu>();
        SetDropPopupMenu(FMenu.get());
    }
    void TearDown() override { SetDropPopupMenu(nullptr); }

    TPelvarDragObject* Drag(bool right, bool fromFile) {
        TPelvarDragObject* drag = TPelvarDragObject::Begin();
        drag->RightFlag = right;
        drag->FromEIFile = fromFile;
        drag->FullPath =
            fromFile ? QStringLiteral("C:\\data\\export.eif") : QStringLiteral("\\A1\\Tables");
        auto item = std::make_unique<TTestFolder>();
        item->SetFullPath(QStringLiteral("\\A1\\Tables\\T1"));
        drag->Items.Add(std::move(item));
        return drag;
    }
    QStringList MenuTexts() const {
        QStringList texts;
        for (QAction* a : FMenu->actions())
            texts << a->text();
        return texts;
    }

    TMenuFolder FTarget;
    std::unique_ptr<QMenu> FMenu;
};

}  // namespace

TEST(TObjectActionTest, OptionsAndOwnership) {
    TPelvarObjectActionList list;
    TPelvarObjectAction* a = list.Add();
    EXPECT_TRUE(a->Options.Empty());
    a->Options = {aoSubObjects, aoNoSelection};
    EXPECT_TRUE(a->Options.Contains(aoSubObjects));
    EXPECT_TRUE(a->Options.Contains(aoNoSelection));
    EXPECT_FALSE(a->Options.Contains(aoSingleSelection));
    a->Options -= aoNoSelection;
    EXPECT_FALSE(a->Options.Contains(aoNoSelection));

    // A command that clears its own list still finishes safely.
    int runs = 0;
    a->SetOnExecute([&](const QStringList* subjects) {
        ++runs;
        EXPECT_EQ(subjects, nullptr);
        list.Clear();
    });
    a->Execute(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TChangeListTest, QueueOrderAndEmptyQueue) {
    TPelvarChangeList changes;
    QString path = QStringLiteral("kept");
    EXPECT_FALSE(changes.GetNextChange(path));
    EXPECT_EQ(path, QStringLiteral("kept"));
    changes.AddChange(QStringLiteral("\\A"));
    changes.AddChange(QStringLiteral("\\B"));
    changes.AddChange(QStringLiteral("\\A"));
    EXPECT_EQ(changes.Count(), 3);
    QStringList taken;
    while (changes.GetNextChange(path))
        taken << path;
    EXPECT_EQ(taken,
              (QStringList{QStringLiteral("\\A"), QStringLiteral("\\B"), QStringLiteral("\\A")}));
}

TEST_F(TDragTest, EmptyDragsAreNeitherAcceptedNorDropped) {
    TPelvarDragObject empty;
    empty.FullPath = QStringLiteral("\\A1");
    EXPECT_FALSE(FTarget.AcceptDragObject(empty));
    FTarget.DragObjectDropped(empty);
    EXPECT_TRUE(World().Log.isEmpty());
}

TEST_F(TDragTest, LeftDropsSplitThePathAndRightFlagBlocksThem) {
    TPelvarDragObject* left = Drag(false, false);
    ASSERT_TRUE(FTarget.AcceptDragObject(*left));
    FTarget.DragObjectDropped(*left);
    TPelvarDragObject* right = Drag(true, false);
    FTarget.DragObjectDropped(*right);  // a right drag drops from its menu only
    EXPECT_EQ(World().Log, QStringList{QStringLiteral("drop \\Target <- [A1|Tables] T1")});
    left->Finished(nullptr, 0, 0, true);
    right->Finished(nullptr, 0, 0, true);
}

TEST_F(TDragTest, RightDropMenuKeepsACopyAndPerformsTheDrop) {
    const int running = TPelvarDragObject::RunningCount();
    TPelvarDragObject* drag = Drag(true, false);
    EXPECT_TRUE(TPelvarDragObject::IsRunning(drag));
    drag->SetDragImages(QPixmap(8, 8));
    FTarget.DragObjectDroppedRight(*drag, 10, 10);
    drag->Finished(nullptr, 0, 0, true);  // the window's drag object is gone now
    EXPECT_EQ(TPelvarDragObject::RunningCount(), running);

    EXPECT_EQ(MenuTexts(),
              (QStringList{LString(QStringLiteral("M_pelvar_ListObjs_CopyAction")),
                           QStringLiteral("Move 1 here"), LString(QStringLiteral("ST_CANCEL"))}));
    EXPECT_EQ(PopupMenuTag(FMenu.get()), 1);
    ASSERT_NE(FTarget.RightDragObject(), nullptr);
    EXPECT_NE(FTarget.RightDragObject()->GetDragImages(), nullptr);
    FMenu->actions().last()->trigger();  // Cancel
    EXPECT_TRUE(World().Log.isEmpty());
    FMenu->actions().first()->trigger();
    EXPECT_EQ(World().Log, QStringList{QStringLiteral("drop \\Target <- [A1|Tables] T1")});
}

TEST_F(TDragTest, FileDragsAreOfferedAsImportWithTheFileAsOneEntry) {
    TPelvarDragObject* drag = Drag(true, true);
    QStringList seen;
    class TProbe : public TTestFolder {
      public:
        PELVAR_OBJECT_CREATE(TProbe)
        QStringList* Seen = nullptr;
        bool InternalAcceptDragObject(const QStringList& parsed,
                                      const TPelvarObjectList&) override {
            *Seen = parsed;
            return true;
        }
    } probe;
    probe.Seen = &seen;
    EXPECT_TRUE(probe.AcceptDragObject(*drag));
    EXPECT_EQ(seen, QStringList{QStringLiteral("C:\\data\\export.eif")});
    FTarget.DragObjectDroppedRight(*drag, 0, 0);
    EXPECT_EQ(FMenu->actions().first()->text(),
              LString(QStringLiteral("M_pelvar_ListObjs_ImportAction")));
    drag->Finished(nullptr, 0, 0, false);
}

TEST_F(TDragTest, AssignCopiesEverythingAndCursorFollowsAcceptance) {
    TPelvarDragObject* source = Drag(true, true);
    source->Origin = QPoint(3, 4);
    TPelvarDragObject copy;
    copy.SetDragImages(QPixmap(4, 4));
    copy.Assign(*source);  // the source has no picture: the copy drops its own
    EXPECT_EQ(copy.GetDragImages(), nullptr);
    EXPECT_EQ(copy.Origin, QPoint(3, 4));
    EXPECT_TRUE(copy.RightFlag);
    EXPECT_TRUE(copy.FromEIFile);
    EXPECT_EQ(copy.FullPath, source->FullPath);
    ASSERT_EQ(copy.Items.Count(), 1);
    EXPECT_NE(copy.Items.Items(0), source->Items.Items(0));
    EXPECT_EQ(copy.GetDragCursor(true, 0, 0), Qt::ArrowCursor);
    EXPECT_EQ(copy.GetDragCursor(false, 0, 0), Qt::ForbiddenCursor);
    source->Finished(nullptr, 0, 0, false);
    EXPECT_FALSE(TPelvarDragObject::IsRunning(source));
}
