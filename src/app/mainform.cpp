#include "mainform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/tracelog.h"
#include "explorer/commonlistform.h"
#include "explorer/imagelists.h"
#include "explorer/vinfoform2.h"
#include "localres/resourcecommands.h"
#include "pelvarapplication.h"

namespace {

TDictionaryForm* gInstance = nullptr;

}  // namespace

QIcon MainImage(int index) {
    // The main window's image list: what shortcuts and its own buttons show.
    static const int kObjects[] = {
        ObjectImage::OpenFolder,         // 0 explorer window
        ObjectImage::DatabaseConnected,  // 1 database
        ObjectImage::Structure,          // 2 structures
        ObjectImage::Form,               // 3 visual forms
        ObjectImage::Table,              // 4 tables
        ObjectImage::Structure,          // 5 scheduler
        ObjectImage::Language,           // 6 languages
        ObjectImage::Section,            // 7 local resources
        ObjectImage::View,               // 8 views
        ObjectImage::Generator,          // 9 generators
        ObjectImage::Procedure,          // 10 stored procedures
        ObjectImage::Pattern,            // 11 patterns
        ObjectImage::SchemeOperation,    // 12 schemes
        ObjectImage::WizardScenario,     // 13 wizard scenarios
        ObjectImage::Parameter,          // 14 parameters
        ObjectImage::User,               // 15 security
    };
    if (index < 0 || index >= int(std::size(kObjects))) index = 0;
    return TImageLists::ObjectIcon(kObjects[index]);
}

TDictionaryForm* TDictionaryForm::Instance() {
    return gInstance;
}

TDictionaryForm::TDictionaryForm(const QString& programDir, QWidget* parent) : QMainWindow(parent) {
    gInstance = this;
    setObjectName(QStringLiteral("TDictionaryForm"));
    FExceptionFlag = false;
    TPelvarApplication::SetExceptionHandler([this](const std::exception& e) { AppException(e); });
    QApplication::setApplicationDisplayName(
        LString(QStringLiteral("M_Pelvar_Pelvar_ApplicationTitle")));
    setWindowTitle(BaseMng().CurrentAlias() + QStringLiteral(" - ") +
                   LString(QStringLiteral("C_Pelvar_DictionaryForm_LFormModifier_L")));
    setWindowIcon(MainImage(1));
    CreateMenus();
    SetShortcutHost(this);
    qApp->installEventFilter(this);

    CreateStandardShortcuts();
    Guard([this] { LoadShortcuts(); });
    FillShortcuts();
    Guard([this] { LoadWindowList(); });

    FTraceLog =
        std::make_unique<TTraceLog>(QDir(programDir).filePath(QStringLiteral("pelvar.log")));
    FTraceLog->SetTracing(false);
}

TDictionaryForm::~TDictionaryForm() {
    qApp->removeEventFilter(this);
    if (ShortcutHost() == this) SetShortcutHost(nullptr);
    FWindowList.clear();
    Guard([this] { SaveShortcuts(); });
    FObjectShortcuts.Clear();
    BaseMng().CloseConnections();
    FTraceLog.reset();
    BaseMng().UnloadCustomLibraries();
    TPelvarApplication::SetExceptionHandler(nullptr);
    if (gInstance == this) gInstance = nullptr;
}

void TDictionaryForm::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        AppException(e);
    }
}

void TDictionaryForm::AppException(const std::exception& e) {
    if (FExceptionFlag) return;
    FExceptionFlag = true;
    try {
        BaseMng().ShowException(nullptr, e);
    } catch (...) {
        // Showing must never raise out of the handler.
    }
    FExceptionFlag = false;
}

QAction* TDictionaryForm::MakeAction(const QString& id, int image) {
    auto* a = new QAction(LString(id), this);
    a->setObjectName(id);
    if (image >= 0) a->setIcon(MainImage(image));
    return a;
}

