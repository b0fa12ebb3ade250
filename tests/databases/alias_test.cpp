#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPointer>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "appcore/texts.h"
#include "basekit/strutils.h"
#include "databases/alias.h"
#include "databases/aliascounter.h"
#include "databases/root.h"
#include "dataview/tabledatawindows.h"
#include "designkit/platformdialogs.h"
#include "model/dragobject.h"
#include "query/queryform.h"
#include "query/querywindows.h"
#include "scriptedinteraction.h"
#include "structures/dspconfirmations.h"
#include "testenv.h"

namespace {

class TFakeDataWindow : public TRegisteredDataWindow {
  public:
    explicit TFakeDataWindow(QString db) : FDb(std::move(db)) {}
    QString DatabaseName() const override { return FDb; }
    bool InList() const override { return FInList; }
    void SetInList(bool v) override { FInList = v; }
    void CloseWindow() override { Closed = true; }
    bool Closed = false;

  private:
    QString FDb;
    bool FInList = false;
};

class AliasTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        FOther = std::make_unique<TTestDatabase>(GetParam(), "OTHERDB", false);
        // Connecting is the alias node's business in these tests.
        BaseMng().Databases().CloseDatabase(FOther->Alias());
        FUser = FDb->User();
        FPassword = FDb->Password();
        BaseMng().Databases().RemoveLoginParams(FOther->Alias());
        InstallPlatformDialogs();
        Script().Reset();
    }
    void TearDown() override {
        FOther.reset();
        TEngineTest::TearDown();
    }
    std::unique_ptr<TDORoot> OpenRoot(QStringList* changes = nullptr) {
        auto root = std::make_unique<TDORoot>();
        if (changes) root->SetOnDataChanged([changes](const QString& path) { *changes << path; });
        EXPECT_TRUE(root->Open());
        return root;
    }
    static TDOAlias* Node(TDORoot& root, const QString& name) {
        return dynamic_cast<TDOAlias*>(root.SubObjects().FindBySubPath(name));
    }
    void AnswerLogin(const QString& user, const QString& password) {
        const QString alias = FOther->Alias();
        Script().AnswerModal([=](QObject* form) {
            EXPECT_EQ(static_cast<QWidget*>(form)->windowTitle(), alias);
            form->findChild<QLineEdit*>("UserNameEdit")->setText(user);
            auto* pwd = form->findChild<QLineEdit*>("PasswordEdit");
            EXPECT_EQ(pwd->echoMode(), QLineEdit::Password);
            pwd->setText(password);
            return IDOK;
        });
    }
    std::unique_ptr<TTestDatabase> FOther;
    QString FUser, FPassword;
};

