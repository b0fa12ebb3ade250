// DSP structure lists and bodies, without a database.
#include <gtest/gtest.h>

#include <QDateTime>
#include <limits>

#include "appcore/dsptable.h"
#include "appcore/dsptree.h"
#include "errorof.h"
#include "printers.h"

namespace {

QStringList Names(const TDSPList& list) {
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << QStringLiteral("%1/%2").arg(list.Items(i).Name).arg(list.Items(i).ObjectType);
    return names;
}

TEST(DSPListTest, SortKindsOrderAncestorsBeforeDescendantsForExport) {
    TDSPList list;  // name/type/parent; X and Y are a cycle, which must not hang the sort
    for (const QString entry :
         {"D/10/A", "A/12/", "A/10/C", "B/10/", "C/10/B", "X/10/Y", "Y/10/X", "E/12/MISSING"})
        list.AddCopy({entry.section('/', 0, 0), entry.section('/', 1, 1).toInt(), QString(),
                      entry.section('/', 2)});

    list.Sort(dskByName);
    EXPECT_EQ(Names(list),
              (QStringList{"A/10", "A/12", "B/10", "C/10", "D/10", "E/12", "X/10", "Y/10"}));
    list.Sort(dskByTypeAndName);
    EXPECT_EQ(Names(list),
              (QStringList{"A/10", "B/10", "C/10", "D/10", "X/10", "Y/10", "A/12", "E/12"}));
    list.Sort(dskForExport);
    const QStringList exported = Names(list);
    ASSERT_EQ(exported.size(), 8);
    auto pos = [&](const char* key) { return exported.indexOf(QLatin1String(key)); };
    EXPECT_LT(pos("B/10"), pos("C/10"));
    EXPECT_LT(pos("C/10"), pos("A/10"));
    EXPECT_LT(pos("A/10"), pos("D/10"));
    EXPECT_LT(pos("Y/10"), pos("A/12"));  // types stay together, in type order
    EXPECT_LT(pos("A/12"), pos("E/12"));

    ASSERT_NE(list.Find("A", 12), nullptr);
    EXPECT_EQ(list.Find("A", 12)->ObjectType, 12);
    EXPECT_EQ(list.Find("A", 11), nullptr);
    TDSPList copy;
    copy.Assign(list);
    copy.Delete(0);
    EXPECT_EQ(copy.Count(), 7);
    EXPECT_EQ(list.Count(), 8);
}

void ExpectSameTree(const TDSPNode& a, const TDSPNode& b, const QString& where = QString()) {
    const QString here = where + QLatin1Char('/') + a.Name();
    EXPECT_EQ(a.Name(), b.Name()) << qPrintable(here);
    ASSERT_EQ(a.Properties().size(), b.Properties().size()) << qPrintable(here);
    for (int i = 0; i < a.Properties().size(); ++i) {
        const TDSPProperty &pa = a.Properties()[i], &pb = b.Properties()[i];
        EXPECT_EQ(pa.Name, pb.Name) << qPrintable(here);
        EXPECT_EQ(pa.Value.metaType(), pb.Value.metaType()) << qPrintable(here + "." + pa.Name);
        EXPECT_EQ(pa.Value, pb.Value) << qPrintable(here + "." + pa.Name);
    }
    ASSERT_EQ(a.NodeCount(), b.NodeCount()) << qPrintable(here);
    for (int i = 0; i < a.NodeCount(); ++i)
        ExpectSameTree(a.Node(i), b.Node(i), here);
}

TEST(DSPTreeTest, EveryPropertyTypeSurvivesTheJsonRoundTrip) {
    TDSPNode root("CLIENTS");
    root.SetProperty("Remark", "Клиенты \"quoted\"\n\\");
    root.SetProperty("Empty", QString());
    root.SetProperty("Small", qlonglong(-42));
    root.SetProperty("Big", qlonglong(9007199254740993LL));  // beyond 2^53
    root.SetProperty("Max", std::numeric_limits<qlonglong>::max());
    root.SetProperty("Ratio", 0.1);
    root.SetProperty("Whole", 2.0);
    root.SetProperty("Flag", true);
    root.SetProperty("Off", false);
    root.SetProperty("Stamp", QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 7)));
    root.SetProperty("Data", QByteArray("\x00\x01\xff{}\"", 6));
    root.SetProperty("NoData", QByteArray());
    TDSPNode& fields = root.AddNode("Fields");
    TDSPNode& id = fields.AddNode("ID");
    id.SetProperty("Type", qlonglong(2));
    fields.AddNode("NAME").SetProperty("Size", qlonglong(40));
    root.AddNode("Indexes");  // empty child nodes stay
    root.AddNode(QString());

    const QByteArray bytes = root.ToBytes();
    EXPECT_FALSE(bytes.contains('\n'));  // compact
    ExpectSameTree(TDSPNode::FromBytes(bytes, "structure CLIENTS"), root);
    // Twice round is still the same.
    ExpectSameTree(TDSPNode::FromBytes(TDSPNode::FromBytes(bytes).ToBytes()), root);
    // An int property is stored as an integer and comes back as one.
    TDSPNode ints("I");
    ints.SetProperty("N", 5);
    EXPECT_EQ(TDSPNode::FromBytes(ints.ToBytes()).Property("N"), QVariant(qlonglong(5)));
    // A new structure has an empty body.
    EXPECT_EQ(TDSPNode::FromBytes(QByteArray()).NodeCount(), 0);
    EXPECT_TRUE(TDSPNode::FromBytes(QByteArray(" \n")).Properties().isEmpty());
}

