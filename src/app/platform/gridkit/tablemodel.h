#pragma once

#include <QList>
#include <memory>

#include "basekit/record.h"
#include "rowsmodel.h"

class TTableScroller;
class TTableWriter;
class TRowCounter;

// The data grid's model of a table: rows come from the scroller a page at a
// time, so memory stays the scroller's page cap whatever the table's size.
// The row count is read after the first screen was asked for, on a worker
// thread with its own connection, and arrives through a queued call. Edits in
// a cell write that one field by record ID; NULL shows as "(null)", distinct
// from an empty text.
class TTableDataModel : public TRowsTableModel {
    Q_OBJECT
  public:
    explicit TTableDataModel(TTableScroller& scroller, QObject* parent = nullptr);
    ~TTableDataModel() override;

    TTableScroller& Scroller() const { return FScroller; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    bool ReadOnly() const { return FReadOnly; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A text typed into a cell; a refused write emits WriteFailed and keeps the row.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The record ID of a row; empty past the end.
    QList<TQXVariant> RecordID(int row) const;
    // A field's whole value (long texts and BLOBs are read for it).
    TQXVariant FullValue(const QModelIndex& index) const;
    // Writes one field of the row (NULL included); raises what the writer raises.
    void WriteValue(const QModelIndex& index, const TQXVariant& value);
    // Raise what the writer raises; the model is read again afterwards.
    void DeleteRow(int row);
    // Returns the new record's row, -1 when it cannot be told.
    int InsertRecord(const TRecord& record);
    TTableWriter& Writer() const { return *FWriter; }
    // After a write through the writer: reads the rows again and returns the
    // record's row (-1 when it cannot be found).
    int RowOfRecord(const QList<TQXVariant>& key);
    // Reads the count now when it is not known yet.
    void FetchCount();
    // Starts counting on the worker; CountArrived follows.
    void StartCount();
    void SortBy(int column, bool ascending);
    // Forgets every row read; `countDelta` corrects a known count.
    void Reload(qint64 countDelta = 0);

  signals:
    void WriteFailed(const QString& message);
    void ReadFailed(const QString& message);
    void CountArrived();

  private:
    void SyncRowCount();
    void CountDone(qint64 rows);
    TTableScroller& FScroller;
    std::unique_ptr<TTableWriter> FWriter;
    TRowCounter* FCounter;
    // Counts the writes that add or remove rows: a count started before one
    // of them is stale.
    qint64 FGeneration = 0;
    qint64 FCountGeneration = -1;
    bool FReadOnly = false;
    mutable bool FCountScheduled = false;
    mutable bool FReadFailed = false;
};
