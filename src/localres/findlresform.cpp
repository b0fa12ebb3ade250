#include "findlresform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "explorer/commonlistform.h"
#include "findlresworker.h"
#include "lresactions.h"

TFindLresForm::TFindLresForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFindLresForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    resize(760, 520);
}

TFindLresForm::~TFindLresForm() {
    if (FFindThread) {
        FFindThread->RequestStop();
        FFindThread->wait();
    }
    TFindLresSettings s;
    s.IDChecked = FIDCheck->isChecked();
    s.IDSubstr = FIDCombo->currentText();
    s.TextChecked = FTextCheck->isChecked();
    s.TextSubstr = FTextCombo->currentText();
    for (int i = 0; i < FIDCombo->count(); ++i)
        s.IDHistory << FIDCombo->itemText(i);
    for (int i = 0; i < FTextCombo->count(); ++i)
        s.TextHistory << FTextCombo->itemText(i);
    try {
        StoreFindLresSettings(s);
    } catch (const std::exception&) {
        // Settings that cannot be written cost the history only.
    }
}

void TFindLresForm::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* header = new QHBoxLayout();
    auto* label = new QLabel(LString(QStringLiteral("C_pelvar_SearchLresForm_LabelSearchLRes_L"),
                                     QStringLiteral("Search for local resources")),
                             this);
    label->setObjectName(QStringLiteral("LabelSearchLRes"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    header->addWidget(label, 1);
    FAnimation = new QLabel(this);
    header->addWidget(FAnimation);
    layout->addLayout(header);

    auto* grid = new QGridLayout();
    FIDCheck = new QCheckBox(
        DesignedCaption(QStringLiteral("с указанной подстрокой в имени ресурса")), this);
    FIDCheck->setObjectName(QStringLiteral("CheckBoxIDSubstr"));
    FIDCombo = new QComboBox(this);
    FIDCombo->setObjectName(QStringLiteral("ComboBoxIDSubstr"));
    FIDCombo->setEditable(true);
    FTextCheck = new QCheckBox(
        DesignedCaption(QStringLiteral("с указанной подстрокой в тексте ресурса")), this);
    FTextCheck->setObjectName(QStringLiteral("CheckBoxTextSubstr"));
    FTextCombo = new QComboBox(this);
    FTextCombo->setObjectName(QStringLiteral("ComboBoxTextSubstr"));
    FTextCombo->setEditable(true);
    FFindButton = new QPushButton(DesignedCaption(QStringLiteral("Найти ресурс")), this);
    FFindButton->setObjectName(QStringLiteral("ButtonFind"));
    FFindButton->setDefault(true);
    FStopButton = new QPushButton(DesignedCaption(QStringLiteral("Прервать поиск")), this);
    FStopButton->setObjectName(QStringLiteral("ButtonStopFind"));
    FStopButton->setEnabled(false);
    grid->addWidget(FIDCheck, 0, 0);
    grid->addWidget(FIDCombo, 0, 1);
    grid->addWidget(FFindButton, 0, 2);
    grid->addWidget(FTextCheck, 1, 0);
    grid->addWidget(FTextCombo, 1, 1);
    grid->addWidget(FStopButton, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* split = new QSplitter(Qt::Vertical, this);
    FList = new QTreeWidget(split);
    FList->setObjectName(QStringLiteral("ListViewLResFound"));
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setContextMenuPolicy(Qt::CustomContextMenu);
    FList->header()->setStretchLastSection(true);
    FMemo = new QPlainTextEdit(split);
    FMemo->setObjectName(QStringLiteral("MemoDetails"));
    FMemo->setReadOnly(true);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    FStatus = new QStatusBar(this);
    FStatus->setObjectName(QStringLiteral("StatusBarSearchLRes"));
    layout->addWidget(FStatus);

    FPopup = new QMenu(this);
    QAction* go =
        FPopup->addAction(LString(QStringLiteral("C_pelvar_FindLresForm_LPopupMenu1_LCaptions"),
                                  QStringLiteral("Go to resource (localize!)")));
    go->setObjectName(QStringLiteral("MenuItemGoToResource"));
    connect(go, &QAction::triggered, this, [this] { GoToResource(FMenuStringID); });
    FStopTimer = new QTimer(this);
    FStopTimer->setInterval(100);
    connect(FStopTimer, &QTimer::timeout, this, &TFindLresForm::StopTimerTick);

    connect(FIDCheck, &QCheckBox::toggled, this, &TFindLresForm::UpdateBoxes);
    connect(FTextCheck, &QCheckBox::toggled, this, &TFindLresForm::UpdateBoxes);
    connect(FFindButton, &QPushButton::clicked, this, &TFindLresForm::StartFind);
    connect(FStopButton, &QPushButton::clicked, this, &TFindLresForm::StopFind);
    connect(FList, &QTreeWidget::itemSelectionChanged, this, &TFindLresForm::ShowSelected);
    connect(FList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { EditRow(FList->indexOfTopLevelItem(item)); });
    connect(FList, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        QTreeWidgetItem* item = FList->itemAt(point);
        if (!item) return;
        FMenuStringID = item->text(0);
        FPopup->popup(FList->viewport()->mapToGlobal(point));
    });
}

void TFindLresForm::Init(const QString& alias, const QStringList& sections,
                         const QString& startPath, TCommonListForm* objForm,
                         const QStringList& languages, const QStringList& stringIDs) {
    FAlias = alias;
    FSections = sections;
    FSections.sort();
    FStringIDs = stringIDs;
    FStringIDs.sort();
    FLanguages = languages;
    FObjForm = objForm;
    FStartPath = startPath;
    QStringList headers{QStringLiteral("ResourceID")};
    headers << languages;
    FList->setHeaderLabels(headers);
    FList->setColumnWidth(0, 200);
    // What the list leaves beside the ID column, shared by the languages.
    const int each = languages.isEmpty() ? 0 : qMax(80, (width() - 250) / int(languages.size()));
    for (int i = 0; i < languages.size(); ++i)
        FList->setColumnWidth(i + 1, each);
    const TFindLresSettings s = LoadFindLresSettings();
    FIDCheck->setChecked(s.IDChecked);
    FIDCombo->addItems(s.IDHistory);
    FIDCombo->setCurrentText(s.IDSubstr);
    FTextCheck->setChecked(s.TextChecked);
    FTextCombo->addItems(s.TextHistory);
    FTextCombo->setCurrentText(s.TextSubstr);
    UpdateBoxes();
}

void TFindLresForm::UpdateBoxes() {
    FIDCombo->setEnabled(FIDCheck->isChecked());
    FTextCombo->setEnabled(FTextCheck->isChecked());
}

QString TFindLresForm::StatusText() const {
    return FStatus->currentMessage();
}

namespace {

QString TakeSubstring(QCheckBox* check, QComboBox* combo) {
    if (!check->isChecked()) return QString();
    const QString text = combo->currentText().trimmed();
    if (!text.isEmpty() && combo->findText(text) < 0) {
        combo->insertItem(0, text);
        combo->setCurrentText(text);
    }
    return text.toUpper();
}

}  // namespace

void TFindLresForm::StartFind() {
    if (FFindThread) return;
    try {
        TLResSearchRequest request;
        request.Sections = FSections;
        request.StringIDs = FStringIDs;
        request.Languages = FLanguages;
        request.IDSubstr = TakeSubstring(FIDCheck, FIDCombo);
        request.TextSubstr = TakeSubstring(FTextCheck, FTextCombo);
        TFindLResThread::THandlers handlers;
        handlers.Status = [this](const QString& text) { FStatus->showMessage(text); };
        handlers.Batch = [this](TLResBatch& batch) { TakeBatch(batch); };
        handlers.Failed = [](const QString& text) {
            Interaction().MessageBox(text, QStringLiteral("Error"), MB::OK | MB::ICONERROR);
        };
        FFindThread = std::make_unique<TFindLResThread>(ConnectionInfoOf(FAlias), request, this,
                                                        std::move(handlers));
        connect(FFindThread.get(), &QThread::finished, FStopTimer, qOverload<>(&QTimer::start));
        FList->clear();
        FMemo->clear();
        FFound.Clear();
        FAnimation->setText(QStringLiteral("…"));
        FFindButton->setEnabled(false);
        FStopButton->setEnabled(true);
        FIdle = false;
        FFindThread->start();
    } catch (const std::exception&) {
        FFindThread.reset();
        Interaction().MessageBox(QStringLiteral("Can't start find"), QStringLiteral("Error"),
                                 MB::OK | MB::ICONERROR);
    }
}

void TFindLresForm::StopFind() {
    if (FFindThread) FFindThread->RequestStop();
}

void TFindLresForm::AddRow(const TLResFound& found) {
    QStringList cells{found.StringID};
    for (const QString& t : found.Texts)
        cells << LResDisplayText(t);
    new QTreeWidgetItem(FList, cells);
}

void TFindLresForm::TakeBatch(TLResBatch& batch) {
    const int before = int(FFound.Rows().size());
    const int added = FFound.Add(batch);
    for (int i = before; i < before + added; ++i)
        AddRow(FFound.Rows()[i]);
    if (FFound.TooMany() && FFindThread) FFindThread->RequestStop();
}

void TFindLresForm::StopTimerTick() {
    if (FFindThread) {
        FFindThread->RequestStop();
        FFindThread->wait();
        // Hand-overs the worker queued before it ended still arrive.
        QCoreApplication::sendPostedEvents(this);
        FFindThread.reset();
    }
    FAnimation->clear();
    FFindButton->setEnabled(true);
    FStopButton->setEnabled(false);
    FStatus->clearMessage();
    FIdle = true;
    FStopTimer->stop();
    if (FCloseRequested) {
        close();
        return;
    }
    if (FFound.TooMany()) {
        Interaction().MessageBox(
            SafeFormat(LString(QStringLiteral("M_pelvar_LResFind_FoundTooMuch"),
                               QStringLiteral("Search stopped because found too much items "
                                              "(>%d) (need localiz!)")),
                       kMaxFoundRows),
            LString(QStringLiteral("M_pelvar_LResFind_FindStopped"),
                    QStringLiteral("Search stopped (need localiz!)")),
            MB::OK | MB::ICONWARNING);
    }
}

void TFindLresForm::closeEvent(QCloseEvent* event) {
    if (FFindThread) {
        FCloseRequested = true;
        FFindThread->RequestStop();
        FStopTimer->start();
        event->ignore();
        return;
    }
    event->accept();
}

void TFindLresForm::ShowSelected() {
    const QList<QTreeWidgetItem*> selected = FList->selectedItems();
    if (selected.isEmpty()) {
        FMemo->clear();
        return;
    }
    const int row = FList->indexOfTopLevelItem(selected.front());
    const TLResFound& found = FFound.Rows().value(row);
    FMemo->setPlainText(LResDetailsText(found.StringID, FLanguages, found.Texts));
}
