#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include "app/appstartup.h"
#include "app/mainform.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "basekit/registry.h"
#include "databases/alias.h"
#include "databases/aliascounter.h"
#include "designkit/platformdialogs.h"
#include "explorer/commonlistform.h"
#include "explorer/listview.h"
#include "explorer/vinfoform2.h"
#include "scriptedinteraction.h"
#include "testenv.h"
#include "widgettest.h"

namespace {

QString Key(const QString& sub) {
    return Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\") + sub;
}

void DeleteKey(const QString& sub) {
    TRegistry reg;
    reg.DeleteKey(Key(sub));
}

class MainFormTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        InstallDatabaseRoot();
        InstallPlatformDialogs();
        DeleteKey("Shortcuts");
        DeleteKey("Windows");
        // An empty window list: no first-run window in these tests.
        TRegistry reg;
        reg.CreateKey(Key("Windows"));
        Script().Reset();
    }
    void TearDown() override {
        // The inspector deletes itself on close, once deferred deletes run.
        if (TVInfoForm2::Instance()) TVInfoForm2::Instance()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CloseAllWindows();
        TEngineTest::TearDown();
    }
    std::unique_ptr<TDictionaryForm> Form() {
        return std::make_unique<TDictionaryForm>(QDir::tempPath());
    }
};

TEST_P(MainFormTest, StandardShortcutsUntilAKeyExistsAndTheRegistryLayoutRoundTrips) {
    {
        auto form = Form();
        ASSERT_EQ(form->ObjectShortcuts().Count(), 2);
        EXPECT_EQ(form->ObjectShortcuts().Items(0)->FullPath, "\\\\Structures\\Tables");
        ASSERT_EQ(form->ShortcutActions().size(), 2u);
        EXPECT_EQ(form->ShortcutActions()[0]->Action->text(), "Tables");
        // The bar: New window, then one button per shortcut.
        EXPECT_EQ(form->ShortcutToolBar()->actions().size(), 3);
        TPelvarObjectShortcut* own = form->ObjectShortcuts().Add();
        own->FullPath = "\\OTHER\\Languages";
        own->Caption = "Their languages";
        form->FillShortcuts();
        EXPECT_EQ(form->ShortcutToolBar()->actions().size(), 4);
    }  // destruction saves the shortcuts
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key("Shortcuts\\2")));
    EXPECT_EQ(reg.ReadString("FullPath"), "\\OTHER\\Languages");
    EXPECT_EQ(reg.ReadString("Caption"), "Their languages");
    {
        auto form = Form();
        ASSERT_EQ(form->ObjectShortcuts().Count(), 3);
        EXPECT_EQ(form->ObjectShortcuts().Items(2)->Caption, "Their languages");
        // Deleting through the button's popup.
        form->DeleteShortcutOfButton(form->ShortcutActions()[1]->Button);
        ASSERT_EQ(form->ObjectShortcuts().Count(), 2);
        EXPECT_EQ(form->ObjectShortcuts().Items(1)->FullPath, "\\OTHER\\Languages");
        form->ObjectShortcuts().Clear();
        form->FillShortcuts();
    }
    // An existing but empty key: no shortcuts at all.
    auto form = Form();
    EXPECT_EQ(form->ObjectShortcuts().Count(), 0);
}

TEST_P(MainFormTest, ADamagedShortcutIsReportedAndTheProgramGoesOn) {
    TRegistry reg;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reg.OpenKey(Key(QStringLiteral("Shortcuts\\%1").arg(i)), true));
        for (const char* name : {"CaptionID", "HintID", "Hint"})
            reg.WriteString(name, QString());
        reg.WriteString("FullPath", i ? "\\\\Structures" : "\\X");
        reg.WriteString("Caption", i ? "Good" : "Bad");
        reg.WriteInteger("ImageIndex", i ? 2 : -1);
        reg.WriteInteger("ShortCut", 0);
        if (i == 0) reg.WriteInteger("ImageSize", 1000001);  // the first one's picture is too large
    }
    reg.CloseKey();
    auto form = Form();
    ASSERT_FALSE(Script().Asked.isEmpty());
    EXPECT_EQ(Script().Asked.last().Kind, "exception");
    EXPECT_EQ(Script().Asked.last().Text,
              Key("Shortcuts\\0: Invalid image size (1000001) in pelvar object shortcut"));
    ASSERT_EQ(form->ObjectShortcuts().Count(), 1);  // the bad one is skipped, the next loads
    EXPECT_EQ(form->ObjectShortcuts().Items(0)->Caption, "Good");
    form->ObjectShortcuts().Clear();
}

