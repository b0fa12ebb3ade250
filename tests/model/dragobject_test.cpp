#include <gtest/gtest.h>

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
    void FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                const TPelvarObjectList& SubItems) override {
        Items.Add()->Caption = QStringLiteral("Move %1 here").arg(SubItems.Count());
    }
};

// A drop menu that keeps what it was asked to show.
struct TRecordingDropMenu : TPelvarDropMenu {
    void ShowDropChoices(const TPelvarObject& Owner,
                         const std::shared_ptr<TPelvarObjectActionList>& Items, int XX,
                         int YY) override {
        this->Owner = &Owner;
        Shown = Items;
        At = QPoint(XX, YY);
    }
    void WithdrawDropChoices(const TPelvarObject& Owner) override {
        if (this->Owner == &Owner) Withdrawn = true;
    }
    QStringList Texts() const {
        QStringList texts;
        if (auto items = Shown.lock())
            for (int i = 0; i < items->Count(); ++i)
                texts << items->Items(i)->Caption;
        return texts;
    }
    const TPelvarObject* Owner = nullptr;
    std::weak_ptr<TPelvarObjectActionList> Shown;
    QPoint At;
    bool Withdrawn = false;
};

const QString kDropped = QStringLiteral("drop \\Target <- [A1|Tables] T1");

class TDragTest : public testing::Test {
  protected:
    void SetUp() override {
        World().Reset();
        World().AcceptDrops.insert("\\Target");
        FTarget.SetFullPath("\\Target");
        SetDropPopupMenu(&FMenu);
    }
    void TearDown() override { SetDropPopupMenu(nullptr); }

    TPelvarDragObject* Drag(bool right, bool fromFile) {
        TPelvarDragObject* drag = TPelvarDragObject::Begin();
        drag->RightFlag = right;
        drag->FromEIFile = fromFile;
        drag->FullPath = fromFile ? "C:\\data\\export.eif" : "\\A1\\Tables";
        auto item = std::make_unique<TTestFolder>();
        item->SetFullPath("\\A1\\Tables\\T1");
        drag->Items.Add(std::move(item));
        return drag;
    }
    TRecordingDropMenu FMenu;
    TMenuFolder FTarget;
};

}  // namespace

TEST(TObjectActionTest, ACommandThatClearsItsOwnListFinishesSafely) {
    TPelvarObjectActionList list;
    int runs = 0;
    list.Add()->SetOnExecute([&](const QStringList* subjects) {
        ++runs;
        EXPECT_EQ(subjects, nullptr);
        list.Clear();
    });
    list.Items(0)->Execute(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TChangeListTest, QueueOrderAndEmptyQueue) {
    TPelvarChangeList changes;
    QString path = "kept";
    EXPECT_FALSE(changes.GetNextChange(path));
    EXPECT_EQ(path, "kept");
    for (const char* p : {"\\A", "\\B", "\\A"})
        changes.AddChange(p);
    EXPECT_EQ(changes.Count(), 3);
    QStringList taken;
    while (changes.GetNextChange(path))
        taken << path;
    EXPECT_EQ(taken, (QStringList{"\\A", "\\B", "\\A"}));
}

TEST_F(TDragTest, LeftDropsSplitThePathAndEmptyOrRightDragsDoNotDrop) {
    TPelvarDragObject empty;
    empty.FullPath = "\\A1";
    EXPECT_FALSE(FTarget.AcceptDragObject(empty));
    FTarget.DragObjectDropped(empty);
    TPelvarDragObject* left = Drag(false, false);
    ASSERT_TRUE(FTarget.AcceptDragObject(*left));
    EXPECT_EQ(World().AcceptedPath, (QStringList{"A1", "Tables"}));
    FTarget.DragObjectDropped(*left);
    TPelvarDragObject* right = Drag(true, false);
    FTarget.DragObjectDropped(*right);  // a right drag drops from its menu only
    EXPECT_EQ(World().Log, QStringList{kDropped});
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

    EXPECT_EQ(FMenu.Texts(), (QStringList{LString("M_pelvar_ListObjs_CopyAction"), "Move 1 here",
                                          LString("ST_CANCEL")}));
    EXPECT_EQ(FMenu.Owner, &FTarget);
    EXPECT_EQ(FMenu.At, QPoint(10, 10));
    ASSERT_NE(FTarget.RightDragObject(), nullptr);
    EXPECT_NE(FTarget.RightDragObject()->GetDragImages(), nullptr);
    const TPelvarObjectActionList& items = *FTarget.RightDropActions();
    EXPECT_EQ(items.Items(0)->Hint, items.Items(0)->Caption);
    items.Items(2)->Execute(nullptr);  // Cancel
    EXPECT_TRUE(World().Log.isEmpty());
    items.Items(0)->Execute(nullptr);
    EXPECT_EQ(World().Log, QStringList{kDropped});
}

TEST_F(TDragTest, ADyingTargetTakesItsDropChoicesAway) {
    TPelvarDragObject* drag = Drag(true, false);
    {
        TMenuFolder target;
        target.SetFullPath("\\Target");
        target.DragObjectDroppedRight(*drag, 0, 0);
        target.DragObjectDroppedRight(*drag, 0, 0);  // a second drop replaces the choices
        EXPECT_FALSE(FMenu.Withdrawn);
        EXPECT_EQ(FMenu.Texts().size(), 3);
    }
    EXPECT_TRUE(FMenu.Withdrawn);
    EXPECT_TRUE(FMenu.Shown.expired());  // nothing left that points at the dead target
    drag->Finished(nullptr, 0, 0, true);
}

TEST_F(TDragTest, FileDragsAreOfferedAsImportWithTheFileAsOneEntry) {
    TPelvarDragObject* drag = Drag(true, true);
    EXPECT_TRUE(FTarget.AcceptDragObject(*drag));
    EXPECT_EQ(World().AcceptedPath, QStringList{"C:\\data\\export.eif"});
    FTarget.DragObjectDroppedRight(*drag, 0, 0);
    EXPECT_EQ(FMenu.Texts().first(), LString("M_pelvar_ListObjs_ImportAction"));
    drag->Finished(nullptr, 0, 0, false);
}

TEST_F(TDragTest, AssignCopiesEverythingAndCursorFollowsAcceptance) {
    TPelvarDragObject* source = Drag(true, true);
    source->Origin = QPoint(3, 4);
    TPelvarDragObject copy;
    copy.SetDragImages(QPixmap(4, 4));
    copy.Assign(*source);  // the source has no picture: the copy drops its own
    EXPECT_EQ(copy.GetDragImages(), nullptr);
    EXPECT_EQ(copy.Origin, QPoint(3, 4));  // the other fields show in the right-drop tests
    ASSERT_EQ(copy.Items.Count(), 1);
    EXPECT_NE(copy.Items.Items(0), source->Items.Items(0));
    EXPECT_EQ(copy.GetDragCursor(true, 0, 0), Qt::ArrowCursor);
    EXPECT_EQ(copy.GetDragCursor(false, 0, 0), Qt::ForbiddenCursor);
    EXPECT_EQ(copy.Items.Items(0)->ClassName(), "TTestFolder");
    source->Finished(nullptr, 0, 0, false);
    EXPECT_FALSE(TPelvarDragObject::IsRunning(source));
}
