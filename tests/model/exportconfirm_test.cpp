#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "appcore/platform.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "model/exportconfirm.h"
#include "printers.h"
#include "scriptedinteraction.h"

namespace {

QString Key() {
    return Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\Confirmations");
}

class ExportConfirmTest : public testing::Test {
  protected:
    void SetUp() override {
        TRegistry().DeleteKey(Key());
        Script().Reset();
        FSaved = SetExportDialogPrompts({});
    }
    void TearDown() override {
        SetExportDialogPrompts(FSaved);
        TRegistry().DeleteKey(Key());
    }
    // The export confirmation answered by `answer`, which sees what is offered.
    void Answer(std::function<bool(TExportConfirmState&)> answer) {
        TExportDialogPrompts p;
        p.ExportConfirm = [answer](TExportConfirmState& s, int, int) { return answer(s); };
        SetExportDialogPrompts(p);
    }
    TExportDialogPrompts FSaved;
};

TEST_F(ExportConfirmTest, ChoicesAreRememberedUnderTheirNamesEvenOnCancel) {
    TExportConfirmState offered;
    Answer([&](TExportConfirmState& s) {
        offered = s;
        s.ExportLResources = false;
        s.SeparateExport = true;
        s.SeparateTableData = true;
        s.DirName = "/tmp/out";
        s.Release17 = true;
        s.Encoding = "ANSI";
        return false;  // cancelled
    });
    TExportConfirmRequest r{1, 2, "first.eif"};
    EXPECT_FALSE(ExportConfirm(r));
    // Nothing remembered yet: the defaults and the caller's name.
    EXPECT_TRUE(offered.ExportLResources);
    EXPECT_TRUE(offered.ExportTableData);
    EXPECT_FALSE(offered.SeparateExport);
    EXPECT_EQ(offered.FileName, "first.eif");
    EXPECT_EQ(offered.Encoding, "UTF8");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key()));
    EXPECT_FALSE(reg.ReadBool("ExportLReosurces"));
    EXPECT_TRUE(reg.ReadBool("ExportTableData"));
    EXPECT_TRUE(reg.ReadBool("SeparateExport"));
    EXPECT_FALSE(reg.ReadBool("SeparateExportDialogRes"));
    EXPECT_TRUE(reg.ReadBool("SeparateExportTableData"));
    EXPECT_EQ(reg.ReadString("ExportFileName"), "first.eif");
    EXPECT_EQ(reg.ReadString("ExportDirName"), "/tmp/out");
    EXPECT_TRUE(reg.ReadBool("ReleaseVersion17ExportFormat"));
    EXPECT_EQ(reg.ReadString("ExportEncoding"), "ANSI");
    reg.CloseKey();

    // Offered again next time; a remembered name wins over the caller's.
    Answer([&](TExportConfirmState& s) {
        offered = s;
        return true;
    });
    TExportConfirmRequest again{1, 1, "other.eif"};
    EXPECT_TRUE(ExportConfirm(again));
    EXPECT_FALSE(offered.ExportLResources);
    EXPECT_TRUE(offered.SeparateTableData);
    EXPECT_EQ(offered.FileName, "first.eif");
    EXPECT_EQ(offered.DirName, "/tmp/out");
    EXPECT_EQ(offered.Encoding, "ANSI");
    EXPECT_EQ(again.FileName, "/tmp/out");  // separate: the directory
    EXPECT_TRUE(again.SeparateTableData);
    EXPECT_FALSE(again.NewFormat);
    EXPECT_FALSE(again.UTF8);
}

TEST_F(ExportConfirmTest, SeparateSubOptionsAreFalseUnlessSeparateExport) {
    Answer([](TExportConfirmState& s) {
        s.SeparateExport = false;
        s.SeparateDialogRes = true;
        s.SeparateTableData = true;
        s.FileName = "all.eif";
        s.DirName = "/tmp/dir";
        return true;
    });
    TExportConfirmRequest r{2, 2};
    ASSERT_TRUE(ExportConfirm(r));
    EXPECT_FALSE(r.SeparateExport);
    EXPECT_FALSE(r.SeparateDialogRes);
    EXPECT_FALSE(r.SeparateTableData);
    EXPECT_EQ(r.FileName, "all.eif");
    EXPECT_TRUE(r.NewFormat);
    EXPECT_TRUE(r.UTF8);
    // The boxes themselves are remembered as they were.
    EXPECT_TRUE(LoadExportConfirmState().SeparateTableData);
}

TEST_F(ExportConfirmTest, UnknownOrMistypedEncodingFallsBackToUtf8) {
    SaveRegistryParam("\\PELVAR\\Confirmations\\ExportEncoding", QString("KOI8-R"));
    EXPECT_EQ(LoadExportConfirmState().Encoding, "UTF8");
    EXPECT_EQ(LoadLExportConfirmState(true).Encoding, "UTF8");
    SaveRegistryParam("\\PELVAR\\Confirmations\\ExportEncoding", QString("ansi"));
    EXPECT_EQ(LoadExportConfirmState().Encoding, "ANSI");
    // A value of another type counts as missing rather than failing the export.
    SaveRegistryParam("\\PELVAR\\Confirmations\\ExportEncoding", 5);
    SaveRegistryParam("\\PELVAR\\Confirmations\\SeparateExport", QString("yes"));
    const TExportConfirmState s = LoadExportConfirmState();
    EXPECT_EQ(s.Encoding, "UTF8");
    EXPECT_FALSE(s.SeparateExport);
}