void TDictionaryForm::CreateMenus() {
    NewWindowAction = MakeAction(QStringLiteral("M_Pelvar_Main_NewWindowActionCaption"), 0);
    OpenImportFileAction = MakeAction(QStringLiteral("M_Pelvar_Main_OpenImportFileActionCaption"));
    CreateExportFileAction =
        MakeAction(QStringLiteral("M_Pelvar_Main_CreateExportFileActionCaption"));
    ExitAction = MakeAction(QStringLiteral("M_Pelvar_Main_ExitActionCaption"));
    OrganizeShortcutsAction = MakeAction(QStringLiteral("M_Pelvar_Main_OrganizeShortcutsAction"));
    ImportFileAction = MakeAction(QStringLiteral("M_Pelvar_Main_ImportFileAction"));
    ExportActiveXAction = MakeAction(QStringLiteral("M_Pelvar_Main_ExportActiveXLResourcesAction"));
    ExportSystemResourcesAction =
        MakeAction(QStringLiteral("M_Pelvar_Main_ExportSystemLResourcesAction"));
    RefreshDSPAction = MakeAction(QStringLiteral("M_Pelvar_Main_RefreshDSPActionCaption"));
    RefreshLocalizatorAction =
        MakeAction(QStringLiteral("M_Pelvar_Main_RefreshLocalizatorActionCaption"));
    RefreshLanguagesAction =
        MakeAction(QStringLiteral("M_Pelvar_Main_RefreshLanguagesActionCaption"));
    RefreshBLLAction = MakeAction(QStringLiteral("M_Pelvar_Main_RefreshBLLAction"));
    RefreshAllAction = MakeAction(QStringLiteral("M_Pelvar_Main_RefreshAllActionCaption"));
    connect(ImportFileAction, &QAction::triggered, this, [this] { Guard(ImportFilesCommand); });
    connect(ExportActiveXAction, &QAction::triggered, this,
            [this] { Guard(ExportActiveXResourcesCommand); });
    connect(ExportSystemResourcesAction, &QAction::triggered, this,
            [this] { Guard(ExportSystemResourcesCommand); });

    connect(NewWindowAction, &QAction::triggered, this, [this] { Guard([this] { NewWindow(); }); });
    connect(OpenImportFileAction, &QAction::triggered, this,
            [this] { Guard([] { TCommonListForm::OpenImportFileWindow(); }); });
    connect(CreateExportFileAction, &QAction::triggered, this,
            [this] { Guard([] { TCommonListForm::CreateExportFileWindow(); }); });
    connect(ExitAction, &QAction::triggered, this, &QWidget::close);
    connect(OrganizeShortcutsAction, &QAction::triggered, this,
            [this] { Guard([this] { OrganizeShortcuts(); }); });
    connect(RefreshDSPAction, &QAction::triggered, this, [this] { Guard(FlushDSPCaches); });
    connect(RefreshLocalizatorAction, &QAction::triggered, this,
            [this] { Guard(FlushLocalizatorCaches); });
    connect(RefreshLanguagesAction, &QAction::triggered, this,
            [this] { Guard(FlushLanguagesCaches); });
    connect(RefreshBLLAction, &QAction::triggered, this, [this] { Guard(FlushLanguageLibraries); });
    connect(RefreshAllAction, &QAction::triggered, this, [this] { Guard(FlushAllCaches); });

    QMenu* file = menuBar()->addMenu(LString(QStringLiteral("M_Pelvar_Main_FileMenuItemCaption")));
    file->addAction(NewWindowAction);
    file->addAction(OpenImportFileAction);
    file->addAction(CreateExportFileAction);
    file->addSeparator();
    file->addAction(ExitAction);

    FShortcutsMenu =
        menuBar()->addMenu(LString(QStringLiteral("M_Pelvar_Main_ShortcutsMenuItemCaption")));
    FShortcutsSeparator = FShortcutsMenu->addSeparator();
    FShortcutsMenu->addAction(OrganizeShortcutsAction);

    QMenu* tools =
        menuBar()->addMenu(LString(QStringLiteral("M_Pelvar_Main_ToolsMenuItemCaption")));
    tools->addAction(ImportFileAction);
    tools->addSeparator();
    tools->addAction(ExportActiveXAction);
    tools->addAction(ExportSystemResourcesAction);
    tools->addSeparator();
    QMenu* flush = tools->addMenu(LString(QStringLiteral("M_Pelvar_Main_RefreshMenuItemCaption")));
    flush->addAction(RefreshDSPAction);
    flush->addAction(RefreshLocalizatorAction);
    flush->addAction(RefreshLanguagesAction);
    flush->addAction(RefreshBLLAction);
    tools->addAction(RefreshAllAction);

    // The open explorer windows, to bring one to front.
    FWindowMenu =
        menuBar()->addMenu(LString(QStringLiteral("M_Pelvar_Main_WindowMenuItemCaption")));
    connect(FWindowMenu, &QMenu::aboutToShow, this, &TDictionaryForm::FillWindowMenu);

    QMenu* help = menuBar()->addMenu(LString(QStringLiteral("M_Pelvar_Main_HelpMenuItemCaption")));
    QAction* contents =
        help->addAction(LString(QStringLiteral("M_Pelvar_Main_HelpContentsActionCaption")));
    QAction* index =
        help->addAction(LString(QStringLiteral("M_Pelvar_Main_HelpIndexActionCaption")));
    contents->setEnabled(false);  // there is no help file
    index->setEnabled(false);
    help->addSeparator();
    QAction* about = help->addAction(LString(QStringLiteral("M_Pelvar_Main_AboutActionCaption")));
    about->setObjectName(QStringLiteral("AboutAction"));
    connect(about, &QAction::triggered, this, [this] { Guard(ShowAboutProgram); });

    FToolBar = addToolBar(QStringLiteral("Shortcuts"));
    FToolBar->setObjectName(QStringLiteral("ShortcutToolBar"));
    FToolBar->setMovable(false);
    FToolBar->setFloatable(false);
    FToolBar->setIconSize(QSize(16, 16));
    FToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    FToolBar->addAction(NewWindowAction);

    FShortcutPopup = new QMenu(this);
    QAction* del = FShortcutPopup->addAction(
        LString(QStringLiteral("M_Pelvar_Main_DeleteShortcutMenuItemCaption")));
    connect(del, &QAction::triggered, this,
            [this] { Guard([this] { DeleteShortcutOfButton(ShortCutButton); }); });
}

