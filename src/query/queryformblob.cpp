#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include "appcore/texts.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "gridkit/resultmodel.h"
#include "queryform.h"
#include "querywindows.h"

// The result's commands that look at one cell: find in its column and the
// BLOB viewers.

bool TQueryForm::CurrentBlobAllowed() const {
    const QModelIndex current = FResultView->currentIndex();
    return current.isValid() &&
           BlobCommandAllowed(current.column(), current.row(),
                              FModel->IsBlobCell(current.row(), current.column()));
}

void TQueryForm::UpdateResultActions() {
    const bool blob = CurrentBlobAllowed();
    Action(QStringLiteral("ShowBlobTableAction"))->setEnabled(blob);
    Action(QStringLiteral("ShowBlobAsDSPTreeAction"))->setEnabled(blob);
    Action(QStringLiteral("SaveBlobToFileAction"))->setEnabled(blob);
    Action(QStringLiteral("FindAction"))
        ->setEnabled(FResultView->currentIndex().isValid() && bool(QueryFindDialogHook()));
}

void TQueryForm::Find() {
    const TQueryFindDialogHook& ask = QueryFindDialogHook();
    QModelIndex current = FResultView->currentIndex();
    if (!ask || !current.isValid()) return;
    const int column = current.column();
    const QString caption = FModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    QString text = FModel->CellText(current.row(), column).trimmed();
    while (ask(this, caption, text, FFindDirection)) {
        const int row =
            FindResultRow([&](int r) { return FModel->CellText(r, column); }, FModel->rowCount(),
                          FResultView->currentIndex().row(), text, FFindDirection);
        if (row < 0) continue;
        current = FModel->index(row, column);
        FResultView->selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect |
                         (FResultView->selectionBehavior() == QAbstractItemView::SelectRows
                              ? QItemSelectionModel::Rows
                              : QItemSelectionModel::NoUpdate));
        FResultView->scrollTo(current);
    }
}

void TQueryForm::ShowBlobTable() {
    if (!CurrentBlobAllowed()) return;
    const QModelIndex current = FResultView->currentIndex();
    try {
        QueryBlobTableHook()(
            this, FAlias,
            QStringLiteral("QUERY.") +
                FModel->headerData(current.column(), Qt::Horizontal, Qt::DisplayRole).toString(),
            FModel->BlobBytes(current.row(), current.column()));
    } catch (const std::exception&) {
        LShowMessage(QStringLiteral("M_pelvar_QueryFrm_OpenBLOBTableError"));
    }
}

void TQueryForm::ShowBlobAsDSPTree() {
    if (!CurrentBlobAllowed()) return;
    const QModelIndex current = FResultView->currentIndex();
    QByteArray bytes = FModel->BlobBytes(current.row(), current.column());
    try {
        EditDSPTreeBytes(
            bytes,
            QStringLiteral("QUERY.") +
                FModel->headerData(current.column(), Qt::Horizontal, Qt::DisplayRole).toString(),
            true, this);
    } catch (const std::exception&) {
        LShowMessage(QStringLiteral("M_pelvar_QueryFrm_OpenDSPTreeError"));
    }
}
