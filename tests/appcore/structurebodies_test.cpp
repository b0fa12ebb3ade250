#include "appcore/structurebodies.h"

#include <gtest/gtest.h>

#include "basekit/datatypes.h"
#include "errorof.h"
#include "printers.h"

namespace {

TDicTableDescription Clients() {
    TDicTableDescription t;
    t.Name = "CLIENTS";
    t.AddField("ID", dtAutoInc, 4).Required = true;
    t.AddField("NAME", dtWideString, 80, "Имя; \"quoted\"").Required = true;
    t.AddField("NOTE", dtMemo, 0);
    t.AddField("PHOTO", dtGraphic, 0, "picture");
    // Index field lists are stored as one text: fields with ";" and "\\" stay whole.
    t.AddField("A;B", dtInteger, 4, "a;b");
    t.AddField(";", dtInteger, 4);
    t.AddField("D\\;", dtInteger, 4);
    t.AddField("E\\F", dtInteger, 4);
    t.AddIndex("CLIENTS_PK", {"ID"}, true, true);
    t.AddIndex("CLIENTS_BY_NAME", {"NAME", "ID"}, true);
    t.AddIndex("CLIENTS_NOTE", {"NOTE"});
    t.AddIndex("CLIENTS_ODD", {"A;B", "ID", ";", "D\\;", "E\\F"});
    return t;
}

void ExpectSameTable(const TDicTableDescription& got, const TDicTableDescription& want) {
    EXPECT_EQ(got.Name, want.Name);
    ASSERT_EQ(got.Fields.size(), want.Fields.size());
    for (int i = 0; i < want.Fields.size(); ++i) {
        const auto &g = got.Fields[i], &w = want.Fields[i];
        EXPECT_EQ(g.Name, w.Name);
        EXPECT_EQ(g.DataType, w.DataType) << qPrintable(w.Name);
        EXPECT_EQ(g.Size, w.Size) << qPrintable(w.Name);
        EXPECT_EQ(g.Required, w.Required) << qPrintable(w.Name);
        EXPECT_EQ(g.Comment, w.Comment) << qPrintable(w.Name);
    }
    ASSERT_EQ(got.Indexes.size(), want.Indexes.size());
    for (int i = 0; i < want.Indexes.size(); ++i) {
        const auto &g = got.Indexes[i], &w = want.Indexes[i];
        EXPECT_EQ(g.Name, w.Name);
        EXPECT_EQ(g.Fields, w.Fields) << qPrintable(w.Name);
        EXPECT_EQ(g.Unique, w.Unique) << qPrintable(w.Name);
        EXPECT_EQ(g.Primary, w.Primary) << qPrintable(w.Name);
    }
}

TEST(StructureBodiesTest, ATableDescriptionSurvivesTheBodyAndItsStoredBytes) {
    const TDicTableDescription clients = Clients();
    const TDSPNode body = MakeTableStructure("Clients structure", clients);
    ExpectSameTable(TableFromStructure(body, QString()), clients);
    // Bodies are stored as bytes: the description comes back from them too.
    const TDSPNode stored = TDSPNode::FromBytes(body.ToBytes(), "structure Clients");
    ExpectSameTable(TableFromStructure(stored, QString()), clients);

    // A table name given by the caller wins; without a table name in the body
    // the structure's name is the table's.
    EXPECT_EQ(TableFromStructure(stored, "COPY").Name, "COPY");
    TDSPNode unnamed = body;
    unnamed.SetProperty("TableName", QString());
    EXPECT_EQ(TableFromStructure(unnamed, QString()).Name, "Clients structure");

    // A table without indexes needs no "Indexes" node.
    TDSPNode noIndexes("BARE");
    noIndexes.AddNode("Fields").AddNode("A").SetProperty("DataType", qlonglong(dtInteger));
    const TDicTableDescription bare = TableFromStructure(noIndexes, QString());
    ASSERT_EQ(bare.Fields.size(), 1);
    EXPECT_EQ(bare.Fields[0].DataType, dtInteger);
    EXPECT_FALSE(bare.Fields[0].Required);
    EXPECT_TRUE(bare.Indexes.isEmpty());

    // Bodies written before fields could hold ";" still read.
    TDSPNode old = body;
    old.FindNode("Indexes")->Node(3).SetProperty("Fields", "ID;E\\F;");
    EXPECT_EQ(TableFromStructure(old, "T").Indexes[3].Fields, QStringList({"ID", "E\\F"}));
}

TEST(StructureBodiesTest, ADamagedTableBodyRaisesAnErrorNamingWhatIsWrong) {
    const TDSPNode good = MakeTableStructure("S1", Clients());

    TDSPNode noFields("S1");
    noFields.SetProperty("TableName", "CLIENTS");
    EXPECT_TRUE(ErrorOf<EDSPError>([&] {
                    TableFromStructure(noFields, QString());
                }).contains("S1 describes no fields"));
    TDSPNode emptyFields = noFields;
    emptyFields.AddNode("Fields");
    EXPECT_TRUE(ErrorOf<EDSPError>([&] {
                    TableFromStructure(emptyFields, QString());
                }).contains("S1 describes no fields"));

    for (const QVariant& type : {QVariant(qlonglong(kDataTypeCount)), QVariant(qlonglong(-1)),
                                 QVariant("text"), QVariant()}) {
        TDSPNode badType = good;
        TDSPNode& name = badType.Node(0).Node(1);
        if (type.isValid())
            name.SetProperty("DataType", type);
        else
            name.RemoveProperty("DataType");
        const QString error = ErrorOf<EDSPError>([&] { TableFromStructure(badType, QString()); });
        EXPECT_TRUE(error.contains("Field NAME of table structure S1")) << qPrintable(error);
    }

    TDSPNode badIndex = good;
    badIndex.Node(1).Node(1).SetProperty("Fields", "NAME;GONE");
    const QString error = ErrorOf<EDSPError>([&] { TableFromStructure(badIndex, QString()); });
    EXPECT_TRUE(error.contains("CLIENTS_BY_NAME")) << qPrintable(error);
    EXPECT_TRUE(error.contains("S1")) << qPrintable(error);
    EXPECT_TRUE(error.contains("GONE")) << qPrintable(error);
}

}  // namespace
