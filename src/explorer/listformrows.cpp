// The list's rows: bulk updates filled and sorted once, sorting by the folder's
// Compare, the sort marks and the columns shown.
#include <QHash>
#include <QMenu>
#include <algorithm>

#include "commonlistform.h"
#include "imagelists.h"
#include "listcolumnsselectform.h"
#include "listview.h"

namespace {

constexpr int kDescending = 1000000;

}  // namespace

void TCommonListForm::BeginListUpdate() {
    if (FListUpdateCount++ > 0) return;
    FRestoreSelection.clear();
    FRestoreFocus = nullptr;
    // A navigation shows another folder: its selection comes from the options.
    if (!FChangingPath) {
        for (int row : FListView->SelectedRows())
            FRestoreSelection.push_back(FListView->Rows()[size_t(row)].Data);
        const int focused = FListView->FocusedRow();
        if (focused >= 0) FRestoreFocus = FListView->Rows()[size_t(focused)].Data;
    }
    FListView->Model().BeginReset();
}

void TCommonListForm::EndListUpdate() {
    if (--FListUpdateCount > 0) return;
    TPelvarObject* focus = FPendingFocus;
    FPendingFocus = nullptr;
    const bool fill = FPendingFill, sort = FPendingSort;
    FPendingFill = FPendingSort = false;
    try {
        if (fill) FillRowsNow();
        if (sort) SortRowsNow();
    } catch (...) {
        FListView->Model().EndReset();
        throw;
    }
    FListView->Model().EndReset();
    FListView->ApplyColumnLayout();
    UpdateSortMarks();

    if (!FRestoreSelection.empty() || FRestoreFocus || focus) {
        QHash<const TPelvarObject*, int> rowOf;
        const std::vector<TListRow>& rows = FListView->Rows();
        rowOf.reserve(qsizetype(rows.size()));
        for (size_t i = 0; i < rows.size(); ++i)
            rowOf.insert(rows[i].Data, int(i));
        if (focus) {
            const int row = rowOf.value(focus, -1);
            FListView->SetFocusedRow(row, true);
            FListView->ScrollToRow(row);
        } else {
            if (FRestoreFocus) FListView->SetFocusedRow(rowOf.value(FRestoreFocus, -1), false);
            std::vector<int> selected;
            for (TPelvarObject* object : FRestoreSelection)
                if (const int row = rowOf.value(object, -1); row >= 0) selected.push_back(row);
            std::sort(selected.begin(), selected.end());
            FListView->SetSelection(selected);
        }
    }
    FRestoreSelection.clear();
    FRestoreFocus = nullptr;
}

void TCommonListForm::AbandonListUpdate() noexcept {
    try {
        FPendingFill = FPendingSort = false;
        EndListUpdate();
    } catch (...) {
        // The error already on its way is the one to report.
    }
}

void TCommonListForm::FillRow(TListRow& row) {
    row.Caption.clear();
    row.SubItems.clear();
    row.ImageIndex = -1;
    row.Data->FillListViewItem(row, FListView->RowColumns());
}

void TCommonListForm::FillRowsNow() {
    for (TListRow& row : FListView->Rows())
        FillRow(row);
}

void TCommonListForm::RefillRows() {
    if (FListUpdateCount > 0) {
        FPendingFill = true;
        return;
    }
    FillRowsNow();
    if (FListView->RowCount() > 0)
        emit FListView->Model().dataChanged(
            FListView->Model().index(0, 0),
            FListView->Model().index(FListView->RowCount() - 1,
                                     FListView->Model().columnCount() - 1));
}

void TCommonListForm::SortRows() {
    BeginListUpdate();
    FPendingSort = true;
    EndListUpdate();
}

void TCommonListForm::SortRowsNow() {
    TPelvarObject* folder = FindCurrentFolder();
    if (!folder) return;
    const bool descending = FSortType >= kDescending;
    const int type = descending ? FSortType - kDescending : FSortType;
    std::vector<TListRow>& rows = FListView->Rows();
    std::stable_sort(rows.begin(), rows.end(), [&](const TListRow& a, const TListRow& b) {
        const int c = folder->Compare(a.Data, b.Data, type);
        return descending ? c > 0 : c < 0;
    });
}

