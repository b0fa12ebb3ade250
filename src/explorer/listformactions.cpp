// Folder actions (window actions, Tools menu, toolbars), the fixed actions'
// states and the list and tree popup menus.
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>

#include "appcore/texts.h"
#include "commonlistform.h"
#include "daction.h"
#include "imagelists.h"
#include "listview.h"
#include "popupmenuwokey.h"

namespace {

const QString kEditCategory = QStringLiteral("Edit");

// Separators never lead and never repeat.
void AddSeparator(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    if (!items.isEmpty() && !items.last()->isSeparator()) menu->addSeparator();
}

void RemoveTrailingSeparator(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    if (!items.isEmpty() && items.last()->isSeparator()) menu->removeAction(items.last());
}

QKeySequence KeyOf(int shortcut) {
    return shortcut ? QKeySequence(shortcut) : QKeySequence();
}

// Whether the rows selected allow a folder action.
bool AllowedForRows(const TPelvarObjectAction& action, int selected) {
    const TPelvarObjectActionOptions& o = action.Options;
    return (selected == 0 && o.Contains(aoNoSelection)) ||
           (selected == 1 && o.Contains(aoSingleSelection)) ||
           (selected > 1 && o.Contains(aoMultySelection));
}

void CopyLook(QAction* item, const TPelvarObjectAction& action) {
    if (item->text() != action.Caption) item->setText(action.Caption);
    item->setCheckable(action.Checked);
    item->setChecked(action.Checked);
    item->setProperty("HelpContext", action.HelpContext);
    item->setToolTip(action.Hint.isEmpty() ? action.Caption : action.Hint);
    item->setStatusTip(action.Hint);
    item->setIcon(TImageLists::ActionIcon(action.ImageIndex));
    if (item->shortcut() != KeyOf(action.Shortcut)) item->setShortcut(KeyOf(action.Shortcut));
    item->setVisible(action.Visible);
}

}  // namespace

// ---- window actions for the current folder ----

void TCommonListForm::ClearFolderActions() {
    FToolsMenu->clear();
    // An action may be running right now (its command navigated): the actions
    // and toolbars go when control returns to the event loop.
    for (TDAction* action : FCustomActions) {
        removeAction(action);
        action->disconnect(this);
        action->setEnabled(false);
        action->deleteLater();
    }
    FCustomActions.clear();
    for (QToolBar* bar : FFolderToolBars) {
        removeToolBar(bar);
        bar->deleteLater();
    }
    FFolderToolBars.clear();
    FToolsMenu->menuAction()->setVisible(false);
}

QToolBar* TCommonListForm::NewFolderToolBar(const QString& category) {
    auto* bar = new QToolBar(category.isEmpty() ? FToolsMenu->title() : category, this);
    bar->setObjectName(QStringLiteral("FolderToolBar_") + category);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, bar);
    FFolderToolBars.push_back(bar);
    return bar;
}

void TCommonListForm::ReAssignActions() {
    ClearFolderActions();
    TPelvarObject* folder = FindCurrentFolder();
    if (!folder) return;
    TPelvarObjectActionList& actions = folder->Actions();
    QString toolsCategory, barCategory;
    bool toolsStarted = false, propertiesPlaced = false;
    QToolBar* bar = nullptr;
    const bool propertiesButton = folder->ShowSubItemsPropertyButton();
    for (int i = 0; i < actions.Count(); ++i) {
        TPelvarObjectAction* link = actions.Items(i);
        if (!link->Options.Contains(aoSubObjects)) continue;
        auto* action = new TDAction(link, this);
        action->setObjectName(link->Name);
        CopyLook(action, *link);
        action->setEnabled(link->Enabled);
        connect(action, &QAction::triggered, this,
                [this, action] { Guard([&] { CustomActionExecute(action); }); });
        addAction(action);  // its shortcut works wherever the focus is in the window
        FCustomActions.push_back(action);

        if (link->Options.Contains(aoMainMenu)) {
            if (toolsStarted && link->Category != toolsCategory) FToolsMenu->addSeparator();
            FToolsMenu->addAction(action);
            toolsCategory = link->Category;
            toolsStarted = true;
        }
        if (link->Options.Contains(aoToolBar)) {
            if (!bar || link->Category != barCategory) {
                bar = NewFolderToolBar(link->Category);
                barCategory = link->Category;
                if (link->Category == kEditCategory && propertiesButton && !propertiesPlaced) {
                    bar->addAction(ItemPropertiesAction);
                    propertiesPlaced = true;
                }
            }
            bar->addAction(action);
        }
    }
    if (propertiesButton && !propertiesPlaced)
        NewFolderToolBar(kEditCategory)->addAction(ItemPropertiesAction);
    FToolsMenu->menuAction()->setVisible(!FToolsMenu->isEmpty());
}

bool TCommonListForm::LinkAlive(const TPelvarObjectAction* link) const {
    // The folder may have refilled its actions since the window actions were made.
    TPelvarObject* folder = FindCurrentFolder();
    return folder && folder->Actions().IndexOf(link) >= 0;
}

