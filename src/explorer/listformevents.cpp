// Mouse and keyboard events of the list and the tree; their drag events go
// to the drag and drop routing (listformdrag.cpp).
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

#include "commonlistform.h"
#include "listview.h"
#include "model/dragobject.h"
#include "popupmenuwokey.h"

bool TCommonListForm::eventFilter(QObject* watched, QEvent* event) {
    if (FDestroying) return false;
    if (watched == FListView->IconView() || watched == FListView->DetailsView()) {
        if (event->type() == QEvent::KeyPress) {
            bool used = false;
            Guard([&] { used = ListKeyDown(static_cast<QKeyEvent*>(event)); });
            return used;
        }
        // The menu key: the popup opens at the focused row.
        if (event->type() == QEvent::ContextMenu) {
            QAbstractItemView* view = FListView->CurrentView();
            QPoint at = view->viewport()->rect().center();
            if (const int focused = FListView->FocusedRow(); focused >= 0)
                at = view->visualRect(FListView->Model().index(focused, 0)).center();
            Guard([&] { OpenListPopup(view->viewport()->mapToGlobal(at)); });
            return true;
        }
        return false;
    }
    if (watched == FListView->IconView()->viewport() ||
        watched == FListView->DetailsView()->viewport())
        return ListViewportEvent(event);
    if (watched == FTreeView->viewport()) return TreeViewportEvent(event);
    if (watched == FTreeView && event->type() == QEvent::ContextMenu) {
        QPoint at = FTreeView->viewport()->rect().center();
        if (QTreeWidgetItem* node = FTreeView->currentItem())
            at = FTreeView->visualItemRect(node).center();
        Guard([&] { OpenTreePopup(FTreeView->viewport()->mapToGlobal(at)); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TCommonListForm::ListViewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint pos = e->position().toPoint();
            if (e->button() == Qt::LeftButton)
                FDrag.PressLeft(pos, FListView->RowAt(pos));
            else if (e->button() == Qt::RightButton)
                FDrag.PressRight(pos);
            return false;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint pos = e->position().toPoint();
            if (e->buttons() & Qt::LeftButton) {
                const int row = FDrag.TakeLeftDragRow(pos, QApplication::startDragDistance());
                if (row >= 0 && FListView->IsSelected(row)) {
                    Guard([&] { DragSelectedRows(false, FDrag.LeftPressPos()); });
                    return true;
                }
            }
            if (FDrag.RightArmed() && (e->buttons() & Qt::RightButton)) {
                if (FDrag.TakeRightDrag(pos))
                    Guard([&] { DragSelectedRows(true, FDrag.RightPressPos()); });
                return true;
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            FDrag.ReleaseLeft();
            if (e->button() == Qt::RightButton && FDrag.TakeRightRelease()) {
                Guard([&] { OpenListPopup(e->globalPosition().toPoint()); });
            }
            return false;
        }
        case QEvent::MouseButtonDblClick: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton) return false;
            const int row = FListView->RowAt(e->position().toPoint());
            if (row >= 0) Guard([&] { ListRowDoubleClicked(row); });
            return true;
        }
        case QEvent::ContextMenu:
            // The mouse's menu opens on release, after a possible right drag.
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return RouteDragEvent(
                event,
                [this](const TPelvarDragObject& d, const QPoint& p) { return ListDragOver(d, p); },
                [this](const TPelvarDragObject& d, const QPoint& p) { ListDragDrop(d, p); });
        default:
            return false;
    }
}

bool TCommonListForm::TreeViewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::RightButton)
                if (QTreeWidgetItem* node = FTreeView->itemAt(e->position().toPoint()))
                    FTreeView->setCurrentItem(node);
            return false;
        }
        case QEvent::ContextMenu: {
            auto* e = static_cast<QContextMenuEvent*>(event);
            Guard([&] { OpenTreePopup(e->globalPos()); });
            return true;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return RouteDragEvent(
                event,
                [this](const TPelvarDragObject& d, const QPoint& p) { return TreeDragOver(d, p); },
                [this](const TPelvarDragObject& d, const QPoint& p) { TreeDragDrop(d, p); });
        default:
            return false;
    }
}
