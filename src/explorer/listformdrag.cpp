// Drag and drop: starting a drag of the selected rows, and routing the drags
// that reach the list and the tree to the objects under the mouse.
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
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
