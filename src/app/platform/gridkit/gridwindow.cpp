#include "gridwindow.h"

TGridWindowModel::TGridWindowModel(QObject* parent) : TRowsTableModel(parent) {}

void TGridWindowModel::SetSourceModel(QAbstractItemModel* source) {
    beginResetModel();
    if (FSource) FSource->disconnect(this);
    FSource = source;
    FFirst = 0;
    if (source) {
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                &TGridWindowModel::beginResetModel);
        connect(source, &QAbstractItemModel::modelReset, this, &TGridWindowModel::SourceReset);
        connect(source, &QAbstractItemModel::rowsInserted, this, &TGridWindowModel::Resync);
        connect(source, &QAbstractItemModel::rowsRemoved, this, &TGridWindowModel::Resync);
        connect(source, &QAbstractItemModel::layoutChanged, this, &TGridWindowModel::Resync);
        connect(source, &QAbstractItemModel::dataChanged, this,
                &TGridWindowModel::SourceDataChanged);
        connect(source, &QAbstractItemModel::headerDataChanged, this,
                &TGridWindowModel::headerDataChanged);
    }
    FRows = Shown();
    FColumns = source ? source->columnCount() : 0;
    endResetModel();
    emit WindowChanged();
}

int TGridWindowModel::Shown() const {
    if (!FSource) return 0;
    return qBound(0, FSource->rowCount() - FFirst, FCapacity);
}

int TGridWindowModel::MaxFirst() const {
    return FSource ? qMax(0, FSource->rowCount() - FCapacity) : 0;
}

void TGridWindowModel::SourceReset() {
    FFirst = qMin(FFirst, MaxFirst());
    FRows = Shown();
    FColumns = FSource ? FSource->columnCount() : 0;
    endResetModel();
    emit WindowChanged();
}

// The source grew or shrank: the window keeps its first row where it can and
// shows what now lies there.
void TGridWindowModel::Resync() {
    if (FSource && FSource->columnCount() != FColumns) {
        beginResetModel();
        SourceReset();
        return;
    }
    FFirst = qMin(FFirst, MaxFirst());
    ResizeRows(Shown());
    if (FRows > 0 && FColumns > 0) emit dataChanged(index(0, 0), index(FRows - 1, FColumns - 1));
    emit headerDataChanged(Qt::Vertical, 0, qMax(0, FRows - 1));
    emit WindowChanged();
}

void TGridWindowModel::SetFirst(int first) {
    first = qBound(0, first, MaxFirst());
    if (first == FFirst) return;
    FFirst = first;
    Resync();
}

void TGridWindowModel::SetCapacity(int rows) {
    rows = qMax(1, rows);
    if (rows == FCapacity) return;
    FCapacity = rows;
    Resync();
}

void TGridWindowModel::SourceDataChanged(const QModelIndex& from, const QModelIndex& to,
                                         const QList<int>& roles) {
    const int top = qMax(from.row() - FFirst, 0);
    const int bottom = qMin(to.row() - FFirst, FRows - 1);
    if (top <= bottom)
        emit dataChanged(index(top, from.column()), index(bottom, to.column()), roles);
}

QModelIndex TGridWindowModel::MapToSource(const QModelIndex& index) const {
    if (!FSource || !index.isValid()) return {};
    return FSource->index(FFirst + index.row(), index.column());
}

QModelIndex TGridWindowModel::MapFromSource(const QModelIndex& index) const {
    if (!index.isValid() || index.row() < FFirst || index.row() >= FFirst + FRows) return {};
    return this->index(index.row() - FFirst, index.column());
}

int TGridWindowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRows;
}

int TGridWindowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FColumns;
}

QVariant TGridWindowModel::data(const QModelIndex& index, int role) const {
    return FSource ? FSource->data(MapToSource(index), role) : QVariant();
}

bool TGridWindowModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    return FSource && FSource->setData(MapToSource(index), value, role);
}

Qt::ItemFlags TGridWindowModel::flags(const QModelIndex& index) const {
    return FSource ? FSource->flags(MapToSource(index)) : Qt::NoItemFlags;
}

QVariant TGridWindowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!FSource) return {};
    return FSource->headerData(orientation == Qt::Vertical ? FFirst + section : section,
                               orientation, role);
}