int TCommonListForm::SortedInsertPosition(TPelvarObject* object) const {
    TPelvarObject* folder = FindCurrentFolder();
    const std::vector<TListRow>& rows = FListView->Rows();
    if (!folder) return int(rows.size());
    const bool descending = FSortType >= kDescending;
    const int type = descending ? FSortType - kDescending : FSortType;
    const auto it = std::upper_bound(rows.begin(), rows.end(), object,
                                     [&](TPelvarObject* value, const TListRow& row) {
                                         const int c = folder->Compare(value, row.Data, type);
                                         return descending ? c > 0 : c < 0;
                                     });
    return int(it - rows.begin());
}

void TCommonListForm::SetSortType(int T) {
    FSortType = T;
    SortRows();
    UpdateSortMarks();
}

void TCommonListForm::UpdateSortMarks() {
    const bool descending = FSortType >= kDescending;
    const int tag = descending ? FSortType - kDescending : FSortType;
    FListView->Model().SetSortMark(FListView->RowColumns().IndexOfTag(tag), descending);
    for (QAction* item : FArrangeIconsMenu->actions()) {
        if (item->isSeparator()) break;
        item->setIcon(item->data().toInt() == tag ? TImageLists::ActionIcon(ActionImage::Check)
                                                  : QIcon());
    }
}

void TCommonListForm::ColumnClick(int column) {
    const TListColumns shown = ListColumns();
    if (column < 0 || column >= shown.Count()) return;
    const int tag = shown[column].Tag;
    if (FSortType == tag)
        SetSortType(tag + kDescending);
    else if (FSortType == tag + kDescending)
        SetSortType(tag);
    else
        SetSortType(FSortType >= kDescending ? tag + kDescending : tag);
}

void TCommonListForm::ArrangeIconsBy(int tag) {
    if (FSortType == tag || FSortType == tag + kDescending) return;
    SetSortType(FSortType >= kDescending ? tag + kDescending : tag);
}

void TCommonListForm::UpdateSortTypes() {
    for (QAction* item : FArrangeIconsMenu->actions()) {
        if (item->isSeparator()) break;
        FArrangeIconsMenu->removeAction(item);
        item->deleteLater();
    }
    QAction* separator = FArrangeIconsMenu->actions().value(0);
    TPelvarObject* folder = FindCurrentFolder();
    for (const TListColumn& column : FAvailableColumns) {
        auto* item =
            new QAction(folder ? folder->GetSortMenuItemCaption(column.Tag) : column.Caption,
                        FArrangeIconsMenu);
        item->setData(column.Tag);
        const int tag = column.Tag;
        connect(item, &QAction::triggered, this,
                [this, tag] { Guard([&] { ArrangeIconsBy(tag); }); });
        FArrangeIconsMenu->insertAction(separator, item);
    }
}

TListColumns TCommonListForm::ListColumns() const {
    return FListView->ShownColumns();
}

void TCommonListForm::SetListColumns(const TListColumns& columns) {
    BeginListUpdate();
    FListView->AssignColumns(columns);
    FPendingFill = true;
    EndListUpdate();
}

void TCommonListForm::SelectColumns() {
    TListColumnsSelectForm form(ListColumns(), FAvailableColumns, this);
    if (!form.Execute()) return;
    SetListColumns(form.SelectedColumns());
    // A hidden column cannot show its sort mark: the key column takes the
    // order over, in the same direction.
    const TListColumns shown = ListColumns();
    const bool descending = FSortType >= kDescending;
    if (shown.Empty() || shown.IndexOfTag(descending ? FSortType - kDescending : FSortType) >= 0)
        return;
    const int key = shown.IndexOfTag(0) >= 0 ? 0 : shown[0].Tag;
    SetSortType(descending ? key + kDescending : key);
}
