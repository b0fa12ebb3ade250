#include <gtest/gtest.h>

#include <QFile>

#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/dsptable.h"
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "databases/filecounter.h"
#include "databases/fileroot.h"
#include "databases/root.h"
#include "model/dragobject.h"
#include "model/exportconfirm.h"
#include "opkit/dspimport.h"
#include "opkit/dspoperations.h"
#include "opkit/eifile.h"
#include "scriptedinteraction.h"
#include "structures/dspactions.h"
#include "structures/dspconfirmations.h"
#include "testenv.h"

namespace {

// Objects dragged out of a database's tree onto a file, and out of the file
// onto another database: the real folders and operations, the questions
// answered here.
class EIDropTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
        Script().Reset();
        TExportDialogPrompts prompts;
        prompts.LanguagesSelect = [](const QString&, QStringList&) { return true; };
        FPreviousPrompts = SetExportDialogPrompts(prompts);
        FTarget = std::make_unique<TTestDatabase>(GetParam(), "EITARGET", false);
        CreateMissingSystemTables(FTarget->Alias());
        FRoot = std::make_unique<TDORoot>();
        ASSERT_TRUE(FRoot->Open());
        FFile = TTestEnvironment::Instance().Dir() + "/drops.eif";
        QFile::remove(FFile);
        FFileRoot = std::make_unique<TDOFileRoot>(FFile);
        FFileRoot->SetOnDataChanged([this](const QString& path) { FChanges << path; });
        ASSERT_TRUE(FFileRoot->Open());
    }
    void TearDown() override {
        if (!IsSkipped()) {
            SetCopyConfirmationPrompt(nullptr);
            SetDSPOperationRunner(FPreviousRunner);
            SetExportDialogPrompts(FPreviousPrompts);
            FFileRoot.reset();
            FRoot.reset();
            FTarget.reset();
        }
        TEngineTest::TearDown();
    }
    TPelvarObject* Open(const QString& path) {
        TPelvarObject* node = FRoot.get();
        for (const QString& part : path.split('\\')) {
            node = node ? node->SubObjects().FindBySubPath(part) : nullptr;
            if (node && !node->Opened()) {
                EXPECT_TRUE(node->Open()) << qPrintable(part);
            }
        }
        return node;
    }
    // Drops `objects` of the folder at `from` (a database path, or the file) onto `target`.
    static bool Drop(TPelvarObject& target, const QString& from,
                     const std::vector<TPelvarObject*>& objects, bool fromFile = false) {
        TPelvarDragObject drag;
        drag.FullPath = fromFile ? from : "\\" + from;
        drag.FromEIFile = fromFile;
        for (TPelvarObject* o : objects)
            drag.Items.AddCopyOf(*o);
        if (!target.AcceptDragObject(drag)) return false;
        target.DragObjectDropped(drag);
        return true;
    }
    // Applies the folder changes the file root announced, as a window would.
    void Follow() {
        for (const QString& path : FChanges)
            FFileRoot->RefreshItem(path.mid(1));
        FChanges.clear();
    }
    TPelvarObject* FileFolder(const QString& name) {
        TPelvarObject* folder = FFileRoot->SubObjects().FindBySubPath(name);
        if (folder && !folder->Opened()) {
            EXPECT_TRUE(folder->Open());
        }
        if (folder) folder->Refresh();
        return folder;
    }

    // A table structure with its table and `rows` rows in the source database.
    void PutTable(const QString& name, int rows) {
        TDicTableDescription t;
        t.Name = name;
        t.AddField("ID", dtInteger, 0);
        t.AddField("TITLE", dtString, 40);
        GetDSPTable(Alias()).PutStructure(name, 10, MakeTableStructure(name, t).ToBytes());
        TDictionary(Alias()).CreateTableByDef(t, QString(), false);
        for (int i = 1; i <= rows; ++i)
            TExecQuery(Db(), QStringLiteral("INSERT INTO %1 (ID, TITLE) VALUES (%2, 't%2')")
                                 .arg(Db().Dialect().Ident(name))
                                 .arg(i))
                .Execute();
    }
    qint64 TargetRows(const QString& table) {
        TSelectQuery q(BaseMng().Databases().GetDatabase(FTarget->Alias()),
                       "SELECT COUNT(*) FROM " + table);
        q.Open();
        return q.Fields().GetFields(0).AsInteger();
    }
    QStringList TargetStructures() {
        TDSPList list;
        GetDSPTable(FTarget->Alias()).FillStructuresList(0, list);
        QStringList names;
        for (int i = 0; i < list.Count(); ++i)
            names << QString::number(list.Items(i).ObjectType) + ":" + list.Items(i).Name;
        names.sort();
        return names;
    }
    // Runs the structure operations for real and notes each one's class.
    void RecordOperations() {
        TDSPOperationRunner runner;
        runner.Direct = [this](TUtilOperation& op) {
            FRan << QStringLiteral("direct ") + typeid(op).name();
            return ExecuteUtilOperationDirect(op);
        };
        runner.WithProgress = [this](TUtilOperation& op, const QString&) {
            FRan << QStringLiteral("progress ") + typeid(op).name();
            const bool ok = ExecuteUtilOperationDirect(op);
            return TOperationResult{ok, false, {}};
        };
        FPreviousRunner = SetDSPOperationRunner(runner);
    }

    QStringList FRan;
    TDSPOperationRunner FPreviousRunner;
    std::unique_ptr<TTestDatabase> FTarget;
    std::unique_ptr<TDORoot> FRoot;
    std::unique_ptr<TDOFileRoot> FFileRoot;
    QString FFile;
    QStringList FChanges;
    TExportDialogPrompts FPreviousPrompts;
};

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

TEST_P(EIDropTest, StructuresOfAnotherDatabaseAreCopiedAfterTheConfirmation) {
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
