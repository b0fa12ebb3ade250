#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QToolBar>

#include "../model/testobjects.h"
#include "explorer/actionpresenter.h"
#include "explorer/daction.h"
#include "explorer/popupmenuwokey.h"
#include "model/dragobject.h"

namespace {

TPelvarObjectAction* AddAction(TPelvarObjectActionList& list, const QString& caption,
                               const QString& category, TPelvarObjectActionOptions options = {}) {
    TPelvarObjectAction* action = list.Add();
    action->Caption = action->Name = caption;
    action->Category = category;
    action->Options = options;
    return action;
}

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* a : actions)
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

}  // namespace

TEST(TActionPresenterTest, MenuItemsFollowTheActionsAndRunThroughTheGuard) {
    TPelvarObjectActionList list;
    AddAction(list, "Open", "A")->Default = true;
    TPelvarObjectAction* checked = AddAction(list, "Mark", "A");
    checked->Checked = true;
    checked->Hint = "Marks it";
    AddAction(list, "Secret", "A")->Visible = false;
    AddAction(list, "Skipped", "B")->Options = {aoToolBar};
    TPelvarObjectAction* later = AddAction(list, "Delete", "C");
    later->SetOnUpdate([](TPelvarObjectAction& a, const QStringList*) {
        a.Caption = "Delete now";
        a.Enabled = false;
    });
    later->Default = true;  // only the first default counts
    QStringList ran;
    for (int i = 0; i < list.Count(); ++i) {
        const QString name = list.Items(i)->Name;
        list.Items(i)->SetOnExecute([&ran, name](const QStringList*) { ran << name; });
    }

    QMenu menu;
    int guarded = 0;
    QAction* defaultItem = TActionPresenter::AddMenuItems(
        &menu, list, [](const TPelvarObjectAction& a) { return !a.Options.Contains(aoToolBar); },
        [&](const std::function<void()>& command) {
            ++guarded;
            command();
        },
        [](TPelvarObjectAction* a) { return [a] { a->Execute(nullptr); }; });
    EXPECT_EQ(Texts(menu.actions()), (QStringList{"Open", "Mark", "Secret", "-", "Delete now"}));
    ASSERT_NE(defaultItem, nullptr);
    EXPECT_EQ(defaultItem->text(), "Open");
    QAction* mark = menu.actions()[1];
    EXPECT_TRUE(mark->isChecked());
    EXPECT_EQ(mark->toolTip(), "Marks it");
    EXPECT_EQ(menu.actions()[0]->toolTip(), "Open");  // no hint: the caption
    EXPECT_FALSE(menu.actions()[2]->isVisible());
    EXPECT_FALSE(menu.actions()[4]->isEnabled());
    mark->trigger();
    EXPECT_EQ(ran, QStringList{"Mark"});
    EXPECT_EQ(guarded, 1);
}

TEST(TActionPresenterTest, WindowActionsGoToToolsMenuAndToolbarsByCategory) {
    QMainWindow window;
    QMenu* tools = new QMenu("Tools", &window);
    TActionPresenter presenter(&window, tools, nullptr);
    TPelvarObjectActionList list;
    AddAction(list, "Item only", "Edit", {aoListItem, aoPopupMenu});
    AddAction(list, "New", "Edit", {aoSubObjects, aoToolBar, aoMainMenu});
    AddAction(list, "Delete", "Edit", {aoSubObjects, aoToolBar, aoMainMenu});
    AddAction(list, "Export", "Transfer", {aoSubObjects, aoToolBar, aoMainMenu});
    AddAction(list, "Hidden from bars", "Transfer", {aoSubObjects});
    QAction properties("Properties");
    std::vector<TDAction*> executed;
    presenter.Present(list, &properties, [&](TDAction* a) { executed.push_back(a); });

    ASSERT_EQ(presenter.Actions().size(), 4u);
    EXPECT_EQ(Texts(tools->actions()), (QStringList{"New", "Delete", "-", "Export"}));
    EXPECT_TRUE(tools->menuAction()->isVisible());
    ASSERT_EQ(presenter.ToolBars().size(), 2u);
    EXPECT_EQ(Texts(presenter.ToolBars()[0]->actions()),
              (QStringList{"Properties", "New", "Delete"}));
    EXPECT_EQ(Texts(presenter.ToolBars()[1]->actions()), QStringList{"Export"});
    presenter.Actions()[2]->trigger();
    ASSERT_EQ(executed.size(), 1u);
    EXPECT_EQ(executed[0]->Link, list.Items(3));

    // Without an "Edit" category the lead gets a toolbar of its own.
    TPelvarObjectActionList other;
    AddAction(other, "Export", "Transfer", {aoSubObjects, aoToolBar});
    QPointer<QToolBar> oldBar = presenter.ToolBars()[0];
    QPointer<TDAction> oldAction = presenter.Actions()[0];
    presenter.Present(other, &properties, [&](TDAction* a) { executed.push_back(a); });
    EXPECT_FALSE(oldAction->isEnabled());  // going when control returns to the event loop
    EXPECT_FALSE(window.actions().contains(oldAction.data()));
    ASSERT_EQ(presenter.ToolBars().size(), 2u);
    EXPECT_EQ(Texts(presenter.ToolBars()[1]->actions()), QStringList{"Properties"});
    EXPECT_FALSE(tools->menuAction()->isVisible());
    presenter.Clear();
    EXPECT_TRUE(presenter.ToolBars().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(oldBar.isNull());
}

TEST(TActionPresenterTest, DropChoicesLeaveTheMenuWithTheirOwner) {
    World().Reset();
    TPopupMenuWOKey menu;
    SetDropPopupMenu(&menu);
    TPelvarDragObject drag;
    drag.RightFlag = true;
    drag.FullPath = "\\A1\\Tables";
    drag.Items.Add(std::make_unique<TTestFolder>())->SetFullPath("\\A1\\Tables\\T1");
    auto target = std::make_unique<TTestFolder>();
    target->SetFullPath("\\Target");
    target->DragObjectDroppedRight(drag, 0, 0);
    EXPECT_EQ(menu.actions().size(), 2);  // perform, cancel
    EXPECT_EQ(menu.Tag(), 1);
    QPointer<QAction> perform = menu.actions().first();

    // A second drop makes new choices: an item of the first one does nothing.
    target->DragObjectDroppedRight(drag, 0, 0);
    EXPECT_EQ(menu.actions().size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(perform.isNull());

    perform = menu.actions().first();
    target.reset();
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_EQ(menu.Tag(), 0);
    if (perform) perform->trigger();  // not yet deleted, but its owner is gone
    EXPECT_TRUE(World().Log.isEmpty());
    SetDropPopupMenu(nullptr);
}
