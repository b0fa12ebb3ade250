#pragma once

#include <QWidget>

#include "sqleditrules.h"

class QsciScintilla;
class QPushButton;

// The editor of one view, stored procedure or pattern structure: its text in
// a syntax-highlighting editor (SQL for the database objects), Save, and a
// question when closed with changes.
class TSqlStructureEditForm : public QWidget {
    Q_OBJECT
  public:
    explicit TSqlStructureEditForm(int objectType, QWidget* parent = nullptr);
    // Reads the structure `name` (upper case) of the alias into the editor.
    void Init(const QString& name, const QString& alias);
    void Save();
    bool Modified() const;
    QString Text() const;
    void SetText(const QString& text);

    QsciScintilla* Editor;
    QPushButton* SaveButton;
    QPushButton* CloseButton;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    TSqlStructureRules FRules;
    int FObjectType;
};

class TViewEditForm : public TSqlStructureEditForm {
    Q_OBJECT
  public:
    explicit TViewEditForm(QWidget* parent = nullptr) : TSqlStructureEditForm(72, parent) {}
};
class TExecStoredProcEditForm : public TSqlStructureEditForm {
    Q_OBJECT
  public:
    explicit TExecStoredProcEditForm(QWidget* parent = nullptr)
        : TSqlStructureEditForm(73, parent) {}
};
class TSelectStoredProcEditForm : public TSqlStructureEditForm {
    Q_OBJECT
  public:
    explicit TSelectStoredProcEditForm(QWidget* parent = nullptr)
        : TSqlStructureEditForm(74, parent) {}
};
class TPatternEditForm : public TSqlStructureEditForm {
    Q_OBJECT
  public:
    explicit TPatternEditForm(QWidget* parent = nullptr) : TSqlStructureEditForm(75, parent) {}
};

// The editor of the kind (72 to 75) on the structure, shown without waiting.
TSqlStructureEditForm* OpenSqlStructureEditor(int objectType, const QString& name,
                                              const QString& alias);
