#pragma once

#include <QDialog>

#include "dspconfirmations.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The copy confirmation window: a view of the state it is given, which it
// keeps up to date as the user clicks.
class TCopyTableConfirmationForm final : public QDialog {
    Q_OBJECT
  public:
    explicit TCopyTableConfirmationForm(TCopyTableConfirmation& state, QWidget* parent = nullptr);

    QLabel* Image1;
    QCheckBox* CreateDBObjectCheckbox;
    QCheckBox* CopyTableDataCheckBox;
    QCheckBox* CopyLocalResourceCheckBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;

  private:
    void ShowState();
    TCopyTableConfirmation& FState;
};

// The delete confirmation window; its modal result is IDYES or IDNO.
class TDeleteTableConfirmForm final : public QDialog {
    Q_OBJECT
  public:
    explicit TDeleteTableConfirmForm(TDeleteTableConfirmation& state, QWidget* parent = nullptr);
    // Escape and the window's close button answer No.
    void reject() override;

    QLabel* MainLabel;
    QLabel* Image1;
    QCheckBox* DeleteTableDataCheckbox;
    QCheckBox* DeleteLocalResourceCheckBox;
    QPushButton* YesButton;
    QPushButton* NoButton;
};
