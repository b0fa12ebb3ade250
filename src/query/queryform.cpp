#include "queryform.h"

#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "colorsettingsform.h"
#include "editorstyle.h"
#include "gridkit/resultmodel.h"
#include "querywindows.h"

namespace {
const QString kSettings = QStringLiteral("\\PELVAR\\QueryMemo\\");

// Positions and sizes are written as text; older settings may hold numbers.
int ReadIntSetting(const QString& name, int defaultValue) {
    try {
        bool ok = false;
        const int v = LoadRegistryParam(kSettings + name, QString()).toInt(&ok);
        return ok ? v : defaultValue;
    } catch (const ERegistryError&) {
        return LoadRegistryParam(kSettings + name, defaultValue);
    }
}

bool ReadBoolSetting(const QString& name) {
    try {
        return LoadRegistryParam(kSettings + name, false);
    } catch (const ERegistryError&) {
        return ReadIntSetting(name, 0) != 0;
    }
}
}  // namespace

TQueryForm::TQueryForm(const QString& alias, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("QueryForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    FAlias = alias.isEmpty() ? BaseMng().CurrentAlias() : alias.toUpper();
    FModel = new TQueryResultModel(this);
    FRowsCountedText =
        QStringLiteral("%d - ") + LString(QStringLiteral("M_pelvar_QueryFrm_ExecQueryRowsCounted"));
    FSelectDoneText = LString(QStringLiteral("M_pelvar_QueryFrm_OKSelectQuery_Time"));
    FFetchFailedText = LString(QStringLiteral("M_pelvar_QueryFrm_FetchFailed"));
    CreateActions();
    CreateEditor();

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* name :
         {"ExecuteAction", "PrevQueryAction", "NextQueryAction", "", "StartTransactionAction",
          "CommitTransactionAction", "RollbackTransactionAction", "", "PrecompileSQLAction",
          "ColorEditAction"}) {
        if (*name == 0)
            toolBar->addSeparator();
        else
            toolBar->addAction(Action(QLatin1String(name)));
    }
    toolBar->addSeparator();
    auto* typeLabel = new QLabel(LString(QStringLiteral("M_pelvar_QueryFrm_QueryTypeLabel")));
    typeLabel->setObjectName(QStringLiteral("Label1"));
    typeLabel->setContentsMargins(6, 0, 6, 0);
    toolBar->addWidget(typeLabel);
    FQueryTypeBox = new QComboBox;
    FQueryTypeBox->setObjectName(QStringLiteral("QueryTypeComboBox"));
    FQueryTypeBox->addItems({LString(QStringLiteral("M_pelvar_QueryFrm_QueryTypeAuto")),
                             LString(QStringLiteral("M_pelvar_QueryFrm_QueryTypeSelect")),
                             LString(QStringLiteral("M_pelvar_QueryFrm_QueryTypeExecute"))});
    toolBar->addWidget(FQueryTypeBox);

    FTopSplitter = new QSplitter(Qt::Horizontal);
    FTopSplitter->addWidget(FQueryEdit);
    FTopSplitter->addWidget(CreateParamsPanel());
    FTopSplitter->setStretchFactor(0, 3);
    FTopSplitter->setStretchFactor(1, 2);
    FMainSplitter = new QSplitter(Qt::Vertical);
    FMainSplitter->addWidget(FTopSplitter);
    FMainSplitter->addWidget(CreateResultPanel());
    FMainSplitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(toolBar);
    layout->addWidget(FMainSplitter, 1);

    // Parameters follow the text at the first idle moment after an edit.
    FParamsTimer = new QTimer(this);
    FParamsTimer->setSingleShot(true);
    FParamsTimer->setInterval(0);
    connect(FParamsTimer, &QTimer::timeout, this, &TQueryForm::RefreshParams);
    connect(FQueryEdit, &QsciScintilla::textChanged, this, [this] {
        FModified = true;
        FParamsTimer->start();
        UpdateActions();
    });
    connect(FModel, &TQueryResultModel::RowsArrived, this, &TQueryForm::OnRowsArrived);
    connect(FModel, &TQueryResultModel::FetchFinished, this, &TQueryForm::OnFetchFinished);

    LoadSettings();
    FillParamGrid();
    UpdateActions();
    UpdateResultActions();
    AddOpenQueryForm(this);
}

TQueryForm::~TQueryForm() {
    RemoveOpenQueryForm(this);
    FModel->StopFetch();
    try {
        SaveSettings();
        FHistory.Save();
    } catch (const std::exception& e) {
        BaseMng().ShowException(this, e);
    }
}

