#include "basekit/registry.h"

#include <gtest/gtest.h>

#include <QFile>
#include <functional>

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

template <typename F>
QString ErrorOf(F&& f) {
    try {
        f();
    } catch (const ERegistryError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

TEST_F(RegistryTest, KeysAreCreatedOpenedAndDeletedAndExistEmpty) {
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(Path("A")));
    EXPECT_FALSE(reg.OpenKey(Path("A\\B\\C"), false));
    EXPECT_FALSE(reg.KeyExists(Path("A")));

    EXPECT_TRUE(reg.CreateKey(Path("A\\B\\C")));
    // An empty key and every key on its way exist.
    EXPECT_TRUE(reg.KeyExists(Path("A")));
    EXPECT_TRUE(reg.KeyExists(Path("A\\B")));
    EXPECT_TRUE(reg.KeyExists(Path("A\\B\\C")));
    EXPECT_FALSE(reg.KeyExists(Path("A\\B\\C\\D")));
    // CreateKey leaves the current key as it was.
    EXPECT_TRUE(reg.CurrentPath().isEmpty());

    ASSERT_TRUE(reg.OpenKey(Path("A\\B\\C"), false));
    EXPECT_EQ(reg.CurrentPath(), Path("A\\B\\C"));
    EXPECT_TRUE(reg.GetValueNames().isEmpty());
    EXPECT_FALSE(reg.HasSubKeys());
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
    const QStringList texts = {QString(),
                               QStringLiteral("plain"),
                               QStringLiteral("a, b, c"),
                               QStringLiteral("  padded  "),
                               QStringLiteral("semi;colon = \"quoted\" \\back"),
                               QStringLiteral("two\nlines\ttab"),
                               QStringLiteral("Привет, мир"),
                               QStringLiteral("@ByteArray(not really)"),
                               QStringLiteral("s:looks typed"),
                               QStringLiteral("100%")};
    for (int i = 0; i < texts.size(); ++i)
        reg.WriteString(QStringLiteral("S%1").arg(i), texts[i]);
    reg.WriteInteger(QStringLiteral("Zero"), 0);
    reg.WriteInteger(QStringLiteral("Min"), std::numeric_limits<int>::min());
    reg.WriteInteger(QStringLiteral("Max"), std::numeric_limits<int>::max());
    reg.WriteBool(QStringLiteral("Yes"), true);
    reg.WriteBool(QStringLiteral("No"), false);
    QByteArray bytes("\x00\x01\xff\r\n=,", 7);
    reg.WriteBinaryData(QStringLiteral("Bin"), bytes);
    reg.WriteBinaryData(QStringLiteral("EmptyBin"), QByteArray());
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
        EXPECT_EQ(r.ReadInteger(QStringLiteral("Zero")), 0);
        EXPECT_EQ(r.ReadInteger(QStringLiteral("Min")), std::numeric_limits<int>::min());
        EXPECT_EQ(r.ReadInteger(QStringLiteral("Max")), std::numeric_limits<int>::max());
        EXPECT_EQ(r.GetDataType(QStringLiteral("Max")), TRegDataType::rdInteger);
        EXPECT_EQ(r.GetDataSize(QStringLiteral("Max")), 4);
        EXPECT_TRUE(r.ReadBool(QStringLiteral("Yes")));
        EXPECT_FALSE(r.ReadBool(QStringLiteral("No")));
        EXPECT_EQ(r.ReadBinaryData(QStringLiteral("Bin")), bytes);
        EXPECT_EQ(r.GetDataType(QStringLiteral("Bin")), TRegDataType::rdBinary);
        EXPECT_EQ(r.GetDataSize(QStringLiteral("Bin")), bytes.size());
        EXPECT_TRUE(r.ReadBinaryData(QStringLiteral("EmptyBin")).isEmpty());
        EXPECT_EQ(r.GetDataType(QStringLiteral("Missing")), TRegDataType::rdUnknown);
        EXPECT_EQ(r.GetDataSize(QStringLiteral("Missing")), -1);
        r.CloseKey();
        const QString file = SettingsFileName();
        SetSettingsFileName(file);  // drops the in-memory store: the next read is from disk
    }

    // Overwriting changes the value and its type.
    ASSERT_TRUE(reg.OpenKey(FRoot, false));
    reg.WriteInteger(QStringLiteral("S1"), 7);
    EXPECT_EQ(reg.GetDataType(QStringLiteral("S1")), TRegDataType::rdInteger);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("S1")), 7);
    EXPECT_TRUE(reg.DeleteValue(QStringLiteral("S1")));
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("S1")));
    EXPECT_FALSE(reg.DeleteValue(QStringLiteral("S1")));
}

