#pragma once

#include <QAbstractTableModel>

// A table model that tells its views of a new row count by inserting or
// removing rows at the end, so a view keeps its current cell and scroll
// position when rows arrive or go.
class TRowsTableModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

  protected:
    void ResizeRows(int rows) {
        if (rows > FRows) {
            beginInsertRows(QModelIndex(), FRows, rows - 1);
            FRows = rows;
            endInsertRows();
        } else if (rows < FRows) {
            beginRemoveRows(QModelIndex(), rows, FRows - 1);
            FRows = rows;
            endRemoveRows();
        }
    }
    int FRows = 0;  // rows the views were told of
};
