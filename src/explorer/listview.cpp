#include "listview.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPalette>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Shifts a caption right by its row's indentation (structures inheriting from
// others), as the report view shows it.
class TIndentDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kStep = 16;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(shifted.rect.left() + Indent(index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(index), 0);
    }

  private:
    static int Indent(const QModelIndex& index) {
        return qMax(0, index.data(TListRowModel::IndentRole).toInt()) * kStep;
    }
};

}  // namespace

void TListIconView::MoveItem(const QModelIndex& index, const QPoint& delta) {
    setPositionForIndex(rectForIndex(index).topLeft() + delta, index);
}

QPoint TListIconView::ItemPosition(const QModelIndex& index) const {
    return rectForIndex(index).topLeft();
}

namespace {

// The selection stays visible when the list loses the focus.
void KeepSelectionVisible(QAbstractItemView* view) {
    QPalette pal = view->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(pal);
}

void PrepareView(QAbstractItemView* view) {
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Drags are started and received by the window, not by the view.
    view->setDragEnabled(false);
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
    view->viewport()->setAcceptDrops(true);
    KeepSelectionVisible(view);
}

}  // namespace

TPelvarListView::TPelvarListView(QWidget* parent)
    : QStackedWidget(parent),
      FModel(new TListRowModel(this)),
      FIconView(new TListIconView(this)),
      FDetailsView(new QTreeView(this)) {
    FIconView->setObjectName(QStringLiteral("ListIconView"));
    FDetailsView->setObjectName(QStringLiteral("ListDetailsView"));
    FIconView->setModel(FModel);
    FDetailsView->setModel(FModel);
    // One selection for both views (the details view's own model stays its child).
    FDetailsView->setSelectionModel(FIconView->selectionModel());
    PrepareView(FIconView);
    PrepareView(FDetailsView);

    FDetailsView->setRootIsDecorated(false);
    FDetailsView->setItemDelegateForColumn(0, new TIndentDelegate(FDetailsView));
    FDetailsView->setItemsExpandable(false);
    FDetailsView->setUniformRowHeights(true);
    FDetailsView->setAllColumnsShowFocus(true);
    FDetailsView->setSortingEnabled(false);  // the folder's Compare sorts
    QHeaderView* header = FDetailsView->header();
    header->setSectionsMovable(true);
    // A tree view keeps its first column in place; here any column may lead.
    header->setFirstSectionMovable(true);
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (FApplyingLayout || logical >= FModel->Columns().Count()) return;
        FModel->Columns()[logical].Width = size;
    });
    // A dragged header only changes where its column is shown: the rows are
    // filled in the same order, so nothing is refilled.
    connect(header, &QHeaderView::sectionMoved, this, [this] {
        if (FApplyingLayout) return;
        const QHeaderView* h = FDetailsView->header();
        FShownOrder.clear();
        for (int visual = 0; visual < h->count(); ++visual)
            if (h->logicalIndex(visual) < FModel->Columns().Count())
                FShownOrder.push_back(h->logicalIndex(visual));
    });

    addWidget(FIconView);
    addWidget(FDetailsView);
    SetViewStyle(vsList);

    // Not a page of the stack: it lies over whichever view is shown.
    FPlaceholder = new QLabel(this);
    FPlaceholder->setObjectName(QStringLiteral("ListPlaceholder"));
    FPlaceholder->setAlignment(Qt::AlignCenter);
    FPlaceholder->setWordWrap(true);
    FPlaceholder->setAttribute(Qt::WA_TransparentForMouseEvents);
    FPlaceholder->hide();
    connect(FModel, &QAbstractItemModel::modelReset, this, &TPelvarListView::UpdatePlaceholder);
    connect(FModel, &QAbstractItemModel::rowsInserted, this, &TPelvarListView::UpdatePlaceholder);
    connect(FModel, &QAbstractItemModel::rowsRemoved, this, &TPelvarListView::UpdatePlaceholder);
}

void TPelvarListView::SetPlaceholderText(const QString& text) {
    FPlaceholder->setText(text);
    UpdatePlaceholder();
}

QString TPelvarListView::PlaceholderText() const {
    return FPlaceholder->text();
}

void TPelvarListView::UpdatePlaceholder() {
    FPlaceholder->setVisible(!FPlaceholder->text().isEmpty() && RowCount() == 0);
    if (FPlaceholder->isVisible()) FPlaceholder->raise();
}

void TPelvarListView::resizeEvent(QResizeEvent* event) {
    QStackedWidget::resizeEvent(event);
    // Below the details view's header, with a margin on each side.
    FPlaceholder->setGeometry(rect().adjusted(16, 32, -16, -16));
}

void TPelvarListView::SetViewStyle(int style) {
    FViewStyle = style;
    if (style == vsReport) {
        setCurrentWidget(FDetailsView);
        return;
    }
    FIconView->setUniformItemSizes(false);
    FIconView->setGridSize(QSize());
    FIconView->setWordWrap(false);
    FIconView->setLayoutMode(QListView::Batched);
    FIconView->setBatchSize(500);
    switch (style) {
        case vsIcon:
            FIconView->setViewMode(QListView::IconMode);
            FIconView->setIconSize(QSize(32, 32));
            // The grid keeps the cells uniform; uniform item sizes would cut
            // every caption to the width of the first one.
            FIconView->setGridSize(QSize(100, 64));
            FIconView->setWordWrap(true);
            FIconView->setFlow(QListView::LeftToRight);
            FIconView->setWrapping(true);
            break;
        case vsSmallIcon:
            FIconView->setViewMode(QListView::ListMode);
            FIconView->setIconSize(QSize(16, 16));
            FIconView->setFlow(QListView::LeftToRight);
            FIconView->setWrapping(true);
            FIconView->setSpacing(2);
            break;
        default:
            FIconView->setViewMode(QListView::ListMode);
            FIconView->setIconSize(QSize(16, 16));
            FIconView->setFlow(QListView::TopToBottom);
            FIconView->setWrapping(true);
            FIconView->setSpacing(1);
            break;
    }
    FIconView->setResizeMode(QListView::Adjust);
    // Icons can be placed freely unless they are kept arranged.
    FIconView->setMovement(IconViewStyle() && !FAutoArrange ? QListView::Free : QListView::Static);
    KeepDropsWithTheWindow();
    setCurrentWidget(FIconView);
}