QAction* TQueryForm::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void TQueryForm::CreateActions() {
    struct TDef {
        const char* Name;
        const char* Text;
        QKeySequence Key;
        void (TQueryForm::*Slot)();
    };
    const TDef defs[] = {
        {"ExecuteAction", "M_pelvar_QueryFrm_ExecuteToolButtoHint",
         QKeySequence(Qt::CTRL | Qt::Key_Return), &TQueryForm::Execute},
        {"PrevQueryAction", "M_pelvar_QueryFrm_PrevQueryActionHint",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), &TQueryForm::BringBackOlder},
        {"NextQueryAction", "M_pelvar_QueryFrm_NextQueryActionHint",
         QKeySequence(Qt::CTRL | Qt::Key_Tab), &TQueryForm::BringBackNewer},
        {"StartTransactionAction", "M_pelvar_QueryFrm_StartTransactionAction", QKeySequence(),
         &TQueryForm::StartTransaction},
        {"CommitTransactionAction", "M_pelvar_QueryFrm_CommitTransactionAction", QKeySequence(),
         &TQueryForm::CommitTransaction},
        {"RollbackTransactionAction", "M_pelvar_QueryFrm_RollbackTransactionAction", QKeySequence(),
         &TQueryForm::RollbackTransaction},
    };
    for (const TDef& d : defs) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(d.Name));
        const QString text = LString(QLatin1String(d.Text));
        a->setText(text.section(QLatin1Char('|'), 0, 0));
        a->setToolTip(text.section(QLatin1Char('|'), -1));
        a->setShortcut(d.Key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, d.Slot);
        addAction(a);
    }
    auto* precompile =
        new QAction(LString(QStringLiteral("M_pelvar_QueryFrm_PrecompileSQLAction")), this);
    precompile->setObjectName(QStringLiteral("PrecompileSQLAction"));
    precompile->setCheckable(true);
    addAction(precompile);
    auto* colors = new QAction(LString(QStringLiteral("M_pelvar_QueryFrm_ColorEditAction")), this);
    colors->setObjectName(QStringLiteral("ColorEditAction"));
    connect(colors, &QAction::triggered, this, &TQueryForm::EditColors);
    addAction(colors);
    // Escape ends a running fetch; the rows read so far stay.
    auto* stop = new QAction(this);
    stop->setObjectName(QStringLiteral("StopFetchAction"));
    stop->setShortcut(QKeySequence(Qt::Key_Escape));
    stop->setShortcutContext(Qt::WindowShortcut);
    connect(stop, &QAction::triggered, FModel, &TQueryResultModel::StopFetch);
    connect(stop, &QAction::triggered, this, [this] { FEscapePressed = true; });
    addAction(stop);
}

void TQueryForm::CreateEditor() {
    FQueryEdit = new QsciScintilla;
    FQueryEdit->setObjectName(QStringLiteral("QueryEdit"));
    // Comments grey, keywords blue, strings green, unless the user chose otherwise.
    FColors = StoredQueryEditorColors();
    ApplyEditorColors(*FQueryEdit, FColors);
    FQueryEdit->setMarginWidth(0, 0);
    FQueryEdit->setMarginWidth(1, 0);
    FQueryEdit->setUtf8(true);
    // The horizontal scroll bar appears only when a line needs it.
    FQueryEdit->setScrollWidth(1);
    FQueryEdit->setScrollWidthTracking(true);
    // Keys the window gives other meanings (or none) do nothing in the editor.
    QsciCommandSet* commands = FQueryEdit->standardCommands();
    for (int key : {(Qt::SHIFT | Qt::Key_Backspace).toCombined(),
                    (Qt::SHIFT | Qt::Key_Return).toCombined(), int(Qt::Key_F1)})
        if (QsciCommand* c = commands->boundTo(key)) {
            if (c->key() == key) c->setKey(0);
            if (c->alternateKey() == key) c->setAlternateKey(0);
        }
}

QWidget* TQueryForm::CreateParamsPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout;
    auto* label = new QLabel(LString(QStringLiteral("C_pelvar_QueryForm_ParamsLabel_L")));
    label->setObjectName(QStringLiteral("ParamsLabel"));
    auto* refresh = new QToolButton;
    refresh->setObjectName(QStringLiteral("RefreshParamsSpeedButton"));
    refresh->setText(LString(QStringLiteral("M_pelvar_QueryFrm_RefreshParams")));
    refresh->setToolTip(refresh->text());
    connect(refresh, &QToolButton::clicked, this, &TQueryForm::RefreshParams);
    head->addWidget(label);
    head->addStretch();
    head->addWidget(refresh);
    FParamGrid = new QTableWidget(1, 3);
    FParamGrid->setObjectName(QStringLiteral("ParamStringGrid"));
    FParamGrid->setHorizontalHeaderLabels(
        {LString(QStringLiteral("M_pelvar_QueryFrm_ParamNameTitle")),
         LString(QStringLiteral("M_pelvar_QueryFrm_ParamTypeTitle")),
         LString(QStringLiteral("M_pelvar_QueryFrm_ParamValueTitle"))});
    FParamGrid->verticalHeader()->hide();
    FParamGrid->horizontalHeader()->setStretchLastSection(true);
    FParamGrid->setColumnWidth(0, 90);
    FParamGrid->setColumnWidth(1, 100);
    layout->addLayout(head);
    layout->addWidget(FParamGrid);
    return panel;
}

