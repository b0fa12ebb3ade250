#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

#include "appcore/appmanager.h"
#include "basekit/errors.h"
#include "basekit/registry.h"
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
        FKey = Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\Shortcuts\\0");
        TRegistry().DeleteKey(Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR"));
        ASSERT_TRUE(FReg.OpenKey(FKey, true));
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
        FReg.WriteString(QStringLiteral("FullPath"), QStringLiteral("\\A"));
        FReg.WriteString(QStringLiteral("CaptionID"), QString());
        FReg.WriteString(QStringLiteral("HintID"), QString());
        FReg.WriteString(QStringLiteral("Caption"), QStringLiteral("c"));
        FReg.WriteString(QStringLiteral("Hint"), QStringLiteral("h"));
        FReg.WriteInteger(QStringLiteral("ImageIndex"), imageIndex);
        FReg.WriteInteger(QStringLiteral("ShortCut"), 0);
        FReg.WriteInteger(QStringLiteral("ImageSize"), imageSize);
    }
    QString FKey;
    TRegistry FReg;
};

}  // namespace

TEST_F(TShortcutTest, CaptionIdShortcutSavesNoCaption) {
    TPelvarObjectShortcut s;
    s.FullPath = QStringLiteral("\\\\Structures\\Tables");
    s.CaptionID = QStringLiteral("M_Test_Caption");
    s.Caption = QStringLiteral("ignored");
    s.Hint = QStringLiteral("a hint");
    s.ImageIndex = 4;
    s.Shortcut = QKeyCombination(Qt::CTRL | Qt::Key_T).toCombined();
    s.SaveToRegistry(FReg);
    EXPECT_FALSE(FReg.ValueExists(QStringLiteral("Caption")));
    EXPECT_TRUE(FReg.ValueExists(QStringLiteral("Hint")));
    EXPECT_FALSE(FReg.ValueExists(QStringLiteral("ImageSize")));
    EXPECT_FALSE(FReg.ValueExists(QStringLiteral("Image")));
    const TPelvarObjectShortcut loaded = Load();
    EXPECT_EQ(loaded.FullPath, s.FullPath);
    EXPECT_EQ(loaded.CaptionID, s.CaptionID);
    EXPECT_TRUE(loaded.Caption.isEmpty());
    EXPECT_EQ(loaded.Hint, QStringLiteral("a hint"));
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
    EXPECT_EQ(FReg.ReadInteger(QStringLiteral("ImageSize")),
              FReg.ReadBinaryData(QStringLiteral("Image")).size());
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
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QBuffer buffer(&big);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    big.resize(1000000, '\0');
    WriteBare(-1, 1000000);
    FReg.WriteBinaryData(QStringLiteral("Image"), big);
    const TPelvarObjectShortcut loaded = Load();
    EXPECT_EQ(loaded.ImageIndex, -1);
    EXPECT_EQ(loaded.Image.size(), QSize(4, 4));

    for (int size : {1000001, -1}) {
        WriteBare(-1, size);
        try {
            Load();
            ADD_FAILURE() << "size " << size << " loaded";
        } catch (const EPelvarError& e) {
            EXPECT_EQ(
                e.Message(),
                QStringLiteral("Invalid image size (%1) in pelvar object shortcut").arg(size));
        }
    }
    // A positive image index never reads the picture values.
    WriteBare(2, -5);
    EXPECT_EQ(Load().ImageIndex, 2);
}

TEST_F(TShortcutTest, ListOperations) {
    TPelvarObjectShortcutList list;
    list.Add()->FullPath = QStringLiteral("\\A");
    list.Add()->FullPath = QStringLiteral("\\C");
    list.Insert(1)->FullPath = QStringLiteral("\\B");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(1)->FullPath, QStringLiteral("\\B"));
    EXPECT_EQ(list.Items(1)->ImageIndex, -1);
    EXPECT_EQ(list.FindByPath(QStringLiteral("\\C")), list.Items(2));
    EXPECT_EQ(list.FindByPath(QStringLiteral("\\c")), nullptr);
    EXPECT_EQ(list.IndexOf(list.Items(2)), 2);
    TPelvarObjectShortcutList copy;
    copy.Assign(list);
    list.Delete(0);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Items(0)->FullPath, QStringLiteral("\\A"));
    EXPECT_NE(copy.Items(1), list.Items(0));
}

TEST_F(TShortcutTest, AddingAFolderFollowsTheLoginDatabaseAndNeverDuplicates) {
    BaseMng().Databases().SetDefaultAlias(QStringLiteral("MAINDB"));
    EXPECT_EQ(ShortcutPathFor(QStringLiteral("\\MAINDB\\Structures")),
              QStringLiteral("\\\\Structures"));
    EXPECT_EQ(ShortcutPathFor(QStringLiteral("\\OTHER\\Structures")),
              QStringLiteral("\\OTHER\\Structures"));
    EXPECT_EQ(ShortcutPathFor(QString()), QString());

    THost host;
    TShortcutFolder folder;
    EXPECT_TRUE(AddFolderShortcut(host, QStringLiteral("\\MAINDB\\Structures\\Tables"), &folder));
    EXPECT_FALSE(AddFolderShortcut(host, QStringLiteral("\\MAINDB\\Structures\\Tables"), &folder));
    ASSERT_EQ(host.List.Count(), 1);
    EXPECT_EQ(host.Rebuilt, 1);
    const TPelvarObjectShortcut* s = host.List.Items(0);
    EXPECT_EQ(s->FullPath, QStringLiteral("\\\\Structures\\Tables"));
    EXPECT_EQ(s->Caption, s->FullPath);
    EXPECT_EQ(s->Hint, s->FullPath);
    EXPECT_EQ(s->CaptionID, QStringLiteral("M_Test_TablesShortcut"));
    EXPECT_EQ(s->ImageIndex, 4);
}
