#include "popupmenuwokey.h"

#include <QActionEvent>

#include "model/dragobject.h"

TPopupMenuWOKey::TPopupMenuWOKey(QWidget* parent) : QMenu(parent) {}

bool TPopupMenuWOKey::IsShortCut(int) const {
    return false;
}

int TPopupMenuWOKey::Tag() const {
    return PopupMenuTag(this);
}

void TPopupMenuWOKey::SetTag(int tag) {
    SetPopupMenuTag(this, tag);
}

void TPopupMenuWOKey::ClearAll() {
    clear();
    for (QMenu* sub : findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        sub->deleteLater();
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