void TPelvarListView::SetAutoArrange(bool on) {
    FAutoArrange = on;
    if (IconViewStyle()) {
        FIconView->setMovement(on ? QListView::Static : QListView::Free);
        if (on) FIconView->doItemsLayout();
        KeepDropsWithTheWindow();
    }
}

void TPelvarListView::LineUpIcons() {
    FIconView->doItemsLayout();
}

void TPelvarListView::KeepDropsWithTheWindow() {
    // Changing the movement switches the view's own dragging and dropping.
    FIconView->setDragEnabled(false);
    FIconView->viewport()->setAcceptDrops(true);
}

QAbstractItemView* TPelvarListView::CurrentView() const {
    return FViewStyle == vsReport ? static_cast<QAbstractItemView*>(FDetailsView)
                                  : static_cast<QAbstractItemView*>(FIconView);
}

QItemSelectionModel* TPelvarListView::SelectionModel() const {
    return FIconView->selectionModel();
}

std::vector<int> TPelvarListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : SelectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int TPelvarListView::SelCount() const {
    int count = 0;
    std::vector<std::pair<int, int>> spans;
    for (const QItemSelectionRange& range : SelectionModel()->selection())
        spans.emplace_back(range.top(), range.bottom());
    // Ranges of different columns may cover the same rows: merge them.
    std::sort(spans.begin(), spans.end());
    int last = -1;
    for (const auto& [top, bottom] : spans) {
        const int from = std::max(top, last + 1);
        if (bottom >= from) count += bottom - from + 1;
        last = std::max(last, bottom);
    }
    return count;
}

bool TPelvarListView::IsSelected(int row) const {
    return SelectionModel()->isRowSelected(row, QModelIndex());
}

int TPelvarListView::FocusedRow() const {
    const QModelIndex current = SelectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TPelvarListView::SetFocusedRow(int row, bool select) {
    if (row < 0 || row >= RowCount()) {
        SelectionModel()->clearCurrentIndex();
        return;
    }
    const QModelIndex index = FModel->index(row, 0);
    const auto flags = select ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                              : QItemSelectionModel::NoUpdate;
    SelectionModel()->setCurrentIndex(index, flags);
}

void TPelvarListView::SetSelection(const std::vector<int>& rows) {
    QItemSelection selection;
    const int lastColumn = FModel->columnCount() - 1;
    size_t i = 0;
    while (i < rows.size()) {
        size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.select(FModel->index(rows[i], 0), FModel->index(rows[j], lastColumn));
        i = j + 1;
    }
    SelectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TPelvarListView::SelectAll() {
    if (RowCount() == 0) return;
    SelectionModel()->select(
        QItemSelection(FModel->index(0, 0),
                       FModel->index(RowCount() - 1, FModel->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void TPelvarListView::InvertSelection() {
    std::vector<int> inverted;
    const std::vector<int> selected = SelectedRows();
    size_t next = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (next < selected.size() && selected[next] == r) {
            ++next;
            continue;
        }
        inverted.push_back(r);
    }
    SetSelection(inverted);
}

void TPelvarListView::ClearSelection() {
    SelectionModel()->clearSelection();
}

void TPelvarListView::ScrollToRow(int row) {
    if (row >= 0 && row < RowCount()) CurrentView()->scrollTo(FModel->index(row, 0));
}

int TPelvarListView::RowAt(const QPoint& viewportPos) const {
    const QModelIndex index = CurrentView()->indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

void TPelvarListView::AssignColumns(const TListColumns& shown) {
    // The caption belongs to the column with tag 0; without one, to the first.
    const int caption = std::max(0, shown.IndexOfTag(0));
    TListColumns& rowColumns = FModel->Columns();
    rowColumns.Clear();
    FShownOrder.assign(size_t(shown.Count()), 0);
    if (shown.Empty()) return;
    rowColumns.Add(shown[caption]);
    for (int i = 0; i < shown.Count(); ++i) {
        if (i == caption) continue;
        FShownOrder[size_t(i)] = rowColumns.Count();
        rowColumns.Add(shown[i]);
    }
}

TListColumns TPelvarListView::ShownColumns() const {
    TListColumns shown;
    for (int index : FShownOrder)
        shown.Add(FModel->Columns()[index]);
    return shown;
}

void TPelvarListView::RowsReset() {
    FModel->BeginReset();
    FModel->EndReset();
    ApplyColumnLayout();
}

void TPelvarListView::ApplyColumnLayout() {
    QHeaderView* header = FDetailsView->header();
    FApplyingLayout = true;
    // Places 0..visual-1 are settled, so each move only shifts later ones.
    for (size_t visual = 0; visual < FShownOrder.size(); ++visual) {
        const int from = header->visualIndex(FShownOrder[visual]);
        if (from != int(visual) && from >= 0) header->moveSection(from, int(visual));
    }
    for (int i = 0; i < FModel->Columns().Count(); ++i)
        header->resizeSection(i, FModel->Columns()[i].Width);
    FApplyingLayout = false;
}
