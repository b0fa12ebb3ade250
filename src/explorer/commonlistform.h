#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "dragstate.h"
#include "model/pelvarobject.h"

class QAction;
class QDrag;
class QKeyEvent;
class QKeySequence;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class TActionPresenter;
class TChangeQueue;
class TDAction;
class TPelvarDragObject;
class TPelvarListView;
class TPopupMenuWOKey;
struct TFolderViewOptions;

// The explorer: a folder tree beside a list of the current folder's children,
// over an object tree of its own. Everything specific to a kind of object comes
// from the object's virtual operations and actions; the window navigates,
// draws, routes drops and builds menus. Its parts live beside it: the view
// options (TFolderViewOptions), the change queue (TChangeQueue), the action
// presenter (TActionPresenter) and the drag state (TListDragState).
class TCommonListForm : public QMainWindow {
    Q_OBJECT
  public:
    // Makes the root of a new window: the database root for an empty file
    // name, otherwise the root of that export/import file (null when files
    // cannot be browsed).
    using TRootFactory = std::function<std::unique_ptr<TPelvarObject>(const QString& fileName)>;
    // Runs a drag to its end and returns the drop action (QDrag::exec by default).
    using TDragRunner = std::function<Qt::DropAction(QDrag& drag)>;

    explicit TCommonListForm(QWidget* parent = nullptr);
    ~TCommonListForm() override;

    static void SetRootFactory(TRootFactory factory);
    static void SetDragRunner(TDragRunner runner);
    // The open explorer windows in creation order.
    static QList<TCommonListForm*> Windows();

    // Prepares the window; true when it could navigate to Path.
    bool Initialize(const QString& Path, const QString& FileName);
    bool Initialized() const { return FInitialized; }
    void SetCurrentPath(const QString& Path);
    const QString& CurrentPath() const { return FCurrentPath; }
    // The file the window shows; empty for the databases.
    const QString& FileName() const { return FFileName; }
    TPelvarObject* RootObject() const { return FRootObject.get(); }
    // The folder shown in the list; raises when its path no longer leads to it.
    TPelvarObject* CurrentFolderObject() const;
    bool IsFileRoot() const;

    void FillListView();
    bool ExpandNode(QTreeWidgetItem* Node);
    QTreeWidgetItem* FindTreeNodeByPath(const QString& Path) const;
    // The first row whose object's SubPath equals SubPath, -1 for none.
    int FindListItemByPath(const QString& SubPath) const;
    static TPelvarObject* NodeObject(const QTreeWidgetItem* node);

    // Change notifications: DataChanged may be called from any thread;
    // ProcessNextChange runs one entry on the main thread and answers true when
    // no more work is pending.
    void DataChanged(const QString& FullPath);
    bool ProcessNextChange();
    int PendingChanges() const;

    // ---- folder options, columns and sorting ----
    void SaveParamsInRegistry();
    void LoadParamsFromRegistry();
    void LoadFormPosition();
    void SaveGlobalOptions();
    void LoadGlobalOptions();
    void SetSortType(int T);
    int SortType() const { return FSortType; }
    void UpdateSortTypes();
    // A click on the header of column `column` (index among the list's columns).
    void ColumnClick(int column);
    // A column chosen from an "Arrange icons" menu.
    void ArrangeIconsBy(int tag);
    const TListColumns& AvailableColumns() const { return FAvailableColumns; }
    // The shown columns in the order the header shows them.
    TListColumns ListColumns() const;
    // Shows these columns in this order and refills the rows.
    void SetListColumns(const TListColumns& columns);
    // The column dialog.
    void SelectColumns();

    int ListViewStyle() const { return FListViewStyle; }
    void SetListViewStyle(int style);
    bool ShowExplorer() const { return FShowExplorer; }
    void SetShowExplorer(bool on);
    bool ShowStatusBar() const { return FShowStatusBar; }
    void SetShowStatusBar(bool on);
    bool AutoArrangeIcons() const { return FAutoArrangeIcons; }
    void SetAutoArrangeIcons(bool on);
    bool StoreViewParamsByFolder() const { return FStoreViewParamsByFolder; }

