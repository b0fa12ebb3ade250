#include <gtest/gtest.h>

#include <vector>

#include "appcore/structurebodies.h"
#include "errorof.h"
#include "storefixture.h"

namespace {

using NotifierErrorTest = StoreTest;

TEST_P(NotifierErrorTest, AFailingSubscriberStopsNoOtherAndItsErrorIsReportedOnce) {
    std::vector<TDSPEvent> before, after;
    TDSPNotifier first(
        [&](int kind, QString name, int type) { before.emplace_back(kind, name, type); });
    TDSPNotifier failing([](int, QString name, int) { throw EDSPError("first failure " + name); });
    TDSPNotifier alsoFailing([](int, QString, int) { throw EDSPError("second failure"); });
    TDSPNotifier last(
        [&](int kind, QString name, int type) { after.emplace_back(kind, name, type); });
    for (TDSPNotifier* n : {&first, &failing, &alsoFailing, &last})
        n->AddTo(Dsp());

    EXPECT_EQ(ErrorOf<EDSPError>([&] { Dsp().PutStructure("A", otTable, "1"); }),
              "first failure A");
    EXPECT_EQ(before, (std::vector<TDSPEvent>{{dckAdded, "A", otTable}}));
    EXPECT_EQ(after, before);
    // The write itself stands, in this store object and in any other.
    EXPECT_TRUE(Dsp().DSPStructureExist("A", otTable));
    EXPECT_EQ(TDSPTable(Alias()).GetStructure("A", otTable), QByteArray("1"));

    failing.Remove();
    alsoFailing.Remove();
    Dsp().DeleteStructure("A", otTable);
    EXPECT_EQ(after.size(), 2u);

    // A write that sends several notices sends them all.
    std::vector<TLEvent> texts;
    TLocalizatorNotifier recorder([&](QString id, QString lang, bool section, int kind) {
        texts.emplace_back(id, lang, section, kind);
    });
    int failures = 0;
    TLocalizatorNotifier failingText([&](QString, QString, bool, int) {
        ++failures;
        throw ELocalizatorError("text subscriber failed");
    });
    failingText.AddTo(Loc());
    recorder.AddTo(Loc());
    EXPECT_EQ(ErrorOf<ELocalizatorError>([&] { Loc().SetString("ST_OK", "ENGLISH", "OK"); }),
              "text subscriber failed");
    EXPECT_EQ(failures, 2);
    EXPECT_EQ(texts, (std::vector<TLEvent>{{"ST", "ENGLISH", true, lckAdded},
                                           {"ST_OK", "ENGLISH", false, lckAdded}}));
    EXPECT_EQ(TLocalizatorTable(Alias()).GetString("ST_OK", "ENGLISH"), "OK");
    EXPECT_THROW(Loc().SetString("ST_OK", "RUSSIAN", "Да"), ELocalizatorError);
    texts.clear();
    EXPECT_THROW(Loc().DeleteString("ST_OK"), ELocalizatorError);
    EXPECT_EQ(texts.size(), 4u);  // the string and its section, in both languages
    EXPECT_FALSE(Loc().SectionExist("ST", "ENGLISH"));
    EXPECT_FALSE(Loc().SectionExist("ST", "RUSSIAN"));
}

PELVAR_ENGINE_TESTS(NotifierErrorTest);

}  // namespace
