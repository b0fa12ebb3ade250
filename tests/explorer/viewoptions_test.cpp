#include <gtest/gtest.h>

#include "basekit/registry.h"
#include "explorer/folderviewoptions.h"

namespace {

const QString kKey = QStringLiteral("\\PELVAR_TEST\\ViewOptions");

TListColumns Available() {
    TListColumns columns;
    columns.Add("Name", 200, 0);
    columns.Add("Size", 80, 1);
    columns.Add("Remark", 120, 2);
    return columns;
}

QList<int> Tags(const TListColumns& columns) {
    QList<int> tags;
    for (const TListColumn& c : columns)
        tags << c.Tag;
    return tags;
}

class TViewOptionsTest : public testing::Test {
  protected:
    void SetUp() override {
        FReg.DeleteKey(kKey);
        ASSERT_TRUE(FReg.OpenKey(kKey, true));
    }
    void TearDown() override {
        FReg.CloseKey();
        FReg.DeleteKey(kKey);
    }
    TRegistry FReg;
};

}  // namespace

TEST_F(TViewOptionsTest, ADamagedOrMissingValueFallsBackAloneAndTheOthersAreRead) {
    FReg.WriteString("ListViewStyle", "3");  // wrong type
    FReg.WriteInteger("AutoArrangeIcons", 1);
    FReg.WriteInteger("Left", 10);
    FReg.WriteBinaryData("Top", "xx");
    FReg.WriteInteger("Width", 300);  // Height missing
    FReg.WriteInteger("Column0_Order", 5);
    FReg.WriteBool("Column0_Visible", false);  // the caption column cannot be hidden
    FReg.WriteString("Column1_Order", "first");
    FReg.WriteBool("Column1_Visible", false);
    FReg.WriteInteger("Column2_Order", -3);  // no place
    FReg.WriteString("Column2_Width", "wide");
    FReg.WriteString("SortType", "1");
    FReg.WriteInteger("FocusedItem", 7);

    TFolderViewOptions options;
    options.ListViewStyle = 1;
    options.Pos = QPoint(1, 2);
    options.Size = QSize(30, 40);
    options.ReadView(FReg);
    EXPECT_EQ(options.ListViewStyle, 1);
    EXPECT_TRUE(options.AutoArrangeIcons);
    EXPECT_EQ(options.Pos, QPoint(10, 2));
    EXPECT_EQ(options.Size, QSize(300, 40));

    options.ReadFolder(FReg, Available());
    EXPECT_EQ(options.Columns[0].Order, 5);
    EXPECT_EQ(options.Columns[1].Order, std::nullopt);
    EXPECT_EQ(options.Columns[1].Visible, false);
    EXPECT_EQ(options.Columns[2].Order, std::nullopt);
    EXPECT_EQ(options.Columns[2].Width, std::nullopt);
    EXPECT_EQ(options.SortType, std::nullopt);
    EXPECT_EQ(options.FocusedItem, std::nullopt);
    // Column 0 has a place, Size is hidden, Remark keeps the folder's width.
    const TListColumns shown = options.ShownColumns(Available());
    EXPECT_EQ(Tags(shown), (QList<int>{0, 2}));
    EXPECT_EQ(shown[1].Width, 120);

    FReg.WriteInteger("ListViewStyle", 7);  // no style
    options.ReadView(FReg);
    EXPECT_EQ(options.ListViewStyle, 1);
}

TEST_F(TViewOptionsTest, WhatIsWrittenReadsBackAndTwoColumnsNeverShareAPlace) {
    TListColumns shown;
    shown.Add("Remark", 234, 2);
    shown.Add("Name", 150, 0);
    TFolderViewOptions written;
    written.ListViewStyle = 3;
    written.StorePlace = false;  // a minimised window keeps its stored place
    written.SetShownColumns(Available(), shown);
    written.SortType = 1000002;
    written.FocusedItem = "T3";
    written.WriteView(FReg);
    written.WriteFolder(FReg);
    EXPECT_FALSE(FReg.ValueExists("Left"));

    TFolderViewOptions read;
    read.ReadView(FReg);
    read.ReadFolder(FReg, Available());
    EXPECT_EQ(read.ListViewStyle, 3);
    EXPECT_EQ(read.Columns, written.Columns);
    EXPECT_EQ(read.SortType, 1000002);
    EXPECT_EQ(read.FocusedItem, "T3");
    EXPECT_EQ(read.ShownColumns(Available()), shown);

    FReg.WriteInteger("Column1_Order", 0);
    FReg.WriteBool("Column1_Visible", true);
    read.ReadFolder(FReg, Available());
    // Size and Remark both claim place 0: the folder's first keeps it.
    EXPECT_EQ(Tags(read.ShownColumns(Available())), (QList<int>{1, 0}));
}
