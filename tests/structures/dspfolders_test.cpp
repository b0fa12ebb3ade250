#include <gtest/gtest.h>

#include <algorithm>

#include "structurefixture.h"
#include "structures/dspfolders.h"
#include "structures/dspitem.h"

namespace {

QStringList SubPaths(const TPelvarObject* node) {
    QStringList paths;
    for (int i = 0; i < node->SubObjects().Count(); ++i)
        paths << node->SubObjects().Items(i)->SubPath();
    return paths;
}

class DSPFoldersTest : public StructuresTest {};

TEST_P(DSPFoldersTest, EveryKindIsListedInItsFolderAndTheRestUnderUnknown) {
    const std::vector<std::pair<QString, int>> structures = {
        {"T1", 10},   {"K11", 11},  {"F1", 12},  {"CFG", 14}, {"SH", 16},  {"PROF", 18},
        {"ROLE", 19}, {"PRIV", 20}, {"USR", 21}, {"WIZ", 30}, {"I65", 65}, {"I66", 66},
        {"K70", 70},  {"GEN", 71},  {"V1", 72},  {"SP", 73},  {"SSP", 74}, {"PAT", 75},
        {"S81", 81},  {"S82", 82},  {"S83", 83}, {"ST", 84},  {"ODD", 5},  {"FAR", 99}};
    for (const auto& [name, type] : structures)
        Put(name, type);
    TPelvarObject* top = Open("Structures");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(SubPaths(top),
              QStringList({"All", "Tables", "Forms", "Params", "Security", "Sheduler", "Schemes",
                           "Internet", "Generators", "Views", "StoredProcs", "SelectStoredProcs",
                           "Pattern", "WizardScenarios", "Unknown"}));
    EXPECT_EQ(SubPaths(Open("Structures\\Security")),
              QStringList({"Privilege", "UserProfile", "Role", "User"}));
    EXPECT_EQ(SubPaths(Open("Structures\\Schemes")),
              QStringList({"Simple", "Table", "Documentary", "Statuses"}));
    EXPECT_EQ(SubPaths(Open("Structures\\Internet")), QStringList({"65", "66"}));

    const std::vector<std::pair<QString, QStringList>> expected = {
        {"Tables", {"10:T1"}},
        {"Forms", {"12:F1"}},
        {"Params", {"14:CFG"}},
        {"Security\\Privilege", {"20:PRIV"}},
        {"Security\\UserProfile", {"18:PROF"}},
        {"Security\\Role", {"19:ROLE"}},
        {"Security\\User", {"21:USR"}},
        {"Sheduler", {"16:SH"}},
        {"Schemes\\Simple", {"81:S81"}},
        {"Schemes\\Table", {"82:S82"}},
        {"Schemes\\Documentary", {"83:S83"}},
        {"Schemes\\Statuses", {"84:ST"}},
        {"Internet\\65", {"65:I65"}},
        {"Internet\\66", {"66:I66"}},
        {"Generators", {"71:GEN"}},
        {"Views", {"72:V1"}},
        {"StoredProcs", {"73:SP"}},
        {"SelectStoredProcs", {"74:SSP"}},
        {"Pattern", {"75:PAT"}},
        {"WizardScenarios", {"30:WIZ"}},
        // 11 and 70 are known types without a folder: only "All" shows them.
        {"Unknown", {"99:FAR", "5:ODD"}}};
    for (const auto& [below, paths] : expected) {
        TDODSPFolder* folder = Folder("Structures\\" + below);
        ASSERT_NE(folder, nullptr) << qPrintable(below);
        EXPECT_TRUE(folder->Subscribed());
        QStringList got = SubPaths(folder);
        got.sort();
        QStringList want = paths;
        want.sort();
        EXPECT_EQ(got, want) << qPrintable(below);
        EXPECT_FALSE(folder->GetCaption().isEmpty()) << qPrintable(below);
    }
    TDODSPFolder* all = Folder("Structures\\All");
    EXPECT_EQ(all->SubObjects().Count(), int(structures.size()));
    // Configurations get the node class the databases library registered.
    EXPECT_EQ(Folder("Structures\\Params")->SubObjects().Items(0)->ClassName(), "TDOConfig");
    EXPECT_EQ(Folder("Structures\\Internet\\65")->GetDefaultObjectType(), 65);
    EXPECT_EQ(Folder("Structures\\Security\\Role")->GetDefaultObjectType(), 0);

    TListColumns columns;
    all->CreateColumns(columns);
    ASSERT_EQ(columns.Count(), 5);
    EXPECT_EQ(columns[4].Tag, 6);
    Folder("Structures\\Tables")->CreateColumns(columns);
    EXPECT_EQ(columns.Count(), 4);
    EXPECT_EQ(columns[1].Tag, 5);

    // The schemes keep their order under any sort; closing unsubscribes.
    TPelvarObject* schemes = Open("Structures\\Schemes");
    EXPECT_GT(schemes->Compare(schemes->SubObjects().Items(3), schemes->SubObjects().Items(0), 0),
              0);
    all->Close();
    EXPECT_FALSE(all->Subscribed());
}

TEST_P(DSPFoldersTest, TheStoreReportsToOpenFoldersAndTheyReReadOneStructure) {
    Put("ORDERS", 10);
    TDODSPFolder* tables = Folder("Structures\\Tables");
    TDODSPFolder* forms = Folder("Structures\\Forms");
    ASSERT_TRUE(tables && forms);
    EXPECT_TRUE(forms->SubObjects().Count() == 0 && forms->Subscribed());  // empty, still live
    FChanges.clear();

    // A second store object of the same database: every open folder hears it.
    TDSPTable other(Alias());
    other.PutStructure("CLIENTS", 10, "{}");
    other.ChangeStructureProperties("ORDERS", 10, QString(), QString(), "changed");
    EXPECT_TRUE(FChanges.contains(PathOf("Structures\\Tables\\10:CLIENTS")));
    EXPECT_TRUE(FChanges.contains(PathOf("Structures\\Tables\\10:ORDERS")));
    EXPECT_FALSE(FChanges.contains(PathOf("Structures\\Forms\\10:CLIENTS")));
    EXPECT_EQ(tables->RefreshItem("10:CLIENTS"), ctItemAdded);
    EXPECT_EQ(tables->RefreshItem("10:ORDERS"), ctItemChanged);
    auto* orders = dynamic_cast<TDOCommonDSPItem*>(tables->SubObjects().FindBySubPath("10:ORDERS"));
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->Info().Remark, "changed");

