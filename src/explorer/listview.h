#pragma once

#include <QListView>
#include <QStackedWidget>
#include <QTreeView>
#include <vector>

#include "listrowmodel.h"

class QItemSelectionModel;
class QLabel;

// The icon views need to place single icons (drops within the same list).
class TListIconView : public QListView {
    Q_OBJECT
  public:
    using QListView::QListView;
    void MoveItem(const QModelIndex& index, const QPoint& delta);
    QPoint ItemPosition(const QModelIndex& index) const;
};

// The explorer's list: one row model shown by an icon view (large icons, small
// icons, list) or by a details view, with one selection shared by both.
class TPelvarListView : public QStackedWidget {
    Q_OBJECT
  public:
    enum TViewStyle { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };

    explicit TPelvarListView(QWidget* parent = nullptr);

    TListRowModel& Model() { return *FModel; }
    const TListRowModel& Model() const { return *FModel; }
    std::vector<TListRow>& Rows() { return FModel->Rows(); }
    const std::vector<TListRow>& Rows() const { return FModel->Rows(); }
    // The columns in the order the rows are filled: the caption column (tag 0)
    // first, whatever place the user gave it, so that a folder's caption and
    // sub-items land under their own headers.
    const TListColumns& RowColumns() const { return FModel->Columns(); }
    // The columns in the order the header shows them.
    TListColumns ShownColumns() const;
    int RowCount() const { return int(FModel->Rows().size()); }

    int ViewStyle() const { return FViewStyle; }
    void SetViewStyle(int style);
    bool IconViewStyle() const { return FViewStyle == vsIcon || FViewStyle == vsSmallIcon; }
    void SetAutoArrange(bool on);
    void LineUpIcons();

    QAbstractItemView* CurrentView() const;
    TListIconView* IconView() const { return FIconView; }
    QTreeView* DetailsView() const { return FDetailsView; }
    QItemSelectionModel* SelectionModel() const;

    // Selected rows in row order.
    std::vector<int> SelectedRows() const;
    int SelCount() const;
    bool IsSelected(int row) const;
    int FocusedRow() const;
    // Makes the row current; with `select` it becomes the only selected row.
    void SetFocusedRow(int row, bool select);
    void SetSelection(const std::vector<int>& rows);
    void SelectAll();
    void InvertSelection();
    void ClearSelection();
    void ScrollToRow(int row);
    // The row under a point of the current view's viewport, -1 for none.
    int RowAt(const QPoint& viewportPos) const;

    // Shows these columns in this order; between Model().BeginReset() and
    // EndReset(), followed by ApplyColumnLayout().
    void AssignColumns(const TListColumns& shown);
    // After the rows were replaced or reordered through Rows().
    void RowsReset();
    // Shows the columns in the user's order with their widths (a model reset
    // forgets both).
    void ApplyColumnLayout();

    // A hint shown over the list while it has no rows (empty: none).
    void SetPlaceholderText(const QString& text);
    QString PlaceholderText() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void KeepDropsWithTheWindow();
    void UpdatePlaceholder();
    QLabel* FPlaceholder = nullptr;
    TListRowModel* FModel;
    TListIconView* FIconView;
    QTreeView* FDetailsView;
    int FViewStyle = vsList;
    bool FAutoArrange = false;
    bool FApplyingLayout = false;
    std::vector<int> FShownOrder;  // row column index at each shown place
};
