#pragma once

#include <QModelIndex>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>

class QScrollBar;
class TDataGrid;
class TGridWindowModel;

// The table view inside a data grid: it shows only the rows on screen, so
// moving the cursor past them scrolls the grid instead.
class TDataGridView : public QTableView {
  public:
    TDataGridView(TDataGrid& grid, QWidget* parent);

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    TDataGrid& FGrid;
};

// A data grid over a model of any length: the view is told only of the rows
// that fit on screen (a window over the model) and a scroll bar of its own
// stands for the whole model, so nothing is kept per row of the model.
// Rows and indexes in this interface are the model's.
class TDataGrid : public QWidget {
    Q_OBJECT
  public:
    explicit TDataGrid(QWidget* parent = nullptr);

    void SetModel(QAbstractItemModel* model);
    QAbstractItemModel* Model() const { return FModel; }
    QTableView* View() const { return FView; }
    QScrollBar* ScrollBar() const { return FScrollBar; }
    QHeaderView* horizontalHeader() const;
    int RowHeight() const;

    // The current cell; invalid when there is none.
    QModelIndex CurrentIndex() const;
    int CurrentRow() const { return FCurrentRow; }
    int CurrentColumn() const { return FCurrentColumn; }
    // Makes the cell current and scrolls it into view.
    void SetCurrent(int row, int column);
    void SetCurrentIndex(const QModelIndex& index) { SetCurrent(index.row(), index.column()); }
    int FirstRow() const;
    int VisibleRows() const;
    void ScrollToRow(int first);
    // The row shown on screen, first row first, when it is.
    void EnsureVisible(int row);
    // Starts editing the current cell.
    void EditCurrent();

  signals:
    void CurrentChanged(const QModelIndex& current);
    void DoubleClicked(const QModelIndex& index);

  private:
    friend class TDataGridView;
    void UpdateCapacity();
    void UpdateScrollBar();
    void ViewCurrentChanged(const QModelIndex& current);
    void ShowCurrent();
    QAbstractItemModel* FModel = nullptr;
    TGridWindowModel* FWindow;
    TDataGridView* FView;
    QScrollBar* FScrollBar;
    int FCurrentRow = -1;
    int FCurrentColumn = -1;
    bool FSyncing = false;
};

// Paints a cell as one line of text, cut with an ellipsis: a grid's cells
// never wrap, and the full text layout of the default delegate costs more
// than the rows' reading.
class TDataGridDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
