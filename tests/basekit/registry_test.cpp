#include "basekit/registry.h"

#include <gtest/gtest.h>

#include <QFile>
#include <functional>

#include "errorof.h"
#include "printers.h"
#include "testenv.h"

namespace {

// Every test works below a key of its own, emptied first, in the settings file
// of the test process.
class RegistryTest : public testing::Test {
  protected:
    void SetUp() override {
        FRoot = QStringLiteral("\\RegistryTest\\") +
                QString::fromLatin1(testing::UnitTest::GetInstance()->current_test_info()->name());
        TRegistry().DeleteKey(FRoot);
    }
    void TearDown() override { TRegistry().DeleteKey(FRoot); }
    QString Path(const QString& sub) const { return FRoot + QLatin1Char('\\') + sub; }
    QString FRoot;
};

TEST_F(RegistryTest, KeysAreCreatedOpenedAndDeletedAndExistEmpty) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(Path("A\\B\\C"), false));
    EXPECT_FALSE(reg.KeyExists(Path("A")));

    EXPECT_TRUE(reg.CreateKey(Path("A\\B\\C")));
    // An empty key and every key on its way exist.
    for (const char* key : {"A", "A\\B", "A\\B\\C"})
        EXPECT_TRUE(reg.KeyExists(Path(key))) << key;
    EXPECT_FALSE(reg.KeyExists(Path("A\\B\\C\\D")));
    EXPECT_TRUE(reg.CurrentPath().isEmpty());  // CreateKey leaves the current key alone

    ASSERT_TRUE(reg.OpenKey(Path("A\\B\\C"), false));
    EXPECT_EQ(reg.CurrentPath(), Path("A\\B\\C"));
    reg.CloseKey();
    EXPECT_TRUE(reg.CurrentPath().isEmpty());

    // Opening with creation makes the missing tail.
    ASSERT_TRUE(reg.OpenKey(Path("A\\X\\Y"), true));
    EXPECT_TRUE(reg.KeyExists(Path("A\\X\\Y")));

    // Deleting removes the key with everything below it, and nothing else.
    EXPECT_TRUE(reg.DeleteKey(Path("A\\B")));
    EXPECT_FALSE(reg.KeyExists(Path("A\\B")));
    EXPECT_FALSE(reg.KeyExists(Path("A\\B\\C")));
    EXPECT_TRUE(reg.KeyExists(Path("A\\X\\Y")));
    EXPECT_FALSE(reg.DeleteKey(Path("A\\B")));
    EXPECT_FALSE(reg.DeleteKey(Path("Nothing\\Here")));
}

TEST_F(RegistryTest, ValuesOfEveryTypeReadBackWithTheirTypesAndSizes) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    const QStringList texts = {"",
                               "plain",
                               "a, b, c",
                               "  padded  ",
                               "semi;colon = \"quoted\" \\back",
                               "two\nlines\ttab",
                               "Привет, мир",
                               "@ByteArray(not really)",
                               "s:looks typed",
                               "100%"};
    for (int i = 0; i < texts.size(); ++i)
        reg.WriteString(QStringLiteral("S%1").arg(i), texts[i]);
    reg.WriteInteger("Zero", 0);
    reg.WriteInteger("Min", std::numeric_limits<int>::min());
    reg.WriteInteger("Max", std::numeric_limits<int>::max());
    reg.WriteBool("Yes", true);
    reg.WriteBool("No", false);
    const QByteArray bytes("\x00\x01\xff\r\n=,", 7);
    reg.WriteBinaryData("Bin", bytes);
    reg.WriteBinaryData("EmptyBin", QByteArray());
    reg.CloseKey();

    // Read through a fresh object and after the file was written out and read again.
    for (int pass = 0; pass < 2; ++pass) {
        TRegistry r;
        ASSERT_TRUE(r.OpenKeyReadOnly(FRoot));
        for (int i = 0; i < texts.size(); ++i) {
            const QString name = QStringLiteral("S%1").arg(i);
            EXPECT_EQ(r.ReadString(name), texts[i]) << i;
            EXPECT_EQ(r.GetDataType(name), TRegDataType::rdString);
            EXPECT_EQ(r.GetDataSize(name), (texts[i].size() + 1) * 2);
        }
        EXPECT_EQ(r.ReadInteger("Zero"), 0);
        EXPECT_EQ(r.ReadInteger("Min"), std::numeric_limits<int>::min());
        EXPECT_EQ(r.ReadInteger("Max"), std::numeric_limits<int>::max());
        EXPECT_EQ(r.GetDataType("Max"), TRegDataType::rdInteger);
        EXPECT_EQ(r.GetDataSize("Max"), 4);
        EXPECT_TRUE(r.ReadBool("Yes"));
        EXPECT_FALSE(r.ReadBool("No"));
        EXPECT_EQ(r.ReadBinaryData("Bin"), bytes);
        EXPECT_EQ(r.GetDataType("Bin"), TRegDataType::rdBinary);
        EXPECT_EQ(r.GetDataSize("Bin"), bytes.size());
        EXPECT_TRUE(r.ReadBinaryData("EmptyBin").isEmpty());
        EXPECT_EQ(r.GetDataType("Missing"), TRegDataType::rdUnknown);
        EXPECT_EQ(r.GetDataSize("Missing"), -1);
        r.CloseKey();
        SetSettingsFileName(SettingsFileName());  // drops the in-memory store
    }

    // Overwriting changes the value and its type.
    ASSERT_TRUE(reg.OpenKey(FRoot, false));
    reg.WriteInteger("S1", 7);
    EXPECT_EQ(reg.GetDataType("S1"), TRegDataType::rdInteger);
    EXPECT_EQ(reg.ReadInteger("S1"), 7);
    EXPECT_TRUE(reg.DeleteValue("S1"));
    EXPECT_FALSE(reg.ValueExists("S1"));
    EXPECT_FALSE(reg.DeleteValue("S1"));
}

