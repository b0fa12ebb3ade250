#pragma once

#include <QWidget>
#include <initializer_list>
#include <memory>

#include "appcore/tabledesc.h"
#include "basekit/variant.h"
#include "tabledatarules.h"
#include "tabledatawindows.h"

class QAction;
class QModelIndex;
class QPlainTextEdit;
class QSplitter;
class TDataGrid;
class TTableDataModel;
class TTableScroller;

// The rows of one table of one connected database in a sortable grid, edited
// in place: a cell writes its field by record ID, Insert adds a record (the
// engine generates the auto-increment value), Delete removes the current one.
// A read-only window refuses every edit. Listed in the process-wide list of
// table data windows while open.
class TTableDataForm : public QWidget, public TRegisteredDataWindow {
    Q_OBJECT
  public:
    explicit TTableDataForm(QWidget* parent = nullptr);
    ~TTableDataForm() override;

    // False when the table cannot be read (the caller frees the window).
    bool Open(const QString& tableName, const QString& databaseName, bool readOnly);

    QString DatabaseName() const override { return FDatabaseName; }
    bool InList() const override { return FInList; }
    void SetInList(bool inList) override { FInList = inList; }
    void CloseWindow() override;

    bool ReadOnly() const { return FReadOnly; }
    const QString& AutoIncFieldName() const { return FAutoIncFieldName; }
    TDataGrid* Grid() const { return FGrid; }
    TTableDataModel* Model() const { return FModel; }
    QPlainTextEdit* FieldDataEdit() const { return FFieldDataEdit; }
    const TSortState& Sort() const { return FSort; }

    // The commands, as the toolbar, the keys and the menu run them.
    // The record editor on the current record, on a new one.
    void EditRecord();
    void InsertRecord();
    void DeleteRecord();  // asks first
    void SetCurrentNull();
    void FindInColumn();
    void FindNextValue();
    void TitleClick(int column);
    void SetShowFieldData(bool on);
    // The current field to and from a file; a long text in the string editor.
    void BlobToFile();
    void FileToBlob();
    void LongStringEdit();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void CreateFieldActions();
    void UpdateFieldActions();
    // The current field when it is of one of the types; -1 otherwise.
    int CurrentFieldOf(std::initializer_list<int> types) const;
    // Reads the rows again, positioned on the record (by row when it is gone).
    void ShowRecord(const QList<TQXVariant>& key, int fallbackRow);
    void RefreshFieldData();
    void SearchStep(bool fromFirst, bool forward);
    void ShowError(const QString& message);
    void SetCurrent(int row, int column);

    std::unique_ptr<TTableScroller> FScroller;
    TTableDataModel* FModel = nullptr;
    TDataGrid* FGrid;
    QSplitter* FSplitter;
    QWidget* FFieldDataPanel;
    QPlainTextEdit* FFieldDataEdit;
    QAction* FInsertButton = nullptr;
    QAction* FDeleteButton = nullptr;
    QAction* FShowFieldDataButton = nullptr;
    QAction* FSetNullAction = nullptr;
    QAction* FBlobToFileMenuItem = nullptr;
    QAction* FFileToBlobMenuItem = nullptr;
    QAction* FLongStringEditMenuItem = nullptr;
    TDicTableDescription FTableDescription;
    TSortState FSort;
    TQXVariant FLastSearchValue = TQXVariant(QString());
    QString FLastSearchColumn;
    TSearchDirection FLastSearchOptions = dsForward;
    QString FDatabaseName;
    QString FAutoIncFieldName;
    bool FInList = false;
    bool FReadOnly = false;
};
