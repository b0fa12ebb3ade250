#include <gtest/gtest.h>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "formdesignkit/checkname.h"
#include "structures/dspdialogrules.h"
#include "testenv.h"

namespace {

TEST(StructureNames, ComponentNamesAreUnicodeIdentifiers) {
    for (const char16_t* name :
         {u"A", u"_", u"_a1", u"Клиенты_2024", u"Ärger", u"日本語", u"e\u0301te", u"A\u0663"})
        EXPECT_TRUE(CheckName(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
    // A letter outside the basic plane is one character, not two halves.
    EXPECT_TRUE(CheckName(QString::fromUcs4(U"\U0001D400x")));
    for (const char16_t* name :
         {u"", u"1A", u"A B", u"A.B", u"A$B", u"A-B", u"\u0301a", u"A\u00a0", u"\u0663A"})
        EXPECT_FALSE(CheckName(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
    EXPECT_FALSE(CheckName(QString(QChar(0xD800)) + QLatin1Char('A')));  // a lone surrogate
}

TEST(StructureNames, DerivedStructureNamesAreDottedWithOneDollarPart) {
    struct TCase {
        const char16_t* Name;
        bool WithParent;
        bool WithoutParent;
    };
    for (const TCase& c : std::initializer_list<TCase>{
             {u"", true, true},  // left to the general check
             {u"ORDERS", true, true},
             {u"A.B", true, true},
             {u"Заказы.Строки$Копия", true, false},
             {u"A$B", true, false},
             {u"A.B$C", true, false},
             {u"A$B.C", false, false},
             {u"A$B$C", false, false},
             {u"$B", false, false},
             {u"A$", false, false},
             {u"A..B", false, false},
             {u".A", false, false},
             {u"A.", false, false},
             {u"1A", false, false},
         }) {
        const QString name = QString::fromUtf16(c.Name);
        EXPECT_EQ(IsInheritName(name, true), c.WithParent) << name.toStdString();
        EXPECT_EQ(IsInheritName(name, false), c.WithoutParent) << name.toStdString();
    }
}

TEST(StructureProperties, TypeTextsAndTheOkCheck) {
    EXPECT_EQ(ObjectTypeOfText("10 Tables"), 10);
    EXPECT_EQ(ObjectTypeOfText("99"), 99);  // a type shown as its bare number
    for (const char* text : {"Tables", "10Tables", ""})
        EXPECT_EQ(ObjectTypeOfText(text), -1) << text;
    EXPECT_EQ(FindObjectTypeEntry({"10 Tables", "1 One"}, 1), 1);  // "10 ..." is not "1 ..."
    EXPECT_EQ(FindObjectTypeEntry({"10 Tables"}, 99), -1);
    // The built-in list is never empty, and every entry leads back to itself.
    const QStringList builtin = ObjectTypeEntries();
    ASSERT_GE(builtin.size(), 10);
    for (int i = 0; i < builtin.size(); ++i)
        EXPECT_EQ(FindObjectTypeEntry(builtin, ObjectTypeOfText(builtin[i])), i) << i;
    // The type is checked before the name.
    EXPECT_EQ(CheckDSPProperties(-1, ""), TDSPPropertiesFault::ObjectType);
    EXPECT_EQ(CheckDSPProperties(10, ""), TDSPPropertiesFault::Name);
    EXPECT_EQ(CheckDSPProperties(0, "X"), TDSPPropertiesFault::None);

    // No dialog, or a cancelled one: Cancel, and the request stays as it was.
    TDSPPropertiesRequest request;
    request.Name = "KEEP";
    SetDSPPropertiesPrompt(nullptr);
    EXPECT_FALSE(EditDSPProperties(request));
    SetDSPPropertiesPrompt([](TDSPPropertiesRequest& r) {
        r.Name = "CHANGED";
        return false;
    });
    EXPECT_FALSE(EditDSPProperties(request));
    EXPECT_EQ(request.Name, "KEEP");
    SetDSPPropertiesPrompt(nullptr);
}

class ParentListTest : public TEngineTest {};

TEST_P(ParentListTest, ParentsComeFromTheStoreOfTheDatabase) {
    // A database without a structure store: the error reaches the caller.
    EXPECT_THROW(FillParentList(Alias(), 10, "X", true, false), EPelvarError);

    CreateMissingSystemTables(Alias());
    TDSPTable& dsp = GetDSPTable(Alias());
    dsp.ChangeStructureProperties("ORDERS", 10, QString(), "ORDERS", QString());
    dsp.ChangeStructureProperties("ORDERS$1", 10, "ORDERS", "ORDERS", QString());
    dsp.ChangeStructureProperties("CLIENTS", 10, QString(), "CLIENTS", QString());
    dsp.ChangeStructureProperties("ARCHIVE", 10, QString(), QString(), QString());
    dsp.ChangeStructureProperties("ORDERS", 12, QString(), "FORMTABLE", QString());

    TParentList list = FillParentList(Alias(), 10, "CLIENTS", true, false);
    list.Names.sort();
    EXPECT_EQ(list.Names, QStringList({"ARCHIVE", "ORDERS", "ORDERS$1"}));
    EXPECT_TRUE(list.Enabled);
    EXPECT_FALSE(list.ClearText);

    // A derived name takes no parent: the field is disabled and cleared.
    list = FillParentList(Alias(), 10, "ORDERS$2", true, false);
    EXPECT_FALSE(list.Enabled);
    EXPECT_TRUE(list.ClearText);
    // Parents not allowed: disabled, but what was entered stays.
    list = FillParentList(Alias(), 10, "NEW", false, false);
    EXPECT_FALSE(list.Enabled);
    EXPECT_FALSE(list.ClearText);
    EXPECT_EQ(list.Names.size(), 4);

    // The table variant offers each table once; an empty one is no parent.
    list = FillParentList(Alias(), 10, "NEW", true, true);
    list.Names.sort();
    EXPECT_EQ(list.Names, QStringList({"CLIENTS", "ORDERS"}));
    // Another type lists its own structures; no type chosen lists none at all.
    EXPECT_EQ(FillParentList(Alias(), 12, "X", true, true).Names, QStringList({"FORMTABLE"}));
    EXPECT_TRUE(FillParentList(Alias(), -1, "X", true, false).Names.isEmpty());
    EXPECT_TRUE(FillParentList(Alias(), 0, "X", true, false).Names.isEmpty());
}

PELVAR_ENGINE_TESTS(ParentListTest);

}  // namespace
