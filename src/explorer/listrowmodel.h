#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "model/viewitems.h"

// The rows of an explorer list over one vector: the icon views and the details
// view show the same model, so a folder is filled and sorted once.
class TListRowModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The row's indentation (levels) in the caption column.
    static constexpr int IndentRole = Qt::UserRole + 1;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Direct access for bulk work; bracket changes with BeginReset/EndReset.
    std::vector<TListRow>& Rows() { return FRows; }
    const std::vector<TListRow>& Rows() const { return FRows; }
    const TListColumns& Columns() const { return FColumns; }
    TListColumns& Columns() { return FColumns; }
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }

    void InsertRow(int position, TListRow row);
    void RemoveRow(int position);
    void RowChanged(int position);
    // Header sort mark: column index and direction, -1 for none.
    void SetSortMark(int column, bool descending);
    int SortMarkColumn() const { return FSortColumn; }
    bool SortMarkDescending() const { return FSortDescending; }

  private:
    std::vector<TListRow> FRows;
    TListColumns FColumns;
    int FSortColumn = -1;
    bool FSortDescending = false;
};
