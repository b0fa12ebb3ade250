#pragma once

#include <QMenu>

#include "actionpresenter.h"
#include "model/dragobject.h"

// The popup menu of the explorer's list and tree. Its items show their
// shortcuts but never fire from the keyboard, so that keys reach the list's own
// key handling (which runs the selected row's actions) exactly once. The
// list's menu also shows the choices of a right-button drop.
class TPopupMenuWOKey : public QMenu, public TPelvarDropMenu {
    Q_OBJECT
  public:
    explicit TPopupMenuWOKey(QWidget* parent = nullptr);
    ~TPopupMenuWOKey() override;

    // The shortcut test: always "not a shortcut of this menu".
    bool IsShortCut(int key) const;
    // 1 while the menu holds a right-button drop menu that must be shown as is.
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }
    // Removes the items and the submenus made by the last filling.
    void ClearAll();
    // How the commands of drop choices run (the window's error guard).
    void SetGuard(TActionPresenter::TGuard guard) { FGuard = std::move(guard); }

    // Fills the menu with the choices, marks it (tag 1) and pops it up.
    void ShowDropChoices(const TPelvarObject& Owner,
                         const std::shared_ptr<TPelvarObjectActionList>& Items, int XX,
                         int YY) override;
    void WithdrawDropChoices(const TPelvarObject& Owner) override;

  protected:
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int FTag = 0;
    const TPelvarObject* FDropOwner = nullptr;  // compared, never dereferenced
    TActionPresenter::TGuard FGuard;
};
