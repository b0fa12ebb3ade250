#include "dspconfirmations.h"

#include "appcore/texts.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"

namespace ConfirmationParams {
const QString kCreateTableOnCopy = QStringLiteral("\\PELVAR\\Confirmations\\CreateTableOnCopy");
const QString kCopyTableData = QStringLiteral("\\PELVAR\\Confirmations\\CopyTableData");
const QString kCopyLocalResource = QStringLiteral("\\PELVAR\\Confirmations\\CopyLocalResource");
const QString kDeleteTableData = QStringLiteral("\\PELVAR\\Confirmations\\DeleteTableData");
const QString kDeleteLocalResource = QStringLiteral("\\PELVAR\\Confirmations\\DeleteLocalResource");
}  // namespace ConfirmationParams

namespace {

TCopyConfirmationPrompt gCopyPrompt;
TDeleteConfirmationPrompt gDeletePrompt;

// A box that applies starts with the user's last choice.
TConfirmBox LoadBox(bool applies, const QString& param) {
    TConfirmBox box;
    box.Enabled = applies;
    if (!applies) return box;
    try {
        box.Checked = LoadRegistryParam(param, true);
    } catch (const ERegistryError&) {
        box.Checked = true;  // a damaged entry is as good as none
    }
    return box;
}

// Not remembering a choice never stops the copy or the deletion.
void StoreBox(const TConfirmBox& box, const QString& param) {
    if (!box.Enabled) return;
    try {
        SaveRegistryParam(param, box.Checked);
    } catch (const ERegistryError&) {
    }
}

bool Answer(const TConfirmBox& box) {
    return box.Enabled && box.Checked;
}

}  // namespace

TCopyTableConfirmation::TCopyTableConfirmation(bool createDBObjects, bool copyTableData,
                                               bool copyLocalResources)
    : CreateDBObjectCheckbox(LoadBox(createDBObjects, ConfirmationParams::kCreateTableOnCopy)),
      CopyTableDataCheckBox(LoadBox(copyTableData, ConfirmationParams::kCopyTableData)),
      CopyLocalResourceCheckBox(
          LoadBox(copyLocalResources, ConfirmationParams::kCopyLocalResource)),
      FCTData(copyTableData) {
    // Without database objects to create, the data choice stands on its own.
    if (CreateDBObjectCheckbox.Enabled) SetEnabling();
}

void TCopyTableConfirmation::SetEnabling() {
    CopyTableDataCheckBox.Enabled = CreateDBObjectCheckbox.Checked && FCTData;
    if (!CopyTableDataCheckBox.Enabled) CopyTableDataCheckBox.Checked = false;
}

void TCopyTableConfirmation::ClickCreateDBObjects(bool checked) {
    if (!CreateDBObjectCheckbox.Enabled) return;
    CreateDBObjectCheckbox.Checked = checked;
    SetEnabling();
}

void TCopyTableConfirmation::Store() const {
    StoreBox(CreateDBObjectCheckbox, ConfirmationParams::kCreateTableOnCopy);
    StoreBox(CopyTableDataCheckBox, ConfirmationParams::kCopyTableData);
    StoreBox(CopyLocalResourceCheckBox, ConfirmationParams::kCopyLocalResource);
}

void TCopyTableConfirmation::Result(bool& createDBObjects, bool& copyTableData,
                                    bool& copyLocalResources) const {
    createDBObjects = Answer(CreateDBObjectCheckbox);
    copyTableData = Answer(CopyTableDataCheckBox);
    copyLocalResources = Answer(CopyLocalResourceCheckBox);
}

TDeleteTableConfirmation::TDeleteTableConfirmation(int count, bool deleteDBObjects,
                                                   bool deleteLocalResources)
    : MainLabel(SafeFormat(LString(QStringLiteral("M_Pelvar_CrTblCf_DeleteTablesConfirm")), count)),
      DeleteTableDataCheckbox(LoadBox(deleteDBObjects, ConfirmationParams::kDeleteTableData)),
      DeleteLocalResourceCheckBox(
          LoadBox(deleteLocalResources, ConfirmationParams::kDeleteLocalResource)) {}

void TDeleteTableConfirmation::Store() const {
    StoreBox(DeleteTableDataCheckbox, ConfirmationParams::kDeleteTableData);
    StoreBox(DeleteLocalResourceCheckBox, ConfirmationParams::kDeleteLocalResource);
}

void TDeleteTableConfirmation::Result(bool& deleteDBObjects, bool& deleteLocalResources) const {
    deleteDBObjects = Answer(DeleteTableDataCheckbox);
    deleteLocalResources = Answer(DeleteLocalResourceCheckBox);
}

void SetCopyConfirmationPrompt(TCopyConfirmationPrompt prompt) {
    gCopyPrompt = std::move(prompt);
}

void SetDeleteConfirmationPrompt(TDeleteConfirmationPrompt prompt) {
    gDeletePrompt = std::move(prompt);
}

bool ConfirmCopyStructures(bool& CreateDBObjects, bool& CopyTableData, bool& CopyLocalResources) {
    if (!gCopyPrompt) return false;
    TCopyTableConfirmation state(CreateDBObjects, CopyTableData, CopyLocalResources);
    const bool ok = gCopyPrompt(state);
    state.Store();
    state.Result(CreateDBObjects, CopyTableData, CopyLocalResources);
    return ok;
}

bool ConfirmDeleteStructures(int Count, bool& DeleteDBObjects, bool& DeleteLocalResources) {
    if (!gDeletePrompt) return false;
    TDeleteTableConfirmation state(Count, DeleteDBObjects, DeleteLocalResources);
    const bool yes = gDeletePrompt(state);
    state.Store();
    state.Result(DeleteDBObjects, DeleteLocalResources);
    return yes;
}
