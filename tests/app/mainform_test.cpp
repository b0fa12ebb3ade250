#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

#include "app/appstartup.h"
#include "app/mainform.h"
#include "appcore/appmanager.h"
#include "appcore/systemtables.h"
#include "basekit/registry.h"
#include "databases/alias.h"
#include "databases/aliascounter.h"
#include "dataview/tabledatawindows.h"
#include "explorer/commonlistform.h"
#include "explorer/listview.h"
#include "explorer/vinfoform2.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

QString Key(const QString& sub) {
    return Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\") + sub;
}

void DeleteKey(const QString& sub) {
    TRegistry reg;
    reg.DeleteKey(Key(sub));
}

template <typename F>
bool WaitFor(F&& condition) {
    for (int i = 0; i < 400 && !condition(); ++i)
        QTest::qWait(5);
    return condition();
}

class MainFormTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        InstallDatabaseRoot();
        DeleteKey(QStringLiteral("Shortcuts"));
        DeleteKey(QStringLiteral("Windows"));
        // An empty window list: no first-run window in these tests.
        TRegistry reg;
        reg.CreateKey(Key(QStringLiteral("Windows")));
        Script().Reset();
    }
    void TearDown() override {
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
        EXPECT_EQ(form->ObjectShortcuts().Items(0)->FullPath,
                  QStringLiteral("\\\\Structures\\Tables"));
        EXPECT_EQ(form->ObjectShortcuts().Items(0)->ImageIndex, 4);
        EXPECT_EQ(form->ObjectShortcuts().Items(1)->CaptionID,
                  QStringLiteral("M_DOVForm_ShortcutCaption"));
        ASSERT_EQ(form->ShortcutActions().size(), 2u);
        EXPECT_EQ(form->ShortcutActions()[0]->Action->text(), QStringLiteral("Tables"));
        // The bar: New window, then one button per shortcut.
        EXPECT_EQ(form->ShortcutToolBar()->actions().size(), 3);
        TPelvarObjectShortcut* own = form->ObjectShortcuts().Add();
        own->FullPath = QStringLiteral("\\OTHER\\Languages");
        own->Caption = QStringLiteral("Their languages");
        own->ImageIndex = 6;
        form->FillShortcuts();
        EXPECT_EQ(form->ShortcutToolBar()->actions().size(), 4);
    }  // destruction saves the shortcuts
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("Shortcuts\\2"))));
    EXPECT_EQ(reg.ReadString(QStringLiteral("FullPath")), QStringLiteral("\\OTHER\\Languages"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Caption")), QStringLiteral("Their languages"));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("ImageIndex")), 6);
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("Shortcuts\\0"))));
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("Caption")));  // a caption ID saves no caption
    {
        auto form = Form();
        ASSERT_EQ(form->ObjectShortcuts().Count(), 3);
        EXPECT_EQ(form->ObjectShortcuts().Items(2)->Caption, QStringLiteral("Their languages"));
        // Deleting through the button's popup.
        form->DeleteShortcutOfButton(form->ShortcutActions()[1]->Button);
        ASSERT_EQ(form->ObjectShortcuts().Count(), 2);
        EXPECT_EQ(form->ObjectShortcuts().Items(1)->FullPath, QStringLiteral("\\OTHER\\Languages"));
        form->ObjectShortcuts().Clear();
        form->FillShortcuts();
    }
    // An existing but empty key: no shortcuts at all.
    auto form = Form();
    EXPECT_EQ(form->ObjectShortcuts().Count(), 0);
}

