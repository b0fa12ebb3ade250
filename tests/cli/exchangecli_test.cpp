#include <gtest/gtest.h>

#include <QFile>
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

TEST_P(ExchangeCliTest, CopyLogsIntoItsTargetWithTheSecondLogin) {
    PutTable("ORDERS", 3);
    TTestDatabase target(GetParam(), "CLITO", false);
    CreateMissingSystemTables(target.Alias());
    EXPECT_EQ(Cli({"copy", Alias(), target.Alias(), "--to-user"}), 2);
    EXPECT_EQ(Cli({"copy", Alias(), target.Alias(), "--to-password", "x"}), 2);
    EXPECT_EQ(Cli({"copy", Alias(), target.Alias(), "--to-password-file", Dir.filePath("no")}), 1);
    EXPECT_TRUE(Err.contains(Dir.filePath("no"))) << Err.toStdString();
    if (!FDb->IsPostgres()) return;  // SQLite takes any login

    TDatabaseManager& dbs = BaseMng().Databases();
    dbs.CloseDatabase(target.Alias());
    dbs.RemoveLoginParams(target.Alias());
    qputenv("PELVAR_USER", "nobody");
    qputenv("PELVAR_PASSWORD", "wrong");
    // The first login for both: the target refuses it, and forgets it.
    EXPECT_EQ(Cli({"copy", Alias(), target.Alias()}), 1);
    EXPECT_FALSE(dbs.HasLoginParams(target.Alias()));
    const QString file = Dir.filePath("pw");
    QFile pw(file);
    ASSERT_TRUE(pw.open(QIODevice::WriteOnly));
    pw.write(target.Password().toUtf8() + "\n");
    pw.close();
    EXPECT_EQ(Cli({"copy", Alias(), target.Alias(), "--to-user", target.User(),
                   "--to-password-file", file}),
              0)
        << Err.toStdString();
    qputenv("PELVAR_TO_PASSWORD", target.Password().toUtf8());
    EXPECT_EQ(Cli({"copy", Alias(), target.Alias(), "--to-user", target.User()}), 0)
        << Err.toStdString();
    qunsetenv("PELVAR_USER");
    qunsetenv("PELVAR_PASSWORD");
    qunsetenv("PELVAR_TO_PASSWORD");
    dbs.SetLoginParamsEx(target.User(), target.Password(), 255, QString(), false, QString(),
                         target.Alias());
    TSelectQuery q(dbs.OpenDataBase(target.Alias()), "SELECT COUNT(*) FROM ORDERS");
    q.Open();
    EXPECT_EQ(q.Fields().GetFields(0).AsInteger(), 3);
}

PELVAR_ENGINE_TESTS(ExchangeCliTest);

}  // namespace
