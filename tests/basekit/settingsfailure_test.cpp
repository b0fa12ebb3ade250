#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "basekit/registry.h"
#include "printers.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

// Settings whose file cannot be written: the user is told once, naming the
// file, and the program goes on with the values it holds.
class SettingsFailureTest : public testing::Test {
  protected:
    void SetUp() override {
        FOriginal = SettingsFileName();
        FDir = TTestEnvironment::Instance().Dir() + QStringLiteral("/unwritable/") +
               QString::fromLatin1(testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(FDir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(FDir));
        Script().Reset();
    }
    void TearDown() override {
        SetSettingsFileName(FOriginal);
        QFile::setPermissions(FDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(FDir).removeRecursively();
        Script().Reset();
    }
    // Saves, flushes and changes settings in the file several times; every
    // value reads back within the run.
    void UseSettings(const QString& file) {
        SetSettingsFileName(file);
        for (int i = 0; i < 3; ++i) {
            const QString path = QStringLiteral("\\Options\\Value%1").arg(i);
            SaveRegistryParam(path, i * 10);
            FlushSettings();
            EXPECT_EQ(LoadRegistryParam(path, -1), i * 10);
        }
        TRegistry reg;
        ASSERT_TRUE(reg.CreateKey(QStringLiteral("\\Gone\\Soon")));
        EXPECT_TRUE(reg.DeleteKey(QStringLiteral("\\Gone")));
        EXPECT_FALSE(reg.KeyExists(QStringLiteral("\\Gone")));
        EXPECT_EQ(LoadRegistryParam(QStringLiteral("\\Options\\Value2"), -1), 20);
    }
    QStringList Warnings() const {
        QStringList texts;
        for (const auto& a : Script().Asked) {
            EXPECT_EQ(a.Caption, "Warning");
            EXPECT_EQ(a.Flags, MB::OK | MB::ICONWARNING);
            texts << a.Text;
        }
        return texts;
    }
    QString FOriginal;
    QString FDir;
};

TEST_F(SettingsFailureTest, AnUnwritablePlaceIsReportedOnceNamingTheFile) {
    const QString folderInPlace = FDir + QStringLiteral("/folder.ini");
    ASSERT_TRUE(QDir().mkpath(folderInPlace));
    UseSettings(folderInPlace);
    ASSERT_EQ(Warnings().size(), 1);
    EXPECT_TRUE(Warnings()[0].contains(folderInPlace)) << qPrintable(Warnings()[0]);
    EXPECT_TRUE(Warnings()[0].startsWith("The settings cannot be saved to "));

    // The settings folder is a file: another file, one more warning.
    QFile blocker(FDir + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString underFile = blocker.fileName() + QStringLiteral("/Pelvar.ini");
    UseSettings(underFile);
    ASSERT_EQ(Warnings().size(), 2);
    EXPECT_TRUE(Warnings()[1].contains(underFile));

    // Back to the first one later in the run: it was already reported.
    UseSettings(folderInPlace);
    EXPECT_EQ(Warnings().size(), 2);
}

TEST_F(SettingsFailureTest, AReadOnlyFileWarnsOnlyWhenWrittenTo) {
    const QString file = FDir + QStringLiteral("/readonly.ini");
    SetSettingsFileName(file);
    SaveRegistryParam(QStringLiteral("\\Options\\Before"), QStringLiteral("kept"));
    SetSettingsFileName(FOriginal);
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser));
    if (QFile(file).open(QIODevice::ReadWrite))
        GTEST_SKIP() << "this user may write read-only files";

    // Reading alone writes nothing and tells nothing.
    SetSettingsFileName(file);
    EXPECT_EQ(LoadRegistryParam(QStringLiteral("\\Options\\Before"), QString()), "kept");
    FlushSettings();
    EXPECT_TRUE(Script().Asked.isEmpty());

    UseSettings(file);
    ASSERT_EQ(Warnings().size(), 1);
    EXPECT_TRUE(Warnings()[0].contains(file));
    EXPECT_EQ(LoadRegistryParam(QStringLiteral("\\Options\\Before"), QString()), "kept");
}

TEST_F(SettingsFailureTest, AWritableFileSavesWithoutAWord) {
    const QString file = FDir + QStringLiteral("/new/folder/settings.ini");
    UseSettings(file);
    EXPECT_TRUE(Script().Asked.isEmpty());
    SetSettingsFileName(FOriginal);
    EXPECT_TRUE(QFile::exists(file));
    SetSettingsFileName(file);
    EXPECT_EQ(LoadRegistryParam(QStringLiteral("\\Options\\Value1"), -1), 10);
}

}  // namespace
