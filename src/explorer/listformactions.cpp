// Folder actions (window actions, Tools menu, toolbars), the fixed actions'
// states and the list and tree popup menus.
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>

#include "actionpresenter.h"
#include "appcore/texts.h"
#include "commonlistform.h"
#include "daction.h"
#include "imagelists.h"
#include "listview.h"
#include "popupmenuwokey.h"

using P = TActionPresenter;

const std::vector<TDAction*>& TCommonListForm::CustomActionList() const {
    return FPresenter->Actions();
}

const std::vector<QToolBar*>& TCommonListForm::FolderToolBars() const {
    return FPresenter->ToolBars();
}

// ---- window actions for the current folder ----

void TCommonListForm::ReAssignActions() {
    FPresenter->Clear();
    TPelvarObject* folder = FindCurrentFolder();
    if (!folder) return;
    FPresenter->Present(folder->Actions(),
                        folder->ShowSubItemsPropertyButton() ? ItemPropertiesAction : nullptr,
                        [this](TDAction* action) { CustomActionExecute(action); });
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
    const bool allowed = P::AllowedForRows(*link, selected) ||
                         (FTreeView->currentItem() && link->Options.Contains(aoSingleSelection));
    if (allowed && link->OnUpdate()) {
        const QStringList subjects = SelectedSubPaths();
        link->Update(&subjects);
    }
    P::CopyLook(Action, *link);
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
    if (!P::AllowedForRows(*link, int(subjects.size()))) return;
    link->Execute(&subjects);
}

void TCommonListForm::UpdateActions() {
    if (FDestroying) return;
    const std::vector<TDAction*> actions = FPresenter->Actions();
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

QAction* TCommonListForm::AddObjectActionItems(QMenu* menu, TPelvarObject* object,
                                               TPelvarObjectActionOption place) {
    const auto guard = [this](const std::function<void()>& command) { Guard(command); };
    TPelvarObject* parent = object->ParentObject();
    return P::AddMenuItems(
        menu, object->Actions(),
        [place](const TPelvarObjectAction& action) {
            return action.Options.Contains(place) && action.Options.Contains(aoPopupMenu);
        },
        guard,
        [parent, object](TPelvarObjectAction* action) {
            // The row may be gone when the item is chosen: look it up again then.
            return [parent, object, action] {
                const bool alive = (!parent || parent->SubObjects().IndexOf(object) >= 0) &&
                                   object->Actions().IndexOf(action) >= 0;
                if (alive) action->Execute(nullptr);
            };
        });
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

    if (row) defaultItem = AddObjectActionItems(menu, row, aoListItem);
    P::AddSeparator(menu);
    {
        QString category;
        bool first = true;
        for (TDAction* action : FPresenter->Actions()) {
            if (!action->Link->Options.Contains(aoPopupMenu) ||
                !P::AllowedForRows(*action->Link, selected) || menu->actions().contains(action))
                continue;
            if (!first && action->Link->Category != category) P::AddSeparator(menu);
            category = action->Link->Category;
            first = false;
            menu->addAction(action);
            if (action->Link->Default && !defaultItem) defaultItem = action;
        }
    }
    P::AddSeparator(menu);
    if (selected == 0) {
        auto* view =
            new QMenu(LString(QStringLiteral("M_Pelvar_ListFrms_ViewMenuItemCaption")), menu);
        view->addAction(LargeIconsViewAction);
        view->addAction(SmallIconsViewAction);
        view->addAction(ListViewAction);
        view->addAction(DetailsViewAction);
        menu->addMenu(view);
        P::AddSeparator(menu);
        menu->addMenu(MakeArrangeSubmenu(menu));
        menu->addAction(LineUpIconsAction);
        menu->addAction(RefreshAction);
    }
    P::AddSeparator(menu);
    if (selected == 0) {
        menu->addAction(PasteAction);
    } else {
        menu->addAction(CutAction);
        menu->addAction(CopyAction);
    }
    if (selected != 1) menu->addAction(SelectAllAction);
    P::AddSeparator(menu);
    if (row && row->HasProperties()) {
        QAction* properties = AddPropertiesItem(menu, row);
        if (!defaultItem) defaultItem = properties;
    }
    P::RemoveTrailingSeparator(menu);
    menu->setDefaultAction(defaultItem);
}

void TCommonListForm::FillTreeViewPopupMenu() {
    TPopupMenuWOKey* menu = FTreeViewPopupMenu;
    menu->ClearAll();
    TPelvarObject* object = NodeObject(FTreeView->currentItem());
    if (!object) return;
    QAction* defaultItem = AddObjectActionItems(menu, object, aoTreeItem);
    P::AddSeparator(menu);
    menu->addAction(CutAction);
    menu->addAction(CopyAction);
    P::AddSeparator(menu);
    if (object->HasProperties()) {
        QAction* properties = AddPropertiesItem(menu, object);
        if (!defaultItem) defaultItem = properties;
    }
    P::RemoveTrailingSeparator(menu);
    menu->setDefaultAction(defaultItem);
}

void TCommonListForm::OpenListPopup(const QPoint& globalPos) {
    FDrag.DisarmRight();
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