void TDictionaryForm::TypedLetter(QChar letter) {
    if (FCurrentShortcut.AddLetter(letter)) {
        TVInfoForm2* form = TVInfoForm2::ShowInfoForm();
        form->raise();
    }
}

bool TDictionaryForm::eventFilter(QObject* watched, QEvent* event) {
    // Letters typed anywhere in this window count, whichever control has the
    // focus. An ignored key travels up to the parents as the same event: it
    // counts once.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        const bool seen = event == FLastKeyEvent && FLastKeyWidget && FLastKeyWidget != widget &&
                          widget->isAncestorOf(FLastKeyWidget);
        FLastKeyEvent = event;
        FLastKeyWidget = widget;
        if (!seen && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            TypedLetter(QChar(key->key()));
    }
    return QMainWindow::eventFilter(watched, event);
}

void TDictionaryForm::closeEvent(QCloseEvent* event) {
    Guard([this] { SaveWindowList(); });
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this) continue;
        if (auto* form = dynamic_cast<TCloseQueryForm*>(w);
            form && w->isVisible() && !form->CloseQuery()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    QCoreApplication::quit();
}

void TDictionaryForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    PlaceAtTopOfScreen();
}

void TDictionaryForm::PlaceAtTopOfScreen() {
    // "Maximized" for this window is a bar across the top of the screen.
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const int nonClient = frameGeometry().height() - geometry().height();
    const int bar = menuBar()->sizeHint().height() + FToolBar->sizeHint().height();
    FToolBarHeight = nonClient + bar;
    setFixedHeight(bar);
    setGeometry(area.left(), area.top() + nonClient, area.width(), bar);
}