TEST_F(RegistryTest, WrongTypeOrMissingValueRaisesANamedError) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    reg.WriteString("Text", "12");
    reg.WriteInteger("Number", 12);
    reg.WriteBinaryData("Data", QByteArray("12"));

    // The message tells which value of which key is missing or of the wrong type.
    const QList<std::tuple<QString, const char*, std::function<void()>>> cases = {
        {"Text", "type", [&] { reg.ReadInteger("Text"); }},
        {"Text", "type", [&] { reg.ReadBool("Text"); }},
        {"Text", "type", [&] { reg.ReadBinaryData("Text"); }},
        {"Number", "type", [&] { reg.ReadString("Number"); }},
        {"Number", "type", [&] { reg.ReadBinaryData("Number"); }},
        {"Data", "type", [&] { reg.ReadString("Data"); }},
        {"Data", "type", [&] { reg.ReadInteger("Data"); }},
        {"Missing", "does not exist", [&] { reg.ReadString("Missing"); }},
        {"Missing", "does not exist", [&] { reg.ReadInteger("Missing"); }},
        {"Missing", "does not exist", [&] { reg.ReadBool("Missing"); }},
        {"Missing", "does not exist", [&] { reg.ReadBinaryData("Missing"); }},
    };
    for (const auto& [name, what, read] : cases) {
        const QString message = ErrorOf<ERegistryError>(read);
        EXPECT_TRUE(message.contains('\'' + name + '\'')) << qPrintable(message);
        EXPECT_TRUE(message.contains(FRoot)) << qPrintable(message);
        EXPECT_TRUE(message.contains(what, Qt::CaseInsensitive)) << qPrintable(message);
    }
    // Nothing open: reads raise, writes raise, tests answer false.
    reg.CloseKey();
    EXPECT_THROW(reg.ReadString("Text"), ERegistryError);
    EXPECT_THROW(reg.WriteString("Text", QString()), ERegistryError);
    EXPECT_THROW(reg.GetValueNames(), ERegistryError);
    EXPECT_FALSE(reg.ValueExists("Text"));
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCaseAndKeepTheirFirstSpelling) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Path("Mixed\\Case"), true));
    reg.WriteString("ValueName", "one");
    reg.CloseKey();

    ASSERT_TRUE(reg.OpenKey(Path("MIXED\\case"), true));
    EXPECT_EQ(reg.CurrentPath(), Path("Mixed\\Case"));
    EXPECT_TRUE(reg.ValueExists("VALUENAME"));
    EXPECT_EQ(reg.ReadString("valuename"), "one");
    reg.WriteString("VALUENAME", "two");
    EXPECT_EQ(reg.GetValueNames(), QStringList{"ValueName"});
    EXPECT_EQ(reg.ReadString("ValueName"), "two");
    reg.CloseKey();

    EXPECT_TRUE(reg.KeyExists(Path("mixed")));
    ASSERT_TRUE(reg.OpenKey(Path("mixed"), false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{"Case"});
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(Path("MIXED\\CASE")));
    EXPECT_FALSE(reg.KeyExists(Path("Mixed\\Case")));
}