void TCommonListForm::CustomActionUpdate(TDAction* Action) {
    TPelvarObjectAction* link = Action->Link;
    if (!LinkAlive(link)) {
        Action->setEnabled(false);
        return;
    }
    const int selected = FListView->SelCount();
    const bool allowed = AllowedForRows(*link, selected) ||
                         (FTreeView->currentItem() && link->Options.Contains(aoSingleSelection));
    if (allowed && link->OnUpdate()) {
        const QStringList subjects = SelectedSubPaths();
        link->Update(&subjects);
    }
    CopyLook(Action, *link);
    Action->setEnabled(link->Enabled && allowed);
}

void TCommonListForm::CustomActionExecute(TDAction* Action) {
    TPelvarObjectAction* link = Action->Link;
    if (!LinkAlive(link)) return;
    QStringList subjects;
    if (link->Options.Contains(aoTreeItem)) {
        if (TPelvarObject* object = NodeObject(FTreeView->currentItem()))
            subjects << object->SubPath();
    } else {
        subjects = SelectedSubPaths();
    }
    if (!AllowedForRows(*link, int(subjects.size()))) return;
    link->Execute(&subjects);
}

void TCommonListForm::UpdateActions() {
    if (FDestroying) return;
    const std::vector<TDAction*> actions = FCustomActions;
    for (TDAction* action : actions)
        CustomActionUpdate(action);
    UpdateFixedActions();
}

void TCommonListForm::UpdatePropertiesAction() {
    ItemPropertiesAction->setEnabled(FListView->SelCount() == 1);
}

void TCommonListForm::UpdateFixedActions() {
    const auto toggle = [](QAction* action, bool on) {
        action->setIcon(on ? TImageLists::ActionIcon(ActionImage::ToggleOn) : QIcon());
    };
    toggle(ExplorerAction, FShowExplorer);
    toggle(StatusBarAction, FShowStatusBar);
    toggle(AutoArrangeIconsAction, FAutoArrangeIcons);
    toggle(StoreFolderOptionsAction, FStoreViewParamsByFolder);
    QAction* const styles[] = {LargeIconsViewAction, SmallIconsViewAction, ListViewAction,
                               DetailsViewAction};
    for (int i = 0; i < 4; ++i)
        styles[i]->setIcon(i == FListViewStyle ? TImageLists::ActionIcon(ActionImage::Check)
                                               : QIcon());
    SelectColumnsAction->setEnabled(FListViewStyle == 3);
    LineUpIconsAction->setEnabled(FListViewStyle == 0 || FListViewStyle == 1);
    UpOneLevelAction->setEnabled(!FCurrentPath.isEmpty());
    UpdatePropertiesAction();
}

void TCommonListForm::EditSelectedProperties() {
    if (FListView->SelCount() != 1) return;
    TPelvarObject* object = FListView->Rows()[size_t(FListView->SelectedRows().front())].Data;
    if (object->HasProperties()) object->EditProperties();
}

void TCommonListForm::OnListSelectionChanged() {
    if (!FInitialized || FDestroying || DeletingNode || FListUpdateCount > 0) return;
    const int selected = FListView->SelCount();
    // Growing a large selection row by row must stay cheap.
    if (selected > 2 && selected > FLastSelCount)
        UpdatePropertiesAction();
    else
        Guard([this] { UpdateActions(); });
    FLastSelCount = selected;
}

// ---- popup menus ----

QAction* TCommonListForm::AddObjectActionItem(QMenu* menu, TPelvarObject* object,
                                              TPelvarObjectAction* action) {
    QAction* item = menu->addAction(action->Caption);
    CopyLook(item, *action);
    item->setEnabled(action->Enabled);
    // The row may be gone when the item is chosen: look it up again then.
    TPelvarObject* parent = object->ParentObject();
    connect(item, &QAction::triggered, this, [this, parent, object, action] {
        Guard([&] {
            const bool alive = (!parent || parent->SubObjects().IndexOf(object) >= 0) &&
                               object->Actions().IndexOf(action) >= 0;
            if (alive) action->Execute(nullptr);
        });
    });
    return item;
}

QAction* TCommonListForm::AddPropertiesItem(QMenu* menu, TPelvarObject* object) {
    QAction* item = menu->addAction(TImageLists::ActionIcon(ActionImage::Properties),
                                    LString(QStringLiteral("M_Pelvar_ListFrms_PropertiesCaption")));
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    TPelvarObject* parent = object->ParentObject();
    connect(item, &QAction::triggered, this, [this, parent, object] {
        Guard([&] {
            if (!parent || parent->SubObjects().IndexOf(object) >= 0) object->EditProperties();
        });
    });
    return item;
}

