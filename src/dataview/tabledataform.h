#pragma once

#include <initializer_list>

#include "appcore/tabledesc.h"
#include "basekit/variant.h"
#include "datawindow.h"
#include "tabledatarules.h"

class QAction;
class QMenu;

// The rows of one table of one connected database in a sortable grid:
// Enter or a double click edits the current record in the record editor,
// Insert adds one through it (the engine generates the auto-increment value),
// Delete removes the current one, Shift+Delete sets the cell to NULL, and a
// cell can be typed into. The popup menu works on the current field: the table
// kept in a BLOB field, a DSP tree held in one, files and long texts. A
// read-only window refuses every edit. Listed in the process-wide list of table data
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
    // The table kept in the current BLOB field (its structure is named
    // "TABLE.FIELD"): shown and edited, or created empty.
    void OpenBLOBTable();
    void CreateBLOBTable();
    // The DSP tree held in the current BLOB field: edited, or a new empty one.
    void EditDSPTree();
    void CreateDSPTree();

    QMenu* PopupMenu() const { return FPopupMenu; }
    // Enables the popup's items for the current cell; the BLOB table's
    // structure is looked up only when asked (the menu opens).
    void UpdateFieldActions(bool checkStructure = false);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void CreateFieldActions();
    QString CurrentFieldName() const;
    // The current field's value may be replaced: it is empty, or the user agreed.
    bool ConfirmReplace(const QModelIndex& current);
    // The current field when it is of one of the types; -1 otherwise.
    int CurrentFieldOf(std::initializer_list<int> types) const;
    // Reads the rows again, positioned on the record (by row when it is gone).
    void ShowRecord(const QList<TQXVariant>& key, int fallbackRow);
    void SearchStep(bool fromFirst, bool forward);

    QAction* FSetNullAction = nullptr;
    QMenu* FPopupMenu = nullptr;
    QAction* FBLOBTableMenuItem = nullptr;
    QAction* FCreateBLOBTableMenuItem = nullptr;
    QAction* FDSPTreeMenuItem = nullptr;
    QAction* FCreateDSPTreeMenuItem = nullptr;
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
