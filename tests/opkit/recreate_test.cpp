#include <gtest/gtest.h>

#include <QCryptographicHash>

#include "basekit/datatypes.h"
#include "dspfixture.h"
#include "errorof.h"
#include "opkit/dspoperations.h"
#include "opkit/dsprecreate.h"
#include "opkit/procname.h"

namespace {

class RecreateTest : public DSPOpTest {
  protected:
    // A table of every field type, stored as the structure `name`.
    TDicTableDescription EveryType(const QString& name) {
        TDicTableDescription t;
        t.Name = name;
        t.AddField("ID", dtAutoInc, 0);
        for (int type = 0; type < kDataTypeCount; ++type)
            if (type != dtAutoInc)
                t.AddField("F_" + DataTypeName(type).toUpper(), type,
                           IsTextDataType(type) ? 30 : 0);
        t.Fields[1].Comment = "a 'quoted' comment";
        t.AddIndex(name + "_PK", {"ID"}, true, true);
        t.AddIndex(name + "_BY_INT", {"F_INTEGER"});
        return t;
    }
    void Store(const TDicTableDescription& t) {
        Put(t.Name, otTable, MakeTableStructure(t.Name, t).ToBytes());
    }
    TOperationResult Recreate(TUORecreateTable& op, const QString& name) {
        op.TableName = name;
        op.SetSourceAlias(Alias());
        return ExecuteUtilOperation(op, "Recreating");
    }
    QString Ident(const QString& n) { return Db().Dialect().Ident(n); }
    // A hash of the column's values in key order, so a lost or changed byte shows.
    QByteArray Digest(const QString& table, const QString& column) {
        TSelectQuery q(Db(), QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                 .arg(Ident(column), Ident(table), Ident("ID")));
        q.Open();
        QCryptographicHash h(QCryptographicHash::Md5);
        for (; !q.Eof(); q.Next())
            h.addData(q.Fields().GetFields(0).AsBinary() + "|");
        return h.result();
    }
};

TEST_P(RecreateTest, EveryTypeCreatedThenRecreatedKeepingEveryRowAndBlob) {
    TDicTableDescription t = EveryType("ALL_TYPES");
    Store(t);
    TUORecreateTable create;
    ASSERT_TRUE(Recreate(create, "ALL_TYPES").Completed)
        << create.Errors().join("\n").toStdString();
    ASSERT_TRUE(Db().TableExists("ALL_TYPES"));

    // 10,000 rows; every 500th carries a BLOB of every byte value.
    QByteArray blob;
    for (int i = 0; i < 70000; ++i)
        blob += char(i % 256);
    Db().StartTransaction();
    TExecQuery ins(
        Db(), QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES (:i, :s, :b)")
                  .arg(Ident("ALL_TYPES"), Ident("F_INTEGER"), Ident("F_STRING"), Ident("F_BLOB")));
    for (int i = 1; i <= 10000; ++i) {
        ins.ParamByName("i").SetValue(i);
        ins.ParamByName("s").SetValue(QStringLiteral("row %1 ж'\"").arg(i));
        if (i % 500 == 0)
            ins.ParamByName("b").SetValue(TQXVariant(blob + QByteArray::number(i)));
        else
            ins.ParamByName("b").SetNull(dtBlob);
        ins.Execute();
    }
    Db().Commit();
    const QByteArray blobs = Digest("ALL_TYPES", "F_BLOB");
    const QByteArray texts = Digest("ALL_TYPES", "F_STRING");

    // Add a field, rename F_STRING to TITLE, drop F_MEMO, turn F_INTEGER into text.
    t.Fields.append(TDicFieldDescription{"ADDED", dtInteger, 0, false, {}, 0, "7"});
    for (auto& f : t.Fields)
        if (f.Name == "F_STRING") f.Name = "TITLE";
    t.Fields.removeIf([](const TDicFieldDescription& f) { return f.Name == "F_MEMO"; });
    for (auto& f : t.Fields)
        if (f.Name == "F_INTEGER") {
            f.DataType = dtString;
            f.Size = 20;
        }
    Store(t);
    TUORecreateTable op;
    TDicTableDescription old;
    ASSERT_TRUE(Db().DescribeTable("ALL_TYPES", old));
    op.FieldPairs = DefaultFieldPairs(old, t);
    op.FieldPairs.append(TRecreateFieldPair{"F_STRING", "TITLE"});
    ASSERT_TRUE(Recreate(op, "ALL_TYPES").Completed) << op.Errors().join("\n").toStdString();

    EXPECT_EQ(Count("ALL_TYPES"), 10000);
    EXPECT_EQ(Digest("ALL_TYPES", "F_BLOB"), blobs);
    EXPECT_EQ(Digest("ALL_TYPES", "TITLE"), texts);
    TDicTableDescription now;
    ASSERT_TRUE(Db().DescribeTable("ALL_TYPES", now));
    EXPECT_FALSE(now.FindField("F_MEMO"));
    EXPECT_TRUE(IsTextDataType(now.FindField("F_INTEGER")->DataType));
    TSelectQuery q(Db(),
                   QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 = 77")
                       .arg(Ident("F_INTEGER"), Ident("ADDED"), Ident("ALL_TYPES"), Ident("ID")));
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.Fields().GetFields(0).AsString(), "77");
    EXPECT_EQ(q.Fields().GetFields(1).AsInteger(), 7);  // the new field's default
    // The index names were free again, and the auto-increment goes on after the rows.
    EXPECT_TRUE(Db().TableExists("ALL_TYPES"));
    EXPECT_FALSE(Db().TableExists("ALL_TYPES_OLD"));
    TExecQuery(Db(), QStringLiteral("INSERT INTO %1 (%2) VALUES ('new')")
                         .arg(Ident("ALL_TYPES"), Ident("TITLE")))
        .Execute();
    EXPECT_EQ(Count("ALL_TYPES"), 10001);
}

