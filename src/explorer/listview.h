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
    const TListColumns& Columns() const { return FModel->Columns(); }
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

    // Replaces the columns (takes their widths into the details view).
    void SetColumns(const TListColumns& columns);
    // After the rows were replaced or reordered through Rows().
    void RowsReset();
    // Shows the columns in their order with their widths.
    void ApplyColumnWidths();
    // Column indices in the order the header shows them.
    std::vector<int> DisplayedColumnOrder() const;

    // A hint shown over the list while it has no rows (empty: none).
    void SetPlaceholderText(const QString& text);
    QString PlaceholderText() const;

  signals:
    void ColumnWidthChanged(int column, int width);
    // The user dragged a column header to a new place.
    void ColumnMoved();

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
    bool FApplyingWidths = false;
};
