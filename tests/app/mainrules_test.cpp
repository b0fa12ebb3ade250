#include <gtest/gtest.h>

#include "app/mainrules.h"
#include "appcore/appmanager.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/prockit.h"
#include "appcore/systemtables.h"
#include "databases/aliascounter.h"
#include "testenv.h"

namespace {

TEST(MainRules, WindowEntriesHaveTheirAliasUpperCasedAndFilesSplitOff) {
    EXPECT_EQ(NormalizeWindowEntry(QStringLiteral("\\mydb\\Structures")),
              QStringLiteral("\\MYDB\\Structures"));
    EXPECT_EQ(NormalizeWindowEntry(QStringLiteral("\\mydb\\Structures\\Tables")),
              QStringLiteral("\\MYDB\\Structures\\Tables"));
    EXPECT_EQ(NormalizeWindowEntry(QStringLiteral("\\mydb")), QStringLiteral("\\MYDB"));
    EXPECT_EQ(NormalizeWindowEntry(QString()), QStringLiteral("\\"));
    EXPECT_EQ(NormalizeWindowEntry(QStringLiteral(";/tmp/a.eif;\\Structures")),
              QStringLiteral(";/tmp/a.eif;\\Structures"));

    QString file, path;
    SplitWindowEntry(QStringLiteral(";/tmp/x.eif;\\Tables"), file, path);
    EXPECT_EQ(file, QStringLiteral("/tmp/x.eif"));
    EXPECT_EQ(path, QStringLiteral("\\Tables"));
    SplitWindowEntry(QStringLiteral("\\A\\B"), file, path);
    EXPECT_TRUE(file.isEmpty());
    EXPECT_EQ(path, QStringLiteral("\\A\\B"));
    SplitWindowEntry(QStringLiteral(";\\only"), file, path);
    EXPECT_TRUE(file.isEmpty());
    EXPECT_EQ(path, QStringLiteral("\\only"));
    EXPECT_EQ(MakeWindowEntry(QStringLiteral("/f.eif"), QStringLiteral("\\X")),
              QStringLiteral(";/f.eif;\\X"));
    EXPECT_EQ(MakeWindowEntry(QString(), QStringLiteral("\\X")), QStringLiteral("\\X"));
}

TEST(MainRules, ShortcutPathsWithoutAliasFollowTheLoginDatabase) {
    EXPECT_EQ(ExpandShortcutPath(QStringLiteral("\\\\Structures\\Tables"), QStringLiteral("MAIN")),
              QStringLiteral("\\MAIN\\Structures\\Tables"));
    EXPECT_EQ(ExpandShortcutPath(QStringLiteral("\\OTHER\\Languages"), QStringLiteral("MAIN")),
              QStringLiteral("\\OTHER\\Languages"));
    EXPECT_EQ(ExpandShortcutPath(QStringLiteral("\\"), QStringLiteral("MAIN")),
              QStringLiteral("\\MAIN"));
    EXPECT_EQ(ExpandShortcutPath(QStringLiteral("junk\\\\X"), QStringLiteral("MAIN")),
              QStringLiteral("\\MAIN\\X"));
}

TEST(MainRules, TheVersionSequenceMatchesAfterOtherLettersAndKeepsTwenty) {
    TVersionKeySequence seq;
    bool matched = false;
    for (QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZzorbqui"))
        matched = seq.AddLetter(c) || matched;
    EXPECT_FALSE(matched);
    EXPECT_EQ(seq.Current().size(), 20);
    EXPECT_TRUE(seq.AddLetter(QLatin1Char('n')));
    EXPECT_TRUE(seq.Current().endsWith(QStringLiteral("ZORBQUIN")));
    EXPECT_FALSE(seq.AddLetter(QLatin1Char('X')));
}

class FlushTest : public TEngineTest {};

TEST_P(FlushTest, FlushingReachesTheDefaultDatabaseAndEveryDatabaseInUse) {
    CreateMissingSystemTables(Alias());
    TTestDatabase other(GetParam(), QStringLiteral("USEDDB"), false);
    CreateMissingSystemTables(QStringLiteral("USEDDB"));
    AliasCounter().AddDatabase(QStringLiteral("USEDDB"));
    QStringList heard;
    TDSPNotifier dsp(
        [&](int kind, const QString&, int) { heard << QStringLiteral("dsp%1").arg(kind); });
    dsp.SubscribeAlias(QStringLiteral("USEDDB"));
    TDSPNotifier dspDefault(
        [&](int kind, const QString&, int) { heard << QStringLiteral("default%1").arg(kind); });
    dspDefault.SubscribeAlias(Alias());
    TLocalizatorNotifier loc([&](const QString&, const QString&, bool, int kind) {
        heard << QStringLiteral("loc%1").arg(kind);
    });
    loc.SubscribeAlias(QStringLiteral("USEDDB"));
    TLanguagesNotifier lang(
        [&](const QString&, int kind) { heard << QStringLiteral("lang%1").arg(kind); });
    lang.SubscribeAlias(QStringLiteral("USEDDB"));
    int libraries = 0;
    const int id = RegisterProcContainer([&] { ++libraries; });

    FlushDSPCaches();
    EXPECT_EQ(heard, QStringList({QStringLiteral("default3"), QStringLiteral("dsp3")}));
    heard.clear();
    FlushLocalizatorCaches();
    FlushLanguagesCaches();
    FlushLanguageLibraries();
    EXPECT_EQ(heard, QStringList({QStringLiteral("loc2"), QStringLiteral("lang3")}));
    EXPECT_EQ(libraries, 1);
    heard.clear();
    FlushAllCaches();
    EXPECT_EQ(heard, QStringList({QStringLiteral("default3"), QStringLiteral("dsp3"),
                                  QStringLiteral("loc2"), QStringLiteral("lang3")}));
    EXPECT_EQ(libraries, 2);
    UnregisterProcContainer(id);
    AliasCounter().RemoveDatabase(QStringLiteral("USEDDB"));
}
PELVAR_ENGINE_TESTS(FlushTest);

}  // namespace
