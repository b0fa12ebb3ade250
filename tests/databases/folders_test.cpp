#include <gtest/gtest.h>

#include "appcore/appmanager.h"
#include "appcore/dsptable.h"
#include "appcore/systemtables.h"
#include "databases/commonfolder.h"
#include "databases/config.h"
#include "testenv.h"

namespace {

class TUntitledFolder : public TDOCommonFolder {
  public:
    PELVAR_OBJECT_CREATE(TUntitledFolder)
};

class FoldersTest : public TEngineTest {};

TEST_P(FoldersTest, CommonFoldersAndConfigurationItemsFillTheirRows) {
    TUntitledFolder folder;
    TListRow row;
    TListColumns columns;
    folder.FillListViewItem(row, columns);
    EXPECT_TRUE(row.Caption.isEmpty());  // an empty caption shows an empty row...
    EXPECT_EQ(row.ImageIndex, 0);
    TTreeNodeItem node;
    folder.FillTreeViewItem(node);
    EXPECT_TRUE(node.HasChildren);  // ...and the tree still offers to expand it
    EXPECT_EQ(node.ImageIndex, 0);
    EXPECT_EQ(node.SelectedIndex, 1);
    EXPECT_TRUE(folder.IsFolder());
    EXPECT_FALSE(folder.IsEIFolderAccepted(folder));

    CreateMissingSystemTables(Alias());
    TDSPTable& dsp = GetDSPTable(Alias());
    dsp.ChangeStructureProperties(QStringLiteral("BASE"), 14, QString(), QString(),
                                  QStringLiteral("base"));
    dsp.ChangeStructureProperties(QStringLiteral("MID"), 14, QStringLiteral("BASE"), QString(),
                                  QString());
    dsp.ChangeStructureProperties(QStringLiteral("LEAF"), 14, QStringLiteral("MID"),
                                  QStringLiteral("T"), QStringLiteral("r"));
    TDOConfig item;
    item.SetAliasName(Alias());
    ASSERT_TRUE(dsp.GetStructureProperties(QStringLiteral("LEAF"), 14, item.Info()));
    columns.Add(QStringLiteral("Name"), 200, 0);
    columns.Add(QStringLiteral("Parent"), 100, 5);
    columns.Add(QStringLiteral("Remark"), 300, 3);
    columns.Add(QStringLiteral("Changed"), 100, 2);
    columns.Add(QStringLiteral("Type"), 100, 6);
    columns.Add(QStringLiteral("Other"), 100, 99);
    item.FillListViewItem(row, columns);
    EXPECT_EQ(row.Caption, QStringLiteral("LEAF"));
    EXPECT_EQ(row.ImageIndex, 7);
    EXPECT_EQ(row.Indent, 2);  // three levels down its chain
    ASSERT_EQ(row.SubItems.size(), 5);
    EXPECT_EQ(row.SubItems[0], QStringLiteral("MID"));
    EXPECT_EQ(row.SubItems[1], QStringLiteral("r"));
    EXPECT_FALSE(row.SubItems[2].isEmpty());
    EXPECT_EQ(row.SubItems[3], QStringLiteral("14"));
    EXPECT_TRUE(row.SubItems[4].isEmpty());
    // A copy carries the structure's description.
    auto copy = item.DuplicateClass();
    copy->Assign(item);
    EXPECT_EQ(static_cast<TDOConfig*>(copy.get())->Info().TableName, QStringLiteral("T"));
    EXPECT_EQ(static_cast<TDOConfig*>(copy.get())->AliasName(), Alias());
}

PELVAR_ENGINE_TESTS(FoldersTest);

}  // namespace
