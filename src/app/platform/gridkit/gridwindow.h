#pragma once

#include <QPointer>

#include "rowsmodel.h"

// The rows of a model that fit on a grid's screen, from a first row on: the
// view above it only ever knows these few rows, so it keeps nothing per row of
// the source however long the source is (a view's header keeps state for
// every row it is told of).
class TGridWindowModel : public TRowsTableModel {
    Q_OBJECT
  public:
    explicit TGridWindowModel(QObject* parent = nullptr);

    void SetSourceModel(QAbstractItemModel* source);
    QAbstractItemModel* SourceModel() const { return FSource; }
    int First() const { return FFirst; }
    int Capacity() const { return FCapacity; }
    // Both clamp to the source's rows; the rows shown change in place.
    void SetFirst(int first);
    void SetCapacity(int rows);
    // The source's first row that keeps a full window on screen.
    int MaxFirst() const;

    QModelIndex MapToSource(const QModelIndex& index) const;
    // Invalid when the source row is not in the window.
    QModelIndex MapFromSource(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  signals:
    // The source's row count or the window moved.
    void WindowChanged();

  private:
    void Resync();
    void SourceReset();
    void SourceDataChanged(const QModelIndex& from, const QModelIndex& to, const QList<int>& roles);
    int Shown() const;
    QPointer<QAbstractItemModel> FSource;
    int FFirst = 0;
    int FCapacity = 1;
    int FColumns = 0;
};
