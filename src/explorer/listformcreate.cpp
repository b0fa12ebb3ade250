// Creation and destruction of the explorer window: widgets, fixed actions and
// menus, the window list and the error guard of event handlers.
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "changequeue.h"
#include "commonlistform.h"
#include "daction.h"
#include "imagelists.h"
#include "listview.h"
#include "popupmenuwokey.h"

namespace {

std::vector<TCommonListForm*>& OpenWindows() {
    static std::vector<TCommonListForm*> windows;
    return windows;
}

QString Text(const char* id) {
    return LString(QString::fromLatin1(id));
}

}  // namespace

QList<TCommonListForm*> TCommonListForm::Windows() {
    return QList<TCommonListForm*>(OpenWindows().begin(), OpenWindows().end());
}

TCommonListForm::TCommonListForm(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("CommonListForm"));
    OpenWindows().push_back(this);
    CreateActions();
    CreateWidgets();
    CreateMenus();
    FChanges = new TChangeQueue(this, [this] {
        bool done = true;
        Guard([&] { done = ProcessNextChange(); });
        return done;
    });
    FStoreViewParamsByFolder = true;
    // The designed place: clear of the main window's bar at the top of the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect work = screen->availableGeometry();
        setGeometry(work.x() + 60, work.y() + 110, qMin(860, work.width() - 60),
                    qMin(560, work.height() - 110));
    } else {
        resize(860, 560);
    }
    UpdateFixedActions();
}

TCommonListForm::~TCommonListForm() {
    FDestroying = true;
    FChanges->Stop();
    if (FInitialized) {
        SaveGlobalOptions();
        FPresenter->Clear();
        SaveParamsInRegistry();
    }
    // No notification may reach the dead window.
    std::function<void(TPelvarObject*)> clear = [&](TPelvarObject* object) {
        object->SetOnDataChanged(nullptr);
        for (int i = 0; i < object->SubObjects().Count(); ++i)
            clear(object->SubObjects().Items(i));
    };
    if (FRootObject) clear(FRootObject.get());
    FChanges->Clear();
    // The widgets point at the objects: let them go first.
    FTreeView->clear();
    FRootObject.reset();
    auto& windows = OpenWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

QAction* TCommonListForm::MakeAction(const QString& textId, const QKeySequence& shortcut,
                                     int image) {
    auto* action = new QAction(this);
    const QString text = LString(textId);
    action->setText(text);
    const QString plain = QString(text).remove(QLatin1Char('&'));  // no mnemonic in hints
    action->setToolTip(plain);
    action->setStatusTip(plain);
    action->setObjectName(textId);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (image >= 0) action->setIcon(TImageLists::ActionIcon(image));
    addAction(action);  // shortcuts work wherever the focus is in the window
    return action;
}

void TCommonListForm::CreateActions() {
    CloseAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_CloseActionCaption"), {}, -1);
    CutAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_CutActionCaption"),
                           Qt::CTRL | Qt::Key_X, ActionImage::Cut);
    CopyAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_CopyActionCaption"),
                            Qt::CTRL | Qt::Key_C, ActionImage::Copy);
    PasteAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_PasteActionCaption"),
                             Qt::CTRL | Qt::Key_V, ActionImage::Paste);
    SelectAllAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_SelectAllAction"), Qt::CTRL | Qt::Key_A, -1);
    InvertSelectionAction = MakeAction(
        QStringLiteral("M_Pelvar_ListFrms_InvertSelectionActionCaption"), Qt::CTRL | Qt::Key_I, -1);
    ExplorerAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_ExplorerActionCaption"), {}, -1);
    StatusBarAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_StatusBarActionCaption"), {}, -1);
    SelectColumnsAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_SelectColumnsActionCaption"), {}, -1);
    LargeIconsViewAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_LargeIconsViewActionCaption"), {}, -1);
    SmallIconsViewAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_SmallIconsViewActionCaption"), {}, -1);
    ListViewAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_ListViewActionCaption"), {}, -1);
    DetailsViewAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_DetailsViewActionCaption"), {}, -1);
    AutoArrangeIconsAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_AutoArrangeIconsActionCaption"), {}, -1);
    LineUpIconsAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_LineUpIconsActionCaption"), {}, -1);
    UpOneLevelAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_UpOneLevelActionCaption"),
                                  Qt::CTRL | Qt::Key_PageUp, ActionImage::UpOneLevel);
    NewWindowAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_NewWindowActionCaption"), {}, -1);
    RefreshAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_RefreshActionCaption"), Qt::Key_F5, -1);
    AddToShortcutsAction = MakeAction(
        QStringLiteral("M_Pelvar_ListFrms_AddToShortcutsActionCaption"), Qt::CTRL | Qt::Key_D, -1);
    StoreFolderOptionsAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_StoreFolderOptionsActionCaption"), {}, -1);
    ResetFolderOptionsAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_ResetFolderOptionsActionCaption"), {}, -1);
    ItemPropertiesAction = MakeAction(QStringLiteral("M_Pelvar_ListFrms_PropertiesCaption"), {},
                                      ActionImage::Properties);
    ItemPropertiesAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    OpenImportFileAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_OpenImportFileActionCaption"), {}, -1);
    CreateExportFileAction =
        MakeAction(QStringLiteral("M_Pelvar_ListFrms_CreateExportFileActionCaption"), {}, -1);

    // Cut, copy, paste and reset have no command: they stay disabled.
    for (QAction* a : {CutAction, CopyAction, PasteAction, ResetFolderOptionsAction})
        a->setEnabled(false);
    StoreFolderOptionsAction->setEnabled(false);

    const auto on = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, [this, handler] { Guard(handler); });
    };
    on(CloseAction, [this] { close(); });
    on(SelectAllAction, [this] { FListView->SelectAll(); });
    on(InvertSelectionAction, [this] { FListView->InvertSelection(); });
    on(ExplorerAction, [this] { SetShowExplorer(!FShowExplorer); });
    on(StatusBarAction, [this] { SetShowStatusBar(!FShowStatusBar); });
    on(SelectColumnsAction, [this] { SelectColumns(); });
    on(LargeIconsViewAction, [this] { SetListViewStyle(0); });
    on(SmallIconsViewAction, [this] { SetListViewStyle(1); });
    on(ListViewAction, [this] { SetListViewStyle(2); });
    on(DetailsViewAction, [this] { SetListViewStyle(3); });
    on(AutoArrangeIconsAction, [this] { SetAutoArrangeIcons(!FAutoArrangeIcons); });
    on(LineUpIconsAction, [this] { FListView->LineUpIcons(); });
    on(UpOneLevelAction, [this] { UpOneLevel(); });
    on(NewWindowAction, [this] { NewWindow(); });
    on(RefreshAction, [this] { DataChanged(FCurrentPath); });
    on(AddToShortcutsAction, [this] { AddToShortcuts(); });
    on(ItemPropertiesAction, [this] { EditSelectedProperties(); });
    on(OpenImportFileAction, [this] { OpenImportFile(); });
    on(CreateExportFileAction, [this] { CreateExportFile(); });
}

