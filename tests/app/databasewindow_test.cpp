#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

#include "app/appstartup.h"
#include "app/mainform.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "databases/aliascounter.h"
#include "designkit/platformdialogs.h"
#include "explorer/commonlistform.h"
#include "explorer/listview.h"
#include "explorer/popupmenuwokey.h"
#include "model/shortcuts.h"
#include "scriptedinteraction.h"
#include "testenv.h"
#include "widgettest.h"

namespace {

// Explorer windows over the databases: what a user meets connecting a second one.
class DatabaseWindowTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        InstallDatabaseRoot();
        InstallPlatformDialogs();
        FOther = std::make_unique<TTestDatabase>(GetParam(), "OTHERDB", false);
        BaseMng().Databases().CloseDatabase(FOther->Alias());
        BaseMng().Databases().RemoveLoginParams(FOther->Alias());
        Script().Reset();
    }
    void TearDown() override {
        CloseAllWindows();
        FOther.reset();
        TEngineTest::TearDown();
    }
    static QAction* TreeMenuItem(TCommonListForm& w, const QString& id) {
        w.FillTreeViewPopupMenu();
        for (QAction* a : w.TreeViewPopupMenu()->actions())
            if (a->text() == LString(id)) return a;
        return nullptr;
    }
    std::unique_ptr<TTestDatabase> FOther;
};

TEST_P(DatabaseWindowTest, ConnectFromTheTreeMenuShowsTheFoldersAndADisconnectedOneSaysHow) {
    auto* w = new TCommonListForm();
    ASSERT_TRUE(w->Initialize("\\" + FOther->Alias(), QString()));
    EXPECT_EQ(w->ListView()->RowCount(), 0);
    EXPECT_FALSE(w->ListView()->PlaceholderText().isEmpty());  // not an unexplained blank

    Script().AnswerLogin(FOther->User(), FOther->Password());
    QAction* connect = TreeMenuItem(*w, "M_Pelvar_DOAlias_ConnectDatabaseActionCaption");
    ASSERT_NE(connect, nullptr);
    connect->trigger();
    EXPECT_TRUE(Script().AllAnswersUsed());
    ASSERT_TRUE(WaitFor([&] { return w->ListView()->RowCount() == 3; }));
    EXPECT_TRUE(w->ListView()->PlaceholderText().isEmpty());
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 1);

    // Disconnected again, the window stays on the database with its hint.
    QAction* disconnect = TreeMenuItem(*w, "M_Pelvar_DOAlias_DisconnectDatabaseActionCaption");
    ASSERT_NE(disconnect, nullptr);
    disconnect->trigger();
    ASSERT_TRUE(WaitFor([&] { return w->ListView()->RowCount() == 0; }));
    EXPECT_EQ(w->CurrentPath(), "\\" + FOther->Alias());
    EXPECT_FALSE(w->ListView()->PlaceholderText().isEmpty());
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 0);
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

class TShortcutRecorder : public TShortcutHost {
  public:
    TPelvarObjectShortcutList List;
    TPelvarObjectShortcutList& ObjectShortcuts() override { return List; }
    void FillShortcuts() override {}
};

TEST_P(DatabaseWindowTest, ShortcutsToFoldersTakeTheFoldersCaptions) {
    TShortcutRecorder host;
    SetShortcutHost(&host);
    auto* w = new TCommonListForm();
    ASSERT_TRUE(w->Initialize(QString(), QString()));
    for (const QString& path : {"\\" + Alias() + "\\Languages", "\\" + Alias() + "\\LocalResources",
                                QString(), "\\" + Alias(), "\\" + FOther->Alias()}) {
        w->SetCurrentPath(path);
        w->AddToShortcuts();
    }
    SetShortcutHost(nullptr);
    ASSERT_EQ(host.List.Count(), 5);
    const TPelvarObjectShortcut& languages = *host.List.Items(0);
    EXPECT_EQ(languages.FullPath, "\\\\Languages");  // the login database: no alias
    EXPECT_EQ(languages.DisplayCaption(), "Languages");
    EXPECT_EQ(host.List.Items(1)->DisplayCaption(), "Local resources");
    EXPECT_EQ(host.List.Items(2)->FullPath, QString());
    EXPECT_EQ(host.List.Items(2)->DisplayCaption(), "Databases");
    EXPECT_EQ(host.List.Items(2)->DisplayHint(), "Databases");
    EXPECT_EQ(host.List.Items(3)->FullPath, "\\");
    EXPECT_EQ(host.List.Items(3)->DisplayCaption(), "Login database");
    EXPECT_EQ(host.List.Items(4)->DisplayCaption(), FOther->Alias());
}

// About, from the main window and from an explorer's Help menu, names the
// program's version.
TEST_P(DatabaseWindowTest, AboutShowsTheVersionFromBothWindows) {
    TDictionaryForm form(QDir::tempPath());
    auto* w = new TCommonListForm();
    ASSERT_TRUE(w->Initialize(QString(), QString()));
    QMenu* help = nullptr;
    for (QAction* a : w->menuBar()->actions())
        if (a->text() == LString("M_Pelvar_ListFrms_HelpMenuItemCaption")) help = a->menu();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->menuAction()->isEnabled());
    for (QWidget* window : {static_cast<QWidget*>(&form), static_cast<QWidget*>(help)}) {
        auto* about = window->findChild<QAction*>("AboutAction");
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->isEnabled());
        Script().Reset();
        Script().AnswerMessage(IDOK);
        about->trigger();
        ASSERT_EQ(Script().Asked.size(), 1);
        EXPECT_TRUE(Script().Asked[0].Text.contains(QRegularExpression("Version \\d+\\.\\d+")))
            << qPrintable(Script().Asked[0].Text);
    }
    form.ObjectShortcuts().Clear();  // nothing of this test is saved
}

PELVAR_ENGINE_TESTS(DatabaseWindowTest);

}  // namespace