void TQueryForm::LoadSettings() {
    TRegistry reg;
    if (!reg.KeyExists(RegistryBaseKey() + QStringLiteral("\\PELVAR\\QueryMemo"))) {
        resize(700, 500);
        if (QScreen* s = QGuiApplication::primaryScreen())
            move(s->availableGeometry().center() - rect().center());
        FMainSplitter->setSizes({150, 300});
        FTopSplitter->setSizes({470, 230});
    } else {
        move(ReadIntSetting(QStringLiteral("FormLeft"), 10),
             ReadIntSetting(QStringLiteral("FormTop"), 10));
        resize(ReadIntSetting(QStringLiteral("FormWidth"), 700),
               ReadIntSetting(QStringLiteral("FormHeight"), 500));
        const int editWidth = ReadIntSetting(QStringLiteral("QueryMemoWidth"), 470);
        FTopSplitter->setSizes({editWidth, qMax(100, width() - editWidth)});
        FMainSplitter->setSizes({ReadIntSetting(QStringLiteral("QueryMemoHeight"), 150),
                                 ReadIntSetting(QStringLiteral("ResultQuery"), 300)});
        FBlobMemo->setVisible(ReadBoolSetting(QStringLiteral("ShowBLOBFields")));
        FQueryTypeBox->setCurrentIndex(
            qBound(0, ReadIntSetting(QStringLiteral("QueryType"), 0), 2));
        Action(QStringLiteral("PrecompileSQLAction"))
            ->setChecked(ReadBoolSetting(QStringLiteral("PrecompileSQL")));
        FHistory.Load();
    }
    Action(QStringLiteral("ShowBlobAction"))->setChecked(FBlobMemo->isVisibleTo(this));
}

void TQueryForm::SaveSettings() const {
    const auto text = [](int v) { return QString::number(v); };
    SaveRegistryParam(kSettings + QStringLiteral("FormLeft"), text(x()));
    SaveRegistryParam(kSettings + QStringLiteral("FormTop"), text(y()));
    SaveRegistryParam(kSettings + QStringLiteral("FormWidth"), text(width()));
    SaveRegistryParam(kSettings + QStringLiteral("FormHeight"), text(height()));
    SaveRegistryParam(kSettings + QStringLiteral("QueryMemoWidth"), text(FQueryEdit->width()));
    SaveRegistryParam(kSettings + QStringLiteral("QueryMemoHeight"), text(FTopSplitter->height()));
    SaveRegistryParam(kSettings + QStringLiteral("ResultQuery"), text(FResultView->height()));
    SaveRegistryParam(kSettings + QStringLiteral("ShowBLOBFields"),
                      Action(QStringLiteral("ShowBlobAction"))->isChecked());
    SaveRegistryParam(kSettings + QStringLiteral("QueryType"), text(FQueryTypeBox->currentIndex()));
    SaveRegistryParam(kSettings + QStringLiteral("PrecompileSQL"),
                      Action(QStringLiteral("PrecompileSQLAction"))->isChecked());
}

void TQueryForm::showEvent(QShowEvent* event) {
    setWindowTitle(LString(QStringLiteral("C_pelvar_QueryForm_LFormModifier1_L")) +
                   QLatin1Char(' ') + FAlias);
    QWidget::showEvent(event);
}

void TQueryForm::closeEvent(QCloseEvent* event) {
    TDatabaseManager& dbs = BaseMng().Databases();
    if (dbs.IsDatabaseValid(FAlias) && dbs.GetDatabase(FAlias).InTransaction()) {
        const int answer =
            Interaction().MessageBox(LString(QStringLiteral("M_pelvar_QueryFrm_CloseQueryForm")),
                                     QString(), MB::YESNOCANCEL | MB::ICONQUESTION);
        const bool ended = answer != IDCANCEL && Guard([&] {
                               if (answer == IDYES)
                                   BaseMng().Commit(FAlias);
                               else
                                   BaseMng().Rollback(FAlias);
                           });
        if (!ended) {
            event->ignore();
            return;
        }
    }
    FModel->StopFetch();
    event->accept();
}

void TQueryForm::EditColors() {
    TEditorColors colors = FColors;
    if (!RunColorSettings(colors, kQueryEditorColorsKey, this)) return;
    for (TQueryForm* form : OpenQueryForms())
        form->SetEditorColors(colors);
}

void TQueryForm::SetEditorColors(const TEditorColors& colors) {
    FColors = colors;
    ApplyEditorColors(*FQueryEdit, FColors);
}

TQueryForm* OpenQueryForm(const QString& alias) {
    auto* form = new TQueryForm(alias);
    form->show();
    return form;
}