TEST_P(MainFormTest, ADamagedShortcutIsReportedAndTheProgramGoesOn) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key(QStringLiteral("Shortcuts\\0")), true));
    reg.WriteString(QStringLiteral("FullPath"), QStringLiteral("\\\\Structures"));
    reg.WriteString(QStringLiteral("CaptionID"), QString());
    reg.WriteString(QStringLiteral("HintID"), QString());
    reg.WriteString(QStringLiteral("Caption"), QStringLiteral("Good"));
    reg.WriteString(QStringLiteral("Hint"), QString());
    reg.WriteInteger(QStringLiteral("ImageIndex"), 2);
    reg.WriteInteger(QStringLiteral("ShortCut"), 0);
    ASSERT_TRUE(reg.OpenKey(Key(QStringLiteral("Shortcuts\\1")), true));
    reg.WriteString(QStringLiteral("FullPath"), QStringLiteral("\\X"));
    reg.WriteString(QStringLiteral("CaptionID"), QString());
    reg.WriteString(QStringLiteral("HintID"), QString());
    reg.WriteString(QStringLiteral("Caption"), QStringLiteral("Bad"));
    reg.WriteString(QStringLiteral("Hint"), QString());
    reg.WriteInteger(QStringLiteral("ImageIndex"), -1);
    reg.WriteInteger(QStringLiteral("ShortCut"), 0);
    reg.WriteInteger(QStringLiteral("ImageSize"), 1000001);
    reg.CloseKey();
    auto form = Form();
    ASSERT_FALSE(Script().Asked.isEmpty());
    EXPECT_EQ(Script().Asked.last().Kind, QStringLiteral("exception"));
    EXPECT_EQ(Script().Asked.last().Text,
              QStringLiteral("Invalid image size (1000001) in pelvar object shortcut"));
    ASSERT_EQ(form->ObjectShortcuts().Count(), 1);  // loading stopped at the bad one
    EXPECT_EQ(form->ObjectShortcuts().Items(0)->Caption, QStringLiteral("Good"));

    // A value of the wrong type names the value.
    Script().Reset();
    ASSERT_TRUE(reg.OpenKey(Key(QStringLiteral("Shortcuts\\0")), true));
    reg.WriteString(QStringLiteral("ImageIndex"), QStringLiteral("two"));
    reg.CloseKey();
    auto second = Form();
    ASSERT_FALSE(Script().Asked.isEmpty());
    EXPECT_TRUE(Script().Asked.last().Text.contains(QStringLiteral("ImageIndex")));
    form->ObjectShortcuts().Clear();
    second->ObjectShortcuts().Clear();
}

TEST_P(MainFormTest, WindowsAreSavedAndReopenedWithTheirAliasUpperCased) {
    auto form = Form();
    auto* w1 = new TCommonListForm();
    ASSERT_TRUE(
        w1->Initialize(QStringLiteral("\\") + Alias() + QStringLiteral("\\Structures"), QString()));
    auto* w2 = new TCommonListForm();
    ASSERT_TRUE(w2->Initialize(QString(), QString()));
    form->SaveWindowList();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("Windows"))));
    EXPECT_EQ(reg.ReadString(QStringLiteral("0")),
              QStringLiteral("\\") + Alias() + QStringLiteral("\\Structures"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("1")), QString());
    EXPECT_FALSE(reg.ValueExists(QStringLiteral("2")));
    CloseAllWindows();

    // Saved in lower case, a path that no longer exists, and the root.
    ASSERT_TRUE(reg.OpenKey(Key(QStringLiteral("Windows")), true));
    reg.WriteString(QStringLiteral("0"),
                    QStringLiteral("\\") + Alias().toLower() + QStringLiteral("\\Languages"));
    reg.WriteString(QStringLiteral("1"),
                    QStringLiteral("\\") + Alias() + QStringLiteral("\\NoSuchFolder"));
    reg.WriteString(QStringLiteral("2"), QStringLiteral("\\"));
    reg.CloseKey();
    form->LoadWindowList();
    ASSERT_EQ(form->WindowList().size(), 3);
    EXPECT_EQ(form->WindowList()[0],
              QStringLiteral("\\") + Alias() + QStringLiteral("\\Languages"));
    ASSERT_TRUE(WaitFor([&] { return form->WindowList().isEmpty(); }));
    QStringList paths;
    for (TCommonListForm* w : TCommonListForm::Windows())
        paths << w->CurrentPath();
    EXPECT_TRUE(paths.contains(QStringLiteral("\\") + Alias() + QStringLiteral("\\Languages")));
    EXPECT_FALSE(paths.contains(QStringLiteral("\\") + Alias() + QStringLiteral("\\NoSuchFolder")));
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

TEST_P(MainFormTest, ShortcutsOpenTheLoginDatabaseAndTheVersionSequenceOpensTheInspector) {
    auto form = Form();
    TShortcutAction action;
    action.FullPath = QStringLiteral("\\\\Structures");
    form->ExecuteShortcut(action);
    ASSERT_EQ(TCommonListForm::Windows().size(), 1);
    EXPECT_EQ(TCommonListForm::Windows()[0]->CurrentPath(),
              QStringLiteral("\\") + Alias() + QStringLiteral("\\Structures"));

    form->show();
    EXPECT_EQ(TVInfoForm2::Instance(), nullptr);
    QTest::keyClicks(form.get(), QStringLiteral("abcdefghijklmnopqrstuvwzorbqui"));
    EXPECT_EQ(TVInfoForm2::Instance(), nullptr);
    EXPECT_EQ(form->CurrentShortcut().Current().size(), 20);
    QTest::keyClick(form.get(), Qt::Key_N);
    ASSERT_NE(TVInfoForm2::Instance(), nullptr);
    EXPECT_TRUE(TVInfoForm2::Instance()->isVisible());
    TVInfoForm2::Instance()->close();
    form->hide();
}