TEST_F(RegistryTest, RelativePathsStartAtTheCurrentKeyAbsoluteOnesAtTheRoot) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    ASSERT_TRUE(reg.OpenKey("Child\\Grandchild", true));
    EXPECT_EQ(reg.CurrentPath(), Path("Child\\Grandchild"));
    reg.WriteInteger("Depth", 2);

    // Relative tests and creation work from the current key.
    EXPECT_TRUE(reg.CreateKey("Leaf"));
    EXPECT_TRUE(reg.KeyExists("Leaf"));
    EXPECT_TRUE(reg.KeyExists(Path("Child\\Grandchild\\Leaf")));
    EXPECT_FALSE(reg.KeyExists(Path("Leaf")));

    // An absolute path ignores the current key; trailing and doubled separators
    // do not matter.
    ASSERT_TRUE(reg.OpenKey(FRoot + "\\\\Child\\", false));
    EXPECT_EQ(reg.CurrentPath(), Path("Child"));
    ASSERT_TRUE(reg.OpenKey("Grandchild", false));
    EXPECT_EQ(reg.ReadInteger("Depth"), 2);

    // Without an open key a relative path starts at the root.
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists(FRoot.mid(1)));
    ASSERT_TRUE(reg.OpenKey(FRoot.mid(1) + "\\Child", false));
    EXPECT_EQ(reg.CurrentPath(), Path("Child"));

    // A failed open leaves the current key open.
    EXPECT_FALSE(reg.OpenKey("NoSuchChild", false));
    EXPECT_EQ(reg.CurrentPath(), Path("Child"));
    EXPECT_TRUE(reg.DeleteKey("Grandchild\\Leaf"));
    EXPECT_FALSE(reg.KeyExists(Path("Child\\Grandchild\\Leaf")));
    EXPECT_TRUE(reg.KeyExists(Path("Child\\Grandchild")));
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseEveryWrite) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Path("Sub"), true));
    reg.WriteString("Kept", "yes");
    EXPECT_FALSE(reg.OpenKeyReadOnly(Path("Missing")));
    EXPECT_FALSE(reg.KeyExists(Path("Missing")));  // read-only opening never creates
    ASSERT_TRUE(reg.OpenKeyReadOnly(FRoot));
    EXPECT_TRUE(reg.ReadOnly());
    for (const auto& write : QList<std::function<void()>>{
             [&] { reg.WriteString("X", "x"); }, [&] { reg.WriteInteger("X", 1); },
             [&] { reg.WriteBool("X", true); }, [&] { reg.WriteBinaryData("X", "x"); }})
        EXPECT_TRUE(ErrorOf<ERegistryError>(write).contains("read-only"));
    EXPECT_FALSE(reg.ValueExists("X"));
    EXPECT_FALSE(reg.DeleteKey("Sub"));
    EXPECT_TRUE(reg.KeyExists(Path("Sub")));

    ASSERT_TRUE(reg.OpenKeyReadOnly("Sub"));
    EXPECT_THROW(reg.DeleteValue("Kept"), ERegistryError);
    EXPECT_EQ(reg.ReadString("Kept"), "yes");
    // Opening for writing again lifts the restriction.
    ASSERT_TRUE(reg.OpenKey(Path("Sub"), false));
    EXPECT_FALSE(reg.ReadOnly());
    reg.WriteString("Kept", "changed");
    EXPECT_EQ(reg.ReadString("Kept"), "changed");
}

