#include "dropfixture.h"

namespace {

class EIDropTest : public DropTest {};

TEST_P(EIDropTest, SectionAndLanguageGoThroughAFileIntoAnotherDatabase) {
    GetLocalizatorTable(Alias()).SetSectionString("M_HELLO", "GREETING", "ENGLISH", "Hello");
    TOneLanguage english;
    english.EnglishName = "English";
    GetLanguagesTable(Alias()).SetLanguage("ENGLISH", english);

    const QString source = Alias() + "\\LocalResources\\System\\Messages";
    TPelvarObject* section = Open(source + "\\M_HELLO");
    ASSERT_TRUE(section);
    ASSERT_TRUE(Drop(*FFileRoot, source, {section}));
    TPelvarObject* language = Open(Alias() + "\\Languages\\ENGLISH");
    ASSERT_TRUE(language);
    ASSERT_TRUE(Drop(*FFileRoot, Alias() + "\\Languages", {language}));
    Follow();
    EXPECT_EQ(FFileRoot->SubObjects().Count(), 2);  // Resources, Languages

    // Nothing of another kind is taken by a folder of the file.
    TPelvarObject* resources = FileFolder("Resources");
    ASSERT_TRUE(resources);
    EXPECT_FALSE(Drop(*resources, Alias() + "\\Languages", {language}));
    ASSERT_EQ(resources->SubObjects().Count(), 1);
    TPelvarObject* languages = FileFolder("Languages");
    ASSERT_EQ(languages->SubObjects().Count(), 1);

    // Out of the file into the other database.
    const QString target = FTarget->Alias();
    TPelvarObject* all = Open(target + "\\LocalResources\\All");
    ASSERT_TRUE(all);
    ASSERT_TRUE(Drop(*all, FFile, {resources->SubObjects().Items(0)}, true));
    EXPECT_EQ(GetLocalizatorTable(target).GetString(
                  TLocalizatorTable::ComposeID("M_HELLO", "GREETING"), "ENGLISH"),
              "Hello");
    TPelvarObject* targetLanguages = Open(target + "\\Languages");
    ASSERT_TRUE(Drop(*targetLanguages, FFile, {languages->SubObjects().Items(0)}, true));
    TOneLanguage copied;
    EXPECT_TRUE(GetLanguagesTable(target).GetLanguage("ENGLISH", copied));
    EXPECT_EQ(copied.EnglishName, "English");
}

TEST_P(EIDropTest, StructuresExportToTheFileAndImportAfterTheConfirmation) {
    GetDSPTable(Alias()).PutStructure("T1", 10, QByteArray());
    GetDSPTable(Alias()).PutStructure("P1", 16, QByteArray());
    const QString all = Alias() + "\\Structures\\All";
    TPelvarObject* folder = Open(all);
    ASSERT_TRUE(folder);
    // The table has no table yet: no question, the structures go to the file.
    ASSERT_EQ(folder->SubObjects().Count(), 2);
    ASSERT_TRUE(
        Drop(*FFileRoot, all, {folder->SubObjects().Items(0), folder->SubObjects().Items(1)}));
    Follow();
    TPelvarObject* structures = FileFolder("Structures");
    ASSERT_TRUE(structures);
    QStringList names;
    for (int i = 0; i < structures->SubObjects().Count(); ++i)
        names << structures->SubObjects().Items(i)->SubPath();
    names.sort();
    EXPECT_EQ(names, QStringList({"10:T1", "16:P1"}));

    // Into the other database: a container refuses what it does not hold,
    // the import asks the copy confirmation and runs with the answers.
    const QString target = FTarget->Alias();
    TPelvarObject* p1 = structures->SubObjects().FindBySubPath("16:P1");
    EXPECT_FALSE(Drop(*Open(target + "\\Structures\\Tables"), FFile, {p1}, true));
    EXPECT_FALSE(Drop(*Open(Alias() + "\\Structures\\All"), Alias(), {p1}, false));
    QStringList ran;
    TDSPOperationRunner runner;
    runner.WithProgress = [&](TUtilOperation& op, const QString&) {
        auto* import = dynamic_cast<TUOImportDSPObjects*>(&op);
        if (import)
            ran << QStringLiteral("%1 %2 replace=%3 data=%4")
                       .arg(import->TargetAlias())
                       .arg(import->SectionIndexes.size())
                       .arg(import->ReplaceExisting)
                       .arg(import->ImportTableData);
        return TOperationResult{true, false, {}};
    };
    const TDSPOperationRunner previous = SetDSPOperationRunner(runner);
    int confirmations = 0;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation& state) {
        ++confirmations;
        EXPECT_TRUE(state.CreateDBObjectCheckbox.Enabled);
        EXPECT_FALSE(state.CopyLocalResourceCheckBox.Enabled);
        return confirmations > 1;  // the first is refused: nothing runs
    });
    TPelvarObject* targetAll = Open(target + "\\Structures\\All");
    ASSERT_TRUE(Drop(*targetAll, FFile, {structures}, true));
    EXPECT_TRUE(ran.isEmpty());
    ASSERT_TRUE(Drop(*targetAll, FFile, {structures}, true));
    SetDSPOperationRunner(previous);
    EXPECT_EQ(confirmations, 2);
    EXPECT_EQ(ran, QStringList({target + " 2 replace=1 data=0"}));
}

TEST_P(EIDropTest, AWholeDatabaseDroppedOnTheFileIsExportedAfterTheQuestions) {
    PutTable("T1", 2);
    GetLocalizatorTable(Alias()).SetSectionString("M_HELLO", "GREETING", "ENGLISH", "Hello");
    TOneLanguage english;
    english.EnglishName = "English";
    GetLanguagesTable(Alias()).SetLanguage("ENGLISH", english);
    TPelvarObject* alias = FRoot->SubObjects().FindBySubPath(Alias());
    TPelvarObject* language = Open(Alias() + "\\Languages\\ENGLISH");
    ASSERT_TRUE(alias && language);
    EXPECT_FALSE(Drop(*FFileRoot, QString(), {alias, language}));

    int confirmations = 0;
    bool accept = false;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation& state) {
        ++confirmations;
        EXPECT_TRUE(state.CopyTableDataCheckBox.Enabled);
        EXPECT_TRUE(state.CopyLocalResourceCheckBox.Enabled);
        state.CreateDBObjectCheckbox.Checked = state.CopyTableDataCheckBox.Checked = true;
        state.CopyLocalResourceCheckBox.Checked = true;
        return accept;
    });
    ASSERT_TRUE(Drop(*FFileRoot, QString(), {alias}));
    Follow();
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(FFileRoot->SubObjects().Count(), 0);

    accept = true;
    ASSERT_TRUE(Drop(*FFileRoot, QString(), {alias}));
    Follow();
    EXPECT_EQ(FFileRoot->SubObjects().Count(), 4);  // structures, resources, tables, languages
    TPelvarObject* structures = FileFolder("Structures");
    ASSERT_TRUE(structures);
    EXPECT_TRUE(structures->SubObjects().FindBySubPath("10:T1"));
    TPelvarObject* tables = FileFolder("Tables");
    ASSERT_TRUE(tables);
    EXPECT_EQ(tables->SubObjects().Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, EIDropTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
