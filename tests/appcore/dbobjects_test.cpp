#include <gtest/gtest.h>

#include "appcore/dbmanager.h"
#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "errorof.h"
#include "testenv.h"

namespace {

class DbObjectsTest : public TEngineTest {
  protected:
    TDicDatabase& Dic() { return DicDBContainer().GetDicDatabase(Alias()); }
};

TEST_P(DbObjectsTest, GeneratorsStartMoveByTheirIncrementAndDrop) {
    EXPECT_FALSE(Dic().GeneratorExists("G_ORDERS"));
    Dic().CreateGenerator("G_ORDERS", 10);
    Dic().CreateGenerator("g_zero");
    Dic().CreateGenerator("G_NEG", -5);
    EXPECT_TRUE(Dic().GeneratorExists("g_orders"));
    EXPECT_TRUE(Dic().GeneratorExists("G_ZERO"));
    EXPECT_EQ(Dic().GeneratorNext("G_ORDERS"), 11);
    EXPECT_EQ(Dic().GeneratorNext("G_ORDERS", 5), 16);
    EXPECT_EQ(Dic().GeneratorNext("G_ORDERS", 1), 17);
    EXPECT_EQ(Dic().GeneratorNext("G_ZERO"), 1);  // generators are independent
    EXPECT_EQ(Dic().GeneratorNext("G_NEG", 2), -3);
    // A generator is no table or view.
    EXPECT_FALSE(Dic().ViewExists("G_ORDERS"));
    EXPECT_FALSE(Db().TableExists("G_ORDERS"));

    Dic().DropGenerator("G_ORDERS");
    EXPECT_FALSE(Dic().GeneratorExists("G_ORDERS"));
    EXPECT_TRUE(Dic().GeneratorExists("G_ZERO"));
    EXPECT_THROW(Dic().GeneratorNext("G_ORDERS"), EDatabaseError);
    Dic().DropGenerator("G_ORDERS");  // dropping what is gone is no error
    // Created again, it starts afresh.
    Dic().CreateGenerator("G_ORDERS", 100);
    EXPECT_EQ(Dic().GeneratorNext("G_ORDERS"), 101);
}

TEST_P(DbObjectsTest, ViewsAreCreatedQueriedAndDropped) {
    Db().ExecDirect("CREATE TABLE NUMS (N INTEGER)");
    Db().ExecDirect("INSERT INTO NUMS VALUES (1)");
    Db().ExecDirect("INSERT INTO NUMS VALUES (2)");
    EXPECT_FALSE(Dic().ViewExists("V_BIG"));
    Dic().CreateView("V_BIG", "SELECT N FROM NUMS WHERE N > 1 -- ':x'");
    EXPECT_TRUE(Dic().ViewExists("v_big"));
    EXPECT_FALSE(Dic().ViewExists("NUMS"));  // a table is no view
    EXPECT_FALSE(Db().TableExists("V_BIG"));
    EXPECT_EQ(CountRows("V_BIG"), 1);
    Db().ExecDirect("INSERT INTO NUMS VALUES (3)");
    EXPECT_EQ(CountRows("V_BIG"), 2);
    EXPECT_THROW(Dic().CreateView("V_BIG", "SELECT 1"), EDatabaseError);
    Dic().DropView("V_BIG");
    EXPECT_FALSE(Dic().ViewExists("V_BIG"));
    EXPECT_EQ(CountRows("NUMS"), 3);
}

TEST_P(DbObjectsTest, StoredProceduresWhereTheEngineHasThemAndAClearRefusalElsewhere) {
    Db().ExecDirect("CREATE TABLE LOG_ROWS (N INTEGER)");
    if (!FDb->IsPostgres()) {
        EXPECT_FALSE(Dic().SupportsStoredProcedures());
        const QString error = ErrorOf<ENotSupportedError>(
            [&] { Dic().CreateStoredProc("CREATE PROCEDURE P_ADD() AS SELECT 1"); });
        EXPECT_TRUE(
            error.contains("Stored procedures are not supported by the database " + Alias()))
            << qPrintable(error);
        EXPECT_THROW(Dic().DropStoredProc("P_ADD", false), ENotSupportedError);
        EXPECT_FALSE(Dic().ExecStoredProcExists("P_ADD"));
        EXPECT_FALSE(Dic().SelectStoredProcExists("P_ADD"));
        return;
    }
    EXPECT_TRUE(Dic().SupportsStoredProcedures());
    Dic().CreateStoredProc(
        "CREATE PROCEDURE P_ADD(a integer) LANGUAGE plpgsql AS $$ BEGIN "
        "INSERT INTO LOG_ROWS VALUES (a); INSERT INTO LOG_ROWS VALUES (a::integer + 1); END $$");
    Dic().CreateStoredProc(
        "CREATE FUNCTION P_LIST() RETURNS SETOF integer LANGUAGE sql AS "
        "$body$ SELECT N FROM LOG_ROWS WHERE ':n' <> '' ORDER BY N $body$");
    EXPECT_TRUE(Dic().ExecStoredProcExists("p_add"));
    EXPECT_FALSE(Dic().SelectStoredProcExists("P_ADD"));
    EXPECT_TRUE(Dic().SelectStoredProcExists("P_LIST"));
    EXPECT_FALSE(Dic().ExecStoredProcExists("P_LIST"));

    TExecQuery call(Db(), "CALL P_ADD(CAST(:a AS integer))");
    call.ParamByName("a").SetValue(5);
    call.Execute();
    EXPECT_EQ(CountRows("P_LIST()"), 2);

    Dic().DropStoredProc("P_ADD", false);
    Dic().DropStoredProc("P_LIST", true);
    EXPECT_FALSE(Dic().ExecStoredProcExists("P_ADD"));
    EXPECT_FALSE(Dic().SelectStoredProcExists("P_LIST"));
}

PELVAR_ENGINE_TESTS(DbObjectsTest);

}  // namespace
