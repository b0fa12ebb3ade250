// Mouse, keyboard and drag-and-drop events of the list and the tree.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidget>

#include "commonlistform.h"
#include "imagelists.h"
#include "listview.h"
#include "model/dragobject.h"
#include "popupmenuwokey.h"

namespace {

// Carries a drag object between the windows of this process.
class TPelvarDragMime : public QMimeData {
  public:
    explicit TPelvarDragMime(TPelvarDragObject* drag) : FDrag(drag) {}
    TPelvarDragObject* Drag() const {
        return TPelvarDragObject::IsRunning(FDrag) ? FDrag : nullptr;
    }
    QStringList formats() const override {
        return {QStringLiteral("application/x-pelvar-objects")};
    }

  private:
    TPelvarDragObject* FDrag;
};

TPelvarDragObject* DragOf(const QMimeData* mime) {
    auto* ours = dynamic_cast<const TPelvarDragMime*>(mime);
    return ours ? ours->Drag() : nullptr;
}

TCommonListForm::TDragRunner& DragRunner() {
    static TCommonListForm::TDragRunner runner;
    return runner;
}

// A right drag starts once the mouse has moved this far.
constexpr int kRightDragThreshold = 50;

// The picture dragged along: the rows' icons and captions, a few at most.
QPixmap DragPicture(const TPelvarListView& list, const std::vector<int>& rows) {
    const int shown = std::min<int>(int(rows.size()), 5);
    QPixmap picture(220, 18 * shown + 2);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    for (int i = 0; i < shown; ++i) {
        const TListRow& row = list.Rows()[size_t(rows[size_t(i)])];
        if (row.ImageIndex >= 0)
            p.drawPixmap(1, 1 + 18 * i, TImageLists::ObjectPixmap(row.ImageIndex));
        p.drawText(QRect(20, 1 + 18 * i, 198, 16), Qt::AlignVCenter, row.Caption);
    }
    return picture;
}

}  // namespace

