#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "basekit/errors.h"
#include "errorof.h"
#include "explorer/formlookup.h"
#include "explorer/listview.h"
#include "explorerfixture.h"
#include "scriptedinteraction.h"

namespace {

void Press(TCommonListForm* window, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(window->ListView()->CurrentView(), Qt::Key(key), mods);
}

}  // namespace

TEST_F(TExplorerTest, InitializeShowsFoldersInTheTreeAndEverythingInTheListOrFails) {
    TCommonListForm* w = Window(kTables);
    EXPECT_TRUE(w->Initialized());
    EXPECT_EQ(w->CurrentPath(), kTables);
    EXPECT_EQ(w->StatusText(), kTables);
    EXPECT_EQ(w->windowTitle(), "Tables - A1");
    QTreeWidgetItem* top = w->TreeView()->topLevelItem(0);
    EXPECT_EQ(ChildTexts(top), (QStringList{"A1", "A2"}));
    // Folders only, in the parent's order (Views was added before Tables).
    EXPECT_EQ(ChildTexts(w->FindTreeNodeByPath("\\A1\\Structures")),
              (QStringList{"Tables", "Views"}));
    EXPECT_EQ(w->TreeView()->currentItem(), w->FindTreeNodeByPath(kTables));
    EXPECT_EQ(Captions(w), (QStringList{"Sub", "T1", "T2", "T3"}));
    EXPECT_EQ(w->FindListItemByPath("T2"), 2);
    EXPECT_EQ(w->FindListItemByPath("t2"), -1);
    EXPECT_EQ(w->FindTreeNodeByPath("\\A1\\structures"), nullptr);
    EXPECT_EQ(TCommonListForm::Windows(), QList<TCommonListForm*>{w});

    // A path that does not exist any more: the root is shown instead.
    TCommonListForm* gone = Adopt(new TCommonListForm());
    EXPECT_FALSE(gone->Initialize("\\A1\\Gone", QString()));
    EXPECT_EQ(gone->CurrentPath(), QString());
    EXPECT_EQ(Captions(gone).size(), 3);

    World().FailOpen.insert(QString());
    TCommonListForm* broken = Adopt(new TCommonListForm());
    EXPECT_EQ(ErrorOf([&] { broken->Initialize(QString(), QString()); }),
              "Can not initialize pelvar window");
}

TEST_F(TExplorerTest, NavigationRulesAndGuards) {
    TCommonListForm* w = Window("\\A1");
    EXPECT_EQ(ErrorOf([&] { w->SetCurrentPath("\\A1\\Nope"); }),
              "Pelvar object not found. FullPath:'\\A1\\Nope'");
    EXPECT_EQ(w->CurrentPath(), "\\A1");

    // A folder that cannot open leaves the window where it was.
    World().FailOpen.insert("\\A2");
    w->SetCurrentPath("\\A2\\Structures");
    EXPECT_EQ(w->CurrentPath(), "\\A1");

    // Selecting a tree node navigates; the navigation's own selection does not
    // navigate again (the folder loads its options once per visit).
    w->SetCurrentPath("\\A1\\Structures");  // leaves options to load later
    w->SetCurrentPath("\\A1");
    World().LoadedOptions.clear();
    ASSERT_TRUE(w->ExpandNode(w->FindTreeNodeByPath("\\A1")));
    w->TreeView()->setCurrentItem(w->FindTreeNodeByPath("\\A1\\Structures"));
    EXPECT_EQ(w->CurrentPath(), "\\A1\\Structures");
    EXPECT_EQ(World().LoadedOptions["\\A1\\Structures"], 1);
    w->SetCurrentPath("\\A1\\Structures");
    EXPECT_EQ(World().LoadedOptions["\\A1\\Structures"], 2);

    // Up one level, down to the root.
    EXPECT_TRUE(w->UpOneLevelAction->isEnabled());
    w->UpOneLevelAction->trigger();
    EXPECT_EQ(w->CurrentPath(), "\\A1");
    w->UpOneLevelAction->trigger();
    EXPECT_EQ(w->CurrentPath(), QString());
    EXPECT_FALSE(w->UpOneLevelAction->isEnabled());
}

TEST_F(TExplorerTest, ExpandingANodeOpensItOnceAndNavigates) {
    TCommonListForm* w = Window();
    QTreeWidgetItem* a2 = w->FindTreeNodeByPath("\\A2");
    ASSERT_NE(a2, nullptr);
    EXPECT_EQ(a2->childCount(), 0);
    a2->setExpanded(true);
    EXPECT_EQ(w->CurrentPath(), "\\A2");
    EXPECT_EQ(ChildTexts(a2), QStringList{"Structures"});
    EXPECT_EQ(World().Opens["\\A2"], 1);
    w->UpOneLevel();
    a2->setExpanded(false);
    a2->setExpanded(true);  // already filled: no navigation, no second open
    EXPECT_EQ(w->CurrentPath(), QString());
    EXPECT_EQ(World().Opens["\\A2"], 1);

    // A node whose folder cannot open refuses to expand.
    World().FailOpen.insert("\\A1\\Languages");
    w->SetCurrentPath("\\A1");
    ASSERT_TRUE(w->ExpandNode(w->FindTreeNodeByPath("\\A1")));
    QTreeWidgetItem* languages = w->FindTreeNodeByPath("\\A1\\Languages");
    ASSERT_NE(languages, nullptr);
    languages->setExpanded(true);
    EXPECT_FALSE(languages->isExpanded());
    EXPECT_EQ(w->CurrentPath(), "\\A1");
}

