#include "appcore/texts.h"

#include <gtest/gtest.h>

#include "appcore/appmanager.h"
#include "appcore/localizator.h"
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
    loc.SetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH"), QStringLiteral("Fine"));
    loc.SetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN"), QStringLiteral("Хорошо"));
    loc.SetString(QStringLiteral("M_ONLY_HERE"), QStringLiteral("ENGLISH"), QStringLiteral("Here"));
    loc.SetString(QStringLiteral("ST_CANCEL"), QStringLiteral("ENGLISH"), QString());

    BaseMng().SetCurrentLanguage(QStringLiteral("english"));
    EXPECT_EQ(LString(QStringLiteral("ST_OK"), QStringLiteral("def")), QStringLiteral("Fine"));
    EXPECT_EQ(LString(QStringLiteral("st_ok")), QStringLiteral("Fine"));
    EXPECT_EQ(LString(QStringLiteral("M_ONLY_HERE"), QStringLiteral("def")),
              QStringLiteral("Here"));
    // An empty text counts as missing: the built-in one is used.
    EXPECT_EQ(LString(QStringLiteral("ST_CANCEL")), QStringLiteral("Cancel"));
    EXPECT_EQ(LString(QStringLiteral("ST_YES"), QStringLiteral("def")), QStringLiteral("Yes"));
    EXPECT_EQ(LString(QStringLiteral("M_NOWHERE"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_TRUE(LString(QStringLiteral("M_NOWHERE")).isEmpty());

    BaseMng().SetCurrentLanguage(QStringLiteral("Russian"));
    EXPECT_EQ(LString(QStringLiteral("ST_OK")), QStringLiteral("Хорошо"));
    // Another language's text is not used: the catalogue answers.
    EXPECT_EQ(LString(QStringLiteral("ST_CANCEL")), QStringLiteral("Cancel"));
    EXPECT_EQ(LString(QStringLiteral("M_ONLY_HERE"), QStringLiteral("def")), QStringLiteral("def"));

    // A change through any store object is seen at once.
    TLocalizatorTable(Alias()).SetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN"),
                                         QStringLiteral("Ладно"));
    EXPECT_EQ(LString(QStringLiteral("ST_OK")), QStringLiteral("Ладно"));
    loc.DeleteString(QStringLiteral("ST_OK"));
    EXPECT_EQ(LString(QStringLiteral("ST_OK")), QStringLiteral("OK"));

    // Without a default database only the catalogue and the default answer.
    const QString alias = BaseMng().Databases().DefaultAlias();
    BaseMng().Databases().SetDefaultAlias(QString());
    EXPECT_EQ(LString(QStringLiteral("M_ONLY_HERE"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(LString(QStringLiteral("ST_NO")), QStringLiteral("No"));
    BaseMng().Databases().SetDefaultAlias(alias);
}

TEST_P(TextsTest, ADatabaseWithoutTextsStillAnswersFromTheCatalogue) {
    ASSERT_FALSE(BaseMng().TableExists(TLocalizatorTable::kTableName, Alias()));
    EXPECT_EQ(LString(QStringLiteral("ST_OK"), QStringLiteral("def")), QStringLiteral("OK"));
    EXPECT_EQ(LString(QStringLiteral("ST_CONFIRMATION")), QStringLiteral("Confirmation"));
    EXPECT_EQ(LString(QStringLiteral("M_NOWHERE"), QStringLiteral("def")), QStringLiteral("def"));
    // The failed look-ups leave the connection usable.
    EXPECT_TRUE(BaseMng().Databases().IsDatabaseValid(Alias()));
    EXPECT_FALSE(CreateMissingSystemTables(Alias()).isEmpty());
    GetLocalizatorTable(Alias()).SetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH"),
                                           QStringLiteral("Stored"));
    EXPECT_EQ(LString(QStringLiteral("ST_OK")), QStringLiteral("Stored"));
}

TEST_P(TextsTest, MessageBoxesAskThroughTheSeamWithLookedUpTexts) {
    CreateMissingSystemTables(Alias());
    GetLocalizatorTable(Alias()).SetString(QStringLiteral("M_PELVAR_ASKDELETE"),
                                           QStringLiteral("ENGLISH"),
                                           QStringLiteral("Delete the structure?"));
    Script().AnswerMessage(IDYES);
    EXPECT_EQ(LMessageBox(QStringLiteral("M_Pelvar_AskDelete"), QStringLiteral("ST_CONFIRMATION"),
                          MB::YESNO | MB::ICONQUESTION),
              IDYES);
    Script().AnswerMessage(IDCANCEL);
    EXPECT_EQ(LMessageBox(QStringLiteral("ST_INCORRECTVALUE"), QString(),
                          MB::OKCANCEL | MB::ICONWARNING | MB::DEFBUTTON2),
              IDCANCEL);
    LShowMessage(QStringLiteral("ST_INFORMATION"));
    // A message nobody wrote a text for still tells the user which one it is.
    LMessageBox(QStringLiteral("M_PELVAR_NOTEXTANYWHERE"), QStringLiteral("ST_WARNING"), MB::OK);

    ASSERT_EQ(Script().Asked.size(), 4);
    const auto& a = Script().Asked;
    EXPECT_EQ(a[0].Kind, QStringLiteral("message"));
    EXPECT_EQ(a[0].Text, QStringLiteral("Delete the structure?"));
    EXPECT_EQ(a[0].Caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(a[0].Flags, MB::YESNO | MB::ICONQUESTION);
    EXPECT_EQ(a[1].Text, QStringLiteral("Incorrect value"));
    EXPECT_TRUE(a[1].Caption.isEmpty());
    EXPECT_EQ(a[1].Flags, MB::OKCANCEL | MB::ICONWARNING | MB::DEFBUTTON2);
    EXPECT_EQ(a[2].Text, QStringLiteral("Information"));
    EXPECT_EQ(a[2].Flags & MB::ButtonMask, MB::OK);
    EXPECT_EQ(a[3].Text, QStringLiteral("M_PELVAR_NOTEXTANYWHERE"));
    EXPECT_EQ(a[3].Caption, QStringLiteral("Warning"));
    // Only the two scripted answers were used; the plain messages needed none.
    EXPECT_TRUE(Script().AllAnswersUsed());
}

TEST(MessageCatalogueTest, ReadsIdTextLinesIgnoringCaseAndComments) {
    const TMessageCatalogue& builtin = TMessageCatalogue::Builtin();
    EXPECT_GT(builtin.Count(), 0);
    EXPECT_EQ(builtin.Text(QStringLiteral("ST_OK")), QStringLiteral("OK"));
    EXPECT_EQ(builtin.Text(QStringLiteral("st_ok")), QStringLiteral("OK"));
    EXPECT_TRUE(builtin.Contains(QStringLiteral("M_Pelvar_ProgressForm_Cancelling")));
    EXPECT_FALSE(builtin.Contains(QStringLiteral("M_NOWHERE")));

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
    EXPECT_EQ(c.Text(QStringLiteral("ST_SPACED")), QStringLiteral("padded text"));
    EXPECT_EQ(c.Text(QStringLiteral("m_eq")), QStringLiteral("a=b"));
    EXPECT_EQ(c.Text(QStringLiteral("M_LINES")), QStringLiteral("first\nsecond"));
    EXPECT_TRUE(c.Contains(QStringLiteral("M_EMPTY")));
    EXPECT_EQ(c.Text(QStringLiteral("M_TWICE")), QStringLiteral("new"));
    EXPECT_FALSE(c.Contains(QStringLiteral("# a comment")));
    EXPECT_EQ(c.Count(), 5);
    EXPECT_TRUE(IsMissingText(QString()));
    EXPECT_TRUE(IsMissingText(QString(QChar(0))));
    EXPECT_FALSE(IsMissingText(QStringLiteral(" ")));
}

PELVAR_ENGINE_TESTS(TextsTest);

}  // namespace
