#pragma once

#include <QWidget>

#include "tablestructurerules.h"

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

// The table structure editor: the fields (name, type, size, precision,
// required, default, comment) and indexes of one table structure, the
// fields inherited from its ancestors shown greyed above its own, and the
// remark. Save writes the structure; closing with changes asks first.
class TTableStructureForm : public QWidget {
    Q_OBJECT
  public:
    explicit TTableStructureForm(QWidget* parent = nullptr);
    // The editor's own caption; callers add " - " and the table name.
    static QString BaseCaption();

    void SetAliasName(const QString& alias) { FAlias = alias; }
    void SetRemark(const QString& remark);
    void SetStructureName(const QString& name) { FStructureName = name; }
    void SetTableName(const QString& name) { FTableName = name; }
    void SetParentName(const QString& name) { FParentName = name; }
    void SetNewStructure(bool value) { FNewStructure = value; }
    // Reads the structure into the editor.
    void Load();
    // Checks and writes; false (the fault shown) when the structure is faulty.
    bool Save();
    bool Modified() const { return FModified; }
    const TTableStructureRules& Rules() const { return FRules; }

    QLineEdit* TableNameEdit;
    QLineEdit* ParentNameEdit;
    QLineEdit* RemarkEdit;
    QTabWidget* Pages;
    QTableWidget* FieldsGrid;
    QTableWidget* IndexesGrid;
    QPushButton* AddFieldButton;
    QPushButton* DeleteFieldButton;
    QPushButton* FieldUpButton;
    QPushButton* FieldDownButton;
    QPushButton* AddIndexButton;
    QPushButton* DeleteIndexButton;
    QPushButton* SaveButton;
    QPushButton* CloseButton;

    // The editing commands, as the buttons run them.
    void AddField();
    void DeleteField();
    void MoveField(int delta);
    void AddIndex();
    void DeleteIndex();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowStructure();
    void AddFieldRow(const TDicFieldDescription& field, bool inherited);
    void AddIndexRow(const TDicIndexDescription& index);
    void ReadGrids();
    void SetModified() { FModified = true; }
    QWidget* FieldsPage();
    QWidget* IndexesPage();

    QString FAlias, FStructureName, FTableName, FParentName;
    bool FNewStructure = false;
    bool FModified = false;
    TTableStructureRules FRules;
};