TEST_F(RegistryTest, WrongTypeOrMissingValueRaisesANamedError) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    reg.WriteString(QStringLiteral("Text"), QStringLiteral("12"));
    reg.WriteInteger(QStringLiteral("Number"), 12);
    reg.WriteBinaryData(QStringLiteral("Data"), QByteArray("12"));

    const QList<std::function<void()>> wrong = {
        [&] { reg.ReadInteger(QStringLiteral("Text")); },
        [&] { reg.ReadBool(QStringLiteral("Text")); },
        [&] { reg.ReadBinaryData(QStringLiteral("Text")); },
        [&] { reg.ReadString(QStringLiteral("Number")); },
        [&] { reg.ReadBinaryData(QStringLiteral("Number")); },
        [&] { reg.ReadString(QStringLiteral("Data")); },
        [&] { reg.ReadInteger(QStringLiteral("Data")); },
    };
    const QStringList names = {QStringLiteral("Text"),   QStringLiteral("Text"),
                               QStringLiteral("Text"),   QStringLiteral("Number"),
                               QStringLiteral("Number"), QStringLiteral("Data"),
                               QStringLiteral("Data")};
    for (int i = 0; i < wrong.size(); ++i) {
        const QString message = ErrorOf(wrong[i]);
        // The message tells which value of which key is of the wrong type.
        EXPECT_TRUE(message.contains(QLatin1Char('\'') + names[i] + QLatin1Char('\'')))
            << i << ": " << qPrintable(message);
        EXPECT_TRUE(message.contains(FRoot)) << i << ": " << qPrintable(message);
        EXPECT_TRUE(message.contains(QStringLiteral("type"), Qt::CaseInsensitive))
            << i << ": " << qPrintable(message);
    }
    for (const auto& read :
         QList<std::function<void()>>{[&] { reg.ReadString(QStringLiteral("Missing")); },
                                      [&] { reg.ReadInteger(QStringLiteral("Missing")); },
                                      [&] { reg.ReadBool(QStringLiteral("Missing")); },
                                      [&] { reg.ReadBinaryData(QStringLiteral("Missing")); }}) {
        const QString message = ErrorOf(read);
        EXPECT_TRUE(message.contains(QStringLiteral("'Missing'"))) << qPrintable(message);
        EXPECT_TRUE(message.contains(QStringLiteral("does not exist"))) << qPrintable(message);
        EXPECT_TRUE(message.contains(FRoot)) << qPrintable(message);
    }
    // Nothing open: reads raise, writes raise, tests answer false.
    reg.CloseKey();
    EXPECT_THROW(reg.ReadString(QStringLiteral("Text")), ERegistryError);
    EXPECT_THROW(reg.WriteString(QStringLiteral("Text"), QString()), ERegistryError);
    EXPECT_THROW(reg.GetValueNames(), ERegistryError);
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("Text")));
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCaseAndKeepTheirFirstSpelling) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Path("Mixed\\Case"), true));
    reg.WriteString(QStringLiteral("ValueName"), QStringLiteral("one"));
    reg.CloseKey();

    ASSERT_TRUE(reg.OpenKey(Path("MIXED\\case"), true));
    EXPECT_EQ(reg.CurrentPath(), Path("Mixed\\Case"));
    EXPECT_TRUE(reg.ValueExists(QStringLiteral("VALUENAME")));
    EXPECT_EQ(reg.ReadString(QStringLiteral("valuename")), QStringLiteral("one"));
    reg.WriteString(QStringLiteral("VALUENAME"), QStringLiteral("two"));
    EXPECT_EQ(reg.GetValueNames(), QStringList{QStringLiteral("ValueName")});
    EXPECT_EQ(reg.ReadString(QStringLiteral("ValueName")), QStringLiteral("two"));
    reg.CloseKey();

    EXPECT_TRUE(reg.KeyExists(Path("mixed")));
    ASSERT_TRUE(reg.OpenKey(Path("mixed"), false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{QStringLiteral("Case")});
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(Path("MIXED\\CASE")));
    EXPECT_FALSE(reg.KeyExists(Path("Mixed\\Case")));
}

