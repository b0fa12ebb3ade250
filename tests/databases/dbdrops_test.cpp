#include <QPlainTextEdit>
#include "dropfixture.h"

#include "structures/tablecopyfilter.h"

namespace {

class DBDropTest : public DropTest {};

TEST_P(DBDropTest, StructuresOfAnotherDatabaseAreCopiedAfterTheConfirmation) {
    PutTable("T1", 3);
    GetDSPTable(Alias()).PutStructure("P1", 16, QByteArray());
    RecordOperations();
    const QString source = Alias() + "\\Structures";
    const QString target = FTarget->Alias();
    TPelvarObject* all = Open(source + "\\All");
    ASSERT_TRUE(all);
    TPelvarObject* t1 = all->SubObjects().FindBySubPath("10:T1");
    TPelvarObject* p1 = all->SubObjects().FindBySubPath("16:P1");
    ASSERT_TRUE(t1 && p1);

    // Never onto the database they came from, never into a folder of another kind.
    EXPECT_FALSE(Drop(*Open(source + "\\Tables"), source + "\\All", {t1}));
    EXPECT_FALSE(Drop(*Open(target + "\\Structures\\Params"), source + "\\All", {t1}));
    EXPECT_FALSE(Drop(*Open(target + "\\Structures\\Tables"), source, {all}));

    int confirmations = 0;
    bool accept = false;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation& state) {
        ++confirmations;
        EXPECT_TRUE(state.CreateDBObjectCheckbox.Enabled);
        EXPECT_TRUE(state.CopyTableDataCheckBox.Enabled);
        EXPECT_FALSE(state.CopyLocalResourceCheckBox.Enabled);
        state.CreateDBObjectCheckbox.Checked = state.CopyTableDataCheckBox.Checked = true;
        return accept;
    });
    TPelvarObject* structures = Open(target + "\\Structures");
    ASSERT_TRUE(Drop(*structures, source, {all}));
    EXPECT_EQ(confirmations, 1);
    EXPECT_TRUE(FRan.isEmpty());
    EXPECT_TRUE(TargetStructures().isEmpty());

    // The folder and an item it holds too: each structure once, in one copy.
    accept = true;
    ASSERT_TRUE(Drop(*structures, source, {all, t1}));
    EXPECT_EQ(confirmations, 2);
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].startsWith("progress")) << qPrintable(FRan[0]);
    EXPECT_TRUE(FRan[0].contains("TUOCopyDSPObjectsEx")) << qPrintable(FRan[0]);
    EXPECT_EQ(TargetStructures(), QStringList({"10:T1", "16:P1"}));
    EXPECT_EQ(TargetRows("T1"), 3);

    // A structure without a database object goes without a question or a window.
    GetDSPTable(Alias()).PutStructure("P2", 16, QByteArray());
    all->Refresh();
    FRan.clear();
    TPelvarObject* p2 = all->SubObjects().FindBySubPath("16:P2");
    ASSERT_TRUE(p2);
    ASSERT_TRUE(Drop(*Open(target + "\\Structures\\All"), source + "\\All", {p2}));
    EXPECT_EQ(confirmations, 2);
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].startsWith("direct")) << qPrintable(FRan[0]);
    EXPECT_TRUE(TargetStructures().contains("16:P2"));
}

TEST_P(DBDropTest, TableRowsAreCopiedByAConditionFromTheRightDrop) {
    PutTable("T1", 3);
    PutTable("T2", 1);
    RecordOperations();
    const QString target = FTarget->Alias();
    const QString byFilter = LString("M_pelvar_DODSPStr_CopyTableDataByFilterAction");
    TPelvarObject* t1 = Open(Alias() + "\\Structures\\Tables\\10:T1");
    TPelvarObject* tables = Open(Alias() + "\\Structures\\Tables");
    TPelvarObject* into = Open(target + "\\Structures\\Tables");
    ASSERT_TRUE(t1 && tables && into);
    // One table needs its table on both sides.
    EXPECT_FALSE(RightDrop(*into, Alias() + "\\Structures\\Tables", {t1}).contains(byFilter));
    TDictionary(target).CreateTableByDef(Table("T1"), QString(), false);
    const QStringList choices = RightDrop(*into, Alias() + "\\Structures\\Tables", {t1});
    ASSERT_TRUE(choices.contains(byFilter));
    const auto run = [&] {
        into->RightDropActions()->Items(choices.indexOf(byFilter))->Execute(nullptr);
    };

    bool accept = false;
    const TTableCopyPrompt previous = SetTableCopyPrompt([&](TTableCopyRequest& request) {
        EXPECT_EQ(request.Table, "T1");
        EXPECT_EQ(request.SourceAlias, Alias());
        EXPECT_EQ(request.TargetFields, QStringList({"ID", "TITLE"}));
        request.Copy.Filter = "ID > 1";
        request.Copy.FieldMap = {"ID=ID"};
        return accept;
    });
    run();
    EXPECT_EQ(TargetRows("T1"), 0);
    accept = true;
    run();
    SetTableCopyPrompt(previous);
    EXPECT_EQ(TargetRows("T1"), 2);
    EXPECT_EQ(TargetRows("T1 WHERE TITLE IS NULL"), 2);

    // A folder brings every table of its database, every row, without a question.
    TDictionary(target).CreateTableByDef(Table("T2"), QString(), false);
    FRan.clear();
    const QStringList folderChoices = RightDrop(*into, Alias() + "\\Structures", {tables});
    ASSERT_TRUE(folderChoices.contains(byFilter));
    into->RightDropActions()->Items(folderChoices.indexOf(byFilter))->Execute(nullptr);
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].contains("TUOCustomCopyTables")) << qPrintable(FRan[0]);
    EXPECT_EQ(TargetRows("T1"), 5);
    EXPECT_EQ(TargetRows("T2"), 1);
    // Anything but tables offers nothing.
    GetDSPTable(Alias()).PutStructure("P1", 16, QByteArray());
    TPelvarObject* all = Open(Alias() + "\\Structures\\All");
    all->Refresh();
    EXPECT_FALSE(
        RightDrop(*into, Alias() + "\\Structures\\All", {all->SubObjects().FindBySubPath("16:P1")})
            .contains(byFilter));
}

TEST(CopyTableByFilterForm, FieldsStartMappedByNameAndOkNeedsOne) {
    TTableCopyRequest request;
    request.TargetFields = {"ID", "TITLE", "EXTRA"};
    request.SourceFields = {"id", "TITLE"};
    TCopyTableByFilterForm form(request);
    form.findChild<QPlainTextEdit*>("Filter")->setPlainText("  ID > 1 ");
    form.accept();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(request.Copy.FieldMap, QStringList({"ID=id", "TITLE=TITLE"}));
    EXPECT_EQ(request.Copy.Filter, "ID > 1");

    request.SourceFields = {"OTHER"};
    request.Copy = TTableCopy();
    TCopyTableByFilterForm unmatched(request);
    unmatched.accept();
    EXPECT_NE(unmatched.result(), QDialog::Accepted);
    EXPECT_TRUE(request.Copy.FieldMap.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, DBDropTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
