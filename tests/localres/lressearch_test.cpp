#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "localres/findlresform.h"
#include "localres/findlresworker.h"
#include "localres/translationchecks.h"
#include "lresfixture.h"
#include "opkit/lressearch.h"
#include "scriptedinteraction.h"

namespace {

class LResSearchTest : public LResTest {
  protected:
    TLResBatch Search(const QStringList& sections, const QString& id, const QString& text,
                      const QStringList& ids = {}, int stopAfter = -1) {
        TLResSearchRequest request;
        request.Sections = sections;
        request.StringIDs = ids;
        request.Languages = {"ENGLISH", "RUSSIAN"};
        request.IDSubstr = id;
        request.TextSubstr = text;
        TLResBatch all;
        int batches = 0;
        TLResSearchEvents events;
        events.Stopped = [&] { return stopAfter >= 0 && batches >= stopAfter; };
        events.Status = [](const QString&) {};
        events.Batch = [&](TLResBatch&& b) {
            ++batches;
            all << b;
        };
        RunLResSearch(BaseMng().Databases().GetDatabase(Alias()), request, events);
        return all;
    }
    static bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 1000 && !done(); ++i)
            QTest::qWait(10);
        return done();
    }
};

QStringList IDs(const TLResBatch& batch) {
    QStringList ids;
    for (const TLResFound& f : batch)
        ids << f.StringID;
    return ids;
}

TEST(LResSearchRules, TextsAreShownWithControlCharactersAndHashEscaped) {
    EXPECT_EQ(LResDisplayText("a\tb#c\r\n"), "a#09b#23c#0D#0A");
    EXPECT_EQ(LResDetailsText("M_A_B", {"EN", "RU"}, {"x", "#"}), "M_A_B\n EN: x\n RU: #23");
    QStringList history{"b"};
    AddToHistory(history, "  a ");
    AddToHistory(history, "b");
    AddToHistory(history, " ");
    EXPECT_EQ(history, QStringList({"a", "b"}));
    TFoundRows rows;
    TLResBatch batch(kMaxFoundRows + 1, TLResFound{"X", {}});
    EXPECT_EQ(rows.Add(batch), kMaxFoundRows);
    EXPECT_TRUE(rows.TooMany());
}

TEST_P(LResSearchTest, FindsByIDAndByTextWithEveryLanguageOnce) {
    Put("M_SRCH_A", "OPEN", {"Open file", "Открыть"});
    Put("M_SRCH_A", "CLOSE", {"Close", "Закрыть файл"});
    Put("M_SRCH_A", "ONLY", {"only english"}, {"ENGLISH"});
    Put("M_SRCH_AB", "OPEN", {"another section", "другое"});
    const QStringList sections{"M_SRCH_A", "M_SRCH_AB"};
    EXPECT_TRUE(Search(sections, "", "").isEmpty());
    EXPECT_EQ(IDs(Search(sections, "OPEN", "")), QStringList({"M_SRCH_A_OPEN", "M_SRCH_AB_OPEN"}));
    // A text found in Russian shows the English text too; ID and text match: one row.
    const TLResBatch byText = Search({"M_SRCH_A"}, "CLOSE", "ФАЙЛ");
    EXPECT_EQ(IDs(byText), QStringList({"M_SRCH_A_CLOSE"}));
    EXPECT_EQ(byText[0].Texts, QStringList({"Close", "Закрыть файл"}));
    const TLResBatch only = Search({"M_SRCH_A"}, "ONLY", "");
    ASSERT_EQ(only.size(), 1);
    EXPECT_EQ(only[0].Texts[1], QString(QChar(0)));
    EXPECT_EQ(IDs(Search({}, "", "FILE", {"M_SRCH_A_OPEN", "M_SRCH_A_CLOSE"})),
              QStringList({"M_SRCH_A_OPEN"}));
    // Stopped after the first section's batch: the second is never searched.
    EXPECT_EQ(IDs(Search(sections, "OPEN", "", {}, 1)), QStringList({"M_SRCH_A_OPEN"}));
}