TEST_F(RegistryTest, EnumeratesSubKeysAndValuesWithoutInternalEntries) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    EXPECT_TRUE(reg.GetKeyNames().isEmpty());
    EXPECT_TRUE(reg.GetValueNames().isEmpty());
    reg.CreateKey(QStringLiteral("Empty"));
    reg.CreateKey(QStringLiteral("Full\\Deeper"));
    reg.WriteString(QStringLiteral("First"), QStringLiteral("1"));
    reg.WriteInteger(QStringLiteral("Second"), 2);
    reg.WriteBinaryData(QStringLiteral("Third"), QByteArray("3"));

    QStringList keys = reg.GetKeyNames();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{QStringLiteral("Empty"), QStringLiteral("Full")}));
    EXPECT_TRUE(reg.HasSubKeys());
    QStringList values = reg.GetValueNames();
    values.sort();
    EXPECT_EQ(values, (QStringList{QStringLiteral("First"), QStringLiteral("Second"),
                                   QStringLiteral("Third")}));

    // Sub-keys are not values and values are not sub-keys.
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Full"), false));
    EXPECT_EQ(reg.GetKeyNames(), QStringList{QStringLiteral("Deeper")});
    EXPECT_TRUE(reg.GetValueNames().isEmpty());
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Deeper"), false));
    EXPECT_FALSE(reg.HasSubKeys());
    EXPECT_TRUE(reg.GetValueNames().isEmpty());
}

