#pragma once

#include <QString>
#include <functional>

// The confirmations asked when structures are copied into a database or
// deleted: what each check box shows, the rules between them and the user's
// last choices remembered in the registry. The windows only mirror this state.

// One check box: a disabled box carries no check mark and answers false.
struct TConfirmBox {
    bool Enabled = false;
    bool Checked = false;
};

// Registry values ("\PELVAR\Confirmations\..."), Boolean, true when absent.
namespace ConfirmationParams {
extern const QString kCreateTableOnCopy;
extern const QString kCopyTableData;
extern const QString kCopyLocalResource;
extern const QString kDeleteTableData;
extern const QString kDeleteLocalResource;
}  // namespace ConfirmationParams

// The copy confirmation. Each flag given tells whether its choice applies;
// an applicable box starts with its remembered check mark.
class TCopyTableConfirmation {
  public:
    TCopyTableConfirmation(bool createDBObjects, bool copyTableData, bool copyLocalResources);

    TConfirmBox CreateDBObjectCheckbox;
    TConfirmBox CopyTableDataCheckBox;
    TConfirmBox CopyLocalResourceCheckBox;

    // Table data can be copied at all (the caller's flag on entry).
    bool CTData() const { return FCTData; }
    // Table data is copied only into tables being created: the table-data box is
    // enabled while the database-object box is checked (and data can be copied),
    // and loses its check mark whenever it is disabled. Runs on every click of
    // the database-object box.
    void SetEnabling();
    // The user set or cleared the database-object box.
    void ClickCreateDBObjects(bool checked);
    // Remembers the check mark of every enabled box, whatever the answer.
    void Store() const;
    void Result(bool& createDBObjects, bool& copyTableData, bool& copyLocalResources) const;

  private:
    bool FCTData = false;
};

// The delete confirmation of `count` structures.
class TDeleteTableConfirmation {
  public:
    TDeleteTableConfirmation(int count, bool deleteDBObjects, bool deleteLocalResources);

    QString MainLabel;
    TConfirmBox DeleteTableDataCheckbox;
    TConfirmBox DeleteLocalResourceCheckBox;

    void Store() const;
    void Result(bool& deleteDBObjects, bool& deleteLocalResources) const;
};

// The windows: show the state, let the user change it, answer OK (copy) or
// Yes (delete).
using TCopyConfirmationPrompt = std::function<bool(TCopyTableConfirmation& state)>;
using TDeleteConfirmationPrompt = std::function<bool(TDeleteTableConfirmation& state)>;
void SetCopyConfirmationPrompt(TCopyConfirmationPrompt prompt);
void SetDeleteConfirmationPrompt(TDeleteConfirmationPrompt prompt);

// Three in/out flags: on entry whether each choice applies, on return the
// user's choice (false for one that does not apply). True when the user
// pressed OK. Without an installed window: false, flags unchanged.
bool ConfirmCopyStructures(bool& CreateDBObjects, bool& CopyTableData, bool& CopyLocalResources);
// The number of structures to delete and two in/out flags as above. True when
// the user pressed Yes. Without an installed window: false, flags unchanged.
bool ConfirmDeleteStructures(int Count, bool& DeleteDBObjects, bool& DeleteLocalResources);