TEST_P(MainFormTest, TwoWindowsShareADatabaseUntilItIsDisconnected) {
    TTestDatabase other(GetParam(), QStringLiteral("OTHERDB"), false);
    BaseMng().Databases().CloseDatabase(QStringLiteral("OTHERDB"));
    const QString user = FDb->IsPostgres() ? QString::fromLocal8Bit(qgetenv("PELVAR_TEST_PG_USER"))
                                           : QStringLiteral("u");
    const QString password = QString::fromLocal8Bit(qgetenv("PELVAR_TEST_PG_PASSWORD"));
    Script().AnswerModal([&](QObject* f) {
        f->findChild<QLineEdit*>(QStringLiteral("UserNameEdit"))->setText(user);
        f->findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(password);
        return IDOK;
    });
    // Walking through an alias connects it; the second window needs no login.
    auto* w1 = new TCommonListForm();
    ASSERT_TRUE(w1->Initialize(QStringLiteral("\\OTHERDB\\Languages"), QString()));
    auto* w2 = new TCommonListForm();
    ASSERT_TRUE(w2->Initialize(QStringLiteral("\\OTHERDB\\Structures"), QString()));
    EXPECT_EQ(AliasCounter().GetUsed(QStringLiteral("OTHERDB")), 2);
    EXPECT_TRUE(Script().AllAnswersUsed());

    struct TWindow : TRegisteredDataWindow {
        QString DatabaseName() const override { return QStringLiteral("OTHERDB"); }
        bool InList() const override { return In; }
        void SetInList(bool v) override { In = v; }
        void CloseWindow() override { Closed = true; }
        bool In = false, Closed = false;
    } data;
    TTableDataWindowList::Instance().Add(&data);

    auto* alias = dynamic_cast<TDOAlias*>(w1->CurrentFolderObject()->ParentObject());
    ASSERT_NE(alias, nullptr);
    alias->Actions().FindByName(QStringLiteral("DisconnectAction"))->Execute(nullptr);
    EXPECT_TRUE(data.Closed);
    EXPECT_EQ(TTableDataWindowList::Instance().Count(), 0);
    EXPECT_EQ(AliasCounter().GetUsed(QStringLiteral("OTHERDB")), 0);
    // Both windows refresh the alias at idle time: the connection goes, and the
    // windows inside the database move to the alias, asking no login again.
    ASSERT_TRUE(WaitFor([&] { return !BaseMng().Databases().IsOpen(QStringLiteral("OTHERDB")); }));
    ASSERT_TRUE(WaitFor([&] {
        return !w1->CurrentPath().startsWith(QStringLiteral("\\OTHERDB\\")) &&
               !w2->CurrentPath().startsWith(QStringLiteral("\\OTHERDB\\"));
    }));
    EXPECT_EQ(w1->CurrentPath(), QStringLiteral("\\OTHERDB"));
    EXPECT_EQ(w2->CurrentPath(), QStringLiteral("\\OTHERDB"));
    EXPECT_EQ(w1->ListView()->RowCount(), 0);
    EXPECT_FALSE(BaseMng().Databases().IsOpen(QStringLiteral("OTHERDB")));
    EXPECT_EQ(AliasCounter().GetUsed(QStringLiteral("OTHERDB")), 0);
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

PELVAR_ENGINE_TESTS(MainFormTest);

}  // namespace

namespace {

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
    ASSERT_TRUE(w->Initialize(QStringLiteral("\\") + Alias(), QString()));
    TRefusingForm editor;
    editor.show();
    form->show();
    EXPECT_FALSE(form->close());
    EXPECT_EQ(editor.Asked, 1);
    EXPECT_TRUE(form->isVisible());  // the program keeps running...
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("Windows"))));
    EXPECT_EQ(reg.ReadString(QStringLiteral("0")),
              QStringLiteral("\\") + Alias());  // ...with the list saved
    editor.Refuse = false;
    EXPECT_TRUE(form->close());
    editor.hide();
}

}  // namespace
