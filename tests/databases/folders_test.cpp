#include <gtest/gtest.h>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "databases/config.h"
#include "testenv.h"

namespace {

class FoldersTest : public TEngineTest {};

TEST_P(FoldersTest, ConfigurationItemsShowTheirChainAndColumns) {
    CreateMissingSystemTables(Alias());
    TDSPTable& dsp = GetDSPTable(Alias());
    dsp.ChangeStructureProperties("BASE", 14, QString(), QString(), "base");
    dsp.ChangeStructureProperties("MID", 14, "BASE", QString(), QString());
    dsp.ChangeStructureProperties("LEAF", 14, "MID", "T", "r");
    TDOConfig item;
    item.SetAliasName(Alias());
    ASSERT_TRUE(dsp.GetStructureProperties("LEAF", 14, item.Info()));
    TListColumns columns;  // name, parent, remark, changed, type and an unknown one
    for (int tag : {0, 5, 3, 2, 6, 99})
        columns.Add(QString::number(tag), 100, tag);
    TListRow row;
    item.FillListViewItem(row, columns);
    EXPECT_EQ(row.Caption, "LEAF");
    EXPECT_EQ(row.Indent, 2);  // three levels down its chain
    ASSERT_EQ(row.SubItems.size(), 5);
    EXPECT_FALSE(row.SubItems[2].isEmpty());  // the time of the last change
    EXPECT_EQ(row.SubItems, QStringList({"MID", "r", row.SubItems[2], "14", ""}));
    // A copy carries the structure's description.
    auto copy = item.DuplicateClass();
    copy->Assign(item);
    EXPECT_EQ(static_cast<TDOConfig*>(copy.get())->Info().TableName, "T");
    EXPECT_EQ(static_cast<TDOConfig*>(copy.get())->AliasName(), Alias());
}

PELVAR_ENGINE_TESTS(FoldersTest);

}  // namespace
