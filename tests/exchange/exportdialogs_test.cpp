#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "basekit/registry.h"
#include "exchange/ellipsisedit.h"
#include "exchange/exportconfirmform.h"
#include "exchange/exportdialogs.h"
#include "exchange/lexportconfirmform.h"
#include "printers.h"
#include "scriptedinteraction.h"
#include "testenv.h"
#include "widgettest.h"

namespace {

template <typename W = QWidget>
W* Child(QObject* form, const char* name) {
    W* w = form->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void Toggle(QObject* form, const char* name) {
    ClickBox(Child<QCheckBox>(form, name));
}

void ClickButton(QObject* form, const char* name) {
    QTest::mouseClick(Child<QPushButton>(form, name), Qt::LeftButton);
}

QLineEdit* EditOf(QObject* form, const char* name) {
    return Child<TEllipsisEdit>(form, name)->Edit();
}

class ExportDialogsTest : public testing::Test {
  protected:
    void SetUp() override {
        TRegistry().DeleteKey(Configuration().GetRegistryKey() + "\\PELVAR\\Confirmations");
        Script().Reset();
        FSaved = SetExportDialogPrompts({});
        InstallExportDialogs();
    }
    void TearDown() override {
        EXPECT_TRUE(Script().Unexpected.isEmpty());
        EXPECT_TRUE(Script().AllAnswersUsed());
        SetExportDialogPrompts(FSaved);
    }
    TExportDialogPrompts FSaved;
};

TEST_F(ExportDialogsTest, ExportConfirmationEnablesByTheRulesAndRefusesAnEmptyName) {
    TExportConfirmRequest request{2, 2, "/tmp/all.eif"};
    Script().AnswerModal([](QObject* form) {
        Shown(form);
        auto* resources = Child<QCheckBox>(form, "ExportLResourcesCheckBox");
        EXPECT_EQ(resources->text(), "Export local resources of the structures");
        EXPECT_TRUE(resources->isEnabled());
        auto* dialogRes = Child<QCheckBox>(form, "SeparateExportDialogResLCheckBox");
        auto* tableData = Child<QCheckBox>(form, "SeparateExportTableDataLCheckBox");
        EXPECT_FALSE(dialogRes->isEnabled());
        EXPECT_EQ(Child<QLabel>(form, "FileNameLabel")->text(), "File name:");
        EXPECT_TRUE(EditOf(form, "FileNameEdit")->isVisible());
        EXPECT_EQ(EditOf(form, "FileNameEdit")->text(), "/tmp/all.eif");
        EXPECT_FALSE(EditOf(form, "DirNameEdit")->isVisible());

        Toggle(form, "SeparateExportLCheckBox");
        EXPECT_EQ(Child<QLabel>(form, "FileNameLabel")->text(), "Directory:");
        EXPECT_FALSE(EditOf(form, "FileNameEdit")->isVisible());
        EXPECT_TRUE(EditOf(form, "DirNameEdit")->isVisible());
        EXPECT_TRUE(dialogRes->isEnabled());
        EXPECT_TRUE(tableData->isEnabled());
        Toggle(form, "SeparateExportTableDataLCheckBox");
        Toggle(form, "ExportTableDataCheckBox");  // off: its sub-option goes grey
        EXPECT_FALSE(tableData->isEnabled());
        EXPECT_TRUE(tableData->isChecked());
        Toggle(form, "ExportTableDataCheckBox");
        EXPECT_TRUE(tableData->isEnabled());

        auto* encoding = Child<QComboBox>(form, "EncodingEdit");
        Toggle(form, "ReleaseVersion17CheckBox");
        EXPECT_FALSE(encoding->isEnabled());
        EXPECT_FALSE(Child<QLabel>(form, "EncodingLabel")->isEnabled());
        Toggle(form, "ReleaseVersion17CheckBox");
        encoding->setCurrentIndex(1);

        // The directory is the visible name now, and it is empty.
        ClickButton(form, "OKButton");
        EXPECT_EQ(ModalResult(form), -1);
        EXPECT_EQ(QApplication::focusWidget(), EditOf(form, "DirNameEdit"));

        Script().AnswerDirectory("/tmp/parts");
        QTest::mouseClick(Child<TEllipsisEdit>(form, "DirNameEdit")->Button(), Qt::LeftButton);
        EXPECT_EQ(EditOf(form, "DirNameEdit")->text(), "/tmp/parts");
        ClickButton(form, "OKButton");
        return ModalResult(form);
    });
    ASSERT_TRUE(ExportConfirm(request));
    EXPECT_EQ(request.FileName, "/tmp/parts");
    EXPECT_TRUE(request.SeparateExport);
    EXPECT_TRUE(request.SeparateTableData);
    EXPECT_FALSE(request.SeparateDialogRes);
    EXPECT_TRUE(request.NewFormat);
    EXPECT_FALSE(request.UTF8);
    EXPECT_EQ(Script().Asked.last().Kind, "directory");
}

TEST_F(ExportDialogsTest, ModeZeroGreysTheBoxesAndCancelStillRemembers) {
    TExportConfirmRequest request{0, 0};
    Script().AnswerModal([](QObject* form) {
        Shown(form);
        auto* resources = Child<QCheckBox>(form, "ExportLResourcesCheckBox");
        EXPECT_EQ(resources->text(), "Export local resources");
        EXPECT_FALSE(resources->isEnabled());
        EXPECT_FALSE(Child<QCheckBox>(form, "ExportTableDataCheckBox")->isEnabled());
        Toggle(form, "SeparateExportLCheckBox");
        // The main boxes are checked but disabled: nothing to separate.
        EXPECT_FALSE(Child<QCheckBox>(form, "SeparateExportDialogResLCheckBox")->isEnabled());

        Script().AnswerFile("/tmp/picked.eif");
        Toggle(form, "SeparateExportLCheckBox");
        QTest::mouseClick(Child<TEllipsisEdit>(form, "FileNameEdit")->Button(), Qt::LeftButton);
        EXPECT_EQ(Script().Asked.last().Kind, "save");
        EXPECT_TRUE(Script().Asked.last().Text.endsWith("|*.eif|All files (*.*)|*.*|eif"));
        ClickButton(form, "CancelButton");
        return ModalResult(form);
    });
    EXPECT_FALSE(ExportConfirm(request));
    EXPECT_EQ(LoadExportConfirmState().FileName, "/tmp/picked.eif");
}

TEST_F(ExportDialogsTest, OverwriteQuestionsGiveTheirThreeResults) {
    const QList<std::pair<const char*, int>> clicks{
        {"YesButton", IDYES}, {"NoButton", IDNO}, {"CancelButton", IDCANCEL}};
    for (const auto& [button, result] : clicks) {
        Script().AnswerModal([button = button](QObject* form) {
            Shown(form);
            EXPECT_TRUE(Child<QLabel>(form, "MainLabel")->text().contains("\"/tmp/x.eif\""));
            ClickButton(form, button);
            return ModalResult(form);
        });
        EXPECT_EQ(ExportOverwriteConfirm("/tmp/x.eif"), result) << button;
    }
    Script().AnswerModal([](QObject* form) {
        Shown(form);
        EXPECT_EQ(form->findChild<QPushButton*>("NoButton"), nullptr);
        ClickButton(form, "YesButton");
        return ModalResult(form);
    });
    EXPECT_EQ(ExportOverwriteXMLConfirm("/tmp/x.xml"), IDYES);
}

TEST_F(ExportDialogsTest, LanguagesComeFromTheDatabaseAllChosen) {
    TTestDatabase db("SQLite", "LANGSELECT", false);
    CreateMissingSystemTables(db.Alias());
    TOneLanguage german;
    german.EnglishName = "German";
    GetLanguagesTable(db.Alias()).SetLanguage("GERMAN", german);

    Script().AnswerModal([](QObject* form) {
        Shown(form);
        auto* list = Child<QListWidget>(form, "LanguagesListBox");
        EXPECT_EQ(list->count(), 4);
        EXPECT_EQ(list->selectedItems().size(), 4);
        QListWidgetItem* english = list->findItems("ENGLISH", Qt::MatchExactly).value(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(english).center());
        ClickButton(form, "OKButton");
        return ModalResult(form);
    });
    QStringList languages{"stale"};
    ASSERT_TRUE(LanguagesSelect(db.Alias(), languages));
    EXPECT_EQ(languages, (QStringList{"DESCRIPTION", "GERMAN", "RUSSIAN"}));

    Script().AnswerModal([](QObject* form) {
        ClickButton(Shown(form), "CancelButton");
        return ModalResult(form);
    });
    EXPECT_FALSE(LanguagesSelect(db.Alias(), languages));
}

TEST_F(ExportDialogsTest, ExtendedLocalExportAsksBeforeCreatingTheDirectory) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/sections";
    TLExportConfirmRequest request;
    Script().AnswerModal([dir](QObject* form) {
        Shown(form);
        EXPECT_EQ(Child<QLabel>(form, "FileNameLabel")->text(), "File name:");
        Toggle(form, "SeparateExportLCheckBox");
        EXPECT_EQ(Child<QLabel>(form, "FileNameLabel")->text(), "Directory:");
        EXPECT_TRUE(EditOf(form, "ExportDirLocEdit")->isVisible());
        EXPECT_FALSE(EditOf(form, "FileNameEdit")->isVisible());
        EditOf(form, "ExportDirLocEdit")->setText(dir);

        Script().AnswerMessage(IDNO);
        ClickButton(form, "OKButton");
        EXPECT_EQ(ModalResult(form), -1);
        EXPECT_EQ(QApplication::focusWidget(), EditOf(form, "ExportDirLocEdit"));
        EXPECT_FALSE(QFileInfo::exists(dir));

        Script().AnswerMessage(IDYES);
        ClickButton(form, "OKButton");
        return ModalResult(form);
    });
    ASSERT_TRUE(LExportConfirmEx(request));
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_TRUE(request.SeparateExport);
    EXPECT_EQ(request.DirName, dir);
    EXPECT_EQ(Script().Asked[1].Text, "Directory \"" + dir + "\" does not exist. Create?");

    // The plain form has no directory and needs a file name.
    Script().AnswerModal([](QObject* form) {
        Shown(form);
        EXPECT_EQ(form->findChild<QCheckBox*>("SeparateExportLCheckBox"), nullptr);
        EXPECT_EQ(form->findChild<TEllipsisEdit*>("ExportDirLocEdit"), nullptr);
        EditOf(form, "FileNameEdit")->clear();
        ClickButton(form, "OKButton");
        EXPECT_EQ(ModalResult(form), -1);
        EXPECT_EQ(QApplication::focusWidget(), EditOf(form, "FileNameEdit"));
        ClickButton(form, "CancelButton");
        return ModalResult(form);
    });
    EXPECT_FALSE(LExportConfirm(request));
}

}  // namespace
