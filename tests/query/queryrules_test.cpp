#include <gtest/gtest.h>

#include "basekit/registry.h"
#include "gridkit/resultmodel.h"
#include "query/queryhistory.h"
#include "query/queryrules.h"

namespace {

TEST(QueryRules, AutoReadsSelectOnlyWhenTheTextBeginsWithIt) {
    EXPECT_EQ(DecideQueryType(qtAuto, " \n\tselect 1"), qtSelect);
    EXPECT_EQ(DecideQueryType(qtAuto, "SeLeCt * from t"), qtSelect);
    EXPECT_EQ(DecideQueryType(qtAuto, "WITH x AS (SELECT 1) SELECT * FROM x"), qtExecute);
    EXPECT_EQ(DecideQueryType(qtAuto, "-- select\nupdate t set a = 1"), qtExecute);
    EXPECT_EQ(DecideQueryType(qtAuto, ""), qtExecute);
    EXPECT_EQ(DecideQueryType(qtSelect, "WITH x AS (SELECT 1) SELECT 1"), qtSelect);
    EXPECT_EQ(DecideQueryType(qtExecute, "select 1"), qtExecute);
}

TEST(QueryRules, ParametersFollowTheTextKeepingWhatWasTyped) {
    TRecord params;
    SyncParameters(params,
                   "select * from t where a = :a and b = :B and a2 = :a -- :c\n and s = ':d' "
                   "and x::text = :e");
    ASSERT_EQ(params.GetFieldCount(), 3);
    EXPECT_EQ(params.GetFields(0).Name(), "a");
    EXPECT_EQ(params.GetFields(1).Name(), "B");
    EXPECT_EQ(params.GetFields(2).Name(), "e");
    EXPECT_EQ(params.GetFields(0).DataType(), dtString);

    ChangeParameterType(params, 1, dtInteger);
    params.GetFields(1).SetAsInteger(42);
    // Moved to the front, renamed neighbour, one gone: b keeps its type and value.
    SyncParameters(params, "select :b, :x, :a");
    ASSERT_EQ(params.GetFieldCount(), 3);
    EXPECT_EQ(params.GetFields(0).Name(), "B");
    EXPECT_EQ(params.GetFields(0).DataType(), dtInteger);
    EXPECT_EQ(params.GetFields(0).AsInteger(), 42);
    EXPECT_EQ(params.GetFields(1).Name(), "x");
    EXPECT_EQ(params.GetFields(2).Name(), "a");
    SyncParameters(params, "select 1");
    EXPECT_EQ(params.GetFieldCount(), 0);
}

TEST(QueryRules, ParameterTextsConvertByTypeAndNullWins) {
    for (int code = 0; code < kDataTypeCount; ++code) {
        EXPECT_TRUE(ParameterValueFromText(code, "{null}").IsNull()) << code;
        EXPECT_TRUE(ParameterValueFromText(code, "{NULL}").IsNull()) << code;
    }
    EXPECT_EQ(ParameterValueFromText(dtString, "").Kind(), TQXVariant::vkString);
    EXPECT_EQ(ParameterValueFromText(dtString, " 12 ").AsString(), " 12 ");
    EXPECT_EQ(ParameterValueFromText(dtMemo, "{NULL} not").AsString(), "{NULL} not");
    for (int code : {dtSmallint, dtInteger, dtLargeint, dtWord, dtByte, dtAutoInc, dtLongWord}) {
        const TQXVariant v = ParameterValueFromText(code, "-17");
        EXPECT_EQ(v.Kind(), TQXVariant::vkInteger) << code;
        EXPECT_EQ(v.AsInteger(), -17);
        EXPECT_THROW(ParameterValueFromText(code, "12abc"), EConvertError) << code;
        EXPECT_TRUE(ParameterValueFromText(code, " ").IsNull()) << code;
    }
    EXPECT_DOUBLE_EQ(ParameterValueFromText(dtFloat, "2.5").AsFloat(), 2.5);
    EXPECT_DOUBLE_EQ(ParameterValueFromText(dtCurrency, "10.25").AsFloat(), 10.25);
    EXPECT_THROW(ParameterValueFromText(dtFloat, "two"), EConvertError);
    EXPECT_EQ(ParameterValueFromText(dtDate, "2024-02-29").AsDate(), QDate(2024, 2, 29));
    EXPECT_EQ(ParameterValueFromText(dtDateTime, "2024-02-29 13:14:15").AsDateTime(),
              QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15)));
    EXPECT_THROW(ParameterValueFromText(dtDate, "2024-02-30"), EConvertError);
    EXPECT_TRUE(ParameterValueFromText(dtBoolean, "tRuE").AsBoolean());
    EXPECT_FALSE(ParameterValueFromText(dtBoolean, "yes").AsBoolean());
    EXPECT_FALSE(ParameterValueFromText(dtBoolean, "1").AsBoolean());

    // The grid's text of a value reads back as the same value.
    TField f("p", dtInteger);
    EXPECT_EQ(ParameterValueText(f), "{NULL}");
    EXPECT_TRUE(ParameterValueFromText(dtInteger, ParameterValueText(f)).IsNull());
    TRecord r;
    r.AddField("d", dtString).SetAsString("2024-01-02");
    ChangeParameterType(r, 0, dtDate);
    EXPECT_EQ(r.GetFields(0).Value().AsDate(), QDate(2024, 1, 2));
    ChangeParameterType(r, 0, dtInteger);
    EXPECT_TRUE(r.GetFields(0).IsNull());
}

