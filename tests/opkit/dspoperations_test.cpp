#include <gtest/gtest.h>

#include "basekit/datatypes.h"
#include "dspfixture.h"

namespace {

class DSPDeleteTest : public DSPOpTest {
  protected:
    // Five structures of which the table, the view, the generator and the
    // form own something besides their row.
    void Fill() {
        PutTable(kDollar, 3);
        Put("V_ORD", otView, MakeSqlStructure("V_ORD", "SELECT 1 AS N").ToBytes());
        Dic().CreateView("V_ORD", "SELECT 1 AS N");
        Put("G_ORD", otGenerator, MakeGeneratorStructure("G_ORD", 5).ToBytes());
        Dic().CreateGenerator("G_ORD", 5);
        PutForm(kQuoted);
        Put(kQuoted, otParams, "{}");  // a form's name, but no form: owns no texts
        const QList<std::pair<QString, int>> items = {{kDollar, otTable},
                                                      {"V_ORD", otView},
                                                      {"G_ORD", otGenerator},
                                                      {kQuoted, otForm},
                                                      {kQuoted, otParams}};
        for (const auto& [name, type] : items)
            Op.Items.AddCopy(Item(name, type));
        Op.SetSourceAlias(Alias());
        Op.DeleteDBObjects = true;
        Op.DeleteLocalResources = true;
    }
    void ExpectAllThere() {
        EXPECT_EQ(StoredStructures(), 5);
        // The cache was told: it shows the database, not the rolled back deletes.
        TDSPList list;
        Dsp().FillStructuresList(0, list);
        EXPECT_EQ(list.Count(), 5);
        EXPECT_TRUE(Db().TableExists(kDollar));
        EXPECT_EQ(Count(kDollar), 3);
        EXPECT_TRUE(Dic().ViewExists("V_ORD"));
        EXPECT_TRUE(Dic().GeneratorExists("G_ORD"));
        EXPECT_EQ(Sections(kQuoted), QStringList({"ENGLISH", "RUSSIAN"}));
    }
    TUODeleteDSPObjects Op;
};

TEST_P(DSPDeleteTest, SeveralStructuresGoTogetherOrNotAtAll) {
    Fill();
    // A failure at the third structure: a window that hears of the deletes throws.
    int deletes = 0;
    TDSPNotifier failing([&](int kind, const QString& name, int) {
        if (kind == dckDeleted && ++deletes == 3) throw EDSPError("listener failed at " + name);
    });
    failing.SubscribeAlias(Alias());
    TOperationResult result = ExecuteUtilOperation(Op, "Deleting");
    EXPECT_FALSE(result.Completed);
    ASSERT_EQ(result.Errors.size(), 1);
    EXPECT_TRUE(result.Errors[0].contains("'G_ORD' (type 71)")) << result.Errors[0];
    EXPECT_TRUE(result.Errors[0].contains("listener failed at G_ORD")) << result.Errors[0];
    ExpectAllThere();
    failing.Remove();

    // A cancel after two structures.
    Script().CancelProgressAfter(2);
    result = ExecuteUtilOperation(Op, "Deleting");
    EXPECT_TRUE(result.Cancelled);
    ExpectAllThere();

    // Without either, everything goes, with progress per structure.
    result = ExecuteUtilOperation(Op, "Deleting");
    EXPECT_TRUE(result.Completed);
    EXPECT_TRUE(result.Errors.isEmpty()) << result.Errors.join("\n").toStdString();
    const auto& log = *Script().Progress.last();
    EXPECT_EQ(log.Statuses.size(), 5);
    EXPECT_EQ(log.LastPosition, 5);
    EXPECT_EQ(log.LastMaximum, 5);
    EXPECT_EQ(StoredStructures(), 0);
    EXPECT_FALSE(Db().TableExists(kDollar));
    EXPECT_FALSE(Dic().ViewExists("V_ORD"));
    EXPECT_FALSE(Dic().GeneratorExists("G_ORD"));
    EXPECT_TRUE(Sections(kQuoted).isEmpty());
}

TEST_P(DSPDeleteTest, TheDatabaseGoneInTheMiddleNamesTheStructureAndKeepsEverything) {
    Fill();
    // The connection closes once the form's texts are deleted, before its row.
    TLocalizatorNotifier closer([&](const QString&, const QString&, bool, int kind) {
        if (kind == lckDeleted) BaseMng().Databases().CloseDatabase(Alias());
    });
    closer.SubscribeAlias(Alias());
    TOperationResult result = ExecuteUtilOperation(Op, "Deleting");
    closer.Remove();
    EXPECT_FALSE(result.Completed);
    ASSERT_EQ(result.Errors.size(), 1);
    EXPECT_TRUE(
        result.Errors[0].contains("Can not delete DSP structure '" + kQuoted + "' (type 12)"))
        << result.Errors[0];
    EXPECT_TRUE(result.Errors[0].contains("not connected")) << result.Errors[0];
    BaseMng().Databases().OpenDataBase(Alias());
    ExpectAllThere();
}

TEST_P(DSPDeleteTest, SingleDeletesTakeWhatTheyAreToldAndNoMore) {
    Fill();
    // The structure row only: the table stays.
    TUODeleteDSPStructure row;
    row.SetSourceAlias(Alias());
    row.Name = kDollar;
    row.ObjectType = otTable;
    EXPECT_TRUE(ExecuteUtilOperationDirect(row));
    EXPECT_FALSE(Dsp().DSPStructureExist(kDollar, otTable));
    EXPECT_TRUE(Db().TableExists(kDollar));

    // Resources go with a form only, not with another kind of the same name.
    TUODeleteDSPObject one;
    one.SetSourceAlias(Alias());
    one.Name = kQuoted;
    one.ObjectType = otParams;
    one.DeleteLocalResources = true;
    one.DeleteDBObject = true;
    EXPECT_TRUE(ExecuteUtilOperationDirect(one));
    EXPECT_FALSE(Dsp().DSPStructureExist(kQuoted, otParams));
    EXPECT_EQ(Sections(kQuoted).size(), 2);
    one.ObjectType = otForm;
    one.DeleteLocalResources = false;
    EXPECT_TRUE(ExecuteUtilOperationDirect(one));
    EXPECT_EQ(Sections(kQuoted).size(), 2);
    // A structure that is not there is no error.
    EXPECT_TRUE(ExecuteUtilOperationDirect(one));

    one.Name = "V_ORD";
    one.ObjectType = otView;
    one.DeleteDBObject = false;
    EXPECT_TRUE(ExecuteUtilOperationDirect(one));
    EXPECT_TRUE(Dic().ViewExists("V_ORD"));
}

PELVAR_ENGINE_TESTS(DSPDeleteTest);

class DSPCopyTest : public DSPOpTest {};

TEST_P(DSPCopyTest, ACopiedStructureKeepsBodyAndPropertiesUnderItsNewNameAndType) {
    const QByteArray body = MakeSqlStructure("P", "SELECT 'ж'").ToBytes() + QByteArray("\0\xff", 2);
    Put("BASE", otPattern, "{}");
    Put(kDollar, otPattern, body, "BASE", "remark ж");
    TUOCopyDSPStructure copy;
    copy.SetSourceAlias(Alias());
    copy.SetTargetAlias(Alias());
    copy.SourceName = kDollar;
    copy.SourceType = otPattern;
    copy.TargetName = kQuoted;
    copy.TargetType = otParams;
    ASSERT_TRUE(ExecuteUtilOperationDirect(copy)) << copy.Errors().join("\n").toStdString();
    EXPECT_EQ(Dsp().GetStructure(kQuoted, otParams), body);
    const TDSPListItem copied = Item(kQuoted, otParams);
    EXPECT_EQ(copied.ParentName, "BASE");
    EXPECT_EQ(copied.Remark, "remark ж");
    EXPECT_EQ(Dsp().GetStructure(kDollar, otPattern), body);  // the source stays

    // Onto itself nothing happens; a missing source is named.
    copy.TargetName = kDollar;
    copy.TargetType = otPattern;
    EXPECT_TRUE(ExecuteUtilOperationDirect(copy));
    copy.SourceName = "ABSENT";
    EXPECT_FALSE(ExecuteUtilOperationDirect(copy));
    ASSERT_EQ(copy.Errors().size(), 1);
    EXPECT_TRUE(copy.Errors()[0].contains("'ABSENT' (type 75) not found")) << copy.Errors()[0];
}

TEST_P(DSPCopyTest, AnObjectCopyWithinOneDatabaseBringsItsTableRowsResourcesAndObjects) {
    PutTable(kDollar, 50, "BY_TITLE");  // an index name that is not the table's
    TUOCopyDSPObject copy;
    copy.SetSourceAlias(Alias());
    copy.SetTargetAlias(Alias());
    copy.SourceName = kDollar;
    copy.SourceType = otTable;
    copy.TargetName = "ORD COPY";
    copy.TargetType = otTable;
    copy.CreateDBObject = true;
    copy.CopyTableData = true;
    TOperationResult result = ExecuteUtilOperation(copy, "Copying");
    ASSERT_TRUE(result.Completed && result.Errors.isEmpty())
        << result.Errors.join("\n").toStdString();
    EXPECT_EQ(Count("ORD COPY"), 50);
    EXPECT_EQ(Count(kDollar), 50);
    TDicTableDescription table;
    ASSERT_TRUE(Db().DescribeTable("ORD COPY", table));
    ASSERT_TRUE(table.PrimaryIndex());
    EXPECT_EQ(table.Indexes.size(), 2);
    // The copy's structure describes the copy's table.
    const TDSPNode body = TDSPNode::FromBytes(Dsp().GetStructure("ORD COPY", otTable));
    EXPECT_EQ(body.Property("TableName").toString(), "ORD COPY");
    // A second copy onto an existing table fails and leaves no structure.
    Dsp().DeleteStructure("ORD COPY", otTable);
    EXPECT_FALSE(ExecuteUtilOperationDirect(copy));
    EXPECT_TRUE(copy.Errors()[0].contains("already exists")) << copy.Errors()[0];
    EXPECT_FALSE(Dsp().DSPStructureExist("ORD COPY", otTable));
    EXPECT_EQ(Count("ORD COPY"), 50);

    // A form with its texts, a view and a generator that goes on from its value.
    PutForm(kQuoted);
    Put("G", otGenerator, MakeGeneratorStructure("G", 1).ToBytes());
    Dic().CreateGenerator("G", 1);
    Dic().GeneratorNext("G", 41);
    Put("V", otView, MakeSqlStructure("V", "SELECT 7 AS N").ToBytes());
    for (auto [from, to, type] : {std::tuple{kQuoted, QString("FORM2"), int(otForm)},
                                  {QString("G"), QString("G2"), int(otGenerator)},
                                  {QString("V"), QString("V2"), int(otView)}}) {
        copy.SourceName = from;
        copy.TargetName = to;
        copy.SourceType = copy.TargetType = type;
        copy.CopyLocalResources = true;
        EXPECT_TRUE(ExecuteUtilOperationDirect(copy)) << copy.Errors().join("\n").toStdString();
    }
    EXPECT_EQ(Loc().GetString("K_FORM2_CAPTION", "RUSSIAN"), "Заказы");
    EXPECT_EQ(Sections("FORM2"), QStringList({"ENGLISH", "RUSSIAN"}));
    EXPECT_EQ(Dic().GeneratorNext("G2"), 43);
    EXPECT_EQ(Count("V2"), 1);

    // A procedure whose CREATE text names it nowhere it can be found: a clear
    // refusal, nothing copied.
    Put("P", otExecStoredProc,
        MakeSqlStructure("P", "SET search_path = x; CREATE PROCEDURE P() ...").ToBytes());
    copy.SourceName = "P";
    copy.TargetName = "P2";
    copy.SourceType = copy.TargetType = otExecStoredProc;
    EXPECT_FALSE(ExecuteUtilOperationDirect(copy));
    EXPECT_TRUE(copy.Errors()[0].contains("can not be changed")) << copy.Errors()[0];
    EXPECT_FALSE(Dsp().DSPStructureExist("P2", otExecStoredProc));
}

PELVAR_ENGINE_TESTS(DSPCopyTest);

}  // namespace
