// Change notifications: queued from any thread, consumed one per pass of the
// event loop on the main thread.
#include <QTreeWidget>
#include <algorithm>

#include "basekit/errors.h"
#include "basekit/tracelog.h"
#include "changequeue.h"
#include "commonlistform.h"
#include "listview.h"

void TCommonListForm::DataChanged(const QString& FullPath) {
    FChanges->Add(FullPath);
}

int TCommonListForm::PendingChanges() const {
    return FChanges->Count();
}

namespace {

// Nodes of a freed subtree are made again on the next expansion.
void ClearNodesCreated(TPelvarObject* object) {
    object->SetNodesCreated(false);
    for (int i = 0; i < object->SubObjects().Count(); ++i)
        ClearNodesCreated(object->SubObjects().Items(i));
}

// Tree items are owned by their tree; taking one out hands it to us.
void DeleteTreeNode(QTreeWidgetItem* node) {
    std::unique_ptr<QTreeWidgetItem> gone(node);
}

}  // namespace

void TCommonListForm::RenavigateAfterChange(const QString& path) {
    // Show the deepest folder of the path that is still loaded. Walking on
    // through closed folders would open them again (a database just
    // disconnected would ask for a login), and stopping short would leave rows
    // of objects the change destroyed.
    QString target = path;
    while (!target.isEmpty() && !FindObjectByPath(FRootObject.get(), target))
        target.truncate(std::max<qsizetype>(0, target.lastIndexOf(QLatin1Char('\\'))));
    try {
        SetCurrentPath(target);
    } catch (const EPelvarError&) {
        SetCurrentPath(QString());
    }
    if (FCurrentPath != target) SetCurrentPath(QString());
}

bool TCommonListForm::ProcessNextChange() {
    PELVAR_TRACE("TCommonListForm.ProcessNextChange");
    FRefreshing = true;
    bool lastOne = true;
    QString path;
    const bool taken = FChanges->Take(path, lastOne);
    if (!taken || !FRootObject) {
        FRefreshing = false;
        return true;
    }
    struct TReset {
        TCommonListForm* Form;
        bool Deleting;
        ~TReset() {
            Form->FRefreshing = false;
            Form->DeletingNode = Deleting;
        }
    } reset{this, DeletingNode};
    DeletingNode = true;

    if (path.isEmpty()) {
        const bool rebuilt = FRootObject->Refresh();
        QTreeWidgetItem* top = FTreeView->topLevelItem(0);
        if (rebuilt || !top) {
            FTreeView->clear();
            ClearNodesCreated(FRootObject.get());
            top = AddTreeNode(nullptr, FRootObject.get());
        }
        FillTreeNode(top, FRootObject.get());
        ExpandNode(top);
        if (rebuilt) {
            if (!FCurrentPath.isEmpty())
                RenavigateAfterChange(FCurrentPath);
            else
                FillListView();
        }
        return lastOne;
    }

    const int split = path.lastIndexOf(QLatin1Char('\\'));
    const QString parentPath = path.left(std::max(split, 0));
    const QString subPath = path.mid(split + 1);
    TPelvarObject* parent = FindObjectByPath(FRootObject.get(), parentPath);
    if (!parent || !parent->Opened()) return lastOne;

    // Nodes and rows are found before the folder re-reads: it may free the child.
    QTreeWidgetItem* childNode = FindTreeNodeByPath(path);
    QTreeWidgetItem* parentNode = FindTreeNodeByPath(parentPath);
    const bool parentShown = parentPath == FCurrentPath;
    int row = parentShown ? FindListItemByPath(subPath) : -1;
    const bool currentBelow =
        FCurrentPath == path || FCurrentPath.startsWith(path + QLatin1Char('\\'));

    switch (parent->RefreshItem(subPath)) {
        case ctItemChanged: {
            TPelvarObject* child = parent->SubObjects().FindBySubPath(subPath);
            if (!child) break;
            const bool rebuilt = child->IsFolder() && child->Refresh();
            if (childNode) {
                if (rebuilt) {
                    const bool wasCurrent = FTreeView->currentItem() == childNode;
                    DeleteTreeNode(childNode);
                    ClearNodesCreated(child);
                    childNode = parentNode ? AddTreeNode(parentNode, child) : nullptr;
                    if (childNode && wasCurrent) SelectTreeNodeQuietly(childNode);
                }
                if (childNode) FillTreeNode(childNode, child);
            }
            if (parentShown) {
                if (row >= 0) {
                    FListView->Rows()[size_t(row)].Data = child;
                    FillRow(FListView->Rows()[size_t(row)]);
                    FListView->Model().RowChanged(row);
                }
            } else if (rebuilt) {
                if (FCurrentPath == child->FullPath())
                    FillListView();
                else if (FCurrentPath.startsWith(child->FullPath() + QLatin1Char('\\')))
                    RenavigateAfterChange(FCurrentPath);
            } else if (FCurrentPath == child->FullPath() && !child->Opened() && child->AutoOpen()) {
                // The folder shown could not open before and now opens by
                // itself (a database just connected): show what it holds.
                RenavigateAfterChange(FCurrentPath);
            }
            break;
        }
        case ctItemAdded: {
            TPelvarObject* child = parent->SubObjects().FindBySubPath(subPath);
            if (!child)
                throw EPelvarError(QStringLiteral("Added object not found. Path:") + parentPath +
                                   QLatin1Char('\\') + subPath);
            // The tree shows folders only.
            if (parentNode && parent->NodesCreated() && child->IsFolder() && !childNode)
                AddTreeNode(parentNode, child);
            if (parentShown && row < 0) {
                TListRow newRow;
                newRow.Data = child;
                FillRow(newRow);
                FListView->Model().InsertRow(SortedInsertPosition(child), std::move(newRow));
            }
            break;
        }
        case ctItemDeleted:
            if (childNode) {
                const bool wasCurrent = FTreeView->currentItem() == childNode ||
                                        (FTreeView->currentItem() && currentBelow);
                DeleteTreeNode(childNode);
                if (wasCurrent && parentNode) SelectTreeNodeQuietly(parentNode);
            }
            if (parentShown) {
                if (row >= 0) FListView->Model().RemoveRow(row);
            } else if (currentBelow) {
                SetCurrentPath(parentPath);
            }
            break;
    }
    return lastOne;
}
