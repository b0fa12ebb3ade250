#include <gtest/gtest.h>

#include <QDateTime>
#include <QRandomGenerator>
#include <map>

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

class OdbcTest : public TEngineTest {};

TEST_P(OdbcTest, AliasesComeFromTheLocalConfigurationWithDescriptions) {
    TAliasList aliases;
    FillODBCAliasesWithDescription(aliases);
    bool found = false;
    for (const auto& [name, description] : aliases)
        if (name == Alias()) {
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

TEST_P(OdbcTest, PreparedStatementsRebindReopenAndCountRows) {
    Db().ExecDirect("CREATE TABLE T1 (ID INTEGER NOT NULL, NOTE VARCHAR(200))");
    TExecQuery ins(Db(), "INSERT INTO T1 (ID, NOTE) VALUES (:id, :note)");
    EXPECT_EQ(ins.ParamCount(), 2);
    const QStringList notes = {"Привет 'quoted' :notaparam ?", "-- not a comment /*"};
    for (int i = 0; i < notes.size(); ++i) {
        ins.ParamByName("ID").SetValue(i + 1);
        ins.ParamByName("note").SetValue(notes[i]);
        EXPECT_EQ(ins.Execute(), 1);
    }
    TSelectQuery sel(Db(), "SELECT ID, NOTE FROM T1 WHERE ID >= :min ORDER BY ID");
    sel.ParamByName("min").SetValue(1);
    for (sel.Open(); !sel.Eof(); sel.Next())
        EXPECT_EQ(sel.FieldByName("note").AsString(), notes[sel.RowsFetched() - 1]);
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
    auto count = [&] { return CountRows("T2"); };
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
            EXPECT_EQ(back.Fields[i].DataType, def.Fields[i].DataType)
                << qPrintable(def.Name + "." + def.Fields[i].Name);
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
    EXPECT_EQ(CountRows("USER_LEGACY"), 0);
}

// A value of every type code, as it reads back.
TQXVariant SampleValue(int code) {
    static const std::map<int, TQXVariant> values = {
        {dtString, "строка 'q'"},
        {dtSmallint, -32768},
        {dtInteger, 2147483647},
        {dtFloat, -12345.678901},  // the SQLite driver reads 15 digits
        {dtDate, QDate(1999, 12, 31)},
        {dtDateTime, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 999))},
        {dtCurrency, 1234567.5625},
        {dtFixedChar, "ab"},
        {dtMemo, QString(5000, QChar(0x44f))},
        {dtBlob, QByteArray("\x00\xff\x01", 3)},
        {dtWord, 65535},
        {dtByte, 255},
        {dtShortint, -128},
        {dtLargeint, qlonglong(-9000000000000000000LL)},
        {dtGraphic, QByteArray(70000, '\x7f')},
        {dtBoolean, true},
        {dtLongWord, qlonglong(4294967295LL)},
        {dtWideString, "ширина"}};
    const auto it = values.find(code);
    return it == values.end() ? TQXVariant() : it->second;
}

