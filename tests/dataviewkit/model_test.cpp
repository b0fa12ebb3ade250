#include <gtest/gtest.h>

#include <QDateTime>
#include <QSignalSpy>

#include "dataviewkit/dsptreemodel.h"
#include "dataviewkit/dspvalues.h"
#include "printers.h"

namespace {

// CLIENTS { TableName, Remark; Fields { ID {DataType}, NAME {DataType, Comment} }; Indexes }
TDSPNode SampleTree() {
    TDSPNode root("CLIENTS");
    root.SetProperty("TableName", QString("CLIENTS"));
    root.SetProperty("Remark", QString("Customers and their balance"));
    TDSPNode& fields = root.AddNode("Fields");
    fields.AddNode("ID").SetProperty("DataType", qlonglong(3));
    TDSPNode& name = fields.AddNode("NAME");
    name.SetProperty("DataType", qlonglong(1));
    name.SetProperty("Comment", QString("client's name"));
    root.AddNode("Indexes");
    return root;
}

QModelIndex Row(const TDSPTreeModel& m, const QStringList& path) {
    QModelIndex at = m.index(0, 0);
    for (const QString& name : path) {
        QModelIndex next;
        for (int r = 0; r < m.rowCount(at) && !next.isValid(); ++r)
            if (m.index(r, 0, at).data().toString() == name) next = m.index(r, 0, at);
        if (!next.isValid()) return {};
        at = next;
    }
    return at;
}

QString Path(const QModelIndex& index) {
    QStringList parts;
    for (QModelIndex i = index; i.isValid(); i = i.parent())
        parts.prepend(i.data().toString());
    return parts.join('/');
}

TEST(DSPTreeModel, ValuesAreCheckedAgainstTheirTypeAndRefusalsSayWhatIsExpected) {
    TDSPNode root("T");
    root.SetProperty("Count", qlonglong(5));
    root.SetProperty("Rate", 1.5);
    root.SetProperty("Active", true);
    root.SetProperty("Born", QDateTime(QDate(2020, 2, 29), QTime(13, 5, 0)));
    root.SetProperty("Icon", QByteArray("\x01\xff", 2));
    root.SetProperty("Text", QString("a"));
    TDSPTreeModel m;
    m.SetTree(root);
    QSignalSpy refused(&m, &TDSPTreeModel::EditRefused);
    auto value = [&](const QString& name) { return Row(m, {name}).siblingAtColumn(2); };

    // Good values in the user's spellings.
    EXPECT_TRUE(m.setData(value("Count"), " -9223372036854775808 "));
    EXPECT_TRUE(m.setData(value("Rate"), "2.5e3"));
    EXPECT_TRUE(m.setData(value("Active"), "No"));
    EXPECT_TRUE(m.setData(value("Born"), "1999-12-31 23:59:58.250"));
    EXPECT_TRUE(m.setData(value("Icon"), "0a ff\n10"));
    EXPECT_TRUE(m.setData(value("Text"), "  kept as typed "));
    EXPECT_TRUE(refused.isEmpty());
    const TDSPNode& t = m.Tree();
    EXPECT_EQ(t.Property("Count").toLongLong(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(t.Property("Rate").toDouble(), 2500.0);
    EXPECT_EQ(t.Property("Active").metaType().id(), QMetaType::Bool);
    EXPECT_EQ(t.Property("Born").toDateTime(),
              QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 250)));
    EXPECT_EQ(t.Property("Icon").toByteArray(), QByteArray("\x0a\xff\x10", 3));
    EXPECT_EQ(t.Property("Text").toString(), "  kept as typed ");
    EXPECT_EQ(value("Born").data().toString(), "1999-12-31 23:59:58.250");
    EXPECT_EQ(value("Icon").data().toString(), "3 bytes: 0A FF 10");
    EXPECT_EQ(value("Icon").data(Qt::EditRole).toString(), "0A FF 10");
    EXPECT_EQ(value("Rate").data().toString(), "2500");

    // Bad values: refused, named, typed; the tree keeps the old value.
    const QByteArray before = m.Bytes();
    const struct {
        const char* property;
        const char* text;
        const char* type;
    } bad[] = {{"Count", "12abc", "integer"},
               {"Count", "9223372036854775808", "integer"},
               {"Count", "1.5", "integer"},
               {"Rate", "1,5", "float"},
               {"Rate", "inf", "float"},
               {"Active", "maybe", "boolean"},
               {"Born", "2021-02-29", "date and time"},
               {"Born", "yesterday", "date and time"},
               {"Icon", "ABC", "binary"},
               {"Icon", "zz", "binary"}};
    for (const auto& b : bad) {
        EXPECT_FALSE(m.setData(value(b.property), b.text)) << b.property << " " << b.text;
        const QString message = m.LastError();
        EXPECT_TRUE(message.contains(b.property) && message.contains(b.type) &&
                    message.contains(b.text))
            << qPrintable(message);
    }
    EXPECT_EQ(refused.size(), int(std::size(bad)));
    EXPECT_TRUE(m.LastError().contains("pairs of hex digits"));  // a hint how to write it
    EXPECT_EQ(m.Bytes(), before);

    // Changing a type converts what reads as the new type, refuses the rest.
    EXPECT_TRUE(m.setData(value("Count").siblingAtColumn(1), "string"));
    EXPECT_EQ(t.Property("Count").toString(), "-9223372036854775808");
    EXPECT_TRUE(m.setData(value("Count").siblingAtColumn(1), "float"));
    EXPECT_EQ(m.PropertyType(value("Count")), "float");
    EXPECT_FALSE(m.setData(value("Text").siblingAtColumn(1), "integer"));
    EXPECT_TRUE(m.LastError().contains("Text"));
    EXPECT_FALSE(m.setData(value("Text").siblingAtColumn(1), "money"));
    EXPECT_EQ(m.PropertyType(value("Text")), "string");

    // What is saved reads back with the same types.
    const TDSPNode back = TDSPNode::FromBytes(m.Bytes());
    for (const TDSPProperty& p : t.Properties())
        EXPECT_EQ(DSPTypeOf(back.Property(p.Name)), DSPTypeOf(p.Value)) << qPrintable(p.Name);
}

TEST(DSPTreeModel, NodesAndPropertiesAreAddedRenamedAndDeletedByTheRules) {
    TDSPTreeModel m;
    m.SetTree(SampleTree());
    QSignalSpy modified(&m, &TDSPTreeModel::ModifiedChanged);
    EXPECT_FALSE(m.Modified());
    const QModelIndex root = m.index(0, 0);
    EXPECT_EQ(m.rowCount(root), 4);  // two properties, then two nodes
    EXPECT_TRUE(m.IsProperty(m.index(1, 0, root)));
    EXPECT_TRUE(m.IsNode(m.index(2, 0, root)));

    // A property goes after the other properties, before the child nodes.
    const QModelIndex fields = Row(m, {"Fields"});
    const QModelIndex prop = m.AddProperty(fields, "Count", "integer");
    ASSERT_TRUE(prop.isValid());
    EXPECT_EQ(prop.row(), 0);
    EXPECT_EQ(Path(Row(m, {"Fields", "NAME", "Comment"})), "CLIENTS/Fields/NAME/Comment");
    EXPECT_TRUE(m.Modified());
    EXPECT_EQ(modified.size(), 1);
    EXPECT_FALSE(m.AddProperty(fields, "count").isValid());  // names ignore case
    EXPECT_TRUE(m.LastError().contains("count") && m.LastError().contains("Fields"));
    // Unnamed additions get a free name; a node added on a property goes to its owner.
    const QModelIndex p2 = m.AddProperty(fields);
    EXPECT_EQ(p2.data().toString(), "Property1");
    const QModelIndex node = m.AddNode(prop);
    EXPECT_EQ(Path(node), "CLIENTS/Fields/Node1");
    EXPECT_EQ(m.AddNode(fields, "NAME").data().toString(), "NAME");  // lists may repeat names

    // Renames: a property keeps its place and value; empty and duplicate names are refused.
    EXPECT_TRUE(m.Rename(Row(m, {"Remark"}), "Comment"));
    EXPECT_EQ(m.Tree().Properties().at(1).Name, "Comment");
    EXPECT_EQ(m.Tree().Properties().at(1).Value.toString(), "Customers and their balance");
    EXPECT_FALSE(m.Rename(Row(m, {"Comment"}), "TABLENAME"));
    EXPECT_FALSE(m.Rename(Row(m, {"Fields"}), "   "));
    EXPECT_TRUE(m.Rename(Row(m, {"Fields", "ID"}), " CLIENT_ID "));
    EXPECT_TRUE(Row(m, {"Fields", "CLIENT_ID"}).isValid());
    EXPECT_FALSE(
        m.SetValueText(Row(m, {"Fields"}).siblingAtColumn(2), "x"));  // nodes have no value

    // Deletes: a property, a node with everything under it; never the root.
    EXPECT_TRUE(m.Remove(Row(m, {"Fields", "Count"})));
    EXPECT_TRUE(m.Remove(Row(m, {"Fields", "NAME"})));  // the first of the two
    EXPECT_FALSE(Row(m, {"Fields", "NAME", "Comment"}).isValid());
    EXPECT_FALSE(m.Remove(root));
    EXPECT_EQ(m.rowCount(root), 4);

    const TDSPNode saved = TDSPNode::FromBytes(m.Bytes());
    const TDSPNode* f = saved.FindNode("Fields");
    ASSERT_NE(f, nullptr);
    QStringList names;
    for (int i = 0; i < f->NodeCount(); ++i)
        names << f->Node(i).Name();
    EXPECT_EQ(names, QStringList({"CLIENT_ID", "Node1", "NAME"}));
    EXPECT_EQ(f->Properties().size(), 1);
    m.SetTree(saved);
    EXPECT_FALSE(m.Modified());
}

TEST(DSPTreeModel, FindGoesInTreeOrderFromTheCurrentRowAndWrapsOnce) {
    TDSPTreeModel m;
    m.SetTree(SampleTree());
    bool wrapped = true;
    // Names and values match, ignoring case, in the order the tree shows them.
    QModelIndex at = m.Find("name", {}, &wrapped);
    EXPECT_EQ(Path(at), "CLIENTS/TableName");
    EXPECT_FALSE(wrapped);
    at = m.Find("name", at, &wrapped);
    EXPECT_EQ(Path(at), "CLIENTS/Fields/NAME");
    at = m.Find("name", at.siblingAtColumn(2), &wrapped);  // any column of the current row
    EXPECT_EQ(Path(at), "CLIENTS/Fields/NAME/Comment");    // "client's name" is its value
    EXPECT_FALSE(wrapped);
    at = m.Find("name", at, &wrapped);
    EXPECT_EQ(Path(at), "CLIENTS/TableName");
    EXPECT_TRUE(wrapped);
    // The only match is found again from itself, going round.
    at = m.Find("balance", {}, &wrapped);
    EXPECT_EQ(Path(at), "CLIENTS/Remark");
    EXPECT_EQ(m.Find("balance", at, &wrapped), at);
    EXPECT_TRUE(wrapped);
    EXPECT_FALSE(m.Find("nowhere", at, &wrapped).isValid());
    EXPECT_FALSE(m.Find(QString(), {}).isValid());
}

TEST(DSPTreeModel, AReadOnlyTreeRefusesEveryEdit) {
    TDSPTreeModel m;
    m.SetTree(SampleTree());
    m.SetReadOnly(true);
    const QByteArray before = m.Bytes();
    for (const QModelIndex& row : m.AllRows())
        for (int c = 0; c < 3; ++c)
            EXPECT_FALSE(m.flags(row.siblingAtColumn(c)) & Qt::ItemIsEditable)
                << qPrintable(Path(row));
    const QModelIndex remark = Row(m, {"Remark"});
    EXPECT_FALSE(m.setData(remark.siblingAtColumn(2), "x"));
    EXPECT_FALSE(m.setData(remark.siblingAtColumn(1), "integer"));
    EXPECT_FALSE(m.Rename(remark, "Other"));
    EXPECT_FALSE(m.SetValue(remark, QString("y")));
    EXPECT_FALSE(m.AddNode(m.index(0, 0)).isValid());
    EXPECT_FALSE(m.AddProperty(m.index(0, 0)).isValid());
    EXPECT_FALSE(m.Remove(Row(m, {"Fields"})));
    EXPECT_TRUE(m.LastError().contains("read-only"));
    EXPECT_EQ(m.Bytes(), before);
    EXPECT_FALSE(m.Modified());
    // Reading still works.
    EXPECT_TRUE(m.Find("client", {}).isValid());
}

}  // namespace