void TCommonListForm::SetDragRunner(TDragRunner runner) {
    DragRunner() = std::move(runner);
}

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
            if (e->button() == Qt::LeftButton) {
                FLeftPressPos = pos;
                FLeftPressRow = FListView->RowAt(pos);
            } else if (e->button() == Qt::RightButton) {
                FRightDragArmed = true;
                FRightPressPos = pos;
            }
            return false;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint pos = e->position().toPoint();
            if ((e->buttons() & Qt::LeftButton) && FLeftPressRow >= 0 &&
                (pos - FLeftPressPos).manhattanLength() >= QApplication::startDragDistance()) {
                const bool fromSelection = FListView->IsSelected(FLeftPressRow);
                FLeftPressRow = -1;
                if (fromSelection) {
                    Guard([&] { DragSelectedRows(false, FLeftPressPos); });
                    return true;
                }
            }
            if (FRightDragArmed && (e->buttons() & Qt::RightButton)) {
                if ((pos - FRightPressPos).manhattanLength() >= kRightDragThreshold) {
                    FRightDragArmed = false;
                    Guard([&] { DragSelectedRows(true, FRightPressPos); });
                }
                return true;
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            FLeftPressRow = -1;
            if (e->button() == Qt::RightButton && FRightDragArmed) {
                FRightDragArmed = false;
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

bool TCommonListForm::RouteDragEvent(QEvent* event, const TDragOver& over, const TDragDrop& drop) {
    auto* e = static_cast<QDropEvent*>(event);  // enter and move events are drop events too
    TPelvarDragObject* drag = DragOf(e->mimeData());
    if (!drag) return false;
    bool accepted = false;
    Guard([&] {
        accepted = over(*drag, e->position().toPoint());
        if (accepted && event->type() == QEvent::Drop) drop(*drag, e->position().toPoint());
    });
    if (accepted)
        e->acceptProposedAction();
    else
        e->ignore();
    // An enter is always taken, so that the moves that follow are asked.
    if (event->type() == QEvent::DragEnter) e->accept();
    return true;
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

// ---- drag and drop ----

TPelvarDragObject* TCommonListForm::ListViewStartDrag(bool rightButton, const QPoint& origin) {
    const std::vector<int> rows = FListView->SelectedRows();
    if (rows.empty()) return nullptr;
    TPelvarDragObject* drag = TPelvarDragObject::Begin();
    drag->RightFlag = rightButton;
    drag->ListView = FListView;
    drag->SetDragImages(DragPicture(*FListView, rows));
    drag->Origin = origin;
    if (IsFileRoot()) {
        const QString file = static_cast<TDOCommonFileObject*>(FRootObject.get())->FileName();
        drag->FullPath = file.isEmpty() ? FFileName : file;
        drag->FromEIFile = true;
    } else {
        drag->FullPath = FCurrentPath;
    }
    for (int row : rows)
        drag->Items.AddCopyOf(*FListView->Rows()[size_t(row)].Data);
    return drag;
}

void TCommonListForm::DragSelectedRows(bool rightButton, const QPoint& origin) {
    TPelvarDragObject* drag = ListViewStartDrag(rightButton, origin);
    if (!drag) return;
    QWidget* source = FListView->CurrentView()->viewport();
    QPointer<QDrag> qdrag = new QDrag(source);  // Qt frees it after the drag
    qdrag->setMimeData(new TPelvarDragMime(drag));
    if (const QPixmap* picture = drag->GetDragImages()) qdrag->setPixmap(*picture);
    drag->ShowDragImage();
    Qt::DropAction result = Qt::IgnoreAction;
    try {
        result = DragRunner() ? DragRunner()(*qdrag)
                              : qdrag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    } catch (...) {
        drag->Finished(nullptr, 0, 0, false);
        if (qdrag) qdrag->deleteLater();
        throw;
    }
    QObject* target = qdrag ? qdrag->target() : nullptr;
    const QPoint at = QCursor::pos();
    drag->Finished(target, at.x(), at.y(), result != Qt::IgnoreAction);
    if (qdrag) qdrag->deleteLater();
}

bool TCommonListForm::ListDragOver(const TPelvarDragObject& Source, const QPoint& Pos) {
    const int row = FListView->RowAt(Pos);
    if (row >= 0 && FListView->Rows()[size_t(row)].Data->AcceptDragObject(Source)) return true;
    // Icons of this same list may be moved about; the database root places
    // its icons freely in every view.
    if (Source.ListView == FListView)
        return FListView->IconViewStyle() || (FCurrentPath.isEmpty() && !IsFileRoot());
    TPelvarObject* folder = FindCurrentFolder();
    return folder && folder->AcceptDragObject(Source);
}

void TCommonListForm::ListDragDrop(const TPelvarDragObject& Source, const QPoint& Pos) {
    SetDropPopupMenu(FListViewPopupMenu);
    const QPoint global = FListView->CurrentView()->viewport()->mapToGlobal(Pos);
    const auto deliver = [&](TPelvarObject* target) {
        if (Source.RightFlag)
            target->DragObjectDroppedRight(Source, global.x(), global.y());
        else
            target->DragObjectDropped(Source);
    };
    const int row = FListView->RowAt(Pos);
    if (row >= 0) {
        TPelvarObject* target = FListView->Rows()[size_t(row)].Data;
        if (target->AcceptDragObject(Source)) {
            deliver(target);
            return;
        }
    }
    if (Source.ListView == FListView) {
        MoveSelectedIcons(Pos - Source.Origin);
        return;
    }
    TPelvarObject* folder = FindCurrentFolder();
    if (folder && folder->AcceptDragObject(Source)) deliver(folder);
}

void TCommonListForm::MoveSelectedIcons(const QPoint& delta) {
    if (!FListView->IconViewStyle()) return;
    for (int row : FListView->SelectedRows())
        FListView->IconView()->MoveItem(FListView->Model().index(row, 0), delta);
}

bool TCommonListForm::TreeDragOver(const TPelvarDragObject& Source, const QPoint& Pos) {
    TPelvarObject* target = NodeObject(FTreeView->itemAt(Pos));
    return target && target->AcceptDragObject(Source);
}

void TCommonListForm::TreeDragDrop(const TPelvarDragObject& Source, const QPoint& Pos) {
    // A right drag dropped here does nothing: only the list offers the drop menu.
    if (TPelvarObject* target = NodeObject(FTreeView->itemAt(Pos)))
        target->DragObjectDropped(Source);
}