    // ---- actions and menus ----
    void ReAssignActions();
    void CustomActionUpdate(TDAction* Action);
    void CustomActionExecute(TDAction* Action);
    // Brings every window action and the fixed actions up to date.
    void UpdateActions();
    const std::vector<TDAction*>& CustomActionList() const;
    QMenu* ToolsMenu() const { return FToolsMenu; }
    QMenu* ArrangeIconsMenu() const { return FArrangeIconsMenu; }
    const std::vector<QToolBar*>& FolderToolBars() const;
    QToolBar* EditToolBar() const { return FEditToolBar; }
    void FillListViewPopupMenu();
    void FillTreeViewPopupMenu();
    TPopupMenuWOKey* ListViewPopupMenu() const { return FListViewPopupMenu; }
    TPopupMenuWOKey* TreeViewPopupMenu() const { return FTreeViewPopupMenu; }

    // ---- commands ----
    void UpOneLevel();
    // What a double-click on a row does.
    void ListRowDoubleClicked(int row);
    // The list's own keys; true when the key was used.
    bool ListKeyDown(QKeyEvent* event);
    TCommonListForm* NewWindow();
    void OpenImportFile();
    void CreateExportFile();
    // Asks for an export/import file and opens a new window on it (the main
    // window's commands too). Null when the user cancels.
    static TCommonListForm* OpenImportFileWindow(const QString& caption = QString());
    static TCommonListForm* CreateExportFileWindow(const QString& caption = QString());
    void AddToShortcuts();

    // ---- drag and drop ----
    // A new drag object for the selected rows (null without a selection).
    TPelvarDragObject* ListViewStartDrag(bool rightButton, const QPoint& origin);
    // Starts and runs a drag of the selected rows, as a mouse drag does.
    void DragSelectedRows(bool rightButton, const QPoint& origin);
    bool ListDragOver(const TPelvarDragObject& Source, const QPoint& Pos);
    void ListDragDrop(const TPelvarDragObject& Source, const QPoint& Pos);
    bool TreeDragOver(const TPelvarDragObject& Source, const QPoint& Pos);
    void TreeDragDrop(const TPelvarDragObject& Source, const QPoint& Pos);

    QTreeWidget* TreeView() const { return FTreeView; }
    TPelvarListView* ListView() const { return FListView; }
    QString StatusText() const;

    // The fixed actions.
    QAction* CloseAction;
    QAction* CutAction;
    QAction* CopyAction;
    QAction* PasteAction;
    QAction* SelectAllAction;
    QAction* InvertSelectionAction;
    QAction* ExplorerAction;
    QAction* StatusBarAction;
    QAction* SelectColumnsAction;
    QAction* LargeIconsViewAction;
    QAction* SmallIconsViewAction;
    QAction* ListViewAction;
    QAction* DetailsViewAction;
    QAction* AutoArrangeIconsAction;
    QAction* LineUpIconsAction;
    QAction* UpOneLevelAction;
    QAction* NewWindowAction;
    QAction* RefreshAction;
    QAction* AddToShortcutsAction;
    QAction* StoreFolderOptionsAction;
    QAction* ResetFolderOptionsAction;
    QAction* ItemPropertiesAction;
    QAction* OpenImportFileAction;
    QAction* CreateExportFileAction;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Creation
    void CreateActions();
    void CreateMenus();
    void CreateWidgets();
    QAction* MakeAction(const QString& textId, const QKeySequence& shortcut, int image);

    // Navigation
    TPelvarObject* FindCurrentFolder() const;
    QTreeWidgetItem* AddTreeNode(QTreeWidgetItem* parent, TPelvarObject* object);
    void FillTreeNode(QTreeWidgetItem* node, TPelvarObject* object);
    void ShowCurrentFolderState();
    void OnTreeCurrentChanged(QTreeWidgetItem* current);
    void OnTreeItemExpanded(QTreeWidgetItem* node);
    void SelectTreeNodeQuietly(QTreeWidgetItem* node);

