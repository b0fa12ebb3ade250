#pragma once

#include <QMenu>

// The popup menu of the explorer's list and tree. Its items show their
// shortcuts but never fire from the keyboard, so that keys reach the list's own
// key handling (which runs the selected row's actions) exactly once.
class TPopupMenuWOKey : public QMenu {
    Q_OBJECT
  public:
    explicit TPopupMenuWOKey(QWidget* parent = nullptr);

    // The shortcut test: always "not a shortcut of this menu".
    bool IsShortCut(int key) const;
    // 1 while the menu holds a right-button drop menu that must be shown as is.
    int Tag() const;
    void SetTag(int tag);
    // Removes the items and the submenus made by the last filling.
    void ClearAll();

  protected:
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