// Sub-keys and values are listed apart, and names with the characters the
// settings file escapes ("/", "%") stay whole.
TEST_F(RegistryTest, EnumeratesSubKeysAndValuesApartWithNamesWhole) {
    QStringList names = {"a/b", "50%", "%2F", "%25/%", "/", "@key", "with space", "Ключ"};
    names.sort();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    EXPECT_TRUE(reg.GetKeyNames().isEmpty());
    EXPECT_TRUE(reg.GetValueNames().isEmpty());
    EXPECT_FALSE(reg.HasSubKeys());
    for (const QString& name : names) {
        reg.WriteString(name, "value of " + name);
        EXPECT_TRUE(reg.CreateKey(name)) << qPrintable(name);
    }
    reg.CreateKey("Only\\Deeper");
    QStringList values = reg.GetValueNames(), keys = reg.GetKeyNames(), allKeys = names;
    allKeys << "Only";
    for (QStringList* list : {&values, &keys, &allKeys})
        list->sort();
    EXPECT_EQ(values, names);
    EXPECT_EQ(keys, allKeys);
    EXPECT_TRUE(reg.HasSubKeys());
    for (const QString& name : names) {
        EXPECT_EQ(reg.ReadString(name), "value of " + name) << qPrintable(name);
        EXPECT_TRUE(reg.KeyExists(name)) << qPrintable(name);
    }
    // A key whose name contains "/" is one key, not two.
    EXPECT_FALSE(reg.KeyExists("a"));
    ASSERT_TRUE(reg.OpenKey("a/b", false));
    reg.WriteInteger("x/y", 5);
    EXPECT_EQ(reg.GetValueNames(), QStringList{"x/y"});
    EXPECT_TRUE(reg.GetKeyNames().isEmpty());
    EXPECT_EQ(reg.CurrentPath(), Path("a/b"));
    // A key holding only a sub-key has no values.
    ASSERT_TRUE(reg.OpenKey(Path("Only"), false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{"Deeper"});
    EXPECT_TRUE(reg.GetValueNames().isEmpty());

    SaveRegistryParam("\\Param/Test\\50%/x", 3);
    EXPECT_EQ(LoadRegistryParam("\\Param/Test\\50%/x", 0), 3);
    EXPECT_TRUE(reg.DeleteKey(RegistryBaseKey() + "\\Param/Test"));
}

TEST_F(RegistryTest, ParametersLiveBelowTheBaseKeyAndFallBackToDefaults) {
    const QString savedBase = RegistryBaseKey();
    SetRegistryBaseKey(FRoot + "\\Base");
    const QString path = QStringLiteral("\\PELVAR\\Confirmations\\");

    EXPECT_EQ(LoadRegistryParam(path + "Text", QStringLiteral("def")), "def");
    EXPECT_EQ(LoadRegistryParam(path + "Text", "literal"), "literal");
    EXPECT_EQ(LoadRegistryParam(path + "Number", 42), 42);
    EXPECT_TRUE(LoadRegistryParam(path + "Flag", true));
    EXPECT_EQ(LoadRegistryParam(path + "Bytes", QByteArray("d")), QByteArray("d"));
    // Loading never creates keys.
    EXPECT_FALSE(TRegistry().KeyExists(FRoot + "\\Base\\PELVAR"));

    SaveRegistryParam(path + "Text", QStringLiteral("stored"));
    SaveRegistryParam(path + "Literal", "chars");
    SaveRegistryParam(path + "Number", -3);
    SaveRegistryParam(path + "Flag", false);
    SaveRegistryParam(path + "Bytes", QByteArray("\x00\x01", 2));
    SaveRegistryParam("TopLevel", 1);

    EXPECT_EQ(LoadRegistryParam(path + "text", QStringLiteral("def")), "stored");
    EXPECT_EQ(LoadRegistryParam(path + "Literal", "x"), "chars");
    EXPECT_EQ(LoadRegistryParam(path + "Number", 42), -3);
    EXPECT_FALSE(LoadRegistryParam(path + "Flag", true));
    EXPECT_EQ(LoadRegistryParam(path + "Bytes", QByteArray()), QByteArray("\x00\x01", 2));
    EXPECT_EQ(LoadRegistryParam("TopLevel", 0), 1);

    // The values sit in ordinary keys below the base key.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FRoot + "\\Base\\PELVAR\\Confirmations"));
    EXPECT_EQ(reg.ReadString("Text"), "stored");
    EXPECT_EQ(reg.ReadInteger("Number"), -3);
    ASSERT_TRUE(reg.OpenKeyReadOnly(FRoot + "\\Base"));
    EXPECT_EQ(reg.ReadInteger("TopLevel"), 1);

    // A value of another type is an error naming the parameter, not the default.
    const QString message = ErrorOf<ERegistryError>([&] { LoadRegistryParam(path + "Text", 5); });
    EXPECT_TRUE(message.contains(path + "Text")) << qPrintable(message);
    EXPECT_THROW(LoadRegistryParam(path + "Number", QStringLiteral("x")), ERegistryError);
    EXPECT_THROW(LoadRegistryParam(path + "Bytes", false), ERegistryError);
    SetRegistryBaseKey(savedBase);
}

TEST_F(RegistryTest, ValuesPersistInTheirFileAcrossSwitches) {
    const QString original = SettingsFileName();
    const QString other = TTestEnvironment::Instance().Dir() + "/other.ini";
    QFile::remove(other);
    {
        // Left open and unflushed on purpose: switching files must not lose it.
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Path("Persist"), true));
        reg.WriteString("Kept", "across files");

        SetSettingsFileName(other);
        EXPECT_EQ(SettingsFileName(), other);
        EXPECT_FALSE(TRegistry().KeyExists(Path("Persist")));
        TRegistry().CreateKey(Path("OnlyHere"));
        SetSettingsFileName(original);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Path("Persist")));
    EXPECT_EQ(reg.ReadString("Kept"), "across files");
    EXPECT_FALSE(reg.KeyExists(Path("OnlyHere")));

    SetSettingsFileName(other);
    EXPECT_TRUE(TRegistry().KeyExists(Path("OnlyHere")));
    SetSettingsFileName(original);
    EXPECT_TRUE(QFile::exists(other));  // the other file really is on disk
    QFile::remove(other);
}

}  // namespace
