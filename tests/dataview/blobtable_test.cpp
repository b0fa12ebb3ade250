#include <gtest/gtest.h>

#include <QCborMap>
#include <QCborValue>

#include "basekit/datatypes.h"
#include "dataview/tabledatarules.h"
#include "gridkit/blobtable.h"
#include "printers.h"

namespace {

TDicTableDescription Items() {
    TDicTableDescription d;
    d.Name = "ORDERS.ITEMS";
    d.AddField("ID", dtAutoInc, 0);
    d.AddField("NAME", dtString, 5).Required = true;
    d.AddField("PRICE", dtFloat, 0);
    d.AddField("BORN", dtDate, 0);
    d.AddField("SEEN", dtDateTime, 0);
    d.AddField("OK", dtBoolean, 0);
    d.AddField("DATA", dtBlob, 0);
    d.AddField("NOTE", dtMemo, 0);
    d.AddField("CODE", dtInteger, 0);
    d.AddIndex("PK_ITEMS", {"ID"}, true, true);
    d.AddIndex("UQ_CODE", {"CODE"}, true);
    return d;
}

TRecord Row(TBlobTable& t, const QString& name, const TQXVariant& code = TQXVariant()) {
    TRecord r = t.EmptyRecord();
    r.FieldByName("NAME").SetValue(TQXVariant(name));
    r.FieldByName("CODE").SetValue(code);
    return r;
}

QString ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EPelvarError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

TEST(BlobTable, EveryTypeSurvivesTheBytesAndAChangedStructureReadsByName) {
    TBlobTable t(Items());
    TRecord full = Row(t, "café", 7);
    const QDateTime seen(QDate(2024, 2, 29), QTime(23, 59, 58, 123));
    const QByteArray data("\0\x01\xff#", 4);
    full.FieldByName("PRICE").SetValue(TQXVariant(2.5));
    full.FieldByName("BORN").SetValue(TQXVariant(QDate(1999, 12, 31)));
    full.FieldByName("SEEN").SetValue(TQXVariant(seen));
    full.FieldByName("OK").SetValue(TQXVariant(true));
    full.FieldByName("DATA").SetValue(TQXVariant(data));
    full.FieldByName("NOTE").SetValue(TQXVariant(QString(3000, QChar(0x0436))));
    const qint64 a = t.Insert(full);
    t.Insert(Row(t, "", TQXVariant()));  // NULLs and the empty text
    EXPECT_TRUE(t.Modified());

    TBlobTable back(Items());
    back.Load(t.Save());
    ASSERT_EQ(back.RowCount(), 2);
    EXPECT_FALSE(back.Modified());
    const TRecord r = back.ReadRecord(back.Row(0).ID);
    EXPECT_EQ(r.FieldByName("ID").AsInteger(), 1);  // generated
    for (int i = 0; i < r.GetFieldCount(); ++i)
        EXPECT_EQ(r.GetFields(i).Value(), t.ReadRecord(a).GetFields(i).Value())
            << r.GetFields(i).Name().toStdString();
    const TRecord empty = back.ReadRecord(back.Row(1).ID);
    EXPECT_EQ(empty.FieldByName("ID").AsInteger(), 2);
    EXPECT_FALSE(empty.FieldByName("NAME").IsNull());
    EXPECT_TRUE(empty.FieldByName("PRICE").IsNull());
    EXPECT_TRUE(empty.FieldByName("DATA").IsNull());

    // The structure changed: fields matched by name, a gone field dropped, a
    // new one NULL, a changed type converted.
    TDicTableDescription changed;
    changed.AddField("price", dtString, 10);
    changed.AddField("name", dtString, 5);
    changed.AddField("EXTRA", dtInteger, 0);
    changed.AddField("OK", dtInteger, 0);
    TBlobTable later(changed);
    later.Load(t.Save());
    EXPECT_EQ(later.Row(0).Values[0].AsString(), "2.5");
    EXPECT_EQ(later.Row(0).Values[1].AsString(), "café");
    EXPECT_TRUE(later.Row(0).Values[2].IsNull());
    EXPECT_EQ(later.Row(0).Values[3].AsInteger(), 1);

    // Empty bytes are an empty table; a new table reads back empty.
    back.Load(QByteArray());
    EXPECT_EQ(back.RowCount(), 0);
    back.Load(t.CreateTable());
    EXPECT_EQ(back.RowCount(), 0);
    // Bytes of something else, or of a later format, are refused.
    EXPECT_TRUE(ErrorOf([&] { back.Load("not a table"); }).contains("does not hold a table"));
    QCborMap later2;
    later2.insert(QLatin1String("format"), QLatin1String("pelvar-blob-table"));
    later2.insert(QLatin1String("version"), TBlobTable::kFormatVersion + 1);
    EXPECT_TRUE(ErrorOf([&] { back.Load(later2.toCborValue().toCbor()); }).contains("version 2"));
}

TEST(BlobTable, RefusedWritesChangeNothingAndThePrimaryKeyOrdersTheRows) {
    TBlobTable t(Items());
    TRecord r = Row(t, "b", 1);
    r.FieldByName("ID").SetValue(TQXVariant(5));
    t.Insert(r);
    r = Row(t, "a", 2);
    r.FieldByName("ID").SetValue(TQXVariant(3));
    const qint64 three = t.Insert(r);
    EXPECT_EQ(t.Row(0).Values[0].AsInteger(), 3);
    EXPECT_EQ(t.Row(1).Values[0].AsInteger(), 5);
    const qint64 c = t.Insert(Row(t, "c"));
    EXPECT_EQ(t.Row(2).ID, c);  // the next number: 6
    EXPECT_EQ(t.Row(2).Values[0].AsInteger(), 6);
    t.Insert(Row(t, "d"));  // NULLs never collide in a unique index
    const QByteArray before = t.Save();

    EXPECT_EQ(ErrorOf([&] { t.Insert(Row(t, "x", 1)); }),
              "Index 'UQ_CODE' already holds a row with the values 1.");
    TRecord dup = Row(t, "x");
    dup.FieldByName("ID").SetValue(TQXVariant(5));
    EXPECT_TRUE(ErrorOf([&] { t.Insert(dup); }).contains("PK_ITEMS"));
    EXPECT_EQ(ErrorOf([&] { t.Insert(Row(t, "toolong")); }),
              "The text of field 'NAME' is longer than 5 characters.");
    TRecord nameless = t.EmptyRecord();
    EXPECT_EQ(ErrorOf([&] { t.Insert(nameless); }), "Field 'NAME' must have a value.");
    TRecord text = Row(t, "x");
    text.FieldByName("CODE").SetValue(TQXVariant("abc"));
    EXPECT_EQ(ErrorOf([&] { t.Insert(text); }), "The value 'abc' does not fit field 'CODE'.");
    TRecord edit = t.ReadRecord(three);
    edit.FieldByName("CODE").SetValue(TQXVariant(1));
    edit.FieldByName("NAME").SetValue(TQXVariant("zz"));
    EXPECT_TRUE(ErrorOf([&] { t.Update(three, edit, {"NAME", "CODE"}); }).contains("UQ_CODE"));
    EXPECT_EQ(ErrorOf([&] { t.Delete(999); }), "Could not find record");
    EXPECT_EQ(ErrorOf([&] { t.ReadRecord(999); }), "Could not find record");
    EXPECT_EQ(t.Save(), before);

    // An edit of the key moves the row into place; only the listed fields change.
    edit.FieldByName("ID").SetValue(TQXVariant(9));
    t.Update(three, edit, {"ID"});
    EXPECT_EQ(t.Row(t.RowCount() - 1).ID, three);
    EXPECT_EQ(t.ReadRecord(three).FieldByName("NAME").AsString(), "a");
}

TEST(TableDataRules, BlobStructureNamesAndPopupItems) {
    EXPECT_EQ(BlobStructureName("public.\"orders\"", "ITEMS"), "ORDERS.ITEMS");
    EXPECT_EQ(BlobStructureName("orders", "Items"), "ORDERS.Items");
    const TPopupItems blob = PopupItemsOf(true, dtBlob, true, false);
    EXPECT_TRUE(blob.BLOBTable && blob.CreateBLOBTable && blob.BlobToFile && blob.FileToBlob);
    EXPECT_FALSE(blob.LongStringEdit);
    EXPECT_FALSE(PopupItemsOf(true, dtGraphic, false, false).CreateBLOBTable);
    const TPopupItems readOnly = PopupItemsOf(true, dtBlob, true, true);
    EXPECT_TRUE(readOnly.BLOBTable && readOnly.BlobToFile && readOnly.DSPTree);
    EXPECT_FALSE(readOnly.CreateBLOBTable || readOnly.CreateDSPTree || readOnly.FileToBlob);
    const TPopupItems none = PopupItemsOf(false, dtMemo, true, false);
    EXPECT_FALSE(none.BLOBTable || none.BlobToFile || none.LongStringEdit);
    EXPECT_TRUE(none.DSPTree && none.CreateDSPTree);
    EXPECT_TRUE(PopupItemsOf(true, dtMemo, false, false).LongStringEdit);
}

}  // namespace
