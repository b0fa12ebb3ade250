#include "resultmodel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <charconv>
#include <cstring>

#include "appcore/platform.h"
#include "appcore/query.h"
#include "basekit/datatypes.h"

namespace {
constexpr int kChunkRows = 4096;
constexpr qint64 kSliceNs = 40 * 1000000LL;
const QString kBlobText = QStringLiteral("(BLOB)");
// A number cell: a mark no text begins with, then the double's bytes.
constexpr QChar kPackedFloat(0xFFFF);
constexpr qsizetype kPackedFloatChars = 1 + sizeof(double) / sizeof(QChar);

// A value's text; a text value is shared, not converted.
QString TextOf(const TQXVariant& value) {
    if (value.Kind() != TQXVariant::vkString) return value.AsString();
    const QVariant v = value.ToQVariant();
    return v.metaType() == QMetaType::fromType<QString>()
               ? *static_cast<const QString*>(v.constData())
               : value.AsString();
}
}  // namespace

QString BlobToText(const QByteArray& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 32 && b != '#') {
            text += QChar(b);
        } else {
            text += QLatin1Char('#');
            text += QLatin1Char(kHex[b >> 4]);
            text += QLatin1Char(kHex[b & 15]);
        }
    }
    return text;
}

// Cells of kChunkRows rows as one text, with the end offset of every cell.
struct TQueryResultModel::TChunk {
    QString Text;
    std::vector<quint32> Ends;
};

TQueryResultModel::TQueryResultModel(QObject* parent) : QAbstractTableModel(parent) {
    FTimer = new QTimer(this);
    FTimer->setSingleShot(true);
    FTimer->setInterval(0);
    connect(FTimer, &QTimer::timeout, this, [this] {
        if (FetchSlice()) FTimer->start();
    });
}

TQueryResultModel::~TQueryResultModel() = default;

void TQueryResultModel::Clear() {
    StopFetch();
    beginResetModel();
    FCaptions.clear();
    FRightAligned.clear();
    FBlobColumn.clear();
    FFloatColumn.clear();
    FChunks.clear();
    FBlobs.clear();
    FNumberCaption = QStringLiteral("#");
    FRows = FPending = 0;
    FFetchNs = 0;
    FStopped = FFailed = false;
    endResetModel();
}

void TQueryResultModel::Start(std::unique_ptr<TSelectQuery> query) {
    Clear();
    FQuery = std::move(query);
    beginResetModel();
    Describe();
    endResetModel();
    FTimer->start();
}

void TQueryResultModel::Describe() {
    for (int i = 0; i < FQuery->FieldCount(); ++i) {
        const TResultColumn& c = FQuery->Column(i);
        FCaptions << c.Name;
        FRightAligned.push_back(IsIntegerDataType(c.DataType));
        FBlobColumn.push_back(IsBlobDataType(c.DataType));
        FFloatColumn.push_back(c.DataType == dtFloat || c.DataType == dtCurrency);
    }
}

void TQueryResultModel::StopFetch() {
    if (!FQuery) return;
    EndFetch(true);
}

void TQueryResultModel::EndFetch(bool stopped) {
    FTimer->stop();
    FStopped = stopped;
    try {
        FQuery->Close();
    } catch (...) {
        // Closing a broken statement: the driver said its word already.
    }
    FQuery.reset();
    emit FetchFinished(stopped);
}

TQueryResultModel::TChunk& TQueryResultModel::ChunkForNewRow() {
    if ((FRows + FPending) % kChunkRows == 0) {
        FChunks.emplace_back();
        FChunks.back().Ends.reserve(size_t(kChunkRows) * size_t(FieldCount()));
    }
    return FChunks.back();
}

void TQueryResultModel::AppendCurrentRow() {
    const int row = FRows + FPending;
    TChunk& chunk = ChunkForNewRow();
    TRecord& fields = FQuery->Fields();
    for (int i = 0; i < FieldCount(); ++i) {
        const TField& f = fields.GetFields(i);
        if (FBlobColumn[size_t(i)]) {
            chunk.Text += kBlobText;
            if (!f.IsNull())
                FBlobs.insert(quint64(row) * quint64(FieldCount()) + quint64(i), f.AsBinary());
        } else if (f.Value().Kind() == TQXVariant::vkFloat && FFloatColumn[size_t(i)]) {
            // Kept as the number and shown as text when painted: formatting
            // a million numbers the view never shows costs more than reading them.
            const double d = f.AsFloat();
            char16_t bits[kPackedFloatChars];
            bits[0] = kPackedFloat.unicode();
            std::memcpy(bits + 1, &d, sizeof d);
            chunk.Text += QStringView(bits, kPackedFloatChars);
        } else if (f.Value().Kind() == TQXVariant::vkInteger) {
            // Digits straight into the chunk: no text made per cell.
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, f.AsInteger()).ptr;
            chunk.Text += QLatin1StringView(digits, end - digits);
        } else if (!f.IsNull()) {
            const QString text = TextOf(f.Value());
            if (text.size() > kCellChars && IsLongDataType(f.DataType())) {
                chunk.Text += kBlobText;
                FBlobs.insert(quint64(row) * quint64(FieldCount()) + quint64(i), text.toUtf8());
            } else {
                chunk.Text += QStringView(text).left(kCellChars);
            }
        }
        chunk.Ends.push_back(quint32(chunk.Text.size()));
    }
    ++FPending;
}

