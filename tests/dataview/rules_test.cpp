#include <gtest/gtest.h>

#include "dataview/tabledatarules.h"
#include "gridkit/tablevalues.h"
#include "printers.h"

namespace {

TEST(TableDataRules, FieldDataPanelShowsControlCharactersAndHashAsHex) {
    EXPECT_EQ(FieldDataText(QStringLiteral("a\tb#c\n")), QStringLiteral("a#09b#23c#0A"));
    EXPECT_EQ(FieldDataText(QStringLiteral("\x1f plain")), QStringLiteral("#1F plain"));
}

TEST(TableDataRules, DictionaryOrderFirstUnlistedFieldsAfter) {
    QList<TDicFieldDescription> fields;
    for (const char* n : {"A", "B", "C", "D"})
        fields.append(TDicFieldDescription{n, 0});
    ReorderFields(fields, {"c", "missing", "a"});
    QStringList names;
    for (const auto& f : fields)
        names << f.Name;
    EXPECT_EQ(names, QStringList({"C", "A", "B", "D"}));

    TDicTableDescription physical, dictionary;
    physical.AddField("ID", 2, 0);
    physical.AddField("NAME", 0, 10);
    dictionary.AddField("Name", 0, 10);
    dictionary.AddField("Id", 14, 0);
    EXPECT_EQ(ApplyDictionary(physical, dictionary), QStringLiteral("Id"));
    EXPECT_EQ(physical.Fields[0].Name, "NAME");
    EXPECT_EQ(physical.Fields[1].DataType, 14);
}

TEST(TableDataRules, SameTitleTurnsTheOrderAnotherKeepsIt) {
    TSortState s;
    s.Assign("NAME");
    EXPECT_EQ(s.IndexFieldNames(), "NAME");
    s.Assign("NAME");
    EXPECT_EQ(s.IndexFieldNames(), "NAME DESC");
    s.Assign("AGE");
    EXPECT_EQ(s.IndexFieldNames(), "AGE DESC");
    EXPECT_TRUE(SearchStepOf(dsFirst).FromFirst && SearchStepOf(dsFirst).Forward);
    EXPECT_FALSE(SearchStepOf(dsBack).Forward);
}

TEST(TableDataRules, TypedTextsConvertOrAreRefused) {
    bool ok = false;
    EXPECT_EQ(TableTextToValue(" 42 ", 2, &ok).AsInteger(), 42);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(TableTextToValue("4x", 2, &ok).IsNull());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(TableTextToValue("31.02.2024", 4, &ok).IsNull());
    EXPECT_FALSE(ok);
    // Texts are kept as typed, blanks included; the empty text is a value.
    EXPECT_EQ(TableTextToValue(" x ", 0, &ok).AsString(), " x ");
    EXPECT_FALSE(TableTextToValue("", 8, &ok).IsNull());
    EXPECT_TRUE(ok);
}

}  // namespace
