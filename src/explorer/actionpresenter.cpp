#include "actionpresenter.h"

#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include "daction.h"
#include "imagelists.h"

namespace {

const QString kEditCategory = QStringLiteral("Edit");

QKeySequence KeyOf(int shortcut) {
    return shortcut ? QKeySequence(shortcut) : QKeySequence();
}

}  // namespace

TActionPresenter::TActionPresenter(QMainWindow* Host, QMenu* ToolsMenu, TGuard Guard)
    : FHost(Host), FToolsMenu(ToolsMenu), FGuard(std::move(Guard)) {}

void TActionPresenter::CopyLook(QAction* Item, const TPelvarObjectAction& Action) {
    if (Item->text() != Action.Caption) Item->setText(Action.Caption);
    Item->setCheckable(Action.Checked);
    Item->setChecked(Action.Checked);
    Item->setProperty("HelpContext", Action.HelpContext);
    Item->setToolTip(Action.Hint.isEmpty() ? Action.Caption : Action.Hint);
    Item->setStatusTip(Action.Hint);
    Item->setIcon(TImageLists::ActionIcon(Action.ImageIndex));
    if (Item->shortcut() != KeyOf(Action.Shortcut)) Item->setShortcut(KeyOf(Action.Shortcut));
    Item->setVisible(Action.Visible);
}

bool TActionPresenter::AllowedForRows(const TPelvarObjectAction& Action, int Selected) {
    const TPelvarObjectActionOptions& o = Action.Options;
    return (Selected == 0 && o.Contains(aoNoSelection)) ||
           (Selected == 1 && o.Contains(aoSingleSelection)) ||
           (Selected > 1 && o.Contains(aoMultySelection));
}

void TActionPresenter::AddSeparator(QMenu* Menu) {
    const QList<QAction*> items = Menu->actions();
    if (!items.isEmpty() && !items.last()->isSeparator()) Menu->addSeparator();
}

void TActionPresenter::RemoveTrailingSeparator(QMenu* Menu) {
    const QList<QAction*> items = Menu->actions();
    if (!items.isEmpty() && items.last()->isSeparator()) Menu->removeAction(items.last());
}

QAction* TActionPresenter::AddMenuItem(QMenu* Menu, const TPelvarObjectAction& Action,
                                       const TGuard& Guard, std::function<void()> Command) {
    QAction* item = Menu->addAction(Action.Caption);
    CopyLook(item, Action);
    item->setEnabled(Action.Enabled);
    QObject::connect(item, &QAction::triggered, Menu, [Guard, Command = std::move(Command)] {
        if (Guard)
            Guard(Command);
        else
            Command();
    });
    return item;
}

QAction* TActionPresenter::AddMenuItems(QMenu* Menu, TPelvarObjectActionList& Actions,
                                        const TFilter& Show, const TGuard& Guard,
                                        const TCommandOf& CommandOf) {
    QAction* defaultItem = nullptr;
    QString category;
    for (int i = 0; i < Actions.Count(); ++i) {
        TPelvarObjectAction* action = Actions.Items(i);
        if (Show && !Show(*action)) continue;
        action->Update(nullptr);
        if (action->Category != category) AddSeparator(Menu);
        category = action->Category;
        QAction* item = AddMenuItem(Menu, *action, Guard, CommandOf(action));
        if (action->Default && !defaultItem) defaultItem = item;
    }
    return defaultItem;
}

void TActionPresenter::Clear() {
    FToolsMenu->clear();
    for (TDAction* action : FActions) {
        FHost->removeAction(action);
        action->disconnect(FHost);
        action->setEnabled(false);
        action->deleteLater();
    }
    FActions.clear();
    for (QToolBar* bar : FToolBars) {
        FHost->removeToolBar(bar);
        bar->deleteLater();
    }
    FToolBars.clear();
    FToolsMenu->menuAction()->setVisible(false);
}

QToolBar* TActionPresenter::NewToolBar(const QString& category) {
    auto* bar = new QToolBar(category.isEmpty() ? FToolsMenu->title() : category, FHost);
    bar->setObjectName(QStringLiteral("FolderToolBar_") + category);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    FHost->addToolBar(Qt::TopToolBarArea, bar);
    FToolBars.push_back(bar);
    return bar;
}

void TActionPresenter::Present(TPelvarObjectActionList& Actions, QAction* EditLead,
                               const std::function<void(TDAction*)>& Execute) {
    Clear();
    QString toolsCategory, barCategory;
    bool toolsStarted = false, leadPlaced = false;
    QToolBar* bar = nullptr;
    for (int i = 0; i < Actions.Count(); ++i) {
        TPelvarObjectAction* link = Actions.Items(i);
        if (!link->Options.Contains(aoSubObjects)) continue;
        auto* action = new TDAction(link, FHost);
        action->setObjectName(link->Name);
        CopyLook(action, *link);
        action->setEnabled(link->Enabled);
        QObject::connect(action, &QAction::triggered, FHost, [this, action, Execute] {
            if (FGuard)
                FGuard([&] { Execute(action); });
            else
                Execute(action);
        });
        FHost->addAction(action);  // its shortcut works wherever the focus is in the window
        FActions.push_back(action);

        if (link->Options.Contains(aoMainMenu)) {
            if (toolsStarted && link->Category != toolsCategory) FToolsMenu->addSeparator();
            FToolsMenu->addAction(action);
            toolsCategory = link->Category;
            toolsStarted = true;
        }
        if (link->Options.Contains(aoToolBar)) {
            if (!bar || link->Category != barCategory) {
                bar = NewToolBar(link->Category);
                barCategory = link->Category;
                if (link->Category == kEditCategory && EditLead && !leadPlaced) {
                    bar->addAction(EditLead);
                    leadPlaced = true;
                }
            }
            bar->addAction(action);
        }
    }
    if (EditLead && !leadPlaced) NewToolBar(kEditCategory)->addAction(EditLead);
    FToolsMenu->menuAction()->setVisible(!FToolsMenu->isEmpty());
}
