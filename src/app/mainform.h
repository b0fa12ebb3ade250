#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <exception>
#include <memory>
#include <vector>

#include "designkit/closequeryform.h"
#include "mainrules.h"
#include "model/shortcuts.h"

class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class TTraceLog;

// The action of one shortcut on the bar and in the Quick access menu.
class TShortcutAction : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    QString FullPath;
    bool CustomImage = false;  // the picture is the shortcut's own
    QAction* Action = nullptr;
    QToolButton* Button = nullptr;
};

// The main window: a thin bar across the top of the screen with the menu and
// the shortcut bar. Opens explorer windows, keeps the shortcuts and the list of
// open windows, flushes the platform's caches.
class TDictionaryForm final : public QMainWindow, public TShortcutHost {
    Q_OBJECT
  public:
    explicit TDictionaryForm(const QString& programDir, QWidget* parent = nullptr);
    ~TDictionaryForm() override;
    static TDictionaryForm* Instance();

    // The application's handler of unhandled exceptions: shows each one once;
    // one raised while another is being shown is dropped.
    void AppException(const std::exception& e);
    bool ExceptionFlag() const { return FExceptionFlag; }
    TTraceLog* TraceLog() const { return FTraceLog.get(); }

    // Shortcuts.
    TPelvarObjectShortcutList& ObjectShortcuts() override { return FObjectShortcuts; }
    void FillShortcuts() override;
    void CreateStandardShortcuts();
    void LoadShortcuts();
    void SaveShortcuts();
    const std::vector<TShortcutAction*>& ShortcutActions() const { return FShortcutActions; }
    QToolBar* ShortcutToolBar() const { return FToolBar; }
    QMenu* ShortcutsMenu() const { return FShortcutsMenu; }
    // The shortcut of a bar button, as right-clicking it remembers it.
    void DeleteShortcutOfButton(QToolButton* button);
    void OrganizeShortcuts();
    // Opens an explorer window at a shortcut's path.
    void ExecuteShortcut(const TShortcutAction& action);

    // The explorer windows.
    void SaveWindowList();
    void LoadWindowList();
    const QStringList& WindowList() const { return FWindowList; }
    // Reopens the saved windows (once, at the first idle moment).
    void ReopenWindows();
    QWidget* NewWindow();
    // The Window menu: one item per open explorer window.
    void FillWindowMenu();
    QMenu* WindowMenu() const { return FWindowMenu; }

    // The letter keys typed into the window; opens the inspection window on
    // the version sequence.
    void TypedLetter(QChar letter);
    const TVersionKeySequence& CurrentShortcut() const { return FCurrentShortcut; }

    int ToolBarHeight() const { return FToolBarHeight; }

    QAction* NewWindowAction;
    QAction* OpenImportFileAction;
    QAction* CreateExportFileAction;
    QAction* ExitAction;
    QAction* OrganizeShortcutsAction;
    QAction* ImportFileAction;
    QAction* ExportActiveXAction;
    QAction* ExportSystemResourcesAction;
    QAction* RefreshDSPAction;
    QAction* RefreshLocalizatorAction;
    QAction* RefreshLanguagesAction;
    QAction* RefreshBLLAction;
    QAction* RefreshAllAction;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateMenus();
    void PlaceAtTopOfScreen();
    QAction* MakeAction(const QString& id, int image = -1);
    void Guard(const std::function<void()>& handler);

    bool FExceptionFlag = false;
    QPointer<QToolButton> ShortCutButton;
    QStringList FWindowList;
    bool FOpeningWindows = false;
    TVersionKeySequence FCurrentShortcut;
    // The key press seen last and where: its way up to the parents is one letter.
    const QEvent* FLastKeyEvent = nullptr;
    QPointer<QWidget> FLastKeyWidget;
    int FToolBarHeight = 0;
    TPelvarObjectShortcutList FObjectShortcuts;
    std::vector<TShortcutAction*> FShortcutActions;
    std::unique_ptr<TTraceLog> FTraceLog;
    QToolBar* FToolBar = nullptr;
    QMenu* FShortcutsMenu = nullptr;
    QAction* FShortcutsSeparator = nullptr;
    QMenu* FShortcutPopup = nullptr;
    QMenu* FWindowMenu = nullptr;
};

// The icon of index `index` of the main window's image list.
QIcon MainImage(int index);