TEST_F(RegistryTest, RelativePathsStartAtTheCurrentKeyAbsoluteOnesAtTheRoot) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Child\\Grandchild"), true));
    EXPECT_EQ(reg.CurrentPath(), Path("Child\\Grandchild"));
    reg.WriteInteger(QStringLiteral("Depth"), 2);

    // Relative tests and creation work from the current key.
    EXPECT_TRUE(reg.CreateKey(QStringLiteral("Leaf")));
    EXPECT_TRUE(reg.KeyExists(QStringLiteral("Leaf")));
    EXPECT_TRUE(reg.KeyExists(Path("Child\\Grandchild\\Leaf")));
    EXPECT_FALSE(reg.KeyExists(Path("Leaf")));

    // An absolute path ignores the current key; trailing and doubled separators
    // do not matter.
    ASSERT_TRUE(reg.OpenKey(FRoot + QStringLiteral("\\\\Child\\"), false));
    EXPECT_EQ(reg.CurrentPath(), Path("Child"));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Grandchild"), false));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Depth")), 2);

    // Without an open key a relative path starts at the root.
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists(FRoot.mid(1)));
    ASSERT_TRUE(reg.OpenKey(FRoot.mid(1) + QStringLiteral("\\Child"), false));
    EXPECT_EQ(reg.CurrentPath(), Path("Child"));

    // A failed open leaves the current key open.
    EXPECT_FALSE(reg.OpenKey(QStringLiteral("NoSuchChild"), false));
    EXPECT_EQ(reg.CurrentPath(), Path("Child"));
    EXPECT_TRUE(reg.DeleteKey(QStringLiteral("Grandchild\\Leaf")));
    EXPECT_FALSE(reg.KeyExists(Path("Child\\Grandchild\\Leaf")));
    EXPECT_TRUE(reg.KeyExists(Path("Child\\Grandchild")));
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseEveryWrite) {
    {
        TRegistry w;
        ASSERT_TRUE(w.OpenKey(Path("Sub"), true));
        w.WriteString(QStringLiteral("Kept"), QStringLiteral("yes"));
    }
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly(Path("Missing")));
    EXPECT_FALSE(reg.KeyExists(Path("Missing")));  // read-only opening never creates
    ASSERT_TRUE(reg.OpenKeyReadOnly(FRoot));
    EXPECT_TRUE(reg.ReadOnly());
    EXPECT_THROW(reg.WriteString(QStringLiteral("X"), QStringLiteral("x")), ERegistryError);
    EXPECT_THROW(reg.WriteInteger(QStringLiteral("X"), 1), ERegistryError);
    EXPECT_THROW(reg.WriteBool(QStringLiteral("X"), true), ERegistryError);
    EXPECT_THROW(reg.WriteBinaryData(QStringLiteral("X"), QByteArray("x")), ERegistryError);
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("X")));
    const QString message = ErrorOf([&] { reg.WriteString(QStringLiteral("X"), QString()); });
    EXPECT_TRUE(message.contains(QStringLiteral("read-only"))) << qPrintable(message);
    EXPECT_FALSE(reg.DeleteKey(QStringLiteral("Sub")));
    EXPECT_TRUE(reg.KeyExists(Path("Sub")));

    ASSERT_TRUE(reg.OpenKeyReadOnly(QStringLiteral("Sub")));
    EXPECT_THROW(reg.DeleteValue(QStringLiteral("Kept")), ERegistryError);
    EXPECT_EQ(reg.ReadString(QStringLiteral("Kept")), QStringLiteral("yes"));
    // Opening for writing again lifts the restriction.
    ASSERT_TRUE(reg.OpenKey(Path("Sub"), false));
    EXPECT_FALSE(reg.ReadOnly());
    reg.WriteString(QStringLiteral("Kept"), QStringLiteral("changed"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Kept")), QStringLiteral("changed"));
}

TEST_F(RegistryTest, NamesWithSlashesAndPercentSignsStayWhole) {
    const QStringList names = {QStringLiteral("a/b"),        QStringLiteral("50%"),
                               QStringLiteral("%2F"),        QStringLiteral("%25/%"),
                               QStringLiteral("/"),          QStringLiteral("@key"),
                               QStringLiteral("with space"), QStringLiteral("Ключ")};
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FRoot, true));
    for (const QString& name : names) {
        reg.WriteString(name, QStringLiteral("value of ") + name);
        EXPECT_TRUE(reg.CreateKey(name)) << qPrintable(name);
    }
    QStringList values = reg.GetValueNames(), keys = reg.GetKeyNames(), expected = names;
    values.sort();
    keys.sort();
    expected.sort();
    EXPECT_EQ(values, expected);
    EXPECT_EQ(keys, expected);
    for (const QString& name : names) {
        EXPECT_EQ(reg.ReadString(name), QStringLiteral("value of ") + name) << qPrintable(name);
        EXPECT_TRUE(reg.KeyExists(name)) << qPrintable(name);
    }
    // A key whose name contains "/" is one key, not two.
    EXPECT_FALSE(reg.KeyExists(QStringLiteral("a")));
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("a/b"), false));
    reg.WriteInteger(QStringLiteral("x/y"), 5);
    EXPECT_EQ(reg.GetValueNames(), QStringList{QStringLiteral("x/y")});
    EXPECT_TRUE(reg.GetKeyNames().isEmpty());
    EXPECT_EQ(reg.CurrentPath(), Path("a/b"));

    SaveRegistryParam(QStringLiteral("\\Param/Test\\50%/x"), 3);
    EXPECT_EQ(LoadRegistryParam(QStringLiteral("\\Param/Test\\50%/x"), 0), 3);
    EXPECT_TRUE(reg.DeleteKey(RegistryBaseKey() + QStringLiteral("\\Param/Test")));
}

