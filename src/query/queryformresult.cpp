#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "gridkit/resultmodel.h"
#include "queryform.h"

// The result panel: the grid, the BLOB memo and the grid's commands.

QWidget* TQueryForm::CreateResultPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout;
    FResultLabel = new QLabel;
    FResultLabel->setObjectName(QStringLiteral("ResultLabel"));
    FResultLabel->setMinimumHeight(22);
    head->addWidget(FResultLabel, 1);

    auto* showBlob = new QAction(this);
    showBlob->setObjectName(QStringLiteral("ShowBlobAction"));
    showBlob->setCheckable(true);
    showBlob->setText(LString(QStringLiteral("M_pelvar_QueryFrm_ShowBlobCaption")));
    showBlob->setToolTip(LString(QStringLiteral("M_pelvar_QueryFrm_ShowBlobSpeedButtoHint")));
    auto* showBlobButton = new QToolButton;
    showBlobButton->setObjectName(QStringLiteral("ShowBlobSpeedButton"));
    showBlobButton->setDefaultAction(showBlob);
    head->addWidget(showBlobButton);
    const QStringList csvHint =
        LString(QStringLiteral("M_pelvar_QueryFrm_ExportToCsvHint")).split(QLatin1Char('|'));
    auto* csv = new QAction(csvHint.value(0), this);
    csv->setObjectName(QStringLiteral("ExportToCsvAction"));
    csv->setToolTip(csvHint.value(1));
    connect(csv, &QAction::triggered, this, [this] { ExportToCsv(); });
    addAction(csv);
    auto* csvButton = new QToolButton;
    csvButton->setObjectName(QStringLiteral("ExportToCsvSpeedButton"));
    csvButton->setDefaultAction(csv);
    head->addWidget(csvButton);
    AddDataFileButtons(head);
    layout->addLayout(head);

    FResultView = new QTableView;
    FResultView->setObjectName(QStringLiteral("ResultQueryListView"));
    FResultView->setModel(FModel);
    FResultView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FResultView->setSelectionBehavior(QAbstractItemView::SelectItems);
    FResultView->setWordWrap(false);
    FResultView->verticalHeader()->hide();
    // Fixed row heights: a million rows cost the header nothing per row.
    FResultView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FResultView->verticalHeader()->setDefaultSectionSize(FResultView->fontMetrics().height() + 6);
    FResultView->horizontalHeader()->setHighlightSections(false);
    FResultView->setContextMenuPolicy(Qt::CustomContextMenu);
    FBlobMemo = new QPlainTextEdit;
    FBlobMemo->setObjectName(QStringLiteral("BlobMemo"));
    FBlobMemo->setReadOnly(true);
    FBlobMemo->setVisible(false);
    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("Splitter3"));
    split->addWidget(FResultView);
    split->addWidget(FBlobMemo);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    connect(showBlob, &QAction::toggled, this, [this](bool on) {
        FBlobMemo->setVisible(on);
        ShowCurrentCell();
    });
    connect(FResultView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        ShowCurrentCell();
        UpdateResultActions();
    });
    CreateResultMenu();
    connect(FResultView, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        FResultMenu->popup(FResultView->viewport()->mapToGlobal(at));
    });
    return panel;
}

