#pragma once

#include <QDialog>

#include "dspdialogrules.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The structure properties dialog: type, name, parent and remark of a
// structure being added or edited.
class TDSPPropertiesForm : public QDialog {
    Q_OBJECT
  public:
    explicit TDSPPropertiesForm(QWidget* parent = nullptr);

    // Presets every field; the caller then fills the parent list.
    virtual void SetValues(const TDSPPropertiesRequest& request);
    // The request given to SetValues with the fields as the user left them.
    virtual TDSPPropertiesRequest Values() const;

    int GetObjectType() const;
    void SetObjectType(int objectType);
    // Offers the possible parents of the structure; runs again whenever the
    // name or the type changes.
    virtual void FillParentList();

    QFrame* Panel1;
    QLabel* NameLabel;
    QLabel* ObjectTypeLabel;
    QLabel* RemarkLabel;
    QLabel* ParentNameLabel;
    QLineEdit* NameEdit;
    QLineEdit* RemarkEdit;
    QComboBox* ParentNameEdit;
    QPushButton* HelpButton;
    QPushButton* CancelButton;
    QPushButton* OkButton;
    QComboBox* ObjectTypeEdit;

  protected:
    virtual void OkButtonClick();
    void ShowParentList(const TParentList& list);
    // A refused OK: beep and put the user where the fault is.
    void Refuse(QWidget* field);
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString FDatabaseName;
    bool FParentEnabled = true;

  private:
    TDSPPropertiesRequest FRequest;
};

// The variant for structures derived from tables: the table names of the
// structures of the type are the parents to choose from, and names must be
// dotted identifiers, optionally followed by "$" and an identifier.
class TInheritSelectForm final : public TDSPPropertiesForm {
    Q_OBJECT
  public:
    explicit TInheritSelectForm(QWidget* parent = nullptr);
    void FillParentList() override;

  protected:
    void OkButtonClick() override;
};
