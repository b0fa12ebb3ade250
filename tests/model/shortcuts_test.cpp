#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "basekit/errors.h"
#include "basekit/registry.h"
#include "errorof.h"
#include "model/shortcuts.h"
#include "testobjects.h"

namespace {

class THost : public TShortcutHost {
  public:
    TPelvarObjectShortcutList& ObjectShortcuts() override { return List; }
    void FillShortcuts() override { ++Rebuilt; }
    TPelvarObjectShortcutList List;
    int Rebuilt = 0;
};

// A folder that describes its own shortcut.
class TShortcutFolder : public TTestFolder {
  public:
    PELVAR_OBJECT_CREATE(TShortcutFolder)
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override {
        ShortCut.CaptionID = QStringLiteral("M_Test_TablesShortcut");
        ShortCut.ImageIndex = 4;
    }
};

class TShortcutTest : public testing::Test {
  protected:
    void SetUp() override {
        TRegistry().DeleteKey(Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR"));
        ASSERT_TRUE(FReg.OpenKey(
            Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\Shortcuts\\0"), true));
    }
    void TearDown() override {
        FReg.CloseKey();
        BaseMng().Databases().SetDefaultAlias(QString());
    }
    TPelvarObjectShortcut Load() {
        TPelvarObjectShortcut s;
        s.LoadFromRegistry(FReg);
        return s;
    }
    void WriteBare(int imageIndex, int imageSize) {
        for (const char* name : {"CaptionID", "HintID", "Caption", "Hint"})
            FReg.WriteString(name, "c");
        FReg.WriteString("FullPath", "\\A");
        FReg.WriteInteger("ImageIndex", imageIndex);
        FReg.WriteInteger("ShortCut", 0);
        FReg.WriteInteger("ImageSize", imageSize);
    }
    TRegistry FReg;
};

}  // namespace

TEST_F(TShortcutTest, CaptionIdShortcutSavesNoCaption) {
    TPelvarObjectShortcut s;
    s.FullPath = "\\\\Structures\\Tables";
    s.CaptionID = "M_Test_Caption";
    s.Caption = "ignored";
    s.Hint = "a hint";
    s.ImageIndex = 4;
    s.Shortcut = QKeyCombination(Qt::CTRL | Qt::Key_T).toCombined();
    s.SaveToRegistry(FReg);
    EXPECT_FALSE(FReg.ValueExists("Caption"));
    EXPECT_TRUE(FReg.ValueExists("Hint"));
    EXPECT_FALSE(FReg.ValueExists("ImageSize"));
    EXPECT_FALSE(FReg.ValueExists("Image"));
    const TPelvarObjectShortcut loaded = Load();
    EXPECT_EQ(loaded.FullPath, s.FullPath);
    EXPECT_EQ(loaded.CaptionID, s.CaptionID);
    EXPECT_TRUE(loaded.Caption.isEmpty());
    EXPECT_EQ(loaded.Hint, "a hint");
    EXPECT_EQ(loaded.ImageIndex, 4);
    EXPECT_EQ(loaded.Shortcut, s.Shortcut);
}

TEST_F(TShortcutTest, OwnPictureRoundTripsLosslessly) {
    TPelvarObjectShortcut s;
    s.ImageIndex = -1;
    s.Image = QImage(16, 16, QImage::Format_ARGB32);
    s.Image.fill(Qt::transparent);
    QPainter(&s.Image).fillRect(2, 3, 5, 7, QColor(10, 200, 30));
    s.SaveToRegistry(FReg);
    EXPECT_EQ(FReg.ReadInteger("ImageSize"), FReg.ReadBinaryData("Image").size());
    const TPelvarObjectShortcut loaded = Load();
    EXPECT_EQ(loaded.ImageIndex, -1);
    EXPECT_EQ(loaded.Image.convertToFormat(QImage::Format_ARGB32), s.Image);

    TPelvarObjectShortcut copy;
    copy.Assign(loaded);
    QPainter(&copy.Image).fillRect(0, 0, 16, 16, Qt::red);
    EXPECT_NE(copy.Image, loaded.Image);  // copied, not shared
}

TEST_F(TShortcutTest, ImageSizeBounds) {
    WriteBare(-1, 0);
    EXPECT_EQ(Load().ImageIndex, 0);  // no picture: the list's first image

    QByteArray big;
    QBuffer buffer(&big);
    buffer.open(QIODevice::WriteOnly);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.save(&buffer, "PNG");
    big.resize(1000000, '\0');
    WriteBare(-1, 1000000);
    FReg.WriteBinaryData("Image", big);
    const TPelvarObjectShortcut loaded = Load();
    EXPECT_EQ(loaded.ImageIndex, -1);
    EXPECT_EQ(loaded.Image.size(), QSize(4, 4));

    for (int size : {1000001, -1}) {
        WriteBare(-1, size);
        EXPECT_EQ(ErrorOf([&] { Load(); }),
                  QStringLiteral("Invalid image size (%1) in pelvar object shortcut").arg(size));
    }
    // A positive image index never reads the picture values.
    WriteBare(2, -5);
    EXPECT_EQ(Load().ImageIndex, 2);
}

TEST_F(TShortcutTest, AddingAFolderFollowsTheLoginDatabaseAndNeverDuplicates) {
    BaseMng().Databases().SetDefaultAlias("MAINDB");
    EXPECT_EQ(ShortcutPathFor("\\MAINDB\\Structures"), "\\\\Structures");
    EXPECT_EQ(ShortcutPathFor("\\OTHER\\Structures"), "\\OTHER\\Structures");
    EXPECT_EQ(ShortcutPathFor(QString()), QString());

    THost host;
    TShortcutFolder folder;
    EXPECT_TRUE(AddFolderShortcut(host, "\\MAINDB\\Structures\\Tables", &folder));
    EXPECT_FALSE(AddFolderShortcut(host, "\\MAINDB\\Structures\\Tables", &folder));
    ASSERT_EQ(host.List.Count(), 1);
    EXPECT_EQ(host.Rebuilt, 1);
    const TPelvarObjectShortcut* s = host.List.Items(0);
    EXPECT_EQ(s->FullPath, "\\\\Structures\\Tables");
    EXPECT_EQ(s->Caption, s->FullPath);
    EXPECT_EQ(s->Hint, s->FullPath);
    EXPECT_EQ(s->CaptionID, "M_Test_TablesShortcut");
    EXPECT_EQ(s->ImageIndex, 4);
    // Paths are told apart by case.
    EXPECT_EQ(host.List.FindByPath("\\\\Structures\\Tables"), s);
    EXPECT_EQ(host.List.FindByPath("\\\\structures\\tables"), nullptr);
}

// A damaged entry costs only itself: the others load in order, and the error
// names the entry. When nothing can be read, the list keeps what it held (the
// standard shortcuts); an empty key is an empty list.
TEST_F(TShortcutTest, DamagedEntriesAreSkippedAndTheRestLoad) {
    const QString key = Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\Shortcuts");
    auto writeEntry = [&](int i, const QString& path) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key + QStringLiteral("\\%1").arg(i), true));
        TPelvarObjectShortcut s;
        s.FullPath = path;
        s.ImageIndex = 1;
        s.SaveToRegistry(reg);
    };
    auto damage = [&](int i, auto how) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key + QStringLiteral("\\%1").arg(i), false));
        how(reg);
    };
    TPelvarObjectShortcutList list;
    list.Add()->FullPath = "\\\\Structures\\Tables";  // a standard one
    QStringList errors;
    list.LoadFromRegistry(key + QStringLiteral("X"), errors);  // no key: unchanged
    EXPECT_EQ(list.Count(), 1);

    FReg.CloseKey();
    TRegistry().DeleteKey(key);
    for (int i = 0; i < 5; ++i)
        writeEntry(i, QStringLiteral("\\P%1").arg(i));
    writeEntry(6, "\\AfterAGap");  // never read: the numbers stop at 5
    damage(1, [](TRegistry& r) {
        r.WriteInteger("ImageIndex", -1);
        r.WriteInteger("ImageSize", -7);
    });
    damage(2, [](TRegistry& r) { r.DeleteValue("FullPath"); });
    damage(4, [](TRegistry& r) { r.WriteString("ImageIndex", "four"); });
    list.LoadFromRegistry(key, errors);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->FullPath, "\\P0");
    EXPECT_EQ(list.Items(1)->FullPath, "\\P3");
    ASSERT_EQ(errors.size(), 3);
    EXPECT_TRUE(errors[0].startsWith(key + "\\1: Invalid image size (-7)"))
        << qPrintable(errors[0]);
    EXPECT_TRUE(errors[1].startsWith(key + "\\2: ")) << qPrintable(errors[1]);
    EXPECT_TRUE(errors[2].startsWith(key + "\\4: ")) << qPrintable(errors[2]);

    for (int i : {0, 3})
        damage(i, [](TRegistry& r) { r.DeleteValue("ShortCut"); });
    errors.clear();
    list.LoadFromRegistry(key, errors);  // nothing readable: the list stays
    EXPECT_EQ(errors.size(), 5);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1)->FullPath, "\\P3");

    TRegistry().DeleteKey(key);
    ASSERT_TRUE(TRegistry().CreateKey(key));
    errors.clear();
    list.LoadFromRegistry(key, errors);  // the user removed every shortcut
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(errors.isEmpty());
}