TEST_P(AliasTest, TheRootListsEveryDataSourceWithTheDefaultFirst) {
    auto root = OpenRoot();
    TDOAlias* def = Node(*root, Alias());
    TDOAlias* other = Node(*root, FOther->Alias());
    ASSERT_NE(def, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(def->IsDefault());
    EXPECT_TRUE(def->IsConnected());
    EXPECT_FALSE(other->IsConnected());
    EXPECT_EQ(other->DriverName(), other->DriverName().toUpper());
    EXPECT_TRUE(other->DriverName().contains("TEST DATABASE"));
    EXPECT_LT(root->Compare(def, other, 0), 0);
    EXPECT_GT(root->Compare(other, def, 0), 0);

    TListColumns columns;
    root->CreateColumns(columns);
    ASSERT_EQ(columns.Count(), 2);
    TListRow row;
    def->FillListViewItem(row, columns);
    EXPECT_EQ(row.Caption, Alias() + " ( default )");
    EXPECT_EQ(row.SubItems, QStringList{def->DriverName()});

    // A login database that no data source names still gets its node, with no
    // description, sorted first.
    BaseMng().Databases().SetDefaultAlias("ghost");
    auto ghostRoot = OpenRoot();
    TDOAlias* ghost = Node(*ghostRoot, "GHOST");
    ASSERT_NE(ghost, nullptr);
    EXPECT_TRUE(ghost->DriverName().isEmpty());
    EXPECT_LT(ghostRoot->Compare(ghost, Node(*ghostRoot, FOther->Alias()), 0), 0);
    BaseMng().Databases().SetDefaultAlias(Alias());
}

TEST_P(AliasTest, ConnectingAsksForALoginAndFailuresLeaveNothingBehind) {
    auto root = OpenRoot();
    TDOAlias* other = Node(*root, FOther->Alias());
    Script().AnswerModal([](QObject*) { return IDCANCEL; });
    EXPECT_FALSE(other->Open());
    EXPECT_FALSE(other->Opened());
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 0);
    EXPECT_FALSE(BaseMng().Databases().HasLoginParams(FOther->Alias()));

    if (FDb->IsPostgres()) {
        AnswerLogin(FUser, "wrong password");
        EXPECT_FALSE(other->Open());
        ASSERT_EQ(Script().Asked.last().Kind, "exception");
        EXPECT_TRUE(Script().Asked.last().Text.contains(FOther->Alias()));
        EXPECT_FALSE(BaseMng().Databases().HasLoginParams(FOther->Alias()));
        EXPECT_FALSE(BaseMng().Databases().IsOpen(FOther->Alias()));
        EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 0);
    }

    AnswerLogin(FUser, FPassword);
    ASSERT_TRUE(other->Open());
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 1);
    EXPECT_TRUE(BaseMng().Databases().IsOpen(FOther->Alias()));
    ASSERT_EQ(other->SubObjects().Count(), 3);
    EXPECT_EQ(other->SubObjects().Items(0)->FullPath(), "\\" + FOther->Alias() + "\\Structures");
    EXPECT_EQ(other->SubObjects().Items(1)->SubPath(), "Languages");
    EXPECT_EQ(other->SubObjects().Items(2)->SubPath(), "LocalResources");
    EXPECT_FALSE(other->Refresh());  // a connected alias does nothing
    EXPECT_EQ(other->SubObjects().Count(), 3);
    root.reset();  // closing the last node that uses the database closes it
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 0);
    EXPECT_FALSE(BaseMng().Databases().IsOpen(FOther->Alias()));
}

TEST_P(AliasTest, TwoTreesShareTheDatabaseAndDisconnectEndsEveryUse) {
    QStringList changes1, changes2;
    auto root1 = OpenRoot(&changes1);
    auto root2 = OpenRoot(&changes2);
    AnswerLogin(FUser, FPassword);
    ASSERT_TRUE(Node(*root1, FOther->Alias())->Open());
    EXPECT_EQ(changes1,
              QStringList{"\\" + FOther->Alias()});  // entering use is announced to every node
    EXPECT_EQ(changes2, QStringList{"\\" + FOther->Alias()});
    ASSERT_TRUE(Node(*root2, FOther->Alias())->Open());  // in use: no second login
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 2);
    EXPECT_TRUE(Script().AllAnswersUsed());

    // A new tree sees the open database as connected, and counts as its user.
    auto root3 = OpenRoot();
    EXPECT_TRUE(Node(*root3, FOther->Alias())->IsConnected());
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 3);
    root3.reset();
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 2);

    Node(*root2, FOther->Alias())->Close();
    EXPECT_TRUE(BaseMng().Databases().IsOpen(FOther->Alias()));
    ASSERT_TRUE(Node(*root2, FOther->Alias())->Open());

    TFakeDataWindow mine(FOther->Alias()), theirs(Alias());
    TTableDataWindowList::Instance().Add(&theirs);
    TTableDataWindowList::Instance().Add(&mine);
    // Query windows close with their database; one with an open transaction
    // asks, and Cancel keeps the window and the database.
    QPointer<TQueryForm> myQuery = new TQueryForm(FOther->Alias());
    const std::unique_ptr<TQueryForm> theirQuery = std::make_unique<TQueryForm>(Alias());
    myQuery->Action("StartTransactionAction")->trigger();
    Script().AnswerMessage(IDCANCEL);
    Node(*root1, FOther->Alias())->DisconnectDatabase();
    EXPECT_TRUE(myQuery);
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 2);
    EXPECT_FALSE(mine.Closed);
    Script().AnswerMessage(IDNO);
    changes1.clear();
    changes2.clear();
    Node(*root1, FOther->Alias())->DisconnectDatabase();
    EXPECT_FALSE(myQuery);
    EXPECT_EQ(OpenQueryForms(), QList<TQueryForm*>{theirQuery.get()});
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 0);
    EXPECT_TRUE(mine.Closed);
    EXPECT_FALSE(mine.InList());
    EXPECT_FALSE(theirs.Closed);
    ASSERT_EQ(TTableDataWindowList::Instance().Count(), 1);
    EXPECT_EQ(TTableDataWindowList::Instance().Items(0), &theirs);
    TTableDataWindowList::Instance().Remove(&theirs);
    EXPECT_EQ(changes1, QStringList{"\\" + FOther->Alias()});
    EXPECT_EQ(changes2, QStringList{"\\" + FOther->Alias()});
    // The windows then refresh the node, which closes the connection.
    EXPECT_TRUE(Node(*root1, FOther->Alias())->Refresh());
    EXPECT_TRUE(Node(*root2, FOther->Alias())->Refresh());
    EXPECT_FALSE(BaseMng().Databases().IsOpen(FOther->Alias()));
    EXPECT_EQ(Node(*root1, FOther->Alias())->SubObjects().Count(), 0);
}