void TCommonListForm::CreateWidgets() {
    // The explorer panel: a caption strip with a close button above the tree.
    FExplorerPanel = new QWidget(this);
    auto* panelLayout = new QVBoxLayout(FExplorerPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    auto* strip = new QWidget(FExplorerPanel);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(4, 1, 1, 1);
    auto* stripCaption = new QLabel(ExplorerAction->toolTip(), strip);
    auto* closeButton = new QToolButton(strip);
    closeButton->setObjectName(QStringLiteral("ExplorerCloseButton"));
    closeButton->setAutoRaise(true);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setToolTip(CloseAction->text());
    connect(closeButton, &QToolButton::clicked, this, [this] { SetShowExplorer(false); });
    stripLayout->addWidget(stripCaption, 1);
    stripLayout->addWidget(closeButton);
    panelLayout->addWidget(strip);

    FTreeView = new QTreeWidget(FExplorerPanel);
    FTreeView->setObjectName(QStringLiteral("TreeView"));
    FTreeView->setHeaderHidden(true);
    FTreeView->setColumnCount(1);
    FTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    FTreeView->setContextMenuPolicy(Qt::DefaultContextMenu);
    FTreeView->viewport()->setAcceptDrops(true);
    FTreeView->installEventFilter(this);
    FTreeView->viewport()->installEventFilter(this);
    panelLayout->addWidget(FTreeView, 1);
    connect(FTreeView, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnTreeCurrentChanged(current); });
    connect(FTreeView, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { OnTreeItemExpanded(node); });

    FListView = new TPelvarListView(this);
    FListView->setObjectName(QStringLiteral("ListView"));
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(FListView->IconView()),
                                    static_cast<QAbstractItemView*>(FListView->DetailsView())}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    connect(FListView->SelectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnListSelectionChanged(); });
    QHeaderView* header = FListView->DetailsView()->header();
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int logical) {
        Guard([&] { ColumnClick(header->visualIndex(logical)); });
    });

    FSplitter = new QSplitter(Qt::Horizontal, this);
    FSplitter->addWidget(FExplorerPanel);
    FSplitter->addWidget(FListView);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setSizes({220, 540});
    setCentralWidget(FSplitter);

    FStatusLabel = new QLabel(this);
    FStatusLabel->setObjectName(QStringLiteral("StatusPathLabel"));
    FStatusLabel->setFixedWidth(390);
    statusBar()->addWidget(FStatusLabel);

    FEditToolBar = new QToolBar(Text("M_Pelvar_ListFrms_EditMenuItemCaption"), this);
    FEditToolBar->setObjectName(QStringLiteral("EditToolBar"));
    FEditToolBar->setIconSize(QSize(16, 16));
    FEditToolBar->addAction(CutAction);
    FEditToolBar->addAction(CopyAction);
    FEditToolBar->addAction(PasteAction);
    addToolBar(Qt::TopToolBarArea, FEditToolBar);

    FListViewPopupMenu = new TPopupMenuWOKey(this);
    FListViewPopupMenu->setObjectName(QStringLiteral("ListViewPopupMenu"));
    FTreeViewPopupMenu = new TPopupMenuWOKey(this);
    FTreeViewPopupMenu->setObjectName(QStringLiteral("TreeViewPopupMenu"));
    FListViewPopupMenu->SetGuard([this](const std::function<void()>& command) { Guard(command); });
    // A right-button drop opens the popup itself: the drag must be disarmed.
    connect(FListViewPopupMenu, &QMenu::aboutToShow, this, [this] { FDrag.DisarmRight(); });
}

void TCommonListForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(Text("M_Pelvar_ListFrms_FileMenuItemCaption"));
    file->addAction(NewWindowAction);
    file->addSeparator();
    file->addAction(OpenImportFileAction);
    file->addAction(CreateExportFileAction);
    file->addSeparator();
    file->addAction(CloseAction);

    QMenu* edit = bar->addMenu(Text("M_Pelvar_ListFrms_EditMenuItemCaption"));
    edit->addAction(CutAction);
    edit->addAction(CopyAction);
    edit->addAction(PasteAction);
    edit->addSeparator();
    edit->addAction(SelectAllAction);
    edit->addAction(InvertSelectionAction);

    QMenu* view = bar->addMenu(Text("M_Pelvar_ListFrms_ViewMenuItemCaption"));
    FToolbarsMenu = view->addMenu(Text("M_Pelvar_ListFrms_ToolbarsMenuItemCaption"));
    connect(FToolbarsMenu, &QMenu::aboutToShow, this, [this] {
        FToolbarsMenu->clear();
        FToolbarsMenu->addAction(FEditToolBar->toggleViewAction());
        for (QToolBar* tb : FPresenter->ToolBars())
            FToolbarsMenu->addAction(tb->toggleViewAction());
    });
    view->addAction(StatusBarAction);
    view->addAction(ExplorerAction);
    view->addSeparator();
    view->addAction(LargeIconsViewAction);
    view->addAction(SmallIconsViewAction);
    view->addAction(ListViewAction);
    view->addAction(DetailsViewAction);
    view->addSeparator();
    FArrangeIconsMenu = view->addMenu(Text("M_Pelvar_ListFrms_ArrangeIconsMenuItemCaption"));
    FArrangeIconsMenu->addSeparator();
    FArrangeIconsMenu->addAction(AutoArrangeIconsAction);
    view->addAction(LineUpIconsAction);
    view->addSeparator();
    view->addAction(SelectColumnsAction);
    view->addSeparator();
    view->addAction(RefreshAction);

    QMenu* folder = bar->addMenu(Text("M_Pelvar_ListFrms_FolderMenuItemCaption"));
    folder->addAction(UpOneLevelAction);
    folder->addAction(AddToShortcutsAction);
    folder->addSeparator();
    QMenu* options = folder->addMenu(Text("M_Pelvar_ListFrms_FolderOptionMenuItemCaption"));
    options->addAction(StoreFolderOptionsAction);
    options->addAction(ResetFolderOptionsAction);
    folder->addSeparator();
    folder->addAction(ItemPropertiesAction);

    FToolsMenu = bar->addMenu(Text("M_Pelvar_ListFrms_ToolsMenuItemCaption"));
    FToolsMenu->menuAction()->setVisible(false);
    FPresenter = std::make_unique<TActionPresenter>(
        this, FToolsMenu, [this](const std::function<void()>& command) { Guard(command); });
    connect(FToolsMenu, &QMenu::aboutToShow, this, [this] { Guard([this] { UpdateActions(); }); });

    // There is no help file: Help tells what program this is.
    QMenu* help = bar->addMenu(Text("M_Pelvar_ListFrms_HelpMenuItemCaption"));
    QAction* about = help->addAction(Text("M_Pelvar_Main_AboutActionCaption"));
    about->setObjectName(QStringLiteral("AboutAction"));
    connect(about, &QAction::triggered, this, [this] { Guard(ShowAboutProgram); });
}

void TCommonListForm::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        BaseMng().ShowException(this, e);
    }
}