TEST_P(RecreateTest, FailedRecreateLeavesTheOldTableWithEveryRow) {
    PutTable(kQuoted, 5);  // ID, TITLE; a name that quoting must survive
    TExecQuery(Db(), "UPDATE " + Ident(kQuoted) + " SET TITLE = ' 10 '").Execute();
    TExecQuery(Db(), "UPDATE " + Ident(kQuoted) + " SET TITLE = NULL WHERE ID = 4").Execute();
    TExecQuery(Db(), "UPDATE " + Ident(kQuoted) + " SET TITLE = 'x1' WHERE ID = 2").Execute();
    TDicTableDescription t;
    t.Name = kQuoted;
    t.AddField("ID", dtInteger, 0).Required = true;
    t.AddField("TITLE", dtString, 40).Required = true;
    t.AddIndex(kQuoted + "_PK", {"ID"}, true, true);
    Store(t);
    TUORecreateTable required;
    TOperationResult r = Recreate(required, kQuoted);
    ASSERT_EQ(r.Errors.size(), 1);
    EXPECT_TRUE(r.Errors[0].contains("TITLE is required")) << r.Errors[0].toStdString();
    EXPECT_TRUE(r.Errors[0].contains("ID = 4")) << r.Errors[0].toStdString();
    EXPECT_EQ(Count(kQuoted), 5);

    // Text that is no number can not become one: the first such row is named.
    t.Fields[1].Required = false;
    t.Fields[1].DataType = dtInteger;
    Store(t);
    TUORecreateTable convert;
    r = Recreate(convert, kQuoted);
    ASSERT_EQ(r.Errors.size(), 1);
    EXPECT_TRUE(r.Errors[0].contains("can not take the value 'x1'")) << r.Errors[0].toStdString();
    EXPECT_TRUE(r.Errors[0].contains("ID = 2")) << r.Errors[0].toStdString();

    // A failure inside the engine, after the old table was moved: all rolled back.
    t.Fields[1].DataType = dtString;
    t.AddIndex("DUP", {"TITLE"}, true);
    TExecQuery(Db(), "UPDATE " + Ident(kQuoted) + " SET TITLE = 'same' WHERE ID < 3").Execute();
    Store(t);
    TUORecreateTable unique;
    EXPECT_FALSE(Recreate(unique, kQuoted).Errors.isEmpty());
    EXPECT_EQ(Count(kQuoted), 5);
    TDicTableDescription old;
    ASSERT_TRUE(Db().DescribeTable(kQuoted, old));
    EXPECT_EQ(old.Indexes.size(), 2);  // its key and its own index, untouched
    EXPECT_FALSE(Db().TableExists(kQuoted + "_OLD"));

    // "$" and "." structures never get a table; a field named twice is refused.
    for (const QString& name : {QString("ORD$1"), QString("S.ORD")}) {
        TUORecreateTable op;
        EXPECT_FALSE(Recreate(op, name).Errors.isEmpty());
        EXPECT_FALSE(Db().TableExists(name));
    }
    t.AddField("id", dtInteger, 0);
    Store(t);
    TUORecreateTable twice;
    r = Recreate(twice, kQuoted);
    ASSERT_EQ(r.Errors.size(), 1);
    EXPECT_TRUE(r.Errors[0].contains("twice")) << r.Errors[0].toStdString();
    EXPECT_EQ(Count(kQuoted), 5);
}