TEST_P(AliasTest, ActionsFollowTheConnectionState) {
    auto root = OpenRoot();
    auto enabled = [](TDOAlias* a) {
        QStringList on;
        for (int i = 0; i < a->Actions().Count(); ++i) {
            TPelvarObjectAction* act = a->Actions().Items(i);
            act->Update(nullptr);
            if (act->Enabled) on << act->Name;
        }
        return on;
    };
    TDOAlias* def = Node(*root, Alias());
    TDOAlias* other = Node(*root, FOther->Alias());
    for (int i = 0; i < other->Actions().Count(); ++i)
        EXPECT_FALSE(other->Actions().Items(i)->Caption.startsWith("M_"));  // translated
    EXPECT_EQ(enabled(def), QStringList({"QueryAction", "ExportAction", "ImportAction"}));
    EXPECT_EQ(enabled(other), QStringList{"ConnectAction"});
    AnswerLogin(FUser, FPassword);
    other->Actions().FindByName("ConnectAction")->Execute(nullptr);
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 1);
    EXPECT_EQ(enabled(other), QStringList({"DisconnectAction", "CreateSystemTablesAction",
                                           "QueryAction", "ExportAction", "ImportAction"}));
    // Create system tables through the action.
    Script().AnswerMessage(IDYES);
    other->Actions().FindByName("CreateSystemTablesAction")->Execute(nullptr);
    EXPECT_TRUE(BaseMng().TableExists("QXMAIL_DSP", FOther->Alias()));
    other->Actions().FindByName("DisconnectAction")->Execute(nullptr);
    EXPECT_EQ(enabled(other), QStringList{"ConnectAction"});
}

