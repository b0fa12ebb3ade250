#pragma once

#include <QWidget>

#include "formdocument.h"

class QAction;
class QComboBox;
class QLabel;
class TFormComponentTree;
class TFormPreview;
class TFormPropertyEditor;

// The form designer window of one form of one database: the components as a
// tree beside their property editor, and the live preview. Created hidden;
// the caller loads a form and shows it, or works on it without showing it
// (copying, renaming).
class TDesignerForm final : public QWidget {
    Q_OBJECT
  public:
    explicit TDesignerForm(const QString& alias, QWidget* parent = nullptr);

    const QString& AliasName() const { return FAlias; }
    // The form loaded last; empty before LoadForm.
    const QString& LoadedFormName() const { return FLoadedName; }
    TFormDocument& Document() { return FDocument; }

    void SetTableName(const QString& table);
    // Loads the form with what it inherits. A body that does not read raises
    // EDSPError naming the form; the store is left as it is.
    void LoadForm(const QString& name);
    // Writes the form's own body under its (possibly new) name. Raises
    // EDSPError listing what keeps the form from being saved.
    void SaveForm(bool ask);
    // The next save writes a copy under `name`; the loaded form stays.
    void DuplicateForm(const QString& name);
    // The form is called `name` from now on; saving writes it there.
    void RenameForm(const QString& name);
    void ClearForm();
    // The designed form's own position and size.
    void SetFormBounds(const QRect& bounds);

    TFormComponentTree* ComponentTree() const { return FTree; }
    TFormPropertyEditor* PropertyEditor() const { return FEditor; }
    TFormPreview* Preview() const { return FPreview; }
    QAction* AddAction() const { return FAdd; }
    QAction* DeleteAction() const { return FDelete; }
    QAction* UndoAction() const { return FUndo; }
    QAction* SaveAction() const { return FSave; }
    QComboBox* ClassBox() const { return FClasses; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Run(const std::function<void()>& command);
    void UpdateState();
    TFormDocument FDocument;
    QString FAlias;
    QString FLoadedName;
    TFormComponentTree* FTree;
    TFormPropertyEditor* FEditor;
    TFormPreview* FPreview;
    QComboBox* FClasses;
    QLabel* FStatus;
    QAction* FAdd;
    QAction* FDelete;
    QAction* FUndo;
    QAction* FSave;
};

// The open designer of that form of that database, or nullptr.
TDesignerForm* FindDesignerForm(const QString& alias, const QString& name);
