#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TSelectQuery;
class QTimer;

// Bytes as readable text: printable bytes other than '#' as they are, every
// other byte as '#' and two upper-case hexadecimal digits.
QString BlobToText(const QByteArray& bytes);

// The rows of a query result as a grid shows them: column 0 holds the row
// number, then one column per result field. Rows are fetched in slices between
// event-loop turns and appended one block at a time; the cells are kept as
// packed text (floating-point numbers as their bytes, turned into text only
// when shown), so memory grows with what was fetched and nothing per row.
// Long values (BLOBs, and texts longer than a cell shows) read "(BLOB)" and
// keep their bytes for the memo and the clipboard.
class TQueryResultModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kCellChars = 255;
    explicit TQueryResultModel(QObject* parent = nullptr);
    ~TQueryResultModel() override;

    // Takes an opened query and starts fetching at the next event-loop turn.
    void Start(std::unique_ptr<TSelectQuery> query);
    // Fetches one slice now; false once the result is done (or stopped).
    bool FetchSlice();
    // Ends the fetch; the rows fetched so far stay.
    void StopFetch();
    void Clear();
    bool Fetching() const { return FQuery != nullptr; }
    bool Stopped() const { return FStopped; }
    // The last fetch ended on an error (shown to the user once).
    bool Failed() const { return FFailed; }
    // Milliseconds spent reading from the driver.
    qint64 FetchMs() const { return FFetchNs / 1000000; }
    // Rows read per slice at most; a slice also ends after about 40 ms.
    void SetSliceRows(int rows) { FSliceRows = qMax(1, rows); }

    int FieldCount() const { return int(FCaptions.size()); }
    QString FieldCaption(int field) const { return FCaptions[field]; }
    bool FieldRightAligned(int field) const { return FRightAligned[size_t(field)]; }
    // Column 0 is the row number.
    QString CellText(int row, int column) const;
    bool IsBlobCell(int row, int column) const;
    QByteArray BlobBytes(int row, int column) const;
    // The cell as the memo and the clipboard show it: BLOBs as readable text.
    QString FullCellText(int row, int column) const;
    // One line per row: the row number, "|" and every cell joined by "|" for
    // whole rows, else the cell of `column`; each line ends with a line break.
    QString CopyText(const QList<int>& rows, int column, bool wholeRows) const;

    // Rows that come from elsewhere (a saved file): the captions first, then
    // the rows; the view sees them once TakeOver moves them into its model.
    void BeginRows(const QStringList& captions, const QString& numberCaption);
    void SetFieldRightAligned(int field, bool right) { FRightAligned[size_t(field)] = right; }
    // One text per field; a field with bytes in `blobs` shows "(BLOB)".
    void AppendRow(const QStringList& cells, const QHash<int, QByteArray>& blobs);
    // Shows the rows appended since the last call.
    void EndRows();
    // Takes every column and row of `other`, which is left empty.
    void TakeOver(TQueryResultModel& other);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    // After every appended block, with the number of rows now shown.
    void RowsArrived(qint64 rows);
    // The fetch ended: at the end of the result, on a stop or on an error.
    void FetchFinished(bool stopped);

  private:
    struct TChunk;
    void Describe();
    void AppendCurrentRow();
    TChunk& ChunkForNewRow();
    void EndFetch(bool stopped);
    const TChunk& ChunkOf(int row) const;
    std::unique_ptr<TSelectQuery> FQuery;
    QTimer* FTimer = nullptr;
    QStringList FCaptions;
    QString FNumberCaption = QStringLiteral("#");
    std::vector<bool> FRightAligned;
    std::vector<bool> FBlobColumn;
    std::vector<bool> FFloatColumn;
    std::vector<TChunk> FChunks;
    // The bytes of the long cells, by row * field count + field.
    QHash<quint64, QByteArray> FBlobs;
    int FRows = 0;     // rows shown
    int FPending = 0;  // rows stored but not yet announced
    int FSliceRows = 4096;
    qint64 FFetchNs = 0;
    bool FStopped = false;
    bool FFailed = false;
};
