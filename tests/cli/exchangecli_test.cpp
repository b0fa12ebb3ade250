#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "../opkit/dspfixture.h"
#include "exchangecli.h"
#include "opkit/dbexchange.h"

namespace {

class ExchangeCliTest : public DSPOpTest {
  protected:
    int Cli(const QStringList& args) {
        Out.clear();
        Err.clear();
        QTextStream out(&Out), err(&Err);
        return RunExchangeCli(args, out, err);
    }
    QString Out, Err;
    QTemporaryDir Dir;
};

TEST_P(ExchangeCliTest, RoundTripAndExitCodes) {
    PutTable("ORDERS", 250);
    PutForm("F1");
    const QString file = Dir.filePath("out.eif");
    ASSERT_EQ(Cli({"export", Alias(), file}), 0) << Err.toStdString();

    ASSERT_EQ(Cli({"list", file}), 0) << Err.toStdString();
    EXPECT_TRUE(Out.contains("TEIDSPStructure\t10:ORDERS")) << Out.toStdString();
    EXPECT_TRUE(Out.contains("TEITableData\tORDERS\t250 rows")) << Out.toStdString();
    EXPECT_TRUE(Out.contains("TEILResource\tK_F1")) << Out.toStdString();

    TTestDatabase target(GetParam(), "CLITARGET", false);
    // Without system tables: one clear line, exit 1, nothing written.
    EXPECT_EQ(Cli({"import", file, target.Alias()}), 1);
    EXPECT_EQ(Err.count('\n'), 1) << Err.toStdString();
    EXPECT_TRUE(Err.startsWith("pelvar-exchange: error: ") && Err.contains("system table"))
        << Err.toStdString();
    CreateMissingSystemTables(target.Alias());
    ASSERT_EQ(Cli({"import", file, target.Alias(), "--what", "structures,data"}), 0)
        << Err.toStdString();
    TDatabase& db = BaseMng().Databases().GetDatabase(target.Alias());
    TSelectQuery q(db, "SELECT COUNT(*) FROM ORDERS");
    q.Open();
    EXPECT_EQ(q.Fields().GetFields(0).AsInteger(), 250);
    EXPECT_FALSE(GetLocalizatorTable(target.Alias()).SectionExist("K_F1", "ENGLISH"));

    // A copy of the texts alone.
    ASSERT_EQ(Cli({"copy", Alias(), target.Alias(), "--what", "resources"}), 0)
        << Err.toStdString();
    EXPECT_TRUE(GetLocalizatorTable(target.Alias()).SectionExist("K_F1", "ENGLISH"));

    // Command lines it does not take: exit 2 with the usage; failures: exit 1.
    for (const QStringList& bad : {QStringList{},
                                   {"frobnicate"},
                                   {"list"},
                                   {"export", Alias()},
                                   {"export", Alias(), file, "--what", "tables"},
                                   {"export", Alias(), file, "--password", "x"}})
        EXPECT_EQ(Cli(bad), 2) << bad.join(' ').toStdString();
    EXPECT_TRUE(Err.contains("never given on the command line"));
    EXPECT_EQ(Cli({"list", Dir.filePath("missing.eif")}), 1);
    EXPECT_TRUE(Err.contains("missing.eif"));
    EXPECT_EQ(Cli({"copy", Alias(), Alias()}), 1);
    EXPECT_EQ(Cli({"export", Alias(), file, "--password-file", Dir.filePath("nope")}), 1);
}

PELVAR_ENGINE_TESTS(ExchangeCliTest);

}  // namespace
