#include <gtest/gtest.h>

#include "appcore/texts.h"
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
        if (OpenResult) AddSubObject(std::make_unique<TCounted>(), QStringLiteral("child"));
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
    void SetUp() override { World().Reset(); }
};

}  // namespace

TEST_F(TPelvarObjectTest, PathsAndSubPaths) {
    TCounted root;
    EXPECT_EQ(root.SubPath(), QString());
    TPelvarObject* a1 = root.AddSubObject(std::make_unique<TCounted>(), QStringLiteral("A1"));
    TPelvarObject* tables =
        a1->AddSubObject(std::make_unique<TCounted>(), QStringLiteral("Tables"));
    EXPECT_EQ(a1->FullPath(), QStringLiteral("\\A1"));
    EXPECT_EQ(tables->FullPath(), QStringLiteral("\\A1\\Tables"));
    EXPECT_EQ(tables->SubPath(), QStringLiteral("Tables"));
    EXPECT_EQ(tables->ParentObject(), a1);

    TCounted loose;
    loose.SetFullPath(QStringLiteral("NoBackslash"));
    EXPECT_EQ(loose.SubPath(), QStringLiteral("NoBackslash"));

    EXPECT_EQ(ParsePath(QStringLiteral("\\A1\\Structures")),
              (QStringList{QStringLiteral("A1"), QStringLiteral("Structures")}));
    EXPECT_EQ(ParsePath(QStringLiteral("\\\\Structures")),
              (QStringList{QString(), QStringLiteral("Structures")}));
    EXPECT_TRUE(ParsePath(QString()).isEmpty());
}

TEST_F(TPelvarObjectTest, LookupIsExactAndSeesLoadedChildrenOnly) {
    World().Add(QString(), {QStringLiteral("A1"), true});
    World().Add(QStringLiteral("\\A1"), {QStringLiteral("Tables"), true});
    TTestRoot root;
    ASSERT_TRUE(root.Open());
    EXPECT_EQ(FindObjectByPath(&root, QString()), &root);
    EXPECT_NE(FindObjectByPath(&root, QStringLiteral("\\A1")), nullptr);
    EXPECT_EQ(root.SubObjects().FindBySubPath(QStringLiteral("a1")), nullptr);
    // A1 is not opened: its child is not found although it would have it.
    EXPECT_EQ(FindObjectByPath(&root, QStringLiteral("\\A1\\Tables")), nullptr);
    ASSERT_TRUE(FindObjectByPath(&root, QStringLiteral("\\A1"))->Open());
    EXPECT_NE(FindObjectByPath(&root, QStringLiteral("\\A1\\Tables")), nullptr);
    EXPECT_EQ(FindObjectByPath(&root, QStringLiteral("\\A1\\TABLES")), nullptr);
}

TEST_F(TPelvarObjectTest, OpenAndCloseRefillActionsAndChildren) {
    TCounted::Alive = 0;
    {
        TCounted node;
        EXPECT_EQ(node.Actions().Count(), 1);  // offered from the start
        EXPECT_EQ(node.Actions().Items(0)->Name, QStringLiteral("children 0"));

        node.OpenResult = false;
        TPelvarObjectAction* before = node.Actions().Items(0);
        EXPECT_FALSE(node.Open());
        EXPECT_FALSE(node.Opened());
        EXPECT_EQ(node.Actions().Items(0), before);

        node.OpenResult = true;
        ASSERT_TRUE(node.Open());
        EXPECT_TRUE(node.Opened());
        EXPECT_EQ(node.Actions().Items(0)->Name, QStringLiteral("children 1"));
        EXPECT_EQ(TCounted::Alive, 2);
        node.Close();
        EXPECT_EQ(TCounted::Alive, 1);
        EXPECT_FALSE(node.Opened());
        EXPECT_EQ(node.Actions().Items(0)->Name, QStringLiteral("children 0"));
    }
    EXPECT_EQ(TCounted::Alive, 0);
}

TEST_F(TPelvarObjectTest, ChildrenInheritTheChangeCallback) {
    QStringList reported;
    TCounted root;
    root.SetOnDataChanged([&](const QString& path) { reported << path; });
    TPelvarObject* child = root.AddSubObject(std::make_unique<TCounted>(), QStringLiteral("A"));
    child->DataChanged(child->FullPath());
    EXPECT_EQ(reported, QStringList{QStringLiteral("\\A")});
}

TEST_F(TPelvarObjectTest, ListOwnsAndCopiesDeep) {
    TCounted::Alive = 0;
    World().Add(QString(), {QStringLiteral("A1"), true, 5, QStringLiteral("r")});
    TTestRoot root;
    ASSERT_TRUE(root.Open());
    TPelvarObjectList copy;
    copy.Assign(root.SubObjects());
    ASSERT_EQ(copy.Count(), 1);
    auto* item = dynamic_cast<TTestFolder*>(copy.Items(0));
    ASSERT_NE(item, nullptr);  // the copy has the source's own class
    EXPECT_NE(item, root.SubObjects().Items(0));
    EXPECT_EQ(item->FullPath(), QStringLiteral("\\A1"));
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

TEST_F(TPelvarObjectTest, AliasAndFileObjects) {
    TTestFolder alias;
    alias.SetAliasName(QStringLiteral("maindb"));
    EXPECT_EQ(alias.AliasName(), QStringLiteral("MAINDB"));
    alias.SetFullPath(QStringLiteral("\\MAINDB"));
    EXPECT_EQ(alias.GetRegistryPath(), QStringLiteral("ALIAS"));
    alias.SetFullPath(QStringLiteral("\\MAINDB\\Structures\\Tables"));
    EXPECT_EQ(alias.GetRegistryPath(), QStringLiteral("Structures\\Tables"));
    TTestFolder copy;
    copy.Assign(alias);
    EXPECT_EQ(copy.AliasName(), QStringLiteral("MAINDB"));

    TTestFileItem file, fileCopy;
    file.EIFile = reinterpret_cast<TEIFile*>(&file);  // any address: never followed
    fileCopy.Assign(file);
    EXPECT_EQ(fileCopy.EIFile, file.EIFile);
    EXPECT_EQ(fileCopy.GetRegistryPath(), QString());
}

TEST_F(TPelvarObjectTest, BaseDefaults) {
    TCounted a, b;
    TListColumns columns;
    columns.Add(QStringLiteral("old"), 10, 7);
    a.CreateColumns(columns);
    ASSERT_EQ(columns.Count(), 1);
    EXPECT_EQ(columns[0].Caption,
              LString(QStringLiteral("M_Pelvar_ListObjs_DefaultColumnCaption")));
    EXPECT_FALSE(columns[0].Caption.isEmpty());
    EXPECT_EQ(columns[0].Width, 200);
    EXPECT_EQ(columns[0].Tag, 0);
    EXPECT_FALSE(a.GetSortMenuItemCaption(3).isEmpty());

    a.SetFullPath(QStringLiteral("\\x\\Tables"));
    b.SetFullPath(QStringLiteral("\\x\\tables"));
    EXPECT_LT(a.Compare(&a, &b, 0), 0);  // ordinal: upper case first
    EXPECT_GT(a.Compare(&b, &a, 0), 0);
    EXPECT_EQ(a.Compare(&a, &a, 0), 0);
}
