#pragma once

#include <initializer_list>

#include "appcore/tabledesc.h"
#include "basekit/variant.h"
#include "datawindow.h"
#include "tabledatarules.h"

class QAction;

// The rows of one table of one connected database in a sortable grid:
// Enter or a double click edits the current record in the record editor,
// Insert adds one through it (the engine generates the auto-increment value),
// Delete removes the current one, and a cell can be typed into. A read-only
// window refuses every edit. Listed in the process-wide list of table data
// windows while open.
class TTableDataForm : public TDataWindow {
    Q_OBJECT
  public:
    explicit TTableDataForm(QWidget* parent = nullptr);
    ~TTableDataForm() override;

    // False when the table cannot be read (the caller frees the window).
    bool Open(const QString& tableName, const QString& databaseName, bool readOnly);

    const QString& AutoIncFieldName() const { return FAutoIncFieldName; }
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
    void SearchStep(bool fromFirst, bool forward);

    QAction* FSetNullAction = nullptr;
    QAction* FBlobToFileMenuItem = nullptr;
    QAction* FFileToBlobMenuItem = nullptr;
    QAction* FLongStringEditMenuItem = nullptr;
    TDicTableDescription FTableDescription;
    TSortState FSort;
    TQXVariant FLastSearchValue = TQXVariant(QString());
    QString FLastSearchColumn;
    TSearchDirection FLastSearchOptions = dsForward;
    QString FAutoIncFieldName;
};