    // List maintenance: bulk changes are made between Begin/EndListUpdate, and
    // the rows are then filled and sorted once.
    void BeginListUpdate();
    void EndListUpdate();
    // Ends the update while an error is already on its way.
    void AbandonListUpdate() noexcept;
    void RefillRows();
    void FillRowsNow();
    void SortRows();
    void SortRowsNow();
    void FillRow(TListRow& row);
    int SortedInsertPosition(TPelvarObject* object) const;
    void UpdateSortMarks();
    QStringList SelectedSubPaths() const;
    void OnListSelectionChanged();

    // Actions
    bool LinkAlive(const TPelvarObjectAction* link) const;
    void UpdateFixedActions();
    void UpdatePropertiesAction();
    void EditSelectedProperties();
    // The object's popup actions for this place (aoListItem, aoTreeItem);
    // answers the default item, or null.
    QAction* AddObjectActionItems(QMenu* menu, TPelvarObject* object,
                                  TPelvarObjectActionOption place);
    QAction* AddPropertiesItem(QMenu* menu, TPelvarObject* object);
    QMenu* MakeArrangeSubmenu(QMenu* parent);
    void OpenListPopup(const QPoint& globalPos);
    void OpenTreePopup(const QPoint& globalPos);

    // Changes
    void RenavigateAfterChange(const QString& path);

    // Events
    bool ListViewportEvent(QEvent* event);
    bool TreeViewportEvent(QEvent* event);
    // Drag enter, move and drop on a viewport: asks `over`; a drop it accepts
    // goes to `drop`. False when the event carries no drag of ours.
    using TDragOver = std::function<bool(const TPelvarDragObject&, const QPoint&)>;
    using TDragDrop = std::function<void(const TPelvarDragObject&, const QPoint&)>;
    bool RouteDragEvent(QEvent* event, const TDragOver& over, const TDragDrop& drop);
    void MoveSelectedIcons(const QPoint& delta);

    // Runs an event handler; errors go to the application's error display
    // instead of crossing the event loop.
    void Guard(const std::function<void()>& handler);
    QString FolderOptionsKey(const QString& registryPath) const;
    // The key of the view options: the folder's, or the one all folders share.
    QString ViewOptionsKey(const QString& registryPath) const;
    TFolderViewOptions CurrentViewOptions() const;

    // Window state
    int FListViewStyle = 2;
    bool FShowStatusBar = true;
    bool FShowExplorer = true;
    bool FAutoArrangeIcons = false;
    int FSortType = 0;
    bool FStoreViewParamsByFolder = true;
    QString FCurrentPath;
    TChangeQueue* FChanges = nullptr;  // child of the window
    bool FRefreshing = false;
    bool FChangingPath = false;
    bool FInitialized = false;
    bool DeletingNode = false;
    bool FDestroying = false;
    QString FFileName;
    std::unique_ptr<TPelvarObject> FRootObject;
    TListColumns FAvailableColumns;
    std::unique_ptr<TActionPresenter> FPresenter;  // the current folder's window actions

    // List update state
    int FListUpdateCount = 0;
    bool FPendingFill = false;
    bool FPendingSort = false;
    TPelvarObject* FPendingFocus = nullptr;
    std::vector<TPelvarObject*> FRestoreSelection;  // compared, never dereferenced
    TPelvarObject* FRestoreFocus = nullptr;
    int FLastSelCount = 0;

    TListDragState FDrag;

    // Widgets (children of the window)
    QTreeWidget* FTreeView = nullptr;
    TPelvarListView* FListView = nullptr;
    QWidget* FExplorerPanel = nullptr;
    QSplitter* FSplitter = nullptr;
    QLabel* FStatusLabel = nullptr;
    QToolBar* FEditToolBar = nullptr;
    QMenu* FToolsMenu = nullptr;
    QMenu* FArrangeIconsMenu = nullptr;
    QMenu* FToolbarsMenu = nullptr;
    TPopupMenuWOKey* FListViewPopupMenu = nullptr;
    TPopupMenuWOKey* FTreeViewPopupMenu = nullptr;
};
