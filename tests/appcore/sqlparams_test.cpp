#include "appcore/sqlparams.h"

#include <gtest/gtest.h>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "testenv.h"

namespace {

TEST(SqlParametersTest, OnlyNamesOutsideLiteralsCommentsAndCastsAreParameters) {
    const QString sql = QStringLiteral(
        "SELECT ':a ?', 'it''s :b', \"c:d?\", \"e\"\":f\", x::int, :g::text, ?"
        " -- :h ? 'open\n"
        "/* :i\n? ' */ FROM t WHERE y = :G AND z=:_j1+:k AND w = a:::l");
    const TSqlParameterText p = ParseSqlParameters(sql);
    EXPECT_EQ(p.Names, (QStringList{"g", "G", "_j1", "k", "l"}));
    const QString native = QStringLiteral(
        "SELECT ':a ?', 'it''s :b', \"c:d?\", \"e\"\":f\", x::int, ?::text, ?"
        " -- :h ? 'open\n/* :i\n? ' */ FROM t WHERE y = ? AND z=?+? AND w = a::?");
    EXPECT_EQ(p.NativeSql, native);
    // Masked, only the marks inside the two comments change.
    const TSqlParameterText masked = ParseSqlParameters(sql, true);
    EXPECT_EQ(masked.Names, p.Names);
    EXPECT_EQ(masked.NativeSql,
              QString(native).replace(" -- :h ? ", " -- :h ？ ").replace(":i\n? ", ":i\n？ "));

    // Procedure bodies in dollar quotes keep their text; "$1" and names with
    // "$" are no quotes.
    const TSqlParameterText body = ParseSqlParameters(
        "CREATE FUNCTION f(n int) RETURNS int AS $$ SELECT ':x' || $1 $$ LANGUAGE sql;"
        " SELECT $tag$ :y $$ $tag$, a$b, $1, :z");
    EXPECT_EQ(body.Names, (QStringList{"z"}));
    EXPECT_TRUE(body.NativeSql.endsWith("$tag$ :y $$ $tag$, a$b, $1, ?"));
    EXPECT_TRUE(body.NativeSql.contains("$$ SELECT ':x' || $1 $$"));

    // Unterminated literals and comments run to the end without parameters.
    for (const QString text : {"SELECT 'x :a", "SELECT \"x :a", "SELECT /* :a", "SELECT $$ :a"}) {
        const TSqlParameterText open = ParseSqlParameters(text);
        EXPECT_TRUE(open.Names.isEmpty()) << qPrintable(text);
        EXPECT_EQ(open.NativeSql, text);
    }
    // A lone colon, a colon before a digit and ":=" stay as they are.
    const TSqlParameterText colons = ParseSqlParameters("x := 1; y :1 :");
    EXPECT_TRUE(colons.Names.isEmpty());
    EXPECT_EQ(colons.NativeSql, "x := 1; y :1 :");
}

class SqlTextTest : public TEngineTest {};

// Statements whose own text carries quotes, comments and casts reach the
// engine intact, with only the real parameters bound.
TEST_P(SqlTextTest, QuotesCommentsAndCastsInTheStatementReachTheEngine) {
    TDatabase& db = BaseMng().Databases().GetDatabase(Alias());
    db.ExecDirect("CREATE TABLE \"Odd:Name\" (\"Col ?\" VARCHAR(40), N INTEGER)");
    TExecQuery ins(db,
                   "INSERT INTO \"Odd:Name\" (\"Col ?\", N) -- :nope ?\n"
                   "VALUES ('it''s :a ?' || :suffix, /* :b */ :n)");
    ASSERT_EQ(ins.ParamCount(), 2);
    // Only the SQLite driver needs the comment's mark masked; others get it as written.
    EXPECT_TRUE(ins.NativeSQL().contains(FDb->IsPostgres() ? "-- :nope ?\n" : "-- :nope ？\n"))
        << qPrintable(ins.NativeSQL());
    ins.ParamByName("suffix").SetValue("!");
    ins.ParamByName("n").SetValue(7);
    EXPECT_EQ(ins.Execute(), 1);

    const QString cast = FDb->IsPostgres() ? "(:n)::integer + 1" : "CAST(:n AS INTEGER) + 1";
    TSelectQuery sel(db, "SELECT \"Col ?\", " + cast +
                             " AS NEXT_N, ':n' AS LIT FROM \"Odd:Name\""
                             " WHERE N = :n /* ? */");
    ASSERT_EQ(sel.ParamCount(), 1);
    sel.ParamByName("n").SetValue(7);
    sel.Open();
    ASSERT_FALSE(sel.Eof());
    EXPECT_EQ(sel.Fields().GetFields(0).AsString(), "it's :a ?!");
    EXPECT_EQ(sel.Fields().GetFields(1).AsInteger(), 8);
    EXPECT_EQ(sel.Fields().GetFields(2).AsString(), ":n");
}

PELVAR_ENGINE_TESTS(SqlTextTest);

}  // namespace
