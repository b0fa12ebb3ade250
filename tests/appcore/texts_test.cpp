#include "appcore/texts.h"

#include <gtest/gtest.h>

#include "appcore/dbmanager.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "basekit/interaction.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

class TextsTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        Script().Reset();
        FLanguage = BaseMng().CurrentLanguage();
    }
    void TearDown() override {
        if (!FLanguage.isEmpty()) BaseMng().SetCurrentLanguage(FLanguage);
        Script().Reset();
        TEngineTest::TearDown();
    }
    QString FLanguage;
};

TEST_P(TextsTest, TheCurrentLanguageInTheDatabaseComesBeforeTheCatalogueAndTheDefault) {
    CreateMissingSystemTables(Alias());
    TLocalizatorTable& loc = GetLocalizatorTable(Alias());
    loc.SetString("ST_OK", "ENGLISH", "Fine");
    loc.SetString("ST_OK", "RUSSIAN", "Хорошо");
    loc.SetString("M_ONLY_HERE", "ENGLISH", "Here");
    loc.SetString("ST_CANCEL", "ENGLISH", QString());

    BaseMng().SetCurrentLanguage("english");
    EXPECT_EQ(LString("ST_OK", "def"), "Fine");
    EXPECT_EQ(LString("st_ok"), "Fine");
    EXPECT_EQ(LString("M_ONLY_HERE", "def"), "Here");
    // An empty text counts as missing: the built-in one is used.
    EXPECT_EQ(LString("ST_CANCEL"), "Cancel");
    EXPECT_EQ(LString("ST_YES", "def"), "Yes");
    EXPECT_EQ(LString("M_NOWHERE", "def"), "def");
    EXPECT_TRUE(LString("M_NOWHERE").isEmpty());

    BaseMng().SetCurrentLanguage("Russian");
    EXPECT_EQ(LString("ST_OK"), "Хорошо");
    // Another language's text is not used: the catalogue answers.
    EXPECT_EQ(LString("ST_CANCEL"), "Cancel");
    EXPECT_EQ(LString("M_ONLY_HERE", "def"), "def");

    // A change through any store object is seen at once.
    TLocalizatorTable(Alias()).SetString("ST_OK", "RUSSIAN", "Ладно");
    EXPECT_EQ(LString("ST_OK"), "Ладно");
    loc.DeleteString("ST_OK");
    EXPECT_EQ(LString("ST_OK"), "OK");

    // Without a default database only the catalogue and the default answer.
    const QString alias = BaseMng().Databases().DefaultAlias();
    BaseMng().Databases().SetDefaultAlias(QString());
    EXPECT_EQ(LString("M_ONLY_HERE", "def"), "def");
    EXPECT_EQ(LString("ST_NO"), "No");
    BaseMng().Databases().SetDefaultAlias(alias);
}

TEST_P(TextsTest, ADatabaseWithoutTextsStillAnswersFromTheCatalogue) {
    ASSERT_FALSE(BaseMng().TableExists(TLocalizatorTable::kTableName, Alias()));
    EXPECT_EQ(LString("ST_OK", "def"), "OK");
    EXPECT_EQ(LString("ST_CONFIRMATION"), "Confirmation");
    EXPECT_EQ(LString("M_NOWHERE", "def"), "def");
    // The failed look-ups leave the connection usable.
    EXPECT_TRUE(BaseMng().Databases().IsDatabaseValid(Alias()));
    EXPECT_FALSE(CreateMissingSystemTables(Alias()).isEmpty());
    GetLocalizatorTable(Alias()).SetString("ST_OK", "ENGLISH", "Stored");
    EXPECT_EQ(LString("ST_OK"), "Stored");
}

TEST_P(TextsTest, MessageBoxesAskThroughTheSeamWithLookedUpTexts) {
    CreateMissingSystemTables(Alias());
    GetLocalizatorTable(Alias()).SetString("M_PELVAR_ASKDELETE", "ENGLISH",
                                           "Delete the structure?");
    Script().AnswerMessage(IDYES);
    EXPECT_EQ(LMessageBox("M_Pelvar_AskDelete", "ST_CONFIRMATION", MB::YESNO | MB::ICONQUESTION),
              IDYES);
    Script().AnswerMessage(IDCANCEL);
    EXPECT_EQ(LMessageBox("ST_INCORRECTVALUE", QString(),
                          MB::OKCANCEL | MB::ICONWARNING | MB::DEFBUTTON2),
              IDCANCEL);
    LShowMessage("ST_INFORMATION");
    // A message nobody wrote a text for still tells the user which one it is.
    LMessageBox("M_PELVAR_NOTEXTANYWHERE", "ST_WARNING", MB::OK);

    ASSERT_EQ(Script().Asked.size(), 4);
    const auto& a = Script().Asked;
    EXPECT_EQ(a[0].Kind, "message");
    EXPECT_EQ(a[0].Text, "Delete the structure?");
    EXPECT_EQ(a[0].Caption, "Confirmation");
    EXPECT_EQ(a[0].Flags, MB::YESNO | MB::ICONQUESTION);
    EXPECT_EQ(a[1].Text, "Incorrect value");
    EXPECT_TRUE(a[1].Caption.isEmpty());
    EXPECT_EQ(a[1].Flags, MB::OKCANCEL | MB::ICONWARNING | MB::DEFBUTTON2);
    EXPECT_EQ(a[2].Text, "Information");
    EXPECT_EQ(a[2].Flags & MB::ButtonMask, MB::OK);
    EXPECT_EQ(a[3].Text, "M_PELVAR_NOTEXTANYWHERE");
    EXPECT_EQ(a[3].Caption, "Warning");
    // Only the two scripted answers were used; the plain messages needed none.
    EXPECT_TRUE(Script().AllAnswersUsed());
}

TEST(MessageCatalogueTest, ReadsIdTextLinesIgnoringCaseAndComments) {
    const TMessageCatalogue& builtin = TMessageCatalogue::Builtin();
    EXPECT_GT(builtin.Count(), 0);
    EXPECT_EQ(builtin.Text("ST_OK"), "OK");
    EXPECT_EQ(builtin.Text("st_ok"), "OK");
    EXPECT_TRUE(builtin.Contains("M_Pelvar_ProgressForm_Cancelling"));
    EXPECT_FALSE(builtin.Contains("M_NOWHERE"));

    TMessageCatalogue c;
    c.LoadFromText(
        QStringLiteral("# a comment=not a text\n"
                       "  ST_Spaced  =  padded text  \r\n"
                       "M_EQ=a=b\n"
                       "M_LINES=first\\nsecond\n"
                       "no equals sign\n"
                       "=no id\n"
                       "M_EMPTY=\n"
                       "M_TWICE=old\n"
                       "M_TWICE=new"));
    EXPECT_EQ(c.Text("ST_SPACED"), "padded text");
    EXPECT_EQ(c.Text("m_eq"), "a=b");
    EXPECT_EQ(c.Text("M_LINES"), "first\nsecond");
    EXPECT_TRUE(c.Contains("M_EMPTY"));
    EXPECT_EQ(c.Text("M_TWICE"), "new");
    EXPECT_FALSE(c.Contains("# a comment"));
    EXPECT_EQ(c.Count(), 5);
    EXPECT_TRUE(IsMissingText(QString()));
    EXPECT_TRUE(IsMissingText(QString(QChar(0))));
    EXPECT_FALSE(IsMissingText(" "));
}

PELVAR_ENGINE_TESTS(TextsTest);

}  // namespace
