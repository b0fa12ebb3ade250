#pragma once

#include <QDialog>

#include "recreaterules.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The recreate confirmation: the existing table will be created anew from its
// structure; the user chooses whether its rows are kept and which old field
// feeds each new one, and sees the fields renamed, dropped and added.
class TConfirmRecreateTableForm : public QDialog {
    Q_OBJECT
  public:
    TConfirmRecreateTableForm(TRecreateTableConfirmation& state, QWidget* parent = nullptr);

    QLabel* MainLabel;
    QCheckBox* CopyDataCheckBox;
    QTableWidget* MappingGrid;
    QLabel* SummaryLabel;
    QPushButton* OkButton;
    QPushButton* CancelButton;

    // Points a row at an old field (or "" for none), as its combo box does.
    void SetSource(int row, const QString& source);

  private:
    void ShowState();
    TRecreateTableConfirmation& FState;
};

// Installs the kit's dialogs behind their prompts.
void InstallTreeDesignDialogs();