void TQueryResultModel::BeginRows(const QStringList& captions, const QString& numberCaption) {
    Clear();
    beginResetModel();
    FCaptions = captions;
    FNumberCaption = numberCaption;
    FRightAligned.assign(size_t(captions.size()), false);
    FBlobColumn.assign(size_t(captions.size()), false);
    FFloatColumn.assign(size_t(captions.size()), false);
    endResetModel();
}

void TQueryResultModel::AppendRow(const QStringList& cells, const QHash<int, QByteArray>& blobs) {
    const int row = FRows + FPending;
    TChunk& chunk = ChunkForNewRow();
    for (int i = 0; i < FieldCount(); ++i) {
        const auto blob = blobs.constFind(i);
        if (blob != blobs.constEnd()) {
            chunk.Text += kBlobText;
            FBlobs.insert(quint64(row) * quint64(FieldCount()) + quint64(i), *blob);
        } else {
            chunk.Text += QStringView(cells.value(i)).left(kCellChars);
        }
        chunk.Ends.push_back(quint32(chunk.Text.size()));
    }
    ++FPending;
}

void TQueryResultModel::EndRows() {
    if (FPending == 0) return;
    beginInsertRows(QModelIndex(), FRows, FRows + FPending - 1);
    FRows += FPending;
    FPending = 0;
    endInsertRows();
}

void TQueryResultModel::TakeOver(TQueryResultModel& other) {
    StopFetch();
    other.StopFetch();
    beginResetModel();
    other.beginResetModel();
    std::swap(FCaptions, other.FCaptions);
    std::swap(FNumberCaption, other.FNumberCaption);
    std::swap(FRightAligned, other.FRightAligned);
    std::swap(FBlobColumn, other.FBlobColumn);
    std::swap(FFloatColumn, other.FFloatColumn);
    std::swap(FChunks, other.FChunks);
    std::swap(FBlobs, other.FBlobs);
    FRows = other.FRows + other.FPending;
    FPending = 0;
    FFetchNs = other.FFetchNs;
    FStopped = FFailed = false;
    other.endResetModel();
    other.Clear();
    endResetModel();
}

bool TQueryResultModel::FetchSlice() {
    if (!FQuery) return false;
    QElapsedTimer timer;
    timer.start();
    bool done = false;
    try {
        for (int n = 0; n < FSliceRows; ++n) {
            if (FQuery->Eof()) {
                done = true;
                break;
            }
            AppendCurrentRow();
            FQuery->Next();
            if ((n & 255) == 255 && timer.nsecsElapsed() > kSliceNs) break;
        }
        done = done || FQuery->Eof();
    } catch (const std::exception& e) {
        FFetchNs += timer.nsecsElapsed();
        // The rows read before the failure stay; the error reaches the user once.
        BaseMng().ShowException(this, e);
        FFailed = done = true;
    }
    FFetchNs += timer.nsecsElapsed();
    if (FPending > 0) {
        EndRows();
        emit RowsArrived(FRows);
    }
    if (done && FQuery) EndFetch(false);
    return FQuery != nullptr;
}

const TQueryResultModel::TChunk& TQueryResultModel::ChunkOf(int row) const {
    return FChunks[size_t(row / kChunkRows)];
}

QString TQueryResultModel::CellText(int row, int column) const {
    if (row < 0 || row >= FRows || column < 0 || column > FieldCount()) return QString();
    if (column == 0) return QString::number(row + 1);
    const TChunk& c = ChunkOf(row);
    const size_t cell = size_t(row % kChunkRows) * size_t(FieldCount()) + size_t(column - 1);
    const quint32 begin = cell == 0 ? 0 : c.Ends[cell - 1];
    const qsizetype size = qsizetype(c.Ends[cell] - begin);
    if (size == kPackedFloatChars && FFloatColumn[size_t(column - 1)] &&
        c.Text[begin] == kPackedFloat) {
        double d;
        std::memcpy(&d, c.Text.constData() + begin + 1, sizeof d);
        return TQXVariant(d).AsString();
    }
    return c.Text.mid(qsizetype(begin), size);
}

bool TQueryResultModel::IsBlobCell(int row, int column) const {
    if (column < 1 || column > FieldCount()) return false;
    return FBlobColumn[size_t(column - 1)] ||
           FBlobs.contains(quint64(row) * quint64(FieldCount()) + quint64(column - 1));
}

QByteArray TQueryResultModel::BlobBytes(int row, int column) const {
    if (column < 1 || column > FieldCount()) return QByteArray();
    return FBlobs.value(quint64(row) * quint64(FieldCount()) + quint64(column - 1));
}

QString TQueryResultModel::FullCellText(int row, int column) const {
    return IsBlobCell(row, column) ? BlobToText(BlobBytes(row, column)) : CellText(row, column);
}

QString TQueryResultModel::CopyText(const QList<int>& rows, int column, bool wholeRows) const {
    QString text;
    for (const int row : rows) {
        if (wholeRows) {
            text += CellText(row, 0);
            for (int c = 1; c <= FieldCount(); ++c)
                text += QLatin1Char('|') + FullCellText(row, c);
        } else {
            if (column < 0) break;
            text += FullCellText(row, column);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

int TQueryResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRows;
}

int TQueryResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || FCaptions.isEmpty() ? 0 : FieldCount() + 1;
}

QVariant TQueryResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    switch (role) {
        case Qt::DisplayRole:
            return CellText(index.row(), index.column());
        case Qt::TextAlignmentRole: {
            const bool right = index.column() == 0 || FRightAligned[size_t(index.column() - 1)];
            return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        default:
            return QVariant();
    }
}

QVariant TQueryResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
    if (section == 0) return FNumberCaption;
    return section <= FieldCount() ? QVariant(FCaptions[section - 1]) : QVariant();
}
