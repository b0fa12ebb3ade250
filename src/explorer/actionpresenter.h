#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "model/objectaction.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class TDAction;

// Turns the actions that objects describe into Qt actions, menu items and
// toolbars. It knows nothing of the window it serves: the explorer, the data
// and the query windows each give it their main window, their Tools menu and
// the way their commands run.
class TActionPresenter {
  public:
    // Runs a command so that its errors never cross the event loop.
    using TGuard = std::function<void(const std::function<void()>&)>;
    // Which actions of a list a menu shows.
    using TFilter = std::function<bool(const TPelvarObjectAction&)>;
    // The command of the item made for one action.
    using TCommandOf = std::function<std::function<void()>(TPelvarObjectAction*)>;

    TActionPresenter(QMainWindow* Host, QMenu* ToolsMenu, TGuard Guard);

    // ---- menu items ----

    // Caption, hint, check mark, help context, image, shortcut and visibility.
    static void CopyLook(QAction* Item, const TPelvarObjectAction& Action);
    // Whether the number of selected rows allows a folder action.
    static bool AllowedForRows(const TPelvarObjectAction& Action, int Selected);
    // Separators never lead and never repeat.
    static void AddSeparator(QMenu* Menu);
    static void RemoveTrailingSeparator(QMenu* Menu);
    // A menu item for Action (owned by Menu); choosing it runs Command through Guard.
    static QAction* AddMenuItem(QMenu* Menu, const TPelvarObjectAction& Action, const TGuard& Guard,
                                std::function<void()> Command);
    // The actions of Actions that Show passes (all for an empty filter), each
    // brought up to date first, with a separator wherever the category
    // changes. Answers the item of the first default action, or null.
    static QAction* AddMenuItems(QMenu* Menu, TPelvarObjectActionList& Actions, const TFilter& Show,
                                 const TGuard& Guard, const TCommandOf& CommandOf);

    // ---- window actions ----

    // A window action for every action of Actions that acts on sub-objects
    // (aoSubObjects); those with aoMainMenu go to the Tools menu, those with
    // aoToolBar to a toolbar per run of one category. EditLead (may be null)
    // leads the "Edit" toolbar, which is made for it when no action has that
    // category. Execute runs a window action's command.
    void Present(TPelvarObjectActionList& Actions, QAction* EditLead,
                 const std::function<void(TDAction*)>& Execute);
    // Takes the window actions and the toolbars away. An action may be running
    // right now (its command navigated): they go when control returns to the
    // event loop.
    void Clear();
    const std::vector<TDAction*>& Actions() const { return FActions; }
    const std::vector<QToolBar*>& ToolBars() const { return FToolBars; }

  private:
    QToolBar* NewToolBar(const QString& category);

    QMainWindow* FHost;
    QMenu* FToolsMenu;
    TGuard FGuard;
    std::vector<TDAction*> FActions;  // children of the host
    std::vector<QToolBar*> FToolBars;
};