TEST_F(RegistryTest, ParametersLiveBelowTheBaseKeyAndFallBackToDefaults) {
    const QString savedBase = RegistryBaseKey();
    SetRegistryBaseKey(FRoot + QStringLiteral("\\Base"));
    const QString path = QStringLiteral("\\PELVAR\\Confirmations\\");

    EXPECT_EQ(LoadRegistryParam(path + "Text", QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(LoadRegistryParam(path + "Text", "literal"), QStringLiteral("literal"));
    EXPECT_EQ(LoadRegistryParam(path + "Number", 42), 42);
    EXPECT_TRUE(LoadRegistryParam(path + "Flag", true));
    EXPECT_EQ(LoadRegistryParam(path + "Bytes", QByteArray("d")), QByteArray("d"));
    // Loading never creates keys.
    EXPECT_FALSE(TRegistry().KeyExists(FRoot + QStringLiteral("\\Base\\PELVAR")));

    SaveRegistryParam(path + "Text", QStringLiteral("stored"));
    SaveRegistryParam(path + "Literal", "chars");
    SaveRegistryParam(path + "Number", -3);
    SaveRegistryParam(path + "Flag", false);
    SaveRegistryParam(path + "Bytes", QByteArray("\x00\x01", 2));
    SaveRegistryParam(QStringLiteral("TopLevel"), 1);

    EXPECT_EQ(LoadRegistryParam(path + "text", QStringLiteral("def")), QStringLiteral("stored"));
    EXPECT_EQ(LoadRegistryParam(path + "Literal", "x"), QStringLiteral("chars"));
    EXPECT_EQ(LoadRegistryParam(path + "Number", 42), -3);
    EXPECT_FALSE(LoadRegistryParam(path + "Flag", true));
    EXPECT_EQ(LoadRegistryParam(path + "Bytes", QByteArray()), QByteArray("\x00\x01", 2));
    EXPECT_EQ(LoadRegistryParam(QStringLiteral("TopLevel"), 0), 1);

    // The values sit in ordinary keys below the base key.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FRoot + QStringLiteral("\\Base\\PELVAR\\Confirmations")));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Text")), QStringLiteral("stored"));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Number")), -3);
    ASSERT_TRUE(reg.OpenKeyReadOnly(FRoot + QStringLiteral("\\Base")));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("TopLevel")), 1);

    // A value of another type is an error naming the parameter, not the default.
    try {
        LoadRegistryParam(path + "Text", 5);
        ADD_FAILURE() << "a text read as a number";
    } catch (const ERegistryError& e) {
        EXPECT_TRUE(e.Message().contains(path + "Text")) << qPrintable(e.Message());
    }
    EXPECT_THROW(LoadRegistryParam(path + "Number", QStringLiteral("x")), ERegistryError);
    EXPECT_THROW(LoadRegistryParam(path + "Bytes", false), ERegistryError);
    SetRegistryBaseKey(savedBase);
}

TEST_F(RegistryTest, ValuesPersistInTheirFileAcrossSwitches) {
    const QString original = SettingsFileName();
    const QString other = TTestEnvironment::Instance().Dir() + QStringLiteral("/other.ini");
    QFile::remove(other);
    {
        // Left open and unflushed on purpose: switching files must not lose it.
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Path("Persist"), true));
        reg.WriteString(QStringLiteral("Kept"), QStringLiteral("across files"));
        reg.WriteInteger(QStringLiteral("Count"), 9);

        SetSettingsFileName(other);
        EXPECT_EQ(SettingsFileName(), other);
        EXPECT_FALSE(TRegistry().KeyExists(Path("Persist")));
        TRegistry inOther;
        ASSERT_TRUE(inOther.OpenKey(Path("OnlyHere"), true));
        inOther.WriteInteger(QStringLiteral("N"), 1);
        inOther.CloseKey();
        SetSettingsFileName(original);
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Path("Persist")));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Kept")), QStringLiteral("across files"));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Count")), 9);
    EXPECT_FALSE(reg.KeyExists(Path("OnlyHere")));

    SetSettingsFileName(other);
    EXPECT_TRUE(TRegistry().KeyExists(Path("OnlyHere")));
    SetSettingsFileName(original);
    // The other file really holds its value on disk.
    EXPECT_TRUE(QFile::exists(other));
    QFile::remove(other);
}

}  // namespace
