#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// Where and when an object's action is shown (the explorer window reads these).
enum TPelvarObjectActionOption {
    aoListItem,        // with aoPopupMenu: in the list popup of the one selected row
    aoTreeItem,        // with aoPopupMenu: in the tree popup; folder action acting on the tree node
    aoSubObjects,      // a folder action on its children: a window action while it is current
    aoPopupMenu,       // shown in popup menus
    aoToolBar,         // a toolbar button for the folder action
    aoMainMenu,        // an item of the window's Tools menu
    aoMultySelection,  // enabled with two or more selected rows
    aoSingleSelection,  // enabled with exactly one selected row
    aoNoSelection,      // enabled with nothing selected
};

class TPelvarObjectActionOptions {
  public:
    constexpr TPelvarObjectActionOptions() = default;
    constexpr TPelvarObjectActionOptions(std::initializer_list<TPelvarObjectActionOption> options) {
        for (TPelvarObjectActionOption o : options)
            FBits |= Bit(o);
    }
    constexpr bool Contains(TPelvarObjectActionOption option) const {
        return (FBits & Bit(option)) != 0;
    }
    constexpr bool Empty() const { return FBits == 0; }
    TPelvarObjectActionOptions& operator+=(TPelvarObjectActionOption option) {
        FBits |= Bit(option);
        return *this;
    }
    TPelvarObjectActionOptions& operator-=(TPelvarObjectActionOption option) {
        FBits &= ~Bit(option);
        return *this;
    }
    constexpr bool operator==(const TPelvarObjectActionOptions&) const = default;

  private:
    static constexpr unsigned Bit(TPelvarObjectActionOption o) { return 1u << unsigned(o); }
    unsigned FBits = 0;
};

class TPelvarObjectAction;

// SubObjects: sub-paths of the selected children of the folder, in list order;
// null when an item's own action runs from a popup menu (the item knows itself).
using TPelvarObjectActionUpdateEvent =
    std::function<void(TPelvarObjectAction& Action, const QStringList* SubObjects)>;
using TPelvarObjectActionExecuteEvent = std::function<void(const QStringList* SubObjects)>;

// One command that an object offers; the window makes menu items, toolbar
// buttons and window actions of it.
class TPelvarObjectAction {
  public:
    const TPelvarObjectActionUpdateEvent& OnUpdate() const { return FOnUpdate; }
    void SetOnUpdate(TPelvarObjectActionUpdateEvent handler) { FOnUpdate = std::move(handler); }
    const TPelvarObjectActionExecuteEvent& OnExecute() const { return FOnExecute; }
    void SetOnExecute(TPelvarObjectActionExecuteEvent handler) { FOnExecute = std::move(handler); }

    // Calls OnUpdate when it is set.
    void Update(const QStringList* subObjects);
    // Calls OnExecute when it is set.
    void Execute(const QStringList* subObjects);

    QString Caption;
    bool Checked = false;
    bool Enabled = true;
    int HelpContext = 0;
    QString Hint;
    int ImageIndex = -1;  // into the window's action image list
    int Shortcut = 0;     // Qt key combination (key | modifiers), 0 for none
    bool Visible = true;
    QString Name;
    QString Category;      // a separator or a new toolbar starts where it changes
    bool Default = false;  // the first default action is the popup's default item
    TPelvarObjectActionOptions Options;

  private:
    TPelvarObjectActionUpdateEvent FOnUpdate;
    TPelvarObjectActionExecuteEvent FOnExecute;
};

// Owns its actions.
class TPelvarObjectActionList {
  public:
    void Clear() { FList.clear(); }
    // A new action with the defaults, appended.
    TPelvarObjectAction* Add();
    void Delete(int index);
    TPelvarObjectAction* Items(int index) const { return FList.at(size_t(index)).get(); }
    int Count() const { return int(FList.size()); }
    int IndexOf(const TPelvarObjectAction* action) const;
    TPelvarObjectAction* FindByName(const QString& name) const;

  private:
    std::vector<std::unique_ptr<TPelvarObjectAction>> FList;
};
