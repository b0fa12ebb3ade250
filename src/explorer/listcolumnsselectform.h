#pragma once

#include <QDialog>

#include "model/viewitems.h"

class QListWidget;
class QPushButton;

// The column dialog: the shown columns first, checked, in their order, then
// the folder's other columns, unchecked. The first column (tag 0) stays.
class TListColumnsSelectForm : public QDialog {
    Q_OBJECT
  public:
    TListColumnsSelectForm(const TListColumns& shown, const TListColumns& available,
                           QWidget* parent = nullptr);

    // Runs the dialog through the interaction seam; true on OK.
    bool Execute();
    // The checked entries in the dialog's order.
    TListColumns SelectedColumns() const;
    void MoveUp();
    void MoveDown();
    void reject() override;

    QListWidget* CheckList;
    QPushButton* UpButton;
    QPushButton* DownButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;

  private:
    void Move(int delta);
    TListColumns FColumns;  // every entry, indexed by the item's data
};