TEST(DSPTreeTest, NodesAndPropertiesAreFoundIgnoringCaseAndCopiedDeeply) {
    TDSPNode root("R");
    root.SetProperty("Name", "first");
    root.SetProperty("NAME", "second");  // replaces
    root.SetProperty("Other", 1);
    ASSERT_EQ(root.Properties().size(), 2);
    EXPECT_EQ(root.Properties()[0].Name, "Name");
    EXPECT_EQ(root.Property("name").toString(), "second");
    EXPECT_EQ(root.Property("none", 7).toInt(), 7);
    EXPECT_TRUE(root.HasProperty("OTHER"));
    root.RemoveProperty("other");
    EXPECT_FALSE(root.HasProperty("Other"));

    root.AddNode("Child").AddNode("Grandchild");
    ASSERT_NE(root.FindNode("CHILD"), nullptr);
    EXPECT_EQ(root.FindNode("grandchild"), nullptr);  // direct children only
    TDSPNode copy = root;
    copy.FindNode("Child")->SetName("Renamed");
    EXPECT_NE(root.FindNode("Child"), nullptr);
    root.RemoveNode(5);  // out of range: nothing happens
    root.RemoveNode(0);
    EXPECT_EQ(root.NodeCount(), 0);
    EXPECT_EQ(copy.NodeCount(), 1);
}

TEST(DSPTreeTest, DamagedBytesRaiseAnErrorNamingTheStructure) {
    const QByteArray good = [] {
        TDSPNode n("X");
        n.SetProperty("P", "long enough value");
        n.AddNode("C");
        return n.ToBytes();
    }();
    const auto prop = [](const char* type, const char* value) {
        return QByteArray(R"({"name": "X", "props": [{"name": "P", "type": ")") + type +
               R"(", "value": )" + value + "}]}";
    };
    const QList<QByteArray> damaged = {
        "not json at all",
        good.left(good.size() - 4),
        "[1, 2]",
        R"("text")",
        "null",
        R"({"props": []})",
        R"({"name": 5})",
        prop("weird", "1"),
        R"({"name": "X", "props": [5]})",
        R"({"name": "X", "props": "not a list"})",
        R"({"name": "X", "nodes": {"name": "C"}})",
        R"({"name": "X", "nodes": [1]})",
        R"({"name": "X", "nodes": [{"props": []}]})",
        prop("integer", R"("ab")"),
        prop("integer", "1.5"),
        prop("float", R"("1")"),
        prop("boolean", "1"),
        prop("string", "1"),
        prop("datetime", R"("x")"),
        prop("binary", "12"),
        R"({"name": "X", "props": [{"type": "string", "value": "v"}]})",
    };
    for (const QByteArray& bytes : damaged) {
        EXPECT_TRUE(ErrorOf<EDSPError>([&] {
                        TDSPNode::FromBytes(bytes, "structure CLIENTS");
                    }).contains("structure CLIENTS"))
            << bytes.constData();
    }
}

}  // namespace
