#include "popupmenuwokey.h"

#include <QActionEvent>

TPopupMenuWOKey::TPopupMenuWOKey(QWidget* parent) : QMenu(parent) {}

TPopupMenuWOKey::~TPopupMenuWOKey() {
    if (DropPopupMenu() == this) SetDropPopupMenu(nullptr);
}

bool TPopupMenuWOKey::IsShortCut(int) const {
    return false;
}

void TPopupMenuWOKey::ClearAll() {
    FDropOwner = nullptr;
    clear();
    for (QMenu* sub : findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        sub->deleteLater();
}

void TPopupMenuWOKey::ShowDropChoices(const TPelvarObject& Owner,
                                      const std::shared_ptr<TPelvarObjectActionList>& Items, int XX,
                                      int YY) {
    ClearAll();
    FDropOwner = &Owner;
    const std::weak_ptr<TPelvarObjectActionList> list = Items;
    TActionPresenter::AddMenuItems(this, *Items, {}, FGuard, [list](TPelvarObjectAction* action) {
        return [list, action] {
            // The owner may have gone or made new choices since the menu opened.
            if (const auto alive = list.lock(); alive && alive->IndexOf(action) >= 0)
                action->Execute(nullptr);
        };
    });
    SetTag(1);
    popup(QPoint(XX, YY));
}

void TPopupMenuWOKey::WithdrawDropChoices(const TPelvarObject& Owner) {
    if (FDropOwner != &Owner) return;
    FDropOwner = nullptr;
    SetTag(0);
    // The owner may be dying inside one of these items' commands: they go later.
    for (QAction* item : actions()) {
        removeAction(item);
        if (item->parent() == this) item->deleteLater();
    }
}

void TPopupMenuWOKey::actionEvent(QActionEvent* event) {
    // Items made for this menu only: their shortcut events are swallowed.
    // Window actions shown here keep working through their other places.
    if (event->type() == QEvent::ActionAdded && event->action()->parent() == this)
        event->action()->installEventFilter(this);
    QMenu::actionEvent(event);
}

bool TPopupMenuWOKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut) return true;
    return QMenu::eventFilter(watched, event);
}
