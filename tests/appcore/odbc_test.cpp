#include <gtest/gtest.h>

#include <QDateTime>
#include <QRandomGenerator>

#include "appcore/database.h"
#include "appcore/datasources.h"
#include "appcore/dbmanager.h"
#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/systemtables.h"
#include "basekit/datatypes.h"
#include "errorof.h"
#include "testenv.h"

namespace {

class OdbcTest : public TEngineTest {
  protected:
    TDatabase& Db() { return BaseMng().Databases().GetDatabase(Alias()); }
};

TEST_P(OdbcTest, AliasesComeFromTheLocalConfigurationWithDescriptions) {
    TAliasList aliases;
    FillODBCAliasesWithDescription(aliases);
    bool found = false;
    for (const auto& [name, description] : aliases)
        if (name == QLatin1String("TESTDB")) {
            found = true;
            EXPECT_TRUE(description.endsWith("test database"));
        }
    EXPECT_TRUE(found);

    EXPECT_TRUE(ErrorOf<EDatabaseError>([] {
                    BaseMng().Databases().OpenDataBase("NO_SUCH_ALIAS");
                }).contains("NO_SUCH_ALIAS"));
    EXPECT_FALSE(BaseMng().Databases().IsOpen("NO_SUCH_ALIAS"));
    EXPECT_TRUE(BaseMng().Databases().IsDatabaseValid(Alias()));
    // The empty alias is the default database.
    EXPECT_EQ(&BaseMng().Databases().GetDatabase(QString()), &Db());
}

TEST_P(OdbcTest, ParametersNullsDatesAndTypesRoundTrip) {
    Db().ExecDirect(QStringLiteral(
        "CREATE TABLE T1 (ID INTEGER NOT NULL, NAME VARCHAR(40), AMOUNT DOUBLE PRECISION, "
        "STAMP TIMESTAMP, BIG BIGINT, NOTE VARCHAR(200))"));
    TExecQuery ins(Db(), QStringLiteral("INSERT INTO T1 (ID, NAME, AMOUNT, STAMP, BIG, NOTE) "
                                        "VALUES (:id, :name, :amount, :stamp, :big, :note)"));
    EXPECT_EQ(ins.ParamCount(), 6);
    const QDateTime stamp(QDate(2024, 2, 29), QTime(23, 59, 58, 123));
    ins.ParamByName("id").SetValue(1);
    ins.ParamByName("NAME").SetValue("Привет 'quoted' :notaparam");
    ins.ParamByName("amount").SetValue(12.5);
    ins.ParamByName("stamp").SetValue(stamp);
    ins.ParamByName("big").SetValue(qlonglong(9000000000LL));
    ins.ParamByName("note").SetNull(dtString);
    EXPECT_EQ(ins.Execute(), 1);
    // The same prepared statement again, with NULLs of every kind.
    ins.ParamByName("id").SetValue(2);
    ins.ParamByName("NAME").SetNull(dtString);
    ins.ParamByName("amount").SetNull(dtFloat);
    ins.ParamByName("stamp").SetNull(dtDateTime);
    ins.ParamByName("big").SetNull(dtLargeint);
    ins.ParamByName("note").SetValue("-- not a comment");
    EXPECT_EQ(ins.Execute(), 1);

    TSelectQuery sel(
        Db(),
        QStringLiteral(
            "SELECT ID, NAME, AMOUNT, STAMP, BIG, NOTE FROM T1 WHERE ID >= :min ORDER BY ID"));
    sel.ParamByName("min").SetValue(1);
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    EXPECT_EQ(sel.FieldByName("id").AsInteger(), 1);
    EXPECT_EQ(sel.FieldByName("NAME").AsString(), "Привет 'quoted' :notaparam");
    EXPECT_DOUBLE_EQ(sel.FieldByName("AMOUNT").AsFloat(), 12.5);
    EXPECT_EQ(sel.FieldByName("STAMP").AsDateTime(), stamp);
    EXPECT_EQ(sel.FieldByName("BIG").AsInteger(), 9000000000LL);
    EXPECT_TRUE(sel.FieldByName("NOTE").IsNull());
    sel.Next();
    ASSERT_FALSE(sel.Eof());
    for (const char* f : {"NAME", "AMOUNT", "STAMP", "BIG"})
        EXPECT_TRUE(sel.FieldByName(QLatin1String(f)).IsNull()) << f;
    EXPECT_EQ(sel.FieldByName("NOTE").AsString(), "-- not a comment");
    sel.Next();
    EXPECT_TRUE(sel.Eof());
    EXPECT_EQ(sel.RowsFetched(), 2);

    // Reopening with another parameter value re-executes.
    sel.ParamByName("min").SetValue(2);
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    EXPECT_EQ(sel.FieldByName("ID").AsInteger(), 2);

    TExecQuery upd(Db(), "UPDATE T1 SET NOTE = :n WHERE ID > 0");
    upd.ParamByName("n").SetValue("x");
    EXPECT_EQ(upd.Execute(), 2);
    EXPECT_THROW(ins.ParamByName("nope"), EDatabaseError);
    EXPECT_THROW(Db().ExecDirect("SELECT * FROM NO_SUCH_TABLE"), EDatabaseError);
}

TEST_P(OdbcTest, LargeBlobsAndTextsArriveWhole) {
    TDicTableDescription d;
    d.Name = "BLOBS";
    d.AddField("ID", dtInteger, 4);
    d.AddField("DATA", dtBlob, 0);
    d.AddField("MEMO", dtMemo, 0);
    d.AddIndex("BLOBS_PK", {"ID"}, true, true);
    TDictionary(Alias()).CreateTableByDef(d, QString(), true);

    QByteArray blob(5 * 1024 * 1024 + 17, Qt::Uninitialized);
    auto* rng = QRandomGenerator::global();
    for (char& c : blob)
        c = char(rng->bounded(256));
    blob[0] = 0;  // embedded zero bytes must survive
    QString memo;
    for (int i = 0; i < 30000; ++i)
        memo += QStringLiteral("строка %1 ").arg(i);

    TExecQuery ins(Db(), "INSERT INTO BLOBS (ID, DATA, MEMO) VALUES (:id, :data, :memo)");
    ins.ParamByName("id").SetValue(1);
    ins.ParamByName("data").SetValue(blob);
    ins.ParamByName("memo").SetValue(memo);
    ins.Execute();
    ins.ParamByName("id").SetValue(2);
    ins.ParamByName("data").SetValue(QByteArray());
    ins.ParamByName("memo").SetNull(dtMemo);
    ins.Execute();

    TSelectQuery sel(Db(), "SELECT DATA, MEMO FROM BLOBS ORDER BY ID");
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    EXPECT_EQ(sel.Fields().GetFields(0).DataType(), dtBlob);
    EXPECT_TRUE(sel.Fields().GetFields(0).AsBinary() == blob);
    EXPECT_EQ(sel.Fields().GetFields(1).AsString(), memo);
    sel.Next();
    ASSERT_FALSE(sel.Eof());
    EXPECT_FALSE(sel.Fields().GetFields(0).IsNull());
    EXPECT_TRUE(sel.Fields().GetFields(0).AsBinary().isEmpty());
    EXPECT_TRUE(sel.Fields().GetFields(1).IsNull());
}

TEST_P(OdbcTest, TransactionsRollBackAndCommit) {
    Db().ExecDirect("CREATE TABLE T2 (ID INTEGER)");
    auto count = [&] {
        TSelectQuery q(Db(), "SELECT COUNT(*) FROM T2");
        q.Open();
        return q.Fields().GetFields(0).AsInteger();
    };
    Db().StartTransaction();
    Db().ExecDirect("INSERT INTO T2 VALUES (1)");
    EXPECT_THROW(Db().StartTransaction(), EDatabaseError);
    Db().Rollback();
    EXPECT_EQ(count(), 0);
    {
        TTransactionScope outer(Db());
        Db().ExecDirect("INSERT INTO T2 VALUES (1)");
        {
            TTransactionScope inner(Db());  // joins
            Db().ExecDirect("INSERT INTO T2 VALUES (2)");
            inner.Commit();
        }
        EXPECT_TRUE(Db().InTransaction());
        // leaving without Commit rolls both back
    }
    EXPECT_EQ(count(), 0);
    {
        TTransactionScope tx(Db());
        Db().ExecDirect("INSERT INTO T2 VALUES (3)");
        tx.Commit();
    }
    EXPECT_EQ(count(), 1);
    EXPECT_FALSE(Db().InTransaction());
    // A failed statement inside a transaction leaves it to be rolled back cleanly.
    Db().StartTransaction();
    EXPECT_THROW(Db().ExecDirect("INSERT INTO NO_TABLE VALUES (1)"), EDatabaseError);
    Db().Rollback();
    EXPECT_EQ(count(), 1);
}

TEST_P(OdbcTest, EverySystemTableIsCreatedAndDescribedBack) {
    TDictionary dic(Alias());
    for (const auto& def : SystemTableDefinitions(false, "QX_LOG")) {
        QStringList script;
        dic.CreateTableByDef(def, QString(), true, &script);
        EXPECT_FALSE(script.isEmpty());
        EXPECT_TRUE(BaseMng().TableExists(def.Name, Alias())) << qPrintable(def.Name);
        TDicTableDescription back;
        ASSERT_TRUE(dic.GetTableInfo(def.Name, back)) << qPrintable(def.Name);
        ASSERT_EQ(back.Fields.size(), def.Fields.size()) << qPrintable(def.Name);
        for (int i = 0; i < def.Fields.size(); ++i) {
            EXPECT_EQ(back.Fields[i].Name, def.Fields[i].Name);
            const int want = def.Fields[i].DataType, got = back.Fields[i].DataType;
            // Engines report a long text column by its storage kind.
            EXPECT_TRUE(got == want || (want == dtMemo && got == dtMemo))
                << qPrintable(def.Name + "." + def.Fields[i].Name) << " " << got;
        }
        const TDicIndexDescription* pk = def.PrimaryIndex();
        if (pk) {
            ASSERT_NE(back.PrimaryIndex(), nullptr) << qPrintable(def.Name);
            EXPECT_EQ(back.PrimaryIndex()->Fields, pk->Fields);
        }
    }
    // Replacing drops the old table with its rows; refusing to replace raises.
    Db().ExecDirect("INSERT INTO USER_LEGACY (USER_NAME) VALUES ('X')");
    const auto defs = SystemTableDefinitions(false, "QX_LOG");
    EXPECT_THROW(dic.CreateTableByDef(defs.last(), QString(), false), EDatabaseError);
    dic.CreateTableByDef(defs.last(), QString(), true);
    TSelectQuery q(Db(), "SELECT COUNT(*) FROM USER_LEGACY");
    q.Open();
    EXPECT_EQ(q.Fields().GetFields(0).AsInteger(), 0);
}

TEST_P(OdbcTest, EveryTypeCodeMapsToAColumnThatStoresItsValues) {
    TDicTableDescription d;
    d.Name = "ALLTYPES";
    for (int code = 0; code < kDataTypeCount; ++code)
        if (code != dtAutoInc) d.AddField(QStringLiteral("F%1").arg(code), code, 20);
    d.AddField("ID", dtAutoInc, 4);
    d.AddIndex("ALLTYPES_PK", {"ID"}, true, true);
    d.AddIndex("ALLTYPES_I1", {"F0", "F2"}, true, false);
    TDictionary(Alias()).CreateTableByDef(d, QString(), true);
    TExecQuery ins(
        Db(),
        QStringLiteral(
            "INSERT INTO ALLTYPES (F0, F2, F3, F5, F9, F16) VALUES (:a, :b, :c, :d, :e, :f)"));
    for (int i = 0; i < 2; ++i) {
        ins.ParamByName("a").SetValue(QStringLiteral("x%1").arg(i));
        ins.ParamByName("b").SetValue(i);
        ins.ParamByName("c").SetValue(1.25);
        ins.ParamByName("d").SetValue(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
        ins.ParamByName("e").SetValue(QByteArray("\x01\x02", 2));
        ins.ParamByName("f").SetValue(true);
        ins.Execute();
    }
    TSelectQuery sel(Db(), "SELECT ID, F16 FROM ALLTYPES ORDER BY ID");
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    const qint64 first = sel.Fields().GetFields(0).AsInteger();
    EXPECT_TRUE(sel.Fields().GetFields(1).AsBoolean());
    sel.Next();
    EXPECT_EQ(sel.Fields().GetFields(0).AsInteger(), first + 1);  // auto-increment
    // The unique index refuses a duplicate.
    ins.ParamByName("a").SetValue("x0");
    ins.ParamByName("b").SetValue(0);
    EXPECT_THROW(ins.Execute(), EDatabaseError);
}

TEST_P(OdbcTest, ManyRowsStreamInOrder) {
    Db().ExecDirect("CREATE TABLE NUMS (N INTEGER, S VARCHAR(20))");
    TExecQuery ins(Db(), "INSERT INTO NUMS VALUES (:n, :s)");
    TTransactionScope tx(Db());
    for (int i = 0; i < 1000; ++i) {
        ins.ParamByName("n").SetValue(i);
        ins.ParamByName("s").SetValue(QStringLiteral("row %1").arg(i));
        ins.Execute();
    }
    tx.Commit();
    TSelectQuery sel(Db(), "SELECT N, S FROM NUMS ORDER BY N");
    int expected = 0;
    for (sel.Open(); !sel.Eof(); sel.Next(), ++expected) {
        ASSERT_EQ(sel.Fields().GetFields(0).AsInteger(), expected);
        ASSERT_EQ(sel.Fields().GetFields(1).AsString(), QStringLiteral("row %1").arg(expected));
    }
    EXPECT_EQ(expected, 1000);
}

PELVAR_ENGINE_TESTS(OdbcTest);

}  // namespace