TEST_P(AliasTest, ObjectsOfTheSameDatabaseAreNeverAccepted) {
    auto root = OpenRoot();
    TDOAlias* other = Node(*root, FOther->Alias());
    TPelvarObjectList items;
    auto item = std::make_unique<TDOAlias>();
    item->SetAliasName(Alias());
    items.Add(std::move(item));
    EXPECT_TRUE(other->InternalAcceptDragObject({Alias(), "Structures"}, items));
    EXPECT_FALSE(other->InternalAcceptDragObject({FOther->Alias()}, items));
    EXPECT_TRUE(other->InternalAcceptDragObject({}, items));
    static_cast<TDOAlias*>(items.Items(0))->SetAliasName(FOther->Alias().toLower());
    EXPECT_FALSE(other->InternalAcceptDragObject({}, items));
    EXPECT_FALSE(other->InternalAcceptDragObject({}, TPelvarObjectList()));
    // The root takes anything but roots.
    EXPECT_TRUE(root->InternalAcceptDragObject({}, items));
    TPelvarObjectList roots;
    roots.Add(std::make_unique<TDORoot>());
    EXPECT_FALSE(root->InternalAcceptDragObject({}, roots));

    // A whole alias brings its whole dictionary, after the copy question;
    // the unconnected target asks for its login first: cancelled, nothing more
    // is asked and nothing runs.
    CreateMissingSystemTables(Alias());
    static_cast<TDOAlias*>(items.Items(0))->SetAliasName(Alias());
    TPelvarDragObject drag;
    drag.FullPath = "\\" + Alias();
    drag.Items.AddCopyOf(*items.Items(0));
    ASSERT_TRUE(other->AcceptDragObject(drag));
    int asked = 0;
    bool answer = false;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation&) { return ++asked, answer; });
    Script().AnswerModal([](QObject*) { return IDCANCEL; });
    other->DragObjectDropped(drag);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 0);
    // Logged in, the question comes; declining it changes nothing.
    AnswerLogin(FUser, FPassword);
    other->DragObjectDropped(drag);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 1);
    EXPECT_TRUE(Script().Progress.isEmpty());
    // Accepted, the copy runs under its progress window, which shows why a
    // target without system tables takes nothing.
    answer = true;
    other->DragObjectDropped(drag);
    SetCopyConfirmationPrompt({});
    ASSERT_EQ(Script().Progress.size(), 1);
    EXPECT_EQ(Script().Progress[0]->Caption,
              SafeFormat(LString("M_Pelvar_DOAlias_CopyDatabaseActionCaption"), Alias()));
    ASSERT_EQ(Script().Progress[0]->Errors.size(), 1);
    EXPECT_TRUE(Script().Progress[0]->Errors[0].contains("system table"))
        << Script().Progress[0]->Errors[0].toStdString();

    // The dragged alias names the source, whatever path it came from.
    drag.FullPath = "\\" + FOther->Alias() + "\\Structures";
    answer = false;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation&) { return ++asked, answer; });
    other->DragObjectDropped(drag);
    SetCopyConfirmationPrompt({});
    EXPECT_EQ(asked, 3);
}

TEST_P(AliasTest, ADataSourceWithAMissingDriverIsReportedAndStaysClosed) {
    TTestEnvironment::Instance().AddDataSource(
        "NODRIVER", {"Driver=/no/such/driver.so", "Description=Broken data source"});
    auto root = OpenRoot();
    TDOAlias* broken = Node(*root, "NODRIVER");
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->DriverName(), "BROKEN DATA SOURCE");
    Script().AnswerModal([](QObject*) { return IDOK; });
    EXPECT_FALSE(broken->Open());
    ASSERT_EQ(Script().Asked.last().Kind, "exception");
    EXPECT_TRUE(Script().Asked.last().Text.contains("NODRIVER"));
    EXPECT_FALSE(BaseMng().Databases().HasLoginParams("NODRIVER"));
    EXPECT_EQ(AliasCounter().GetUsed("NODRIVER"), 0);
    // The rest of the tree goes on working.
    EXPECT_TRUE(Node(*root, Alias())->Open());
    TTestEnvironment::Instance().RemoveDataSource("NODRIVER");
}

TEST_P(AliasTest, RefreshingTheRootShowsDataSourcesAddedOrRemovedSinceItOpened) {
    auto root = OpenRoot();
    AnswerLogin(FUser, FPassword);
    ASSERT_TRUE(Node(*root, FOther->Alias())->Open());
    EXPECT_FALSE(root->Refresh());  // nothing changed
    const QString file = TTestEnvironment::Instance().Dir() + "/added.sqlite";
    TTestEnvironment::Instance().AddSqliteDataSource("ADDEDDB", file, "Added later");
    EXPECT_TRUE(root->Refresh());
    ASSERT_NE(Node(*root, "ADDEDDB"), nullptr);
    EXPECT_EQ(Node(*root, "ADDEDDB")->DriverName(), "ADDED LATER");
    // The connected database keeps its node and its connection.
    EXPECT_TRUE(Node(*root, FOther->Alias())->Opened());
    EXPECT_EQ(AliasCounter().GetUsed(FOther->Alias()), 1);
    TTestEnvironment::Instance().RemoveDataSource("ADDEDDB");
    EXPECT_TRUE(root->Refresh());
    EXPECT_EQ(Node(*root, "ADDEDDB"), nullptr);
    EXPECT_NE(Node(*root, Alias()), nullptr);
}

PELVAR_ENGINE_TESTS(AliasTest);

}  // namespace