void TQueryForm::CreateResultMenu() {
    // The captions come as one localised text, one per line.
    const QStringList captions =
        LString(QStringLiteral("M_PELVAR_QUERYFRM_RESULTPOPUPMENU_LCAPTIONS"))
            .split(QLatin1Char('\n'));
    const auto caption = [&](int i) { return i < captions.size() ? captions[i] : QString(); };
    FResultMenu = new QMenu(this);
    const auto add = [&](const char* name, int index, QKeySequence key, auto slot) {
        auto* a = FResultMenu->addAction(caption(index));
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        FResultView->addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("FindAction", 0, QKeySequence(Qt::CTRL | Qt::Key_F), [this] { Find(); });
    add("SelectAllAction", 1, QKeySequence(Qt::CTRL | Qt::Key_A),
        [this] { FResultView->selectAll(); });
    // Ctrl+C inverts the selection here; copying is Ctrl+I.
    add("InvertSelectionAction", 2, QKeySequence(Qt::CTRL | Qt::Key_C),
        [this] { InvertSelection(); });
    add("CopyToBufferAction", 3, QKeySequence(Qt::CTRL | Qt::Key_I), [this] { CopyToBuffer(); });
    QAction* rows = add("RowSelectModeAction", 4, QKeySequence(Qt::CTRL | Qt::Key_S), [] {});
    rows->setCheckable(true);
    connect(rows, &QAction::toggled, this, &TQueryForm::SetRowSelectMode);
    add("ShowBlobTableAction", 5, QKeySequence(Qt::ALT | Qt::Key_Return),
        [this] { ShowBlobTable(); });
    add("SaveBlobToFileAction", 6, QKeySequence(), [this] { SaveBlobToFile(); });
    add("ShowBlobAsDSPTreeAction", 7, QKeySequence(), [this] { ShowBlobAsDSPTree(); });
}

void TQueryForm::SizeResultColumns() {
    if (FModel->columnCount() == 0) return;
    // Widths from the header and the first rows: measuring a million rows
    // would freeze the window.
    const QFontMetrics fm = FResultView->fontMetrics();
    const int sample = qMin(FModel->rowCount(), 200);
    FResultView->setColumnWidth(0, fm.horizontalAdvance(QString::number(qMax(sample, 1000))) + 25);
    for (int c = 1; c < FModel->columnCount(); ++c) {
        int widest = fm.horizontalAdvance(FModel->FieldCaption(c - 1));
        for (int r = 0; r < sample; ++r)
            widest = qMax(widest, fm.horizontalAdvance(FModel->CellText(r, c)));
        FResultView->setColumnWidth(c, qMax(60, qMin(350, widest) + 14));
    }
    FColumnsSized = sample > 0;
}

void TQueryForm::ShowCurrentCell() {
    if (!FBlobMemo->isVisible() || FModel->rowCount() == 0) return;
    const QModelIndex current = FResultView->currentIndex();
    if (!current.isValid() || current.column() == 0) {
        FBlobMemo->clear();
        return;
    }
    FBlobMemo->setPlainText(FModel->FullCellText(current.row(), current.column()));
}

void TQueryForm::InvertSelection() {
    QItemSelectionModel* sel = FResultView->selectionModel();
    const QModelIndex first = FModel->index(0, 0);
    const QModelIndex last = FModel->index(FModel->rowCount() - 1, FModel->columnCount() - 1);
    if (!first.isValid()) return;
    sel->select(QItemSelection(first, last), QItemSelectionModel::Toggle);
}

void TQueryForm::SetRowSelectMode(bool on) {
    FResultView->setSelectionBehavior(on ? QAbstractItemView::SelectRows
                                         : QAbstractItemView::SelectItems);
}

void TQueryForm::CopyToBuffer() {
    QItemSelectionModel* sel = FResultView->selectionModel();
    QList<int> rows;
    for (const QItemSelectionRange& range : sel->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows << r;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const bool wholeRows = Action(QStringLiteral("RowSelectModeAction"))->isChecked();
    const QModelIndex current = FResultView->currentIndex();
    QGuiApplication::clipboard()->setText(
        FModel->CopyText(rows, current.isValid() ? current.column() : -1, wholeRows));
}

void TQueryForm::SaveBlobToFile() {
    if (!CurrentBlobAllowed()) return;
    const QModelIndex current = FResultView->currentIndex();
    const QByteArray bytes = FModel->BlobBytes(current.row(), current.column());
    if (bytes.isEmpty()) return;
    const QString name =
        Interaction().SaveFileName(LString(QStringLiteral("M_pelvar_QueryFrm_SaveBlobCaption")),
                                   QString(), QString(), QString());
    if (name.isEmpty()) return;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        Interaction().MessageBox(
            SafeFormat(LString(QStringLiteral("M_pelvar_QueryFrm_SaveBlobError")), name,
                       file.errorString()),
            QString(), MB::ICONERROR);
}