TEST_F(TExplorerTest, DoubleClickAndKeysOnRows) {
    World().WithProperties.insert(kTables + "\\T1");
    World().Actions[kTables + "\\T2"] = {{"T2_Run",
                                          {aoListItem, aoPopupMenu},
                                          QString(),
                                          QKeyCombination(Qt::CTRL | Qt::Key_K).toCombined()}};
    TCommonListForm* w = Window(kTables);

    // A non-folder row without a default action but with properties opens them.
    QAbstractItemView* view = w->ListView()->CurrentView();
    const QModelIndex t1 = w->ListView()->Model().index(Row(w, "T1"), 0);
    // The first click of a double-click selects the row.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(t1).center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(t1).center());
    EXPECT_EQ(World().Log, QStringList{QStringLiteral("properties ") + kTables + "\\T1"});
    World().Log.clear();

    Select(w, {"T1"});
    Press(w, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(World().Log, QStringList{QStringLiteral("properties ") + kTables + "\\T1"});
    World().Log.clear();

    // The row's own action runs from its key exactly once, even after its
    // popup menu was built (menu items never take keys).
    Select(w, {"T2"});
    w->FillListViewPopupMenu();
    Press(w, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(World().Log, QStringList{"T2_Run(nil)"});
    // With two rows selected the row keys are not looked at.
    Select(w, {"T1", "T2"});
    Press(w, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(World().Log.size(), 1);

    // Enter on a folder row goes into it; a double-click too.
    Select(w, {"Sub"});
    Press(w, Qt::Key_Return);
    EXPECT_EQ(w->CurrentPath(), kTables + "\\Sub");
    w->UpOneLevel();
    w->ListRowDoubleClicked(Row(w, "Sub"));
    EXPECT_EQ(w->CurrentPath(), kTables + "\\Sub");
}

TEST_F(TExplorerTest, NewWindowAndShortcuts) {
    TCommonListForm* w = Window(kTables);
    w->AddToShortcutsAction->trigger();  // no host: nothing happens, nothing breaks
    TTestShortcutHost host;
    SetShortcutHost(&host);
    QTest::keyClick(w->ListView()->CurrentView(), Qt::Key_D, Qt::ControlModifier);
    w->AddToShortcutsAction->trigger();
    SetShortcutHost(nullptr);
    ASSERT_EQ(host.List.Count(), 1);
    EXPECT_EQ(host.List.Items(0)->FullPath, kTables);
    EXPECT_EQ(host.Rebuilt, 1);

    TCommonListForm* second = Adopt(w->NewWindow());
    EXPECT_EQ(second->CurrentPath(), kTables);
    EXPECT_EQ(TCommonListForm::Windows(), (QList<TCommonListForm*>{w, second}));
    second->close();  // a closed window frees itself and leaves the list
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TCommonListForm::Windows(), QList<TCommonListForm*>{w});
}

TEST_F(TExplorerTest, ImportAndExportFiles) {
    QTemporaryDir dir;
    TCommonListForm* w = Window();
    const QString missing = dir.filePath("missing.eif");
    Script().AnswerFile(missing);
    w->OpenImportFileAction->trigger();
    EXPECT_EQ(Script().Asked.last().Kind, "exception");
    EXPECT_EQ(Script().Asked.last().Text, QStringLiteral("File ") + missing + " not found");

    const QString existing = dir.filePath("data.eif");
    QFile(existing).open(QIODevice::WriteOnly);
    Script().AnswerFile(existing);
    w->OpenImportFileAction->trigger();
    ASSERT_EQ(TCommonListForm::Windows().size(), 2);
    TCommonListForm* file = TCommonListForm::Windows().last();
    EXPECT_EQ(file->FileName(), existing);
    EXPECT_EQ(file->windowTitle(), existing);
    EXPECT_EQ(Captions(file), (QStringList{"Section1", "Section2"}));

    // Creating over an existing file asks first; No keeps it.
    Script().Reset();
    Script().AnswerFile(existing);
    Script().AnswerMessage(IDNO);
    w->CreateExportFileAction->trigger();
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_EQ(Script().Asked[1].Flags, 0x2024);
    EXPECT_TRUE(Script().Asked[1].Text.contains(existing));
    EXPECT_TRUE(Script().Asked[1].Caption.isEmpty());
    EXPECT_TRUE(QFile::exists(existing));
    EXPECT_EQ(TCommonListForm::Windows().size(), 2);

    Script().AnswerFile(existing);
    Script().AnswerMessage(IDYES);
    w->CreateExportFileAction->trigger();
    EXPECT_FALSE(QFile::exists(existing));
    EXPECT_EQ(TCommonListForm::Windows().size(), 3);

    // A file that no root can show is reported, and no window stays.
    const QString other = dir.filePath("other.dat");
    QFile(other).open(QIODevice::WriteOnly);
    Script().AnswerFile(other);
    w->OpenImportFileAction->trigger();
    EXPECT_EQ(Script().Asked.last().Kind, "exception");
    EXPECT_TRUE(Script().Asked.last().Text.contains(other));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TCommonListForm::Windows().size(), 3);
}
