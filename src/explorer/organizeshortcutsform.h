#pragma once

#include <QDialog>

#include "model/shortcuts.h"

class QPushButton;
class QTreeWidget;

// Reorders and deletes shortcuts, on a copy of the main window's list.
class TOrganizeShortcutsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TOrganizeShortcutsForm(const TPelvarObjectShortcutList& shortcuts,
                                    QWidget* parent = nullptr);

    // Runs the dialog on the host's list; on OK the host's list becomes the
    // edited copy and the host rebuilds its bar. True on OK.
    static bool Execute(TShortcutHost& host, QWidget* parent = nullptr);

    void MoveUp();
    void MoveDown();
    void DeleteSelected();
    void reject() override;

    TPelvarObjectShortcutList ObjectShortcuts;  // the copy being edited
    QTreeWidget* ListView;
    QPushButton* UpButton;
    QPushButton* DownButton;
    QPushButton* DeleteButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  private:
    void Move(int delta);
};