TEST_P(RecreateTest, ViewsGeneratorsAndProceduresFromTheirStructures) {
    PutTable("ORDERS", 3);
    Put("V_ORD", otView, MakeSqlStructure("V_ORD", "SELECT ID FROM ORDERS").ToBytes());
    TUORecreateView view;
    view.ObjectName = "V_ORD";
    view.SetSourceAlias(Alias());
    ASSERT_TRUE(ExecuteUtilOperation(view, "v").Errors.isEmpty()) << view.Errors()[0].toStdString();
    EXPECT_EQ(Count("V_ORD"), 3);
    // A syntax error: the engine's message, and the old view stays.
    Put("V_ORD", otView, MakeSqlStructure("V_ORD", "SELEC ID FROM ORDERS").ToBytes());
    TOperationResult r = ExecuteUtilOperation(view, "v");
    ASSERT_EQ(r.Errors.size(), 1);
    EXPECT_TRUE(r.Errors[0].contains("V_ORD")) << r.Errors[0].toStdString();
    EXPECT_TRUE(Dic().ViewExists("V_ORD"));
    EXPECT_EQ(Count("V_ORD"), 3);

    Put("G1", otGenerator, MakeGeneratorStructure("G1", 100).ToBytes());
    TUORecreateGenerators gens;
    gens.SetObjectNames({"G1", "G$2"});
    gens.SetSourceAlias(Alias());
    ASSERT_TRUE(ExecuteUtilOperation(gens, "g").Errors.isEmpty());
    EXPECT_EQ(Dic().GeneratorNext("G1", 5), 105);
    ASSERT_TRUE(ExecuteUtilOperation(gens, "g").Errors.isEmpty());  // keeps its value
    EXPECT_EQ(Dic().GeneratorNext("G1", 1), 106);
    EXPECT_FALSE(Dic().GeneratorExists("G$2"));

    const QString body = "CREATE PROCEDURE p_touch() LANGUAGE SQL AS $$ SELECT 1 $$";
    Put("P_TOUCH", otExecStoredProc, MakeSqlStructure("P_TOUCH", body).ToBytes());
    Put("P_OTHER", otExecStoredProc, MakeSqlStructure("P_OTHER", body).ToBytes());
    TUORecreateExecStoredProc proc;
    proc.ObjectName = "P_TOUCH";
    proc.SetSourceAlias(Alias());
    r = ExecuteUtilOperation(proc, "p");
    if (FDb->IsPostgres()) {
        EXPECT_TRUE(r.Errors.isEmpty()) << r.Errors.join("\n").toStdString();
        EXPECT_TRUE(Dic().ExecStoredProcExists("P_TOUCH"));
        ASSERT_TRUE(ExecuteUtilOperation(proc, "p").Errors.isEmpty());  // replaced
        // A text that creates another procedure does not pass for P_OTHER.
        proc.ObjectName = "P_OTHER";
        EXPECT_EQ(ExecuteUtilOperation(proc, "p").Errors.size(), 1);
        EXPECT_FALSE(Dic().ExecStoredProcExists("P_OTHER"));
    } else {
        ASSERT_EQ(r.Errors.size(), 1);
        EXPECT_TRUE(r.Errors[0].contains("not supported")) << r.Errors[0].toStdString();
    }
}

TEST(StoredProcName, TheNameAfterCreateIsReplacedAndNothingElse) {
    EXPECT_EQ(WithStoredProcName("CREATE PROCEDURE p_old() AS $$ p_old $$", "\"p_new\""),
              "CREATE PROCEDURE \"p_new\"() AS $$ p_old $$");
    EXPECT_EQ(WithStoredProcName("/* a (b) */ -- c\ncreate\n or  Replace FUNCTION public . "
                                 "\"O\"\"ld\" (a INT)",
                                 "n"),
              "/* a (b) */ -- c\ncreate\n or  Replace FUNCTION public . n (a INT)");
    EXPECT_EQ(WithStoredProcName("/* /* nested */ */CREATE FUNCTION \"s\".f$1()", "g"),
              "/* /* nested */ */CREATE FUNCTION \"s\".g()");
    for (const char* none :
         {"SELECT 1", "CREATE TABLE t (a INT)", "CREATE OR FUNCTION f()", "CREATE FUNCTION \"f()",
          "CREATE FUNCTION f", "CREATE FUNCTION ()", "CREATE FUNCTION s.()", ""})
        EXPECT_EQ(WithStoredProcName(none, "g"), QString()) << none;
}

