#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "explorer/daction.h"
#include "explorer/listview.h"
#include "explorer/popupmenuwokey.h"
#include "explorerfixture.h"

namespace {

QStringList Texts(const QList<QAction*>& actions, bool visibleOnly = false) {
    QStringList texts;
    for (QAction* a : actions)
        if (a->isVisible() || !visibleOnly) texts << (a->isSeparator() ? "-" : a->text());
    return texts;
}

TDAction* Find(TCommonListForm* w, const QString& name) {
    for (TDAction* a : w->CustomActionList())
        if (a->objectName() == name) return a;
    return nullptr;
}

// Every selection rule, in two categories.
void FolderActions() {
    World().Actions[kTables] = {
        {"None", {aoSubObjects, aoMainMenu, aoToolBar, aoPopupMenu, aoNoSelection}, "Edit"},
        {"One", {aoSubObjects, aoMainMenu, aoToolBar, aoPopupMenu, aoSingleSelection}, "Edit"},
        {"Many", {aoSubObjects, aoMainMenu, aoPopupMenu, aoMultySelection}, "Export", 0, true},
        {"Tree", {aoSubObjects, aoToolBar, aoTreeItem, aoSingleSelection}, "Tree"},
        {"Hidden", {aoListItem, aoPopupMenu}},  // not a folder action
    };
}

}  // namespace

TEST_F(TExplorerTest, FolderActionsMakeToolsMenuAndToolbars) {
    FolderActions();
    World().PropertyButton.insert(kTables);
    TCommonListForm* w = Window(kTables);
    QStringList names;
    for (TDAction* a : w->CustomActionList())
        names << a->objectName();
    EXPECT_EQ(names, (QStringList{"None", "One", "Many", "Tree"}));
    EXPECT_EQ(Texts(w->ToolsMenu()->actions()), (QStringList{"None", "One", "-", "Many"}));
    EXPECT_TRUE(w->ToolsMenu()->menuAction()->isVisible());
    ASSERT_EQ(w->FolderToolBars().size(), 2u);  // a new toolbar where the category changes
    EXPECT_EQ(w->FolderToolBars()[0]->actions(),
              (QList<QAction*>{w->ItemPropertiesAction, Find(w, "None"), Find(w, "One")}));
    EXPECT_EQ(w->FolderToolBars()[1]->actions(), QList<QAction*>{Find(w, "Tree")});

    // Another folder replaces them all; one without actions hides Tools.
    World().PropertyButton.insert("\\A1");
    w->SetCurrentPath("\\A1");
    EXPECT_TRUE(w->CustomActionList().empty());
    EXPECT_FALSE(w->ToolsMenu()->menuAction()->isVisible());
    ASSERT_EQ(w->FolderToolBars().size(), 1u);  // the properties button alone
    EXPECT_EQ(w->FolderToolBars()[0]->actions(), QList<QAction*>{w->ItemPropertiesAction});
    w->SetCurrentPath("\\A2");
    EXPECT_TRUE(w->FolderToolBars().empty());
}

TEST_F(TExplorerTest, EnabledStatesAndSubjectsFollowTheSelection) {
    FolderActions();
    TCommonListForm* w = Window(kTables);
    TDAction* none = Find(w, "None");
    TDAction* one = Find(w, "One");
    TDAction* many = Find(w, "Many");
    TDAction* tree = Find(w, "Tree");
    const auto states = [&] {
        w->UpdateActions();
        return QList<bool>{none->isEnabled(), one->isEnabled(), many->isEnabled(),
                           w->ItemPropertiesAction->isEnabled()};
    };
    // With the tree's node selected, single-selection actions are allowed.
    EXPECT_EQ(states(), (QList<bool>{true, true, false, false}));
    Select(w, {"T1"});
    EXPECT_EQ(states(), (QList<bool>{false, true, false, true}));
    Select(w, {"T3", "T1"});
    EXPECT_EQ(states(), (QList<bool>{false, true, true, false}));

    many->trigger();
    one->trigger();   // two subjects: not a single-selection run
    tree->trigger();  // the tree node is its subject
    Select(w, {});
    none->trigger();
    EXPECT_EQ(World().Log, (QStringList{"Many(T1,T3)", "Tree(Tables)", "None()"}));
}

