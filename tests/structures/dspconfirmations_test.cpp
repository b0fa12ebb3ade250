#include <gtest/gtest.h>

#include "basekit/registry.h"
#include "structures/dspconfirmations.h"

namespace {

using namespace ConfirmationParams;

bool Stored(const QString& param) {
    return LoadRegistryParam(param, true);
}

TEST(CopyConfirmation, TableDataFollowsTheObjectBoxAndCancelStillRemembers) {
    TRegistry reg;  // nothing remembered yet: every box that applies starts checked
    reg.DeleteKey(RegistryBaseKey() + QStringLiteral("\\PELVAR\\Confirmations"));
    TCopyTableConfirmation all(true, true, true);
    EXPECT_TRUE(all.CreateDBObjectCheckbox.Checked && all.CopyTableDataCheckBox.Checked);
    all.ClickCreateDBObjects(false);
    EXPECT_FALSE(all.CopyTableDataCheckBox.Enabled || all.CopyTableDataCheckBox.Checked);
    all.ClickCreateDBObjects(true);  // enabled again, but the check mark is gone
    EXPECT_TRUE(all.CopyTableDataCheckBox.Enabled);
    EXPECT_FALSE(all.CopyTableDataCheckBox.Checked);
    // No data to copy: the object box never enables the data box.
    TCopyTableConfirmation noData(true, false, true);
    EXPECT_FALSE(noData.CopyTableDataCheckBox.Enabled);
    // No objects to create: the data box stands on its own.
    TCopyTableConfirmation dataOnly(false, true, false);
    bool create = true, data = false, local = true;
    dataOnly.Result(create, data, local);
    EXPECT_FALSE(create || local);
    EXPECT_TRUE(data);

    SetCopyConfirmationPrompt([](TCopyTableConfirmation& s) {
        s.CopyLocalResourceCheckBox.Checked = false;
        s.ClickCreateDBObjects(false);
        return false;  // Cancel
    });
    create = data = local = true;
    EXPECT_FALSE(ConfirmCopyStructures(create, data, local));
    EXPECT_FALSE(create || data || local);
    EXPECT_FALSE(Stored(kCreateTableOnCopy));
    EXPECT_FALSE(Stored(kCopyLocalResource));
    EXPECT_TRUE(Stored(kCopyTableData));  // disabled when closed: not remembered
    // Remembered without objects to create: the data box starts disabled.
    EXPECT_FALSE(TCopyTableConfirmation(true, true, true).CopyTableDataCheckBox.Enabled);

    // Without a window the copy is not confirmed and the flags stay.
    SetCopyConfirmationPrompt(nullptr);
    create = data = local = true;
    EXPECT_FALSE(ConfirmCopyStructures(create, data, local));
    EXPECT_TRUE(create && data && local);
}

TEST(DeleteConfirmation, OnlyTheChoicesThatApplyAreOfferedAndRemembered) {
    SaveRegistryParam(kDeleteTableData, true);
    SaveRegistryParam(kDeleteLocalResource, QStringLiteral("damaged"));  // not a Boolean
    SetDeleteConfirmationPrompt([](TDeleteTableConfirmation& s) {
        EXPECT_EQ(s.MainLabel, "Delete 3 structure(s)?");
        EXPECT_FALSE(s.DeleteTableDataCheckbox.Enabled);
        EXPECT_TRUE(s.DeleteLocalResourceCheckBox.Checked);  // damaged counts as absent
        s.DeleteTableDataCheckbox.Checked = true;            // a disabled box still answers false
        s.DeleteLocalResourceCheckBox.Checked = false;
        return false;  // No
    });
    bool objects = false, local = true;
    EXPECT_FALSE(ConfirmDeleteStructures(3, objects, local));
    EXPECT_FALSE(objects || local);
    EXPECT_FALSE(Stored(kDeleteLocalResource));  // remembered on No too
    EXPECT_TRUE(Stored(kDeleteTableData));

    SetDeleteConfirmationPrompt(nullptr);
    local = true;
    EXPECT_FALSE(ConfirmDeleteStructures(1, objects, local));
    EXPECT_TRUE(local);
}

}  // namespace