TEST_P(RecreateTest, ProceduresInTheDatabaseAreCopiedUnderANewName) {
    if (!FDb->IsPostgres()) GTEST_SKIP() << "SQLite has no stored procedures";
    PutTable("ORDERS", 3);
    Put("P_EXEC", otExecStoredProc,
        MakeSqlStructure("P_EXEC",
                         "CREATE OR REPLACE PROCEDURE P_Exec(n INTEGER) "
                         "LANGUAGE SQL AS $$ DELETE FROM orders WHERE id = n $$")
            .ToBytes());
    Put("P_SEL", otSelectStoredProc,
        MakeSqlStructure("P_SEL",
                         "CREATE FUNCTION \"p_sel\"() RETURNS TABLE (id INTEGER) "
                         "LANGUAGE SQL AS $$ SELECT id FROM orders $$")
            .ToBytes());
    for (auto [name, type] : {std::pair{QString("P_EXEC"), int(otExecStoredProc)},
                              {QString("P_SEL"), int(otSelectStoredProc)}}) {
        SCOPED_TRACE(name.toStdString());
        std::unique_ptr<TUORecreateDBObjects> create;
        if (type == otExecStoredProc)
            create = std::make_unique<TUORecreateExecStoredProc>();
        else
            create = std::make_unique<TUORecreateSelectStoredProc>();
        create->ObjectName = name;
        create->SetSourceAlias(Alias());
        ASSERT_TRUE(ExecuteUtilOperation(*create, "p").Errors.isEmpty());
        TUOCopyDSPObject copy;
        copy.CreateDBObject = copy.CopyTableData = true;
        copy.SourceName = name;
        copy.TargetName = name + "_NEW";
        copy.SourceType = copy.TargetType = type;
        copy.SetSourceAlias(Alias());
        copy.SetTargetAlias(Alias());
        ASSERT_TRUE(ExecuteUtilOperationDirect(copy)) << copy.Errors().join("\n").toStdString();
        const bool select = type == otSelectStoredProc;
        EXPECT_TRUE(select ? Dic().SelectStoredProcExists(name + "_NEW")
                           : Dic().ExecStoredProcExists(name + "_NEW"));
        EXPECT_TRUE(select ? Dic().SelectStoredProcExists(name) : Dic().ExecStoredProcExists(name));
        // The copied structure names its own procedure: it recreates as itself.
        create->ObjectName = name + "_NEW";
        EXPECT_TRUE(ExecuteUtilOperation(*create, "p").Errors.isEmpty());
        // A second copy onto the existing name is refused, the procedure kept.
        EXPECT_FALSE(ExecuteUtilOperationDirect(copy));
    }
    Db().ExecDirect("CALL p_exec_new(2)");
    EXPECT_EQ(Count("ORDERS"), 2);
    TSelectQuery q(Db(), "SELECT COUNT(*) FROM p_sel_new()");
    q.Open();
    EXPECT_EQ(q.Fields().GetFields(0).AsInteger(), 2);
}

TEST_P(RecreateTest, CancelLockAndHostileDefaultsLeaveTheDatabaseAsItWas) {
    PutTable("T", 50);
    TDicTableDescription t;
    t.Name = "T";
    t.AddField("ID", dtInteger, 0);
    t.AddField("TITLE", dtMemo, 0);
    t.AddField("NOTE", dtString, 60).Default = "x'); DROP TABLE T; --";
    t.AddIndex("T_PK", {"ID"}, true, true);
    Store(t);

    // A cancel after the rows moved: everything rolled back, DDL included.
    Script().CancelProgressAfter(1);
    TUORecreateTable cancelled;
    EXPECT_TRUE(Recreate(cancelled, "T").Cancelled);
    TDicTableDescription now;
    ASSERT_TRUE(Db().DescribeTable("T", now));
    EXPECT_FALSE(now.FindField("NOTE"));
    EXPECT_EQ(Count("T"), 50);

    // A table another connection holds: an error after a bounded wait.
    TDatabase other("OTHER", Db().DataSource());
    other.Connect(FDb->User(), FDb->Password());
    other.StartTransaction();
    other.ExecDirect(FDb->IsPostgres() ? "LOCK TABLE " + Ident("T") + " IN ACCESS EXCLUSIVE MODE"
                                       : "UPDATE " + Ident("T") + " SET TITLE = 'held'");
    TUORecreateTable locked;
    EXPECT_EQ(Recreate(locked, "T").Errors.size(), 1);
    other.Rollback();
    other.Disconnect();
    EXPECT_EQ(Count("T"), 50);

    // The default is a value, never SQL.
    TUORecreateTable done;
    ASSERT_TRUE(Recreate(done, "T").Errors.isEmpty()) << done.Errors().join("\n").toStdString();
    TExecQuery(Db(), "INSERT INTO " + Ident("T") + " (ID) VALUES (99)").Execute();
    TSelectQuery q(Db(), "SELECT NOTE FROM " + Ident("T") + " WHERE ID = 99");
    q.Open();
    EXPECT_EQ(q.Fields().GetFields(0).AsString(), "x'); DROP TABLE T; --");
    EXPECT_EQ(Count("T"), 51);
}

PELVAR_ENGINE_TESTS(RecreateTest);

}  // namespace