QMenu* TCommonListForm::MakeArrangeSubmenu(QMenu* parent) {
    auto* arrange =
        new QMenu(LString(QStringLiteral("M_Pelvar_ListFrms_ArrangeIconsMenuItemCaption")), parent);
    TPelvarObject* folder = FindCurrentFolder();
    const int sortTag = FSortType >= 1000000 ? FSortType - 1000000 : FSortType;
    for (const TListColumn& column : FAvailableColumns) {
        QAction* item = arrange->addAction(folder ? folder->GetSortMenuItemCaption(column.Tag)
                                                  : column.Caption);
        if (column.Tag == sortTag) item->setIcon(TImageLists::ActionIcon(ActionImage::Check));
        const int tag = column.Tag;
        connect(item, &QAction::triggered, this,
                [this, tag] { Guard([&] { ArrangeIconsBy(tag); }); });
    }
    arrange->addSeparator();
    arrange->addAction(AutoArrangeIconsAction);
    return arrange;
}

void TCommonListForm::FillListViewPopupMenu() {
    TPopupMenuWOKey* menu = FListViewPopupMenu;
    menu->ClearAll();
    menu->SetTag(0);
    UpdateActions();
    const std::vector<int> selection = FListView->SelectedRows();
    const int selected = int(selection.size());
    QAction* defaultItem = nullptr;
    TPelvarObject* row =
        selected == 1 ? FListView->Rows()[size_t(selection.front())].Data : nullptr;

    if (row) {
        TPelvarObjectActionList& actions = row->Actions();
        QString category;
        for (int i = 0; i < actions.Count(); ++i) {
            TPelvarObjectAction* action = actions.Items(i);
            if (!action->Options.Contains(aoListItem) || !action->Options.Contains(aoPopupMenu))
                continue;
            action->Update(nullptr);
            if (action->Category != category) AddSeparator(menu);
            category = action->Category;
            QAction* item = AddObjectActionItem(menu, row, action);
            if (action->Default && !defaultItem) defaultItem = item;
        }
    }
    AddSeparator(menu);
    {
        QString category;
        bool first = true;
        for (TDAction* action : FCustomActions) {
            if (!action->Link->Options.Contains(aoPopupMenu) ||
                !AllowedForRows(*action->Link, selected) || menu->actions().contains(action))
                continue;
            if (!first && action->Link->Category != category) AddSeparator(menu);
            category = action->Link->Category;
            first = false;
            menu->addAction(action);
            if (action->Link->Default && !defaultItem) defaultItem = action;
        }
    }
    AddSeparator(menu);
    if (selected == 0) {
        auto* view =
            new QMenu(LString(QStringLiteral("M_Pelvar_ListFrms_ViewMenuItemCaption")), menu);
        view->addAction(LargeIconsViewAction);
        view->addAction(SmallIconsViewAction);
        view->addAction(ListViewAction);
        view->addAction(DetailsViewAction);
        menu->addMenu(view);
        AddSeparator(menu);
        menu->addMenu(MakeArrangeSubmenu(menu));
        menu->addAction(LineUpIconsAction);
        menu->addAction(RefreshAction);
    }
    AddSeparator(menu);
    if (selected == 0) {
        menu->addAction(PasteAction);
    } else {
        menu->addAction(CutAction);
        menu->addAction(CopyAction);
    }
    if (selected != 1) menu->addAction(SelectAllAction);
    AddSeparator(menu);
    if (row && row->HasProperties()) {
        QAction* properties = AddPropertiesItem(menu, row);
        if (!defaultItem) defaultItem = properties;
    }
    RemoveTrailingSeparator(menu);
    menu->setDefaultAction(defaultItem);
}

void TCommonListForm::FillTreeViewPopupMenu() {
    TPopupMenuWOKey* menu = FTreeViewPopupMenu;
    menu->ClearAll();
    TPelvarObject* object = NodeObject(FTreeView->currentItem());
    if (!object) return;
    QAction* defaultItem = nullptr;
    TPelvarObjectActionList& actions = object->Actions();
    QString category;
    for (int i = 0; i < actions.Count(); ++i) {
        TPelvarObjectAction* action = actions.Items(i);
        if (!action->Options.Contains(aoTreeItem) || !action->Options.Contains(aoPopupMenu))
            continue;
        action->Update(nullptr);
        if (action->Category != category) AddSeparator(menu);
        category = action->Category;
        QAction* item = AddObjectActionItem(menu, object, action);
        if (action->Default && !defaultItem) defaultItem = item;
    }
    AddSeparator(menu);
    menu->addAction(CutAction);
    menu->addAction(CopyAction);
    AddSeparator(menu);
    if (object->HasProperties()) {
        QAction* properties = AddPropertiesItem(menu, object);
        if (!defaultItem) defaultItem = properties;
    }
    RemoveTrailingSeparator(menu);
    menu->setDefaultAction(defaultItem);
}

void TCommonListForm::OpenListPopup(const QPoint& globalPos) {
    FRightDragArmed = false;
    // The right-button drop menu is already filled: show it as it is.
    if (FListViewPopupMenu->Tag() != 0)
        FListViewPopupMenu->SetTag(0);
    else
        FillListViewPopupMenu();
    if (!FListViewPopupMenu->isEmpty()) FListViewPopupMenu->popup(globalPos);
}

void TCommonListForm::OpenTreePopup(const QPoint& globalPos) {
    FillTreeViewPopupMenu();
    if (!FTreeViewPopupMenu->isEmpty()) FTreeViewPopupMenu->popup(globalPos);
}