TEST(QueryRules, BlobTextEscapesControlBytesAndTheHash) {
    EXPECT_EQ(BlobToText(QByteArray("a#b\n", 4)), "a#23b#0A");
    EXPECT_EQ(BlobToText(QByteArray("\x00\x1f ~\x80\xff", 6)),
              QString("#00#1F ~") + QChar(0x80) + QChar(0xFF));
}

class QueryHistoryTest : public testing::Test {
  protected:
    void SetUp() override { TRegistry().DeleteKey(TQueryHistory::RegistryKey()); }
    static TRecord Params(const QString& value) {
        TRecord r;
        r.AddField("id", dtInteger).SetValue(ParameterValueFromText(dtInteger, value));
        return r;
    }
};

TEST(QueryRules, FindLooksPastTheFocusInItsDirectionIgnoringCaseAndBlanks) {
    const QStringList cells = {" apple", "Banana", "  apricot", "berry", "APPLE pie"};
    const auto cell = [&](int row) { return cells[row]; };
    EXPECT_EQ(FindResultRow(cell, 5, 0, "ap", 0), 2);  // not the focused row itself
    EXPECT_EQ(FindResultRow(cell, 5, 2, "ap", 0), 4);
    EXPECT_EQ(FindResultRow(cell, 5, 4, "ap", 0), -1);
    EXPECT_EQ(FindResultRow(cell, 5, 4, "AP", 1), 2);
    EXPECT_EQ(FindResultRow(cell, 5, 2, "ap", 1), 0);
    EXPECT_EQ(FindResultRow(cell, 5, 0, "ap", 1), -1);
    EXPECT_EQ(FindResultRow(cell, 5, 4, "apple", 2), 0);
    EXPECT_EQ(FindResultRow(cell, 5, 0, "pie", 2), -1);  // begins with, not contains
    EXPECT_EQ(FindResultRow(cell, 0, -1, "a", 2), -1);
}

TEST_F(QueryHistoryTest, RepeatsAreKeptOnceAndParametersMakeADifference) {
    TQueryHistory h;
    EXPECT_FALSE(h.Add("  \n ", false, TRecord()));
    EXPECT_TRUE(h.Add(" select * from t where id = :id\n", false, Params("1")));
    EXPECT_FALSE(h.Add("SELECT * FROM T WHERE ID = :ID", true, Params("1")));
    EXPECT_TRUE(h.Add("select * from t where id = :id", true, Params("2")));
    EXPECT_TRUE(h.Add("select * from t where id = :id", true, Params("{NULL}")));
    EXPECT_FALSE(h.Add("select * from t where id = :id", true, Params("{null}")));
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(h.Entry(2).Text, "0select * from t where id = :id");
    EXPECT_EQ(h.Entry(0).Text, "1select * from t where id = :id");

    // Navigation: older up to the last entry, newer down to the first.
    EXPECT_EQ(h.Position(), 0);
    EXPECT_FALSE(h.CanGoNewer());
    EXPECT_EQ(h.GoOlder(), &h.Entry(1));
    EXPECT_EQ(h.GoOlder(), &h.Entry(2));
    EXPECT_EQ(h.GoOlder(), nullptr);
    EXPECT_EQ(h.GoNewer(), &h.Entry(1));
    EXPECT_TRUE(h.Add("delete from t", false, TRecord()));
    EXPECT_EQ(h.Position(), 0);
}

TEST_F(QueryHistoryTest, SavesTheNewest41AndReadsThemBack) {
    TQueryHistory h;
    for (int i = 0; i < 45; ++i) {
        TRecord r;
        r.AddField("s", dtString).SetAsString(QString("text %1").arg(i));
        r.AddField("n", dtFloat);
        r.AddField("b", dtBoolean).SetAsBoolean(i % 2 == 0);
        h.Add(QString("select :s, :n, :b, %1").arg(i), i % 3 == 0, r);
    }
    h.Save();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(TQueryHistory::RegistryKey()));
    EXPECT_EQ(reg.GetKeyNames().size(), 41);
    ASSERT_TRUE(reg.OpenKeyReadOnly(TQueryHistory::RegistryKey() + "\\Query0\\2"));
    EXPECT_EQ(reg.ReadString("Name"), "b");
    EXPECT_EQ(reg.ReadInteger("Type"), dtBoolean);
    EXPECT_EQ(reg.ReadString("Value"), "TRUE");

    TQueryHistory back;
    back.Load();
    EXPECT_EQ(back.Position(), -1);
    ASSERT_EQ(back.Count(), 41);
    EXPECT_EQ(back.Entry(0).Text, "0select :s, :n, :b, 44");
    EXPECT_EQ(back.Entry(40).Text, "0select :s, :n, :b, 4");
    EXPECT_EQ(back.Entry(2).Text, "1select :s, :n, :b, 42");
    const TRecord& p = back.Entry(1).Params;
    ASSERT_EQ(p.GetFieldCount(), 3);
    EXPECT_EQ(p.GetFields(0).AsString(), "text 43");
    EXPECT_EQ(p.GetFields(1).DataType(), dtFloat);
    EXPECT_TRUE(p.GetFields(1).IsNull());
    EXPECT_FALSE(p.GetFields(2).AsBoolean());
    EXPECT_TRUE(back.CanGoOlder());
    EXPECT_EQ(back.GoOlder(), &back.Entry(0));

    // An entry written without its flag character comes back as "0".
    ASSERT_TRUE(reg.OpenKey(TQueryHistory::RegistryKey() + "\\Query0", false));
    reg.WriteString("Query", "select 2");
    back.Load();
    EXPECT_EQ(back.Entry(0).Text, "0select 2");
}

}  // namespace
