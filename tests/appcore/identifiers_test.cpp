#include <gtest/gtest.h>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "basekit/datatypes.h"
#include "testenv.h"

namespace {

class IdentifierTest : public TEngineTest {
  protected:
    // A table whose fields, comment and indexes all carry the hostile spellings.
    static TDicTableDescription HostileTable(const QString& name) {
        TDicTableDescription d;
        d.Name = name;
        d.AddField("ID", dtInteger, 4);
        d.AddField("\"Q\"UOTE'S", dtString, 10, "what? it's 50% done; -- :x");
        d.AddField("СЛОВО", dtString, 20);
        d.AddField("OFFSET", dtInteger, 4);
        d.AddField("X?Y", dtInteger, 4);
        d.AddField("F;G", dtString, 5);
        d.AddField("P%_1", dtInteger, 4);
        d.AddIndex(name + "_PK", {"ID"}, true, true);
        d.AddIndex(name + " ix;?", {"F;G", "X?Y"}, true);
        return d;
    }
};

TEST_P(IdentifierTest, HostileTableNamesAreCreatedDescribedReplacedAndDropped) {
    TDictionary dic(Alias());
    // A table whose name matches "T_1" and "T%" as search patterns, made first.
    TDicTableDescription decoy;
    decoy.Name = "TX1";
    decoy.AddField("DECOY", dtInteger, 4);
    dic.CreateTableByDef(decoy, QString(), false);

    const QStringList names = {"T_1",     "COMMIT",     "ALTER", "ADD", "CAST", "ONLY", "ТАБЛИЦА",
                               "Таблица", "IT'S \"Q\"", "WHAT?", "A;B", "50%",  "B\\_%"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const TDicTableDescription want = HostileTable(name);
        ASSERT_NO_THROW(dic.CreateTableByDef(want, QString(), false));
        EXPECT_TRUE(Db().TableExists(name));
        // The replace finds the table it created, so it drops it first.
        ASSERT_NO_THROW(dic.CreateTableByDef(want, QString(), true));

        TDicTableDescription back;
        ASSERT_TRUE(dic.GetTableInfo(name, back));
        ASSERT_EQ(back.Fields.size(), want.Fields.size());
        for (int i = 0; i < want.Fields.size(); ++i)
            EXPECT_EQ(back.Fields[i].Name, want.Fields[i].Name);
        ASSERT_NE(back.PrimaryIndex(), nullptr);
        bool indexFound = false;
        for (const auto& idx : back.Indexes)
            indexFound = indexFound || idx.Fields == QStringList({"F;G", "X?Y"});
        EXPECT_TRUE(indexFound);

        // Rows go in and come back through parameters beside the hostile names.
        TExecQuery ins(Db(), QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (:id, :q)")
                                 .arg(Db().Dialect().Ident(name), Db().Dialect().Ident("ID"),
                                      Db().Dialect().Ident("\"Q\"UOTE'S")));
        ins.ParamByName("id").SetValue(7);
        ins.ParamByName("q").SetValue("?");
        EXPECT_EQ(ins.Execute(), 1);

        Db().ExecDirect(Db().Dialect().DropTableStatement(name));
        EXPECT_FALSE(Db().TableExists(name));
        EXPECT_FALSE(dic.GetTableInfo(name, back));
    }
    // Wildcards in a name match nothing but themselves.
    TDicTableDescription back;
    EXPECT_FALSE(Db().TableExists("T_1"));
    EXPECT_FALSE(Db().TableExists("T%"));
    EXPECT_FALSE(dic.GetTableInfo("T%", back));
    EXPECT_FALSE(dic.GetTableInfo("T_1", back));
    ASSERT_TRUE(dic.GetTableInfo("tx1", back));
    EXPECT_EQ(back.Fields.size(), 1);
    // Like the engines, lookups ignore the case of ASCII letters only.
    EXPECT_TRUE(Db().TableExists("Tx1"));
    decoy.Name = "ДРУГАЯ";
    dic.CreateTableByDef(decoy, QString(), false);
    EXPECT_TRUE(Db().TableExists("ДРУГАЯ"));
    EXPECT_FALSE(Db().TableExists("Другая"));
    EXPECT_FALSE(dic.GetTableInfo("Другая", back));
}

TEST_P(IdentifierTest, GeneratorsWithQuotesInTheirNamesCountAndDrop) {
    TDicDatabase& dic = DicDBContainer().GetDicDatabase(Alias());
    for (const QString name : {"GEN'S", "\"G\" ?;", "ГЕН", "G%2_"}) {
        SCOPED_TRACE(name.toStdString());
        dic.CreateGenerator(name, 10);
        EXPECT_TRUE(dic.GeneratorExists(name));
        EXPECT_EQ(dic.GeneratorNext(name), 11);
        EXPECT_EQ(dic.GeneratorNext(name, 5), 16);
        dic.DropGenerator(name);
        EXPECT_FALSE(dic.GeneratorExists(name));
    }
}

PELVAR_ENGINE_TESTS(IdentifierTest);

}  // namespace
