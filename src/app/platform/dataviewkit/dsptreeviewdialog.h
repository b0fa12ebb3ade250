#pragma once

#include <QDialog>

#include "dspformtreeview.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;

// The DSP tree dialog: the tree view of one structure's body with the commands
// that edit, find and save it. With a structure (alias, name, type set on the
// tree view and the view activated) it saves to the store and is shown
// non-modally; in memory mode (the view loaded from bytes) it is shown
// modally and the caller takes the view's bytes after OK.
class TDSPTreeViewDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit TDSPTreeViewDialog(QWidget* parent = nullptr);

    TDSPFormTreeView* TreeView() const { return FTreeView; }

    // Closing with unsaved changes asks first (Yes saves, No discards, Cancel stays).
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QAction* AddAction(const QString& objectName, const QString& captionId, const QIcon& icon,
                       const QKeySequence& shortcut, void (TDSPFormTreeView::*command)());
    void BuildLayout();
    void UpdateState();
    void Find();
    void ReplaceBody();
    TDSPFormTreeView* FTreeView;
    QLabel* FHeader;
    QLabel* FBanner;
    QPushButton* FReplaceButton;
    QLineEdit* FFindEdit;
    QLabel* FStatus;
    QPushButton* FSaveButton;
    QPushButton* FOkButton;
    QPushButton* FCloseButton;
    QAction* FSave;
    QAction* FAddNode;
    QAction* FAddProperty;
    QAction* FRename;
    QAction* FEditValue;
    QAction* FDelete;
    QAction* FLoadBinary;
    QAction* FSaveBinary;
    QAction* FFindNext;
    QString FFindStatus;
};

// Opens the dialog non-modally on a structure, as the structure folders do;
// the dialog deletes itself when closed.
TDSPTreeViewDialog* OpenDSPTreeDialog(const QString& alias, const QString& name, int objectType,
                                      QWidget* parent = nullptr);
// Edits a tree held in bytes (a field, a query result) modally. True, with
// `bytes` replaced, when the user confirmed with OK.
bool EditDSPTreeBytes(QByteArray& bytes, const QString& title, bool readOnly,
                      QWidget* parent = nullptr);