TEST_P(LResSearchTest, TheWindowSearchesOnItsWorkerCapsAtTwoThousandAndStops) {
    {
        TTransactionScope tx(BaseMng().Databases().GetDatabase(Alias()));
        for (int s = 0; s < 25; ++s)
            for (int i = 0; i < 100; ++i)
                Texts().SetSectionString(QString("K_F%1").arg(s, 2, 10, QChar('0')),
                                         QString("S%1").arg(i), "ENGLISH", "needle");
        tx.Commit();
    }
    QStringList sections;
    Texts().FillSectionList("ENGLISH", sections);
    TFindLresForm form;
    form.Init(Alias(), sections, PathOf("LocalResources"), nullptr, {"ENGLISH", "RUSSIAN"}, {});
    form.CheckBoxIDSubstr()->setChecked(false);
    form.CheckBoxTextSubstr()->setChecked(true);
    form.ComboBoxTextSubstr()->setCurrentText("needle");
    Script().AnswerMessage(IDOK);
    form.StartFind();
    EXPECT_FALSE(form.Idle());
    ASSERT_TRUE(WaitFor([&] { return form.Idle(); }));
    EXPECT_EQ(form.ListViewLResFound()->topLevelItemCount(), kMaxFoundRows);
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("2000")) << qPrintable(Script().Asked[0].Text);
    EXPECT_EQ(form.ComboBoxTextSubstr()->itemText(0), "needle");

    // Stopped at once: the search ends early, without the warning.
    Script().Reset();
    form.StartFind();
    form.StopFind();
    ASSERT_TRUE(WaitFor([&] { return form.Idle(); }));
    EXPECT_LT(form.ListViewLResFound()->topLevelItemCount(), kMaxFoundRows);
    EXPECT_TRUE(Script().Asked.isEmpty());
}

TEST_P(LResSearchTest, AWorkerWhoseDatabaseIsGoneReportsOnceAndEnds) {
    TConnectionInfo gone = ConnectionInfoOf(Alias());
    gone.DataSource = "NO_SUCH_SOURCE";
    QStringList failures;
    QObject receiver;
    TFindLResThread::THandlers handlers;
    handlers.Status = [](const QString&) {};
    handlers.Batch = [](TLResBatch&) {};
    handlers.Failed = [&](const QString& text) { failures << text; };
    TLResSearchRequest request;
    request.Sections = {"X"};
    request.TextSubstr = "A";
    TFindLResThread worker(gone, request, &receiver, handlers);
    worker.start();
    ASSERT_TRUE(worker.wait(10000));
    ASSERT_TRUE(WaitFor([&] { return !failures.isEmpty(); }));
    EXPECT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith("Error on execution of FindLResThread;"));
}

TEST_P(LResSearchTest, TranslationChecksFindEachPlantedFaultAndNothingInACleanSection) {
    EXPECT_EQ(FormatPlaceholders("%s of %d (100%%) %1 %5.2f"),
              QStringList({"%1", "%5.2f", "%d", "%s"}));
    Put("M_CLEAN_X", "A", {"File %s not found", "Файл %s не найден"});
    Put("M_CLEAN_X", "B", {"%1 rows", "%1 строк"});
    Put("M_BAD_X", "MISSING", {"Only English"}, {"ENGLISH"});
    Put("M_BAD_X", "FORMAT", {"Deleted %d of %s", "Удалено %s"});
    Put("M_BAD_X", "SAME", {"Cancel", "Cancel"});
    TDatabase& db = BaseMng().Databases().GetDatabase(Alias());
    EXPECT_TRUE(
        CheckTranslations(db, {"M_CLEAN_X"}, {"ENGLISH", "RUSSIAN", "DESCRIPTION"}).isEmpty());
    const QList<TTranslationFinding> found =
        CheckTranslations(db, {"M_BAD_X"}, {"ENGLISH", "RUSSIAN", "DESCRIPTION"});
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0].StringID, "M_BAD_X_FORMAT");
    EXPECT_EQ(found[0].Fault, TTranslationFault::Placeholders);
    EXPECT_EQ(found[1].StringID, "M_BAD_X_MISSING");
    EXPECT_EQ(found[1].Fault, TTranslationFault::Missing);
    EXPECT_EQ(found[1].Languages, QStringList({"RUSSIAN"}));
    EXPECT_EQ(found[2].StringID, "M_BAD_X_SAME");
    EXPECT_EQ(found[2].Fault, TTranslationFault::Identical);
}

INSTANTIATE_TEST_SUITE_P(Engines, LResSearchTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
