#include <gtest/gtest.h>

#include "model/pelvarobject.h"
#include "testobjects.h"

namespace {

// Counts live instances, so that ownership can be checked.
class TCounted : public TPelvarObject {
  public:
    PELVAR_OBJECT_CREATE(TCounted)
    TCounted() { ++Alive; }
    ~TCounted() override { --Alive; }
    QString GetRegistryPath() override { return QString(); }
    // Loads one child; the actions depend on what is loaded.
    bool InternalOpen() override {
        if (OpenResult) AddSubObject(std::make_unique<TCounted>(), "child");
        return OpenResult;
    }
    void FillActions() override {
        Actions().Add()->Name = QStringLiteral("children %1").arg(SubObjects().Count());
    }
    static inline int Alive = 0;
    bool OpenResult = true;
};

class TPelvarObjectTest : public testing::Test {
  protected:
    void SetUp() override {
        World().Reset();
        TCounted::Alive = 0;
    }
};

}  // namespace

TEST_F(TPelvarObjectTest, PathsLookupAndTheChangeCallback) {
    QStringList reported;
    TCounted root;
    root.SetOnDataChanged([&](const QString& path) { reported << path; });
    EXPECT_EQ(root.SubPath(), QString());
    TPelvarObject* a1 = root.AddSubObject(std::make_unique<TCounted>(), "A1");
    TPelvarObject* tables = a1->AddSubObject(std::make_unique<TCounted>(), "Tables");
    EXPECT_EQ(tables->FullPath(), "\\A1\\Tables");
    EXPECT_EQ(tables->SubPath(), "Tables");
    EXPECT_EQ(tables->ParentObject(), a1);
    // Children inherit the change callback.
    tables->DataChanged(tables->FullPath());
    EXPECT_EQ(reported, QStringList{"\\A1\\Tables"});
    TCounted loose;
    loose.SetFullPath("NoBackslash");
    EXPECT_EQ(loose.SubPath(), "NoBackslash");

    EXPECT_EQ(ParsePath("\\A1\\Structures"), (QStringList{"A1", "Structures"}));
    EXPECT_EQ(ParsePath("\\\\Structures"), (QStringList{"", "Structures"}));
    EXPECT_TRUE(ParsePath(QString()).isEmpty());

    // Look-up is exact and sees loaded children only.
    World().Add(QString(), {"A1", true});
    World().Add("\\A1", {"Tables", true});
    TTestRoot world;
    ASSERT_TRUE(world.Open());
    EXPECT_EQ(FindObjectByPath(&world, QString()), &world);
    EXPECT_EQ(world.SubObjects().FindBySubPath("a1"), nullptr);
    EXPECT_EQ(FindObjectByPath(&world, "\\A1\\Tables"), nullptr);  // A1 is not opened
    ASSERT_TRUE(FindObjectByPath(&world, "\\A1")->Open());
    EXPECT_NE(FindObjectByPath(&world, "\\A1\\Tables"), nullptr);
    EXPECT_EQ(FindObjectByPath(&world, "\\A1\\TABLES"), nullptr);
}

TEST_F(TPelvarObjectTest, OpenAndCloseRefillActionsAndChildren) {
    {
        TCounted node;
        EXPECT_EQ(node.Actions().Count(), 1);  // offered from the start
        EXPECT_EQ(node.Actions().Items(0)->Name, "children 0");

        node.OpenResult = false;
        TPelvarObjectAction* before = node.Actions().Items(0);
        EXPECT_FALSE(node.Open());
        EXPECT_FALSE(node.Opened());
        EXPECT_EQ(node.Actions().Items(0), before);

        node.OpenResult = true;
        ASSERT_TRUE(node.Open());
        EXPECT_TRUE(node.Opened());
        EXPECT_EQ(node.Actions().Items(0)->Name, "children 1");
        EXPECT_EQ(TCounted::Alive, 2);
        node.Close();
        EXPECT_EQ(TCounted::Alive, 1);
        EXPECT_FALSE(node.Opened());
        EXPECT_EQ(node.Actions().Items(0)->Name, "children 0");
    }
    EXPECT_EQ(TCounted::Alive, 0);
}

TEST_F(TPelvarObjectTest, ListOwnsAndCopiesDeep) {
    World().Add(QString(), {"A1", true, 5, "r"});
    TTestRoot root;
    ASSERT_TRUE(root.Open());
    TPelvarObjectList copy;
    copy.Assign(root.SubObjects());
    ASSERT_EQ(copy.Count(), 1);
    auto* item = dynamic_cast<TTestFolder*>(copy.Items(0));
    ASSERT_NE(item, nullptr);  // the copy has the source's own class
    EXPECT_NE(item, root.SubObjects().Items(0));
    EXPECT_EQ(item->FullPath(), "\\A1");
    EXPECT_EQ(item->Entry().Size, 5);
    EXPECT_EQ(item->ParentObject(), nullptr);
    EXPECT_EQ(item->SubObjects().Count(), 0);

    TPelvarObjectList counted;
    counted.Add(std::make_unique<TCounted>());
    counted.Add(std::make_unique<TCounted>());
    counted.Delete(0);
    EXPECT_EQ(TCounted::Alive, 1);
    counted.Assign(counted);  // clears first: a list assigned to itself ends empty
    EXPECT_EQ(counted.Count(), 0);
    EXPECT_EQ(TCounted::Alive, 0);
}

TEST_F(TPelvarObjectTest, AliasFileAndBaseObjects) {
    TTestFolder alias;
    alias.SetAliasName("maindb");
    EXPECT_EQ(alias.AliasName(), "MAINDB");
    alias.SetFullPath("\\MAINDB");
    EXPECT_EQ(alias.GetRegistryPath(), "ALIAS");
    alias.SetFullPath("\\MAINDB\\Structures\\Tables");
    EXPECT_EQ(alias.GetRegistryPath(), "Structures\\Tables");
    TTestFolder copy;
    copy.Assign(alias);
    EXPECT_EQ(copy.AliasName(), "MAINDB");

    TTestFileItem file, fileCopy;
    file.EIFile = reinterpret_cast<TEIFile*>(&file);  // any address: never followed
    fileCopy.Assign(file);
    EXPECT_EQ(fileCopy.EIFile, file.EIFile);
    EXPECT_EQ(fileCopy.GetRegistryPath(), QString());

    // The base class offers one translated column and sorts ordinally.
    TCounted a, b;
    TListColumns columns;
    columns.Add("old", 10, 7);
    a.CreateColumns(columns);
    ASSERT_EQ(columns.Count(), 1);
    EXPECT_FALSE(columns[0].Caption.isEmpty());
    EXPECT_FALSE(columns[0].Caption.startsWith("M_"));  // translated
    EXPECT_FALSE(a.GetSortMenuItemCaption(3).isEmpty());
    a.SetFullPath("\\x\\Tables");
    b.SetFullPath("\\x\\tables");
    EXPECT_LT(a.Compare(&a, &b, 0), 0);  // upper case first
    EXPECT_GT(a.Compare(&b, &a, 0), 0);
    EXPECT_EQ(a.Compare(&a, &a, 0), 0);
}
