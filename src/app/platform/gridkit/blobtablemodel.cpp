#include "blobtablemodel.h"

#include <QColor>

#include "blobtable.h"
#include "tablevalues.h"

TBlobTableModel::TBlobTableModel(TBlobTable& table, QObject* parent)
    : TRowsTableModel(parent), FTable(table) {
    FRows = table.RowCount();
}

int TBlobTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRows;
}

int TBlobTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FTable.Fields().size());
}

QVariant TBlobTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= FTable.RowCount()) return {};
    const TQXVariant& v = FTable.Row(index.row()).Values[index.column()];
    if (role == Qt::ForegroundRole) return v.IsNull() ? QVariant(QColor(Qt::gray)) : QVariant();
    if (role != Qt::DisplayRole) return {};
    return GridDisplayText(v, FTable.Fields()[index.column()].DataType);
}

QVariant TBlobTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= FTable.Fields().size()) return {};
    return FTable.Fields()[section].Name;
}

qint64 TBlobTableModel::RecordID(int row) const {
    return row >= 0 && row < FTable.RowCount() ? FTable.Row(row).ID : 0;
}

void TBlobTableModel::Reload() {
    beginResetModel();
    FRows = FTable.RowCount();
    endResetModel();
}