TEST_F(TExplorerTest, ListPopupMenu) {
    FolderActions();
    const QString t1 = kTables + "\\T1";
    World().Actions[t1] = {
        {"Edit", {aoListItem, aoPopupMenu}, "A"},
        {"Run", {aoListItem, aoPopupMenu}, "B", 0, true},
        {"NotInMenu", {aoListItem}, "B"},
    };
    World().WithProperties.insert(t1);
    World().WithProperties.insert(kTables + "\\T2");
    TCommonListForm* w = Window(kTables);
    TPopupMenuWOKey* menu = w->ListViewPopupMenu();
    const QString properties = w->ItemPropertiesAction->text();

    Select(w, {"T1"});
    w->FillListViewPopupMenu();
    EXPECT_EQ(Texts(menu->actions(), true),
              (QStringList{"Edit", "-", "Run", "-", "One", "-", w->CutAction->text(),
                           w->CopyAction->text(), "-", properties}));
    ASSERT_NE(menu->defaultAction(), nullptr);
    EXPECT_EQ(menu->defaultAction()->text(), "Run");
    menu->defaultAction()->trigger();
    EXPECT_EQ(World().Log, QStringList{"Run(nil)"});

    // Without a default action, the properties item is the default.
    Select(w, {"T2"});
    w->FillListViewPopupMenu();
    EXPECT_EQ(menu->defaultAction()->text(), properties);

    Select(w, {"T1", "T2"});
    w->FillListViewPopupMenu();
    EXPECT_EQ(Texts(menu->actions(), true),
              (QStringList{"Many", "-", w->CutAction->text(), w->CopyAction->text(),
                           w->SelectAllAction->text()}));
    EXPECT_EQ(menu->defaultAction()->text(), "Many");

    Select(w, {});
    w->SetSortType(1000001);
    w->FillListViewPopupMenu();
    const QStringList texts = Texts(menu->actions(), true);
    EXPECT_EQ(texts.mid(0, 2), (QStringList{"None", "-"}));
    EXPECT_TRUE(texts.endsWith(w->SelectAllAction->text()));
    EXPECT_FALSE(texts.contains(properties));
    for (int i = 1; i < texts.size(); ++i)
        EXPECT_FALSE(texts[i] == "-" && texts[i - 1] == "-");
    QMenu* arrange = nullptr;
    for (QAction* a : menu->actions())
        if (a->menu() && a->text() == w->ArrangeIconsMenu()->title()) arrange = a->menu();
    ASSERT_NE(arrange, nullptr);
    QStringList marked;
    for (QAction* a : arrange->actions())
        if (!a->icon().isNull() && a != w->AutoArrangeIconsAction) marked << a->text();
    EXPECT_EQ(marked, QStringList{"By column 1"});  // either direction
    arrange->actions().first()->trigger();          // by column 0, kept descending
    EXPECT_EQ(w->SortType(), 1000000);
}

TEST_F(TExplorerTest, TreePopupMenu) {
    World().Actions["\\A1"] = {
        {"Connect", {aoTreeItem, aoPopupMenu}},
        {"RowOnly", {aoListItem, aoPopupMenu}},
    };
    World().WithProperties.insert("\\A1");
    TCommonListForm* w = Window("\\A1");
    w->FillTreeViewPopupMenu();
    TPopupMenuWOKey* menu = w->TreeViewPopupMenu();
    EXPECT_EQ(Texts(menu->actions(), true),
              (QStringList{"Connect", "-", w->CutAction->text(), w->CopyAction->text(), "-",
                           w->ItemPropertiesAction->text()}));
    EXPECT_EQ(menu->defaultAction()->text(), w->ItemPropertiesAction->text());
    menu->defaultAction()->trigger();
    EXPECT_EQ(World().Log, QStringList{"properties \\A1"});

    // The menu key opens the tree's and the list's popups.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QCoreApplication::sendEvent(w->TreeView(), &key);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    QCoreApplication::sendEvent(w->ListView()->CurrentView(), &key);
    EXPECT_TRUE(w->ListViewPopupMenu()->isVisible());
    w->ListViewPopupMenu()->hide();
}

TEST_F(TExplorerTest, FixedActionStates) {
    TCommonListForm* w = Window(kTables);
    for (QAction* a : {w->CutAction, w->CopyAction, w->PasteAction, w->StoreFolderOptionsAction,
                       w->ResetFolderOptionsAction})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(w->StoreFolderOptionsAction->icon().isNull());  // shown switched on
    w->DetailsViewAction->trigger();
    EXPECT_TRUE(w->SelectColumnsAction->isEnabled());
    EXPECT_FALSE(w->LineUpIconsAction->isEnabled());
    EXPECT_FALSE(w->DetailsViewAction->icon().isNull());
    EXPECT_TRUE(w->ListViewAction->icon().isNull());
    w->LargeIconsViewAction->trigger();
    EXPECT_FALSE(w->SelectColumnsAction->isEnabled());
    EXPECT_TRUE(w->LineUpIconsAction->isEnabled());

    EXPECT_FALSE(w->ExplorerAction->icon().isNull());
    w->ExplorerAction->trigger();
    EXPECT_TRUE(w->ExplorerAction->icon().isNull());
    EXPECT_FALSE(w->TreeView()->isVisibleTo(w));
    w->StatusBarAction->trigger();
    EXPECT_FALSE(w->ShowStatusBar());

    w->SelectAllAction->trigger();
    EXPECT_EQ(w->ListView()->SelCount(), 4);
    Select(w, {"T1"});
    w->InvertSelectionAction->trigger();
    EXPECT_EQ(w->ListView()->SelectedRows(), (std::vector<int>{0, 2, 3}));
}
