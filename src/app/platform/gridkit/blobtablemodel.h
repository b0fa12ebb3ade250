#pragma once

#include "rowsmodel.h"

class TBlobTable;

// The data grid's model of a BLOB table: its rows as they are in memory,
// shown like a table's (NULL as "(null)", BLOBs as "(BLOB)"). Cells are not
// typed into: a row is edited whole in the record editor.
class TBlobTableModel : public TRowsTableModel {
    Q_OBJECT
  public:
    explicit TBlobTableModel(TBlobTable& table, QObject* parent = nullptr);

    TBlobTable& Table() const { return FTable; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // The record ID of a row; 0 when there is none.
    qint64 RecordID(int row) const;
    // After a write: shows the rows as they now are.
    void Reload();

  private:
    TBlobTable& FTable;
};