// The captions per mode show in the export dialog tests.
TEST_F(ExportConfirmTest, EnablingFollowsTheModes) {
    EXPECT_FALSE(ExportModeEnabled(0));

    TExportConfirmState s;
    s.ExportLResources = s.ExportTableData = true;
    EXPECT_FALSE(SeparateDialogResEnabled(s, 1));  // not separate
    s.SeparateExport = true;
    EXPECT_TRUE(SeparateDialogResEnabled(s, 1));
    EXPECT_FALSE(SeparateDialogResEnabled(s, 0));  // the main box is disabled
    EXPECT_TRUE(SeparateTableDataEnabled(s, 2));
    s.ExportTableData = false;
    EXPECT_FALSE(SeparateTableDataEnabled(s, 2));
    EXPECT_TRUE(SeparateDialogResEnabled(s, 2));
}

TEST_F(ExportConfirmTest, OkNeedsTheVisibleNameAndAnEncoding) {
    TExportConfirmState s;
    s.FileName = "  ";
    s.DirName = "/tmp";
    EXPECT_EQ(CheckExportConfirm(s), TExportConfirmFault::Name);
    s.SeparateExport = true;  // now the directory counts
    EXPECT_EQ(CheckExportConfirm(s), TExportConfirmFault::None);
    s.Encoding.clear();
    EXPECT_EQ(CheckExportConfirm(s), TExportConfirmFault::Encoding);

    TLExportConfirmState l;
    l.SeparateExport = true;
    l.DirName = "/tmp";
    EXPECT_EQ(CheckLExportConfirm(l, false), TExportConfirmFault::Name);  // the file counts
    EXPECT_EQ(CheckLExportConfirm(l, true), TExportConfirmFault::None);
    l.FileName = "x.eif";
    l.Encoding = "KOI8";
    EXPECT_EQ(CheckLExportConfirm(l, false), TExportConfirmFault::Encoding);
}

TEST_F(ExportConfirmTest, WithoutDialogsEveryQuestionAnswersCancel) {
    TExportConfirmRequest r{1, 1, "a.eif"};
    EXPECT_FALSE(ExportConfirm(r));
    EXPECT_EQ(ExportOverwriteConfirm("a.eif"), IDCANCEL);
    EXPECT_EQ(ExportOverwriteXMLConfirm("a.xml"), IDCANCEL);
    QStringList languages{"X"};
    EXPECT_FALSE(LanguagesSelect("NOSUCHDB", languages));
    TLExportConfirmRequest l;
    EXPECT_FALSE(LExportConfirm(l));
    EXPECT_FALSE(LExportConfirmEx(l));
    EXPECT_FALSE(TRegistry().KeyExists(Key()));

    // The XML question never lets "add to the file" through.
    TExportDialogPrompts p;
    QList<bool> appendOffered;
    p.Overwrite = [&](const QString&, bool canAppend) {
        appendOffered << canAppend;
        return IDNO;
    };
    SetExportDialogPrompts(p);
    EXPECT_EQ(ExportOverwriteConfirm("a.eif"), IDNO);
    EXPECT_EQ(ExportOverwriteXMLConfirm("a.xml"), IDCANCEL);
    EXPECT_EQ(appendOffered, (QList<bool>{true, false}));
}

TEST_F(ExportConfirmTest, LocalResourceFormsKeepTheirOwnValues) {
    TExportDialogPrompts p;
    p.LExportConfirm = [](TLExportConfirmState& s, bool extended) {
        s.FileName = extended ? "ex.eif" : "plain.eif";
        s.SeparateExport = true;
        s.DirName = "/tmp/sections";
        s.Encoding = "ANSI";
        return true;
    };
    SetExportDialogPrompts(p);
    TLExportConfirmRequest plain;
    ASSERT_TRUE(LExportConfirm(plain));
    EXPECT_EQ(plain.FileName, "plain.eif");
    EXPECT_FALSE(plain.SeparateExport);  // not the plain form's to say
    EXPECT_FALSE(plain.UTF8);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key()));
    EXPECT_FALSE(reg.ValueExists("SeparateExport"));
    EXPECT_FALSE(reg.ValueExists("ExportDirName"));
    reg.CloseKey();

    TLExportConfirmRequest ex;
    ASSERT_TRUE(LExportConfirmEx(ex));
    EXPECT_TRUE(ex.SeparateExport);
    EXPECT_EQ(ex.DirName, "/tmp/sections");
    const TLExportConfirmState back = LoadLExportConfirmState(true);
    EXPECT_TRUE(back.SeparateExport);
    EXPECT_EQ(back.FileName, "ex.eif");
    EXPECT_EQ(back.DirName, "/tmp/sections");
}

TEST_F(ExportConfirmTest, MissingExportDirectoryIsCreatedOnlyWhenTheUserAgrees) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/a/b";
    EXPECT_TRUE(ConfirmExportDirectory(tmp.path()));
    EXPECT_TRUE(Script().Asked.isEmpty());

    Script().AnswerMessage(IDNO);
    EXPECT_FALSE(ConfirmExportDirectory(dir));
    EXPECT_FALSE(QFileInfo::exists(dir));
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, "Directory \"" + dir + "\" does not exist. Create?");
    EXPECT_EQ(Script().Asked[0].Caption, "Confirmation");
    EXPECT_EQ(Script().Asked[0].Flags, MB::YESNO | MB::ICONQUESTION);

    Script().AnswerMessage(IDYES);
    EXPECT_TRUE(ConfirmExportDirectory(dir));
    EXPECT_TRUE(QFileInfo(dir).isDir());

    TLExportConfirmState s;
    s.FileName = dir + "/x.eif";
    s.DirName = "/elsewhere";
    EXPECT_EQ(LExportTargetDirectory(s, true), dir);
    s.SeparateExport = true;
    EXPECT_EQ(LExportTargetDirectory(s, false), dir);
    EXPECT_EQ(LExportTargetDirectory(s, true), "/elsewhere");
}

}  // namespace