TEST_P(OdbcTest, EveryTypeCodeMapsToAColumnThatStoresItsValues) {
    TDicTableDescription d;
    d.Name = "ALLTYPES";
    QStringList columns, params;
    for (int code = 0; code < kDataTypeCount; ++code) {
        if (code == dtAutoInc) continue;
        d.AddField(QStringLiteral("F%1").arg(code), code, 20);
        columns << QStringLiteral("F%1").arg(code);
        params << QStringLiteral(":p%1").arg(code);
    }
    d.AddField("ID", dtAutoInc, 4);
    d.AddIndex("ALLTYPES_PK", {"ID"}, true, true);
    d.AddIndex("ALLTYPES_I1", {"F0", "F2"}, true, false);
    TDictionary(Alias()).CreateTableByDef(d, QString(), true);
    TExecQuery ins(Db(), QStringLiteral("INSERT INTO ALLTYPES (%1) VALUES (%2)")
                             .arg(columns.join(", "), params.join(", ")));
    // One row of values, one of typed NULLs (strict engines check their types).
    for (int row = 0; row < 2; ++row) {
        for (int code = 0; code < kDataTypeCount; ++code) {
            if (code == dtAutoInc) continue;
            TQueryParam& p = ins.ParamByName(QStringLiteral("p%1").arg(code));
            if (row == 0)
                p.SetValue(SampleValue(code));
            else
                p.SetNull(code);
        }
        ins.Execute();
    }

    TSelectQuery sel(Db(), "SELECT ID, " + columns.join(", ") + " FROM ALLTYPES ORDER BY ID");
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    const qint64 first = sel.FieldByName("ID").AsInteger();
    for (int code = 0; code < kDataTypeCount; ++code) {
        if (code == dtAutoInc) continue;
        const TField& f = sel.FieldByName(QStringLiteral("F%1").arg(code));
        if (code == dtFixedChar)  // fixed-length columns may come back padded
            EXPECT_EQ(f.AsString().trimmed(), "ab");
        else if (code == dtBoolean)  // psqlODBC hands booleans over as "1"/"0" by default
            EXPECT_TRUE(f.AsBoolean());
        else
            EXPECT_TRUE(f.Value() == SampleValue(code))
                << DataTypeName(code).toStdString() << ": " << f.AsString().left(40).toStdString();
    }
    sel.Next();
    ASSERT_FALSE(sel.Eof());
    EXPECT_EQ(sel.FieldByName("ID").AsInteger(), first + 1);  // auto-increment
    for (int code = 0; code < kDataTypeCount; ++code) {
        if (code == dtAutoInc) continue;
        EXPECT_TRUE(sel.FieldByName(QStringLiteral("F%1").arg(code)).IsNull())
            << DataTypeName(code).toStdString();
    }
    // The unique index refuses a duplicate.
    ins.ParamByName("p0").SetValue(SampleValue(dtString));
    ins.ParamByName("p2").SetValue(SampleValue(dtInteger));
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

// Rows fetched in blocks with a few values too long for their bound buffers
// (a 200,000-character text in a column declared 20 wide where the engine
// allows it, BLOBs) at varying positions of a block: each arrives byte-exact,
// and the short values around them stay intact.
TEST_P(OdbcTest, LongValuesAnywhereInABlockArriveWhole) {
    const bool pg = FDb->IsPostgres();
    Db().ExecDirect(QStringLiteral("CREATE TABLE MIX (ID INTEGER, S %1, B %2, T VARCHAR(10))")
                        .arg(pg ? "TEXT" : "VARCHAR(20)", pg ? "BYTEA" : "BLOB"));
    QString longText;
    for (int i = 0; longText.size() < 200000; ++i)
        longText += QStringLiteral("ä'\"|;\n%1 ").arg(i);
    longText.truncate(200000);
    auto textOf = [&](int id) -> QString {
        if (id % 97 == 5) return longText;
        return id % 11 == 0 ? QString() : QStringLiteral("short %1").arg(id);
    };
    auto blobOf = [](int id) {
        QByteArray b(id % 13 == 0 ? 3000 + id : id % 50, Qt::Uninitialized);
        for (qsizetype k = 0; k < b.size(); ++k)
            b[k] = char((k * 31 + id) % 256);
        return b;
    };
    constexpr int kRows = 600;  // more than two blocks
    TExecQuery ins(Db(), "INSERT INTO MIX VALUES (:id, :s, :b, :t)");
    TTransactionScope tx(Db());
    for (int id = 0; id < kRows; ++id) {
        ins.ParamByName("id").SetValue(id);
        if (id % 11 == 0)
            ins.ParamByName("s").SetNull(dtMemo);
        else
            ins.ParamByName("s").SetValue(textOf(id));
        ins.ParamByName("b").SetValue(blobOf(id));
        ins.ParamByName("t").SetValue(QString::number(id));
        ins.Execute();
    }
    tx.Commit();
    TSelectQuery sel(Db(), "SELECT ID, S, B, T FROM MIX ORDER BY ID");
    int id = 0;
    for (sel.Open(); !sel.Eof(); sel.Next(), ++id) {
        ASSERT_EQ(sel.Fields().GetFields(0).AsInteger(), id);
        ASSERT_EQ(sel.Fields().GetFields(1).IsNull(), id % 11 == 0) << id;
        ASSERT_EQ(sel.Fields().GetFields(1).AsString(), textOf(id)) << id;
        ASSERT_TRUE(sel.Fields().GetFields(2).AsBinary() == blobOf(id)) << id;
        ASSERT_EQ(sel.Fields().GetFields(3).AsString(), QString::number(id));
    }
    EXPECT_EQ(id, kRows);
}

PELVAR_ENGINE_TESTS(OdbcTest);

TEST(OdbcLibraryTest, AFailedReloadNamesTheLibraryAndKeepsTheOldOne) {
    // The second one loads, but is no driver manager.
    for (const char* library : {"/no/such/libodbc.so", "libc.so.6"})
        EXPECT_TRUE(ErrorOf<EDatabaseError>([&] { ReloadOdbcLibrary(library); }).contains(library));
    EXPECT_EQ(OdbcLibraryName(), DefaultOdbcLibrary());
    TTestDatabase db("SQLite");
    TSelectQuery q(BaseMng().Databases().GetDatabase(db.Alias()), "SELECT 1");
    q.Open();
    EXPECT_FALSE(q.Eof());
    // Not while a database is connected.
    EXPECT_THROW(ReloadOdbcLibrary(DefaultOdbcLibrary()), EDatabaseError);
}

}  // namespace
