#include "listrowmodel.h"

#include "imagelists.h"

int TListRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FRows.size());
}

int TListRowModel::columnCount(const QModelIndex& parent) const {
    // The icon views show column 0 even when a folder offers no columns.
    return parent.isValid() ? 0 : std::max(1, FColumns.Count());
}

QVariant TListRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(FRows.size())) return {};
    const TListRow& row = FRows[size_t(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == 0) return row.Caption;
            return column - 1 < row.SubItems.size() ? row.SubItems[column - 1] : QString();
        case Qt::DecorationRole:
            if (column == 0 && row.ImageIndex >= 0) return TImageLists::ObjectIcon(row.ImageIndex);
            return {};
        case IndentRole:
            return column == 0 ? row.Indent : 0;
        default:
            return {};
    }
}

QVariant TListRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= FColumns.Count()) return {};
    if (role == Qt::DisplayRole) return FColumns[section].Caption;
    if (role == Qt::DecorationRole && section == FSortColumn)
        return TImageLists::HeaderIcon(FSortDescending ? HeaderImage::SortDescending
                                                       : HeaderImage::SortAscending);
    return {};
}

Qt::ItemFlags TListRowModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TListRowModel::InsertRow(int position, TListRow row) {
    beginInsertRows(QModelIndex(), position, position);
    FRows.insert(FRows.begin() + position, std::move(row));
    endInsertRows();
}

void TListRowModel::RemoveRow(int position) {
    beginRemoveRows(QModelIndex(), position, position);
    FRows.erase(FRows.begin() + position);
    endRemoveRows();
}

void TListRowModel::RowChanged(int position) {
    emit dataChanged(index(position, 0), index(position, columnCount() - 1));
}

void TListRowModel::SetSortMark(int column, bool descending) {
    if (column == FSortColumn && descending == FSortDescending) return;
    const int old = FSortColumn;
    FSortColumn = column;
    FSortDescending = descending;
    if (old >= 0 && old < FColumns.Count()) emit headerDataChanged(Qt::Horizontal, old, old);
    if (column >= 0 && column < FColumns.Count())
        emit headerDataChanged(Qt::Horizontal, column, column);
}
