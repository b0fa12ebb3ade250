#include <gtest/gtest.h>

#include <QApplication>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/systemtables.h"
#include "databases/systemtablescreator.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

// The action works on a second database, never on the login database.
class CreateSystemTablesTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        FOther = std::make_unique<TTestDatabase>(GetParam(), "OTHERDB", false);
        Script().Reset();
    }
    void TearDown() override {
        FOther.reset();
        TEngineTest::TearDown();
    }
    bool Exists(const QString& table) { return BaseMng().TableExists(table, FOther->Alias()); }
    QStringList Names() {
        QStringList names;
        for (const auto& t : SystemTableDefinitions(Configuration().WorkAs17Version(),
                                                    Configuration().LogTableName()))
            names << t.Name;
        return names;
    }
    // Answers Yes to the first questions, then No to `noes` more.
    void Answer(int yeses, int noes) {
        Script().Reset();
        for (int i = 0; i < yeses + noes; ++i)
            Script().AnswerMessage(i < yeses ? IDYES : IDNO);
    }
    std::unique_ptr<TTestDatabase> FOther;
};

TEST_P(CreateSystemTablesTest, CreatesEveryTableAndTheLanguagesOnAnEmptyDatabase) {
    CreateSystemTables(Alias());  // the default database: nothing, not even a question
    EXPECT_TRUE(Script().Asked.isEmpty());

    Script().AnswerMessage(IDNO);  // the first question stops everything
    CreateSystemTables(FOther->Alias());
    for (const QString& t : Names())
        EXPECT_FALSE(Exists(t)) << qPrintable(t);

    Answer(1, 0);
    CreateSystemTables(FOther->Alias());
    ASSERT_EQ(Script().Asked.size(), 1);  // no table existed: one question only
    EXPECT_EQ(Script().Asked[0].Flags, MB::YESNO | MB::ICONQUESTION);
    EXPECT_TRUE(Script().Asked[0].Caption.isEmpty());
    EXPECT_TRUE(Script().Asked[0].Text.contains(FOther->Alias()));  // which database it changes
    for (const QString& t : Names())
        EXPECT_TRUE(Exists(t)) << qPrintable(t);
    QStringList languages;
    GetLanguagesTable(FOther->Alias()).FillLanguageNames(languages);
    EXPECT_EQ(languages, QStringList({"DESCRIPTION", "ENGLISH", "RUSSIAN"}));  // contents: stores
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_P(CreateSystemTablesTest, AnsweringNoKeepsEveryExistingTableAndItsRows) {
    CreateMissingSystemTables(FOther->Alias());
    GetDSPTable(FOther->Alias()).PutStructure("KEEP", 10, QByteArray("{}"));
    GetLanguagesTable(FOther->Alias()).DeleteLanguage("DESCRIPTION");
    Answer(1, Names().size());
    CreateSystemTables(FOther->Alias());
    EXPECT_TRUE(Script().AllAnswersUsed());
    ASSERT_EQ(Script().Asked.size(), 1 + Names().size());
    for (int i = 0; i < Names().size(); ++i)
        EXPECT_TRUE(Script().Asked[i + 1].Text.contains(Names()[i]));
    EXPECT_TRUE(GetDSPTable(FOther->Alias()).DSPStructureExist("KEEP", 10));
    // Skipping LANGUAGES also skips storing the standard languages.
    EXPECT_FALSE(GetLanguagesTable(FOther->Alias()).LanguageExist("DESCRIPTION"));

    // Release 17 has no USER_LEGACY: five questions.
    Configuration().SetWorkAs17Version(true);
    Answer(1, 5);
    CreateSystemTables(FOther->Alias());
    Configuration().SetWorkAs17Version(false);
    EXPECT_EQ(Script().Asked.size(), 6);
    EXPECT_TRUE(Script().Unexpected.isEmpty());

    // Enter, or closing the box (LANGUAGES here), keeps a table: replacing it
    // destroys its rows.
    Answer(1, 0);
    for (const QString& name : Names())
        if (name == "LANGUAGES")
            Script().AnswerMessage(IDCANCEL);
        else
            Script().AnswerMessageWithEnter();
    CreateSystemTables(FOther->Alias());
    EXPECT_TRUE(Script().AllAnswersUsed());
    EXPECT_EQ(Script().Asked[1].Flags, MB::YESNO | MB::ICONQUESTION | MB::DEFBUTTON2);
    EXPECT_TRUE(GetDSPTable(FOther->Alias()).DSPStructureExist("KEEP", 10));
    EXPECT_FALSE(GetLanguagesTable(FOther->Alias()).LanguageExist("DESCRIPTION"));

    // Yes replaces the one table asked about, emptying it.
    Answer(2, Names().size() - 1);
    CreateSystemTables(FOther->Alias());
    EXPECT_FALSE(GetDSPTable(FOther->Alias()).DSPStructureExist("KEEP", 10));
}

TEST_P(CreateSystemTablesTest, AnErrorStopsTheRunAndKeepsTheTablesMadeBefore) {
    // The log table's name is taken by a view: the third table fails.
    BaseMng()
        .Databases()
        .GetDatabase(FOther->Alias())
        .ExecDirect(
            QStringLiteral("CREATE VIEW %1 AS SELECT 1 AS X").arg(Configuration().LogTableName()));
    Script().AnswerMessage(IDYES);
    EXPECT_THROW(CreateSystemTables(FOther->Alias()), EPelvarError);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Exists("QXMAIL_DSP"));
    EXPECT_TRUE(Exists("QX_CFG"));
    EXPECT_FALSE(Exists("LANGUAGES"));
    EXPECT_FALSE(Exists("TEXT_RESOURCES"));
    EXPECT_FALSE(Exists("USER_LEGACY"));
}

PELVAR_ENGINE_TESTS(CreateSystemTablesTest);

}  // namespace
