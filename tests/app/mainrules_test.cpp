#include <gtest/gtest.h>

#include "app/mainrules.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/prockit.h"
#include "appcore/systemtables.h"
#include "databases/aliascounter.h"
#include "testenv.h"

namespace {

TEST(MainRules, WindowEntriesHaveTheirAliasUpperCasedAndFilesSplitOff) {
    const QList<QPair<QString, QString>> normalized = {
        {"\\mydb\\Structures", "\\MYDB\\Structures"},
        {"\\mydb\\Structures\\Tables", "\\MYDB\\Structures\\Tables"},
        {"\\mydb", "\\MYDB"},
        {QString(), "\\"},
        {";/tmp/a.eif;\\Structures", ";/tmp/a.eif;\\Structures"},
    };
    for (const auto& [entry, expected] : normalized)
        EXPECT_EQ(NormalizeWindowEntry(entry), expected);
    const QList<std::tuple<QString, QString, QString>> split = {
        {";/tmp/x.eif;\\Tables", "/tmp/x.eif", "\\Tables"},
        {"\\A\\B", "", "\\A\\B"},
        {";\\only", "", "\\only"},
        {"\\", "", ""},  // the databases
    };
    for (const auto& [entry, file, path] : split) {
        QString f, p;
        SplitWindowEntry(entry, f, p);
        EXPECT_EQ(f, file) << qPrintable(entry);
        EXPECT_EQ(p, path) << qPrintable(entry);
    }
    EXPECT_EQ(MakeWindowEntry("/f.eif", "\\X"), ";/f.eif;\\X");
    EXPECT_EQ(MakeWindowEntry(QString(), "\\X"), "\\X");
}

TEST(MainRules, ShortcutPathsWithoutAliasFollowTheLoginDatabase) {
    EXPECT_EQ(ExpandShortcutPath("\\\\Structures\\Tables", "MAIN"), "\\MAIN\\Structures\\Tables");
    EXPECT_EQ(ExpandShortcutPath("\\OTHER\\Languages", "MAIN"), "\\OTHER\\Languages");
    EXPECT_EQ(ExpandShortcutPath("\\", "MAIN"), "\\MAIN");
    EXPECT_EQ(ExpandShortcutPath("junk\\\\X", "MAIN"), "\\MAIN\\X");
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
    TTestDatabase other(GetParam(), "USEDDB", false);
    CreateMissingSystemTables(other.Alias());
    AliasCounter().AddDatabase(other.Alias());
    QStringList heard;
    TDSPNotifier dsp(
        [&](int kind, const QString&, int) { heard << QStringLiteral("dsp%1").arg(kind); });
    dsp.SubscribeAlias(other.Alias());
    TDSPNotifier dspDefault(
        [&](int kind, const QString&, int) { heard << QStringLiteral("default%1").arg(kind); });
    dspDefault.SubscribeAlias(Alias());
    TLocalizatorNotifier loc([&](const QString&, const QString&, bool, int kind) {
        heard << QStringLiteral("loc%1").arg(kind);
    });
    loc.SubscribeAlias(other.Alias());
    TLanguagesNotifier lang(
        [&](const QString&, int kind) { heard << QStringLiteral("lang%1").arg(kind); });
    lang.SubscribeAlias(other.Alias());
    int libraries = 0;
    const int id = RegisterProcContainer([&] { ++libraries; });

    FlushDSPCaches();
    EXPECT_EQ(heard, QStringList({"default3", "dsp3"}));
    heard.clear();
    FlushLocalizatorCaches();
    FlushLanguagesCaches();
    FlushLanguageLibraries();
    EXPECT_EQ(heard, QStringList({"loc2", "lang3"}));
    EXPECT_EQ(libraries, 1);
    heard.clear();
    FlushAllCaches();
    EXPECT_EQ(heard, QStringList({"default3", "dsp3", "loc2", "lang3"}));
    EXPECT_EQ(libraries, 2);
    UnregisterProcContainer(id);
    AliasCounter().RemoveDatabase(other.Alias());
}
PELVAR_ENGINE_TESTS(FlushTest);

}  // namespace