    // A rename in the store: the old sub-path goes, the new one comes.
    other.PutStructure("ORDERS2", 10, other.GetStructure("ORDERS", 10));
    other.DeleteStructure("ORDERS", 10);
    EXPECT_EQ(tables->RefreshItem("10:ORDERS"), ctItemDeleted);
    EXPECT_EQ(tables->RefreshItem("10:ORDERS2"), ctItemAdded);
    EXPECT_EQ(tables->RefreshItem("10:NOSUCH"), ctItemChanged);
    EXPECT_EQ(tables->RefreshItem("12:CLIENTS"), ctItemChanged);  // not this folder's type
    EXPECT_THROW(tables->RefreshItem("x:CLIENTS"), EPelvarError);
    EXPECT_EQ(SubPaths(tables), QStringList({"10:CLIENTS", "10:ORDERS2"}));

    // The whole store changed: the folder as a whole.
    FChanges.clear();
    other.Refresh();
    EXPECT_TRUE(FChanges.contains(PathOf("Structures\\Tables")));
    EXPECT_TRUE(FChanges.contains(PathOf("Structures\\Forms")));
    forms->Close();
    FChanges.clear();
    other.PutStructure("F9", 12, {});
    EXPECT_TRUE(FChanges.isEmpty());
}

TEST_P(DSPFoldersTest, SortingByParentPutsAncestorsFirstAndDerivedNamesBeforeOthers) {
    Put("BASE", 12);
    Put("B", 12, "BASE");
    Put("A$X", 12, "BASE");
    Put("C", 12, "B");
    Put("M", 12);
    Put("N$1", 12);
    Put("AAA", 10);
    TDODSPFolder* all = Folder("Structures\\All");
    std::vector<TPelvarObject*> items;
    for (int i = 0; i < all->SubObjects().Count(); ++i)
        items.push_back(all->SubObjects().Items(i));
    auto order = [&](int tag) {
        std::stable_sort(items.begin(), items.end(), [&](TPelvarObject* a, TPelvarObject* b) {
            return all->Compare(a, b, tag) < 0;
        });
        QStringList names;
        for (TPelvarObject* o : items)
            names << static_cast<TDOCommonDSPItem*>(o)->Info().Name;
        return names;
    };
    EXPECT_EQ(order(5), QStringList({"AAA", "N$1", "BASE", "A$X", "B", "C", "M"}));
    EXPECT_EQ(order(0), QStringList({"A$X", "AAA", "B", "BASE", "C", "M", "N$1"}));

    // The last change: newest first, structures without a date last.
    TDOCommonDSPItem older, newer, undated;
    older.Info().LastChange = TQXVariant(QDateTime(QDate(2020, 1, 1), QTime(8, 0)));
    newer.Info().LastChange = TQXVariant(QDateTime(QDate(2021, 1, 1), QTime(8, 0)));
    EXPECT_LT(all->Compare(&newer, &older, 2), 0);
    EXPECT_GT(all->Compare(&older, &newer, 2), 0);
    EXPECT_GT(all->Compare(&undated, &older, 2), 0);
    EXPECT_LT(all->Compare(&older, &undated, 2), 0);
    EXPECT_EQ(all->Compare(&undated, &undated, 2), 0);
    EXPECT_EQ(all->GetSortMenuItemCaption(7), QString());
    EXPECT_FALSE(all->GetSortMenuItemCaption(5).isEmpty());
}

PELVAR_ENGINE_TESTS(DSPFoldersTest);

}  // namespace
