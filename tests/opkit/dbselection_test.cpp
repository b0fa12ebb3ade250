#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "appcore/systemtables.h"
#include "dspfixture.h"
#include "opkit/dbexchange.h"
#include "opkit/dspimport.h"
#include "opkit/eifile.h"
#include "opkit/lresoperations.h"

namespace {

// A copy of a chosen part of a dictionary: what is listed goes, what the
// answers bring along with the structures goes, nothing else.
class DBSelectionTest : public DSPOpTest {
  protected:
    void SetUp() override {
        DSPOpTest::SetUp();
        if (IsSkipped()) return;
        FTarget = std::make_unique<TTestDatabase>(GetParam(), "SELTARGET", false);
        CreateMissingSystemTables(FTarget->Alias());
    }
    void TearDown() override {
        FTarget.reset();
        DSPOpTest::TearDown();
    }
    void Copy(const QStringList& structures, const QStringList& sections, TCopyAnswers answers) {
        TUOCopyDatabase op;
        op.SetSourceAlias(Alias());
        op.SetTargetAlias(FTarget->Alias());
        for (const QString& s : structures) {
            TDSPListItem item;
            item.Name = s.section(':', 1);
            item.ObjectType = s.section(':', 0, 0).toInt();
            op.Selection.Structures.AddCopy(item);
        }
        op.Selection.Sections = sections;
        op.Answers = answers;
        ASSERT_TRUE(ExecuteUtilOperationDirect(op)) << op.Errors().join("\n").toStdString();
    }
    TDatabase& TargetDb() { return BaseMng().Databases().GetDatabase(FTarget->Alias()); }
    bool TargetHasText(const QString& section, const QString& ident) {
        return GetLocalizatorTable(FTarget->Alias())
            .StringExists(TLocalizatorTable::ComposeID(section, ident), "ENGLISH");
    }
    qint64 TargetRows(const QString& table) {
        TSelectQuery q(TargetDb(), "SELECT COUNT(*) FROM " + TargetDb().Dialect().Ident(table));
        q.Open();
        return q.Fields().GetFields(0).AsInteger();
    }
    std::unique_ptr<TTestDatabase> FTarget;
};

TEST_P(DBSelectionTest, TheAnswersDecideWhatComesWithTheListedStructures) {
    PutTable("T1", 3);
    PutTable("T2", 2);
    PutForm("F1");
    Loc().SetSectionString("M_X", "A", "ENGLISH", "x");
    const QString target = FTarget->Alias();

    // Objects without rows: the table is created empty; the form's texts come.
    Copy({"10:T1", "12:F1"}, {}, {true, false, true});
    EXPECT_TRUE(GetDSPTable(target).DSPStructureExist("T1", otTable));
    EXPECT_TRUE(GetDSPTable(target).DSPStructureExist("F1", otForm));
    EXPECT_FALSE(GetDSPTable(target).DSPStructureExist("T2", otTable));
    ASSERT_TRUE(TargetDb().TableExists("T1"));
    EXPECT_EQ(TargetRows("T1"), 0);
    EXPECT_FALSE(TargetDb().TableExists("T2"));
    EXPECT_TRUE(TargetHasText("K_F1", "CAPTION"));
    EXPECT_FALSE(TargetHasText("M_X", "A"));

    // Rows replace the table's own, so a second copy does not double them.
    Copy({"10:T1"}, {}, {true, true, false});
    Copy({"10:T1"}, {}, {true, true, false});
    EXPECT_EQ(TargetRows("T1"), 3);

    // Without the resources answer a form comes alone; a listed section comes
    // whatever the answers.
    GetLocalizatorTable(target).DeleteSection("K_F1");
    Copy({"12:F1"}, {"m_x"}, {});
    EXPECT_FALSE(TargetHasText("K_F1", "CAPTION"));
    EXPECT_TRUE(TargetHasText("M_X", "A"));
}

TEST_P(DBSelectionTest, StructuresImportedFromAFileBringWhatTheAnswersSay) {
    PutTable("T1", 3);
    PutForm("F1");
    QTemporaryDir dir;
    const QString path = dir.filePath("dict.eif");
    TUOExportDatabase exp;
    exp.SetSourceAlias(Alias());
    exp.SetFileName(path);
    ASSERT_TRUE(ExecuteUtilOperationDirect(exp)) << exp.Errors().join("\n").toStdString();
    TEIFile file(path);
    file.Open();
    QList<int> structures;
    for (int i = 0; i < file.Sections().GetCount(); ++i)
        if (file.Sections().GetSections(i)->ClassName() == "TEIDSPStructure" &&
            (file.Sections().GetSections(i)->Name().endsWith(":T1") ||
             file.Sections().GetSections(i)->Name().endsWith(":F1")))
            structures << i;
    ASSERT_EQ(structures.size(), 2);
    const QString target = FTarget->Alias();
    auto import = [&](bool objects, bool rows, bool texts) {
        TUOImportDSPObjects op;
        op.SetTargetAlias(target);
        op.File = &file;
        op.SectionIndexes = structures;
        op.ReplaceExisting = true;
        op.CreateDBObjects = objects;
        op.ImportTableData = rows;
        op.ImportLResources = texts;
        ASSERT_TRUE(ExecuteUtilOperationDirect(op)) << op.Errors().join("\n").toStdString();
    };

    // The structures alone: no table, no texts.
    import(false, false, false);
    EXPECT_TRUE(GetDSPTable(target).DSPStructureExist("T1", otTable));
    EXPECT_TRUE(GetDSPTable(target).DSPStructureExist("F1", otForm));
    EXPECT_FALSE(TargetDb().TableExists("T1"));
    EXPECT_FALSE(TargetHasText("K_F1", "CAPTION"));

    // Objects without rows: the table is created empty; the form's texts come.
    import(true, false, true);
    ASSERT_TRUE(TargetDb().TableExists("T1"));
    EXPECT_EQ(TargetRows("T1"), 0);
    EXPECT_TRUE(TargetHasText("K_F1", "CAPTION"));

    // The rows, found by the table's name, replace what the table held.
    import(true, true, false);
    import(true, true, false);
    EXPECT_EQ(TargetRows("T1"), 3);
}

TEST_P(DBSelectionTest, AFileOfTextsNeedsOnlyTheTextsTable) {
    TTestDatabase bare(GetParam(), "TEXTSONLY", false);
    TDicTableDescription texts;
    for (const TDicTableDescription& t : SystemTableDefinitions(false, "QX_LOG"))
        if (t.Name.compare(TLocalizatorTable::kTableName, Qt::CaseInsensitive) == 0) texts = t;
    ASSERT_FALSE(texts.Name.isEmpty());
    TDictionary(bare.Alias()).CreateTableByDef(texts, QString(), false);
    Loc().SetSectionString("M_PROBE", "A", "ENGLISH", "probe");
    QTemporaryDir dir;
    TUOExportDatabase exp;
    exp.SetSourceAlias(Alias());
    exp.SetFileName(dir.filePath("texts.eif"));
    exp.Parts = dpResources;
    ASSERT_TRUE(ExecuteUtilOperationDirect(exp)) << exp.Errors().join("\n").toStdString();
    TUOImportFiles files;
    files.SetTargetAlias(bare.Alias());
    files.FileNames = {dir.filePath("texts.eif")};
    ASSERT_TRUE(ExecuteUtilOperationDirect(files)) << files.Errors().join("\n").toStdString();
    EXPECT_TRUE(GetLocalizatorTable(bare.Alias())
                    .StringExists(TLocalizatorTable::ComposeID("M_PROBE", "A"), "ENGLISH"));
}

INSTANTIATE_TEST_SUITE_P(Engines, DBSelectionTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