TEST_P(MainFormTest, WindowsAreSavedAndReopenedWithTheirAliasUpperCased) {
    auto form = Form();
    auto* w1 = new TCommonListForm();
    ASSERT_TRUE(w1->Initialize("\\" + Alias() + "\\Structures", QString()));
    auto* w2 = new TCommonListForm();
    ASSERT_TRUE(w2->Initialize(QString(), QString()));
    form->SaveWindowList();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key("Windows")));
    EXPECT_EQ(reg.ReadString("0"), "\\" + Alias() + "\\Structures");
    EXPECT_EQ(reg.ReadString("1"), QString());
    EXPECT_FALSE(reg.ValueExists("2"));
    CloseAllWindows();

    // Saved in lower case, a path that no longer exists, and the root.
    ASSERT_TRUE(reg.OpenKey(Key("Windows"), true));
    reg.WriteString("0", "\\" + Alias().toLower() + "\\Languages");
    reg.WriteString("1", "\\" + Alias() + "\\NoSuchFolder");
    reg.WriteString("2", "\\");
    reg.CloseKey();
    form->LoadWindowList();
    ASSERT_EQ(form->WindowList().size(), 3);
    EXPECT_EQ(form->WindowList()[0], "\\" + Alias() + "\\Languages");
    ASSERT_TRUE(WaitFor([&] { return form->WindowList().isEmpty(); }));
    QStringList paths;
    for (TCommonListForm* w : TCommonListForm::Windows())
        paths << w->CurrentPath();
    EXPECT_TRUE(paths.contains("\\" + Alias() + "\\Languages"));
    EXPECT_FALSE(paths.contains("\\" + Alias() + "\\NoSuchFolder"));
    EXPECT_TRUE(paths.contains(QString()));  // the databases, loaded as "\\"
    EXPECT_TRUE(Script().Unexpected.isEmpty());
    // The Window menu names every window, the databases too.
    form->FillWindowMenu();
    QStringList items;
    for (QAction* a : form->WindowMenu()->actions())
        items << a->text();
    EXPECT_EQ(items.size(), 2);
    EXPECT_TRUE(items.contains("Databases")) << qPrintable(items.join('|'));
}

TEST_P(MainFormTest, ShortcutsOpenTheLoginDatabaseAndTheVersionSequenceOpensTheInspector) {
    auto form = Form();
    TShortcutAction action;
    action.FullPath = "\\\\Structures";
    form->ExecuteShortcut(action);
    ASSERT_EQ(TCommonListForm::Windows().size(), 1);
    EXPECT_EQ(TCommonListForm::Windows()[0]->CurrentPath(), "\\" + Alias() + "\\Structures");

    form->show();
    EXPECT_EQ(TVInfoForm2::Instance(), nullptr);
    QTest::keyClicks(form.get(), "abcdefghijklmnopqrstuvw");
    // A letter typed into a control that ignores it travels up, and counts once.
    QTest::keyClicks(form->ShortcutToolBar(), "zorbqui");
    EXPECT_EQ(TVInfoForm2::Instance(), nullptr);
    EXPECT_EQ(form->CurrentShortcut().Current().size(), 20);
    QTest::keyClick(form.get(), Qt::Key_N);
    ASSERT_NE(TVInfoForm2::Instance(), nullptr);
    EXPECT_TRUE(TVInfoForm2::Instance()->isVisible());
    form->hide();
}

TEST_P(MainFormTest, TwoWindowsShareADatabaseUntilItIsDisconnected) {
    TTestDatabase other(GetParam(), "OTHERDB", false);
    BaseMng().Databases().CloseDatabase(other.Alias());
    Script().AnswerLogin(other.User(), other.Password());
    // Walking through an alias connects it; the second window needs no login.
    auto* w1 = new TCommonListForm();
    ASSERT_TRUE(w1->Initialize("\\" + other.Alias() + "\\Languages", QString()));
    auto* w2 = new TCommonListForm();
    ASSERT_TRUE(w2->Initialize("\\" + other.Alias() + "\\Structures", QString()));
    EXPECT_EQ(AliasCounter().GetUsed(other.Alias()), 2);
    EXPECT_TRUE(Script().AllAnswersUsed());

    auto* alias = dynamic_cast<TDOAlias*>(w1->CurrentFolderObject()->ParentObject());
    ASSERT_NE(alias, nullptr);
    alias->Actions().FindByName("DisconnectAction")->Execute(nullptr);  // data windows: alias tests
    EXPECT_EQ(AliasCounter().GetUsed(other.Alias()), 0);
    // Both windows refresh the alias at idle time: the connection goes, and the
    // windows inside the database move to the alias, asking no login again.
    ASSERT_TRUE(WaitFor([&] { return !BaseMng().Databases().IsOpen(other.Alias()); }));
    ASSERT_TRUE(WaitFor([&] {
        return !w1->CurrentPath().startsWith("\\" + other.Alias() + "\\") &&
               !w2->CurrentPath().startsWith("\\" + other.Alias() + "\\");
    }));
    EXPECT_EQ(w1->CurrentPath(), "\\" + other.Alias());
    EXPECT_EQ(w2->CurrentPath(), "\\" + other.Alias());
    EXPECT_EQ(w1->ListView()->RowCount(), 0);
    EXPECT_EQ(AliasCounter().GetUsed(other.Alias()), 0);
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

class TRefusingForm : public QWidget, public TCloseQueryForm {
  public:
    bool Refuse = true;
    int Asked = 0;
    bool CloseQuery() override {
        ++Asked;
        return !Refuse;
    }
};

TEST_P(MainFormTest, ClosingSavesTheWindowsAndAFormMayRefuse) {
    auto form = Form();
    auto* w = new TCommonListForm();
    ASSERT_TRUE(w->Initialize("\\" + Alias(), QString()));
    TRefusingForm editor;
    editor.show();
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_EQ(editor.Asked, 1);
    EXPECT_TRUE(form->isVisible());  // the program keeps running...
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key("Windows")));
    EXPECT_EQ(reg.ReadString("0"), "\\" + Alias());  // ...with the list saved
    editor.Refuse = false;
    EXPECT_TRUE(form->close());
    editor.hide();
}

PELVAR_ENGINE_TESTS(MainFormTest);

}  // namespace
