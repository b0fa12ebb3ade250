#include "datagrid.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "gridwindow.h"

TDataGridView::TDataGridView(TDataGrid& grid, QWidget* parent) : QTableView(parent), FGrid(grid) {}

QModelIndex TDataGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QAbstractItemModel* model = FGrid.Model();
    const int rows = model ? model->rowCount() : 0;
    const bool ctrl = modifiers & Qt::ControlModifier;
    int row = FGrid.CurrentRow() >= 0 ? FGrid.CurrentRow() : FGrid.FirstRow();
    switch (action) {
        case MoveUp:
        case MovePrevious:
            row -= action == MoveUp ? 1 : 0;
            break;
        case MoveDown:
            ++row;
            break;
        case MovePageUp:
            row -= qMax(1, FGrid.VisibleRows() - 1);
            break;
        case MovePageDown:
            row += qMax(1, FGrid.VisibleRows() - 1);
            break;
        case MoveHome:
        case MoveEnd:
            if (!ctrl) return QTableView::moveCursor(action, modifiers);
            row = action == MoveHome ? 0 : rows - 1;
            break;
        default:
            return QTableView::moveCursor(action, modifiers);
    }
    if (action == MovePrevious) return QTableView::moveCursor(action, modifiers);
    if (rows == 0) return {};
    row = qBound(0, row, rows - 1);
    FGrid.EnsureVisible(row);
    const int column = qMax(FGrid.CurrentColumn(), 0);
    return this->model()->index(row - FGrid.FirstRow(), column);
}

void TDataGridView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120 * 3;
    if (steps == 0) return QTableView::wheelEvent(event);
    FGrid.ScrollToRow(FGrid.FirstRow() - steps);
    event->accept();
}

void TDataGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FGrid.UpdateCapacity();
}

TDataGrid::TDataGrid(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FWindow = new TGridWindowModel(this);
    FView = new TDataGridView(*this, this);
    FView->setObjectName(QStringLiteral("GridView"));
    // Fixed row heights: the view never measures rows, and the window knows
    // how many fit.
    FView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FView->verticalHeader()->setDefaultSectionSize(FView->fontMetrics().height() + 6);
    FView->verticalHeader()->hide();
    FView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FView->setWordWrap(false);
    FView->setModel(FWindow);
    FView->setItemDelegate(new TDataGridDelegate(FView));
    FScrollBar = new QScrollBar(Qt::Vertical, this);
    layout->addWidget(FView);
    layout->addWidget(FScrollBar);
    setFocusProxy(FView);
    connect(FScrollBar, &QScrollBar::valueChanged, this, &TDataGrid::ScrollToRow);
    connect(FWindow, &TGridWindowModel::WindowChanged, this, [this] {
        UpdateScrollBar();
        ShowCurrent();
    });
    connect(FView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TDataGrid::ViewCurrentChanged);
    connect(FView, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit DoubleClicked(FWindow->MapToSource(index)); });
}

QHeaderView* TDataGrid::horizontalHeader() const {
    return FView->horizontalHeader();
}

int TDataGrid::RowHeight() const {
    return FView->verticalHeader()->defaultSectionSize();
}

void TDataGrid::SetModel(QAbstractItemModel* model) {
    FModel = model;
    FCurrentRow = FCurrentColumn = -1;
    FWindow->SetSourceModel(model);
    UpdateCapacity();
}

QModelIndex TDataGrid::CurrentIndex() const {
    if (!FModel || FCurrentRow < 0 || FCurrentRow >= FModel->rowCount()) return {};
    return FModel->index(FCurrentRow, FCurrentColumn);
}

int TDataGrid::FirstRow() const {
    return FWindow->First();
}

int TDataGrid::VisibleRows() const {
    return FWindow->Capacity();
}

void TDataGrid::UpdateCapacity() {
    const int height = FView->viewport()->height();
    FWindow->SetCapacity(qMax(1, height / qMax(1, RowHeight())));
    UpdateScrollBar();
}

void TDataGrid::UpdateScrollBar() {
    const QSignalBlocker block(FScrollBar);
    FScrollBar->setRange(0, FWindow->MaxFirst());
    FScrollBar->setPageStep(FWindow->Capacity());
    FScrollBar->setValue(FWindow->First());
}

void TDataGrid::ScrollToRow(int first) {
    FWindow->SetFirst(first);
}

void TDataGrid::EnsureVisible(int row) {
    if (row < FirstRow())
        ScrollToRow(row);
    else if (row >= FirstRow() + VisibleRows())
        ScrollToRow(row - VisibleRows() + 1);
}

void TDataGrid::SetCurrent(int row, int column) {
    if (!FModel || row < 0 || row >= FModel->rowCount()) return;
    EnsureVisible(row);
    FCurrentRow = row;
    FCurrentColumn = qBound(0, column, qMax(0, FModel->columnCount() - 1));
    ShowCurrent();
    FView->scrollTo(FWindow->index(row - FirstRow(), FCurrentColumn));
    emit CurrentChanged(CurrentIndex());
}

// The view's current cell follows the model's current row while it is on
// screen; off screen the view has none.
void TDataGrid::ShowCurrent() {
    FSyncing = true;
    const QModelIndex shown =
        FModel && FCurrentRow >= 0
            ? FWindow->MapFromSource(FModel->index(FCurrentRow, FCurrentColumn))
            : QModelIndex();
    if (shown != FView->currentIndex()) {
        if (shown.isValid())
            FView->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
        else
            FView->selectionModel()->clear();
    }
    FSyncing = false;
}

void TDataGrid::ViewCurrentChanged(const QModelIndex& current) {
    if (FSyncing || !current.isValid()) return;
    FCurrentRow = FirstRow() + current.row();
    FCurrentColumn = current.column();
    emit CurrentChanged(CurrentIndex());
}

void TDataGrid::EditCurrent() {
    const QModelIndex current = CurrentIndex();
    if (!current.isValid()) return;
    EnsureVisible(current.row());
    FView->edit(FWindow->MapFromSource(current));
}

void TDataGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    QColor color =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (!selected) {
        const QVariant foreground = index.data(Qt::ForegroundRole);
        if (foreground.canConvert<QColor>()) color = foreground.value<QColor>();
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    const int margin = option.widget ? option.widget->style()->pixelMetric(
                                           QStyle::PM_FocusFrameHMargin, nullptr, option.widget) +
                                           1
                                     : 3;
    const QRect rect = option.rect.adjusted(margin, 0, -margin, 0);
    painter->save();
    painter->setPen(color);
    painter->setFont(option.font);
    // Only the first line of a text, as the cell has room for one.
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(cut < 0 ? text : text.left(cut), Qt::ElideRight,
                                                    rect.width()));
    painter->restore();
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = option.palette.color(group, QPalette::Window);
        const QWidget* w = option.widget;
        (w ? w->style() : QApplication::style())
            ->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
    }
}
