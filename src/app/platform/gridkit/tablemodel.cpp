#include "tablemodel.h"

#include <QColor>
#include <QTimer>
#include <climits>

#include "appcore/dberrors.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "rowcounter.h"
#include "tablescroller.h"
#include "tablevalues.h"
#include "tablewriter.h"

TTableDataModel::TTableDataModel(TTableScroller& scroller, QObject* parent)
    : TRowsTableModel(parent),
      FScroller(scroller),
      FWriter(std::make_unique<TTableWriter>(scroller)),
      FCounter(new TRowCounter(this)) {
    connect(FCounter, &TRowCounter::Counted, this, &TTableDataModel::CountDone);
    connect(FCounter, &TRowCounter::Failed, this, &TTableDataModel::ReadFailed);
    FRows = int(qMin<qint64>(FScroller.RowCount(), INT_MAX));
}

TTableDataModel::~TTableDataModel() = default;

int TTableDataModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRows;
}

int TTableDataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FScroller.Fields().size());
}

QVariant TTableDataModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ForegroundRole) return {};
    if (!FScroller.CountKnown() && !FCountScheduled) {
        // The first screen is being drawn: count once it is on screen.
        FCountScheduled = true;
        QTimer::singleShot(0, const_cast<TTableDataModel*>(this), &TTableDataModel::StartCount);
    }
    const TScrollerRow* row = nullptr;
    try {
        row = FScroller.Row(index.row());
    } catch (const EPelvarError& e) {
        if (!FReadFailed) {
            // Once, and not from inside the painting that asked.
            FReadFailed = true;
            QTimer::singleShot(0, const_cast<TTableDataModel*>(this), [this, m = e.Message()] {
                emit const_cast<TTableDataModel*>(this)->ReadFailed(m);
            });
        }
        return {};
    }
    if (!row || index.column() >= row->Values.size()) return {};
    const TQXVariant& v = row->Values[index.column()];
    const int type = FScroller.Fields()[index.column()].DataType;
    if (role == Qt::ForegroundRole) return v.IsNull() ? QVariant(QColor(Qt::gray)) : QVariant();
    if (role == Qt::EditRole) {
        if (type == dtMemo && !v.IsNull()) return TableValueText(FullValue(index), type);
        return v.IsNull() ? QVariant() : QVariant(TableValueText(v, type));
    }
    return GridDisplayText(v, type);
}

QVariant TTableDataModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= FScroller.Fields().size()) return {};
    return FScroller.Fields()[section].Name;
}

Qt::ItemFlags TTableDataModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !FReadOnly &&
        !IsBlobDataType(FScroller.Fields()[index.column()].DataType))
        f |= Qt::ItemIsEditable;
    return f;
}

QList<TQXVariant> TTableDataModel::RecordID(int row) const {
    const TScrollerRow* r = FScroller.Row(row);
    return r ? r->Key : QList<TQXVariant>();
}

TQXVariant TTableDataModel::FullValue(const QModelIndex& index) const {
    const TScrollerRow* r = FScroller.Row(index.row());
    if (!r) return {};
    const int type = FScroller.Fields()[index.column()].DataType;
    if (type != dtMemo && !IsBlobDataType(type)) return r->Values[index.column()];
    const QList<TQXVariant> key = r->Key;
    return FScroller.FullValue(key, index.column());
}

bool TTableDataModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int type = FScroller.Fields()[index.column()].DataType;
    try {
        const TQXVariant old = FullValue(index);
        const QString text = value.toString();
        // The editor cannot tell NULL from an empty text: an untouched NULL stays NULL.
        if (old.IsNull() && text.isEmpty()) return true;
        bool ok = false;
        const TQXVariant v = TableTextToValue(text, type, &ok);
        if (!ok) {
            emit WriteFailed(LString(QStringLiteral("ST_INCORRECTVALUE")));
            return false;
        }
        if (!old.IsNull() && TableValueText(old, type) == TableValueText(v, type)) return true;
        WriteValue(index, v);
        return true;
    } catch (const EPelvarError& e) {
        emit WriteFailed(e.Message());
        return false;
    }
}

void TTableDataModel::WriteValue(const QModelIndex& index, const TQXVariant& value) {
    const QList<TQXVariant> key = RecordID(index.row());
    if (key.isEmpty())
        throw EDatabaseError(LString(QStringLiteral("M_Pelvar_TblDatas_RecordNotFound")));
    FWriter->WriteField(key, index.column(), value);
    if (index.column() == FScroller.SortField()) {
        Reload();  // the row moves
        return;
    }
    FScroller.InvalidateRow(index.row());
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
}

void TTableDataModel::DeleteRow(int row) {
    const QList<TQXVariant> key = RecordID(row);
    if (key.isEmpty())
        throw EDatabaseError(LString(QStringLiteral("M_Pelvar_TblDatas_RecordNotFound")));
    FWriter->Delete(key);
    ++FGeneration;
    Reload(-1);
}

int TTableDataModel::InsertRecord(const TRecord& record) {
    const QList<TQXVariant> key = FWriter->Insert(record);
    ++FGeneration;
    Reload(1);
    if (key.isEmpty()) return -1;
    const qint64 at = FScroller.IndexOfKey(key);
    // Not counted yet: the new row may lie past the rows known.
    if (at >= FRows) {
        FetchCount();
        SyncRowCount();
    }
    return at < 0 || at >= FRows ? -1 : int(at);
}

int TTableDataModel::RowOfRecord(const QList<TQXVariant>& key) {
    Reload();
    const qint64 at = key.isEmpty() ? -1 : FScroller.IndexOfKey(key);
    if (at >= FRows) {
        FetchCount();
        SyncRowCount();
    }
    return at < 0 || at >= FRows ? -1 : int(at);
}

void TTableDataModel::SyncRowCount() {
    ResizeRows(int(qMin<qint64>(FScroller.RowCount(), INT_MAX)));
}

void TTableDataModel::FetchCount() {
    if (FScroller.CountKnown()) {
        SyncRowCount();
        return;
    }
    try {
        FScroller.FetchCount();
    } catch (const EPelvarError& e) {
        emit ReadFailed(e.Message());
        return;
    }
    SyncRowCount();
    emit CountArrived();
}

void TTableDataModel::StartCount() {
    if (FScroller.CountKnown() || !FScroller.Active()) return;
    FCountGeneration = FGeneration;
    FCounter->Start(FScroller.Database(), FScroller.CountSQL());
}

void TTableDataModel::CountDone(qint64 rows) {
    if (FScroller.CountKnown()) return;  // counted here meanwhile
    if (FCountGeneration != FGeneration) {
        StartCount();
        return;
    }
    FScroller.SetCount(rows);
    SyncRowCount();
    emit CountArrived();
}

void TTableDataModel::SortBy(int column, bool ascending) {
    beginResetModel();
    FScroller.SetSort(column, ascending);
    endResetModel();
}

void TTableDataModel::Reload(qint64 countDelta) {
    beginResetModel();
    FScroller.Refresh(countDelta);
    FRows = int(qMin<qint64>(FScroller.RowCount(), INT_MAX));
    FReadFailed = false;
    endResetModel();
}
