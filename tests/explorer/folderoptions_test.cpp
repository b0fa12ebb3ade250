#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTreeView>

#include "basekit/registry.h"
#include "explorer/listcolumnsselectform.h"
#include "explorer/listview.h"
#include "explorerfixture.h"
#include "scriptedinteraction.h"

namespace {

const QString kTables = QStringLiteral("\\A1\\Structures\\Tables");

QList<int> Tags(const TCommonListForm* w) {
    QList<int> tags;
    for (const TListColumn& c : w->ListColumns())
        tags << c.Tag;
    return tags;
}

// Writes values into a key below "\PELVAR\FOLDER_OPTIONS".
void Store(const QString& key, const std::vector<std::pair<QString, int>>& values) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(TExplorerTest::Key(QStringLiteral("FOLDER_OPTIONS\\") + key), true));
    for (const auto& [name, value] : values)
        reg.WriteInteger(name, value);
}

}  // namespace

TEST_F(TExplorerTest, FolderOptionsAreStoredOnLeavingAndLoadedOnReturn) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    w->ColumnClick(1);
    w->ColumnClick(1);  // size, descending
    w->ListView()->DetailsView()->header()->resizeSection(2, 234);
    w->ListView()->SetFocusedRow(Row(w, QStringLiteral("T3")), true);
    w->SetCurrentPath(QStringLiteral("\\A1"));

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("FOLDER_OPTIONS\\Structures\\Tables"))));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("ListViewStyle")), 3);
    EXPECT_FALSE(reg.ReadBool(QStringLiteral("AutoArrangeIcons")));
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Width")), w->width());
    EXPECT_TRUE(reg.ValueExists(QStringLiteral("Left")));
    for (int tag : {0, 1, 2}) {
        const QString column = QStringLiteral("Column%1").arg(tag);
        EXPECT_TRUE(reg.ReadBool(column + QStringLiteral("_Visible")));
        EXPECT_EQ(reg.ReadInteger(column + QStringLiteral("_Order")), tag);
    }
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("Column2_Width")), 234);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("SortType")), 1000001);
    EXPECT_EQ(reg.ReadString(QStringLiteral("FocusedItem")), QStringLiteral("T3"));
    EXPECT_EQ(reg.ReadString(QStringLiteral("TestOwnValue")), kTables);

    w->SetListViewStyle(2);
    w->SetCurrentPath(QString());  // the alias node keeps its options under ALIAS
    EXPECT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("FOLDER_OPTIONS\\ALIAS"))));
    w->SetCurrentPath(kTables);
    EXPECT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("FOLDER_OPTIONS\\ROOT"))));

    EXPECT_EQ(w->ListViewStyle(), 3);
    EXPECT_EQ(w->SortType(), 1000001);
    EXPECT_EQ(w->ListColumns()[2].Width, 234);
    EXPECT_EQ(Captions(w), (QStringList{QStringLiteral("T1"), QStringLiteral("T3"),
                                        QStringLiteral("T2"), QStringLiteral("Sub")}));
    EXPECT_EQ(w->ListView()->FocusedRow(), Row(w, QStringLiteral("T3")));
    EXPECT_EQ(w->ListView()->SelectedRows(), std::vector<int>{Row(w, QStringLiteral("T3"))});
}

TEST_F(TExplorerTest, StoredColumnsAndBadValues) {
    // First visit: the folder's columns, all shown, sorted by key 0.
    TCommonListForm* w = Window(kTables);
    EXPECT_EQ(Tags(w), (QList<int>{0, 1, 2}));
    EXPECT_EQ(w->SortType(), 0);
    w->SetCurrentPath(QString());

    Store(QStringLiteral("Structures\\Tables"), {{QStringLiteral("Column0_Order"), 3},
                                                 {QStringLiteral("Column1_Order"), 1},
                                                 {QStringLiteral("ListViewStyle"), 4},
                                                 {QStringLiteral("SortType"), 1000007}});
    {
        TRegistry reg;
        reg.OpenKey(Key(QStringLiteral("FOLDER_OPTIONS\\Structures\\Tables")), false);
        reg.DeleteValue(QStringLiteral("Column2_Order"));
        reg.WriteBool(QStringLiteral("Column2_Visible"), true);
    }
    w->SetListViewStyle(1);
    w->SetCurrentPath(kTables);
    EXPECT_EQ(Tags(w), (QList<int>{1, 0, 2}));  // stored 1, stored 3, then the unstored one
    EXPECT_EQ(w->ListViewStyle(), 1);           // 4 is no style
    EXPECT_EQ(w->SortType(), 0);                // no column 7 here
    // Sub-items follow the new column order.
    const TListRow& t1 = w->ListView()->Rows()[size_t(Row(w, QStringLiteral("T1")))];
    EXPECT_EQ(t1.SubItems, (QStringList{QString(), QStringLiteral("beta")}));

    w->SetCurrentPath(QString());
    Store(QStringLiteral("Structures\\Tables"), {{QStringLiteral("Column1_Visible"), 0}});
    w->SetCurrentPath(kTables);
    EXPECT_EQ(Tags(w), (QList<int>{0, 2}));
}

TEST_F(TExplorerTest, SortingByColumns) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    const TListRowModel& model = w->ListView()->Model();
    w->ColumnClick(1);
    EXPECT_EQ(w->SortType(), 1);
    EXPECT_EQ(Captions(w), (QStringList{QStringLiteral("Sub"), QStringLiteral("T2"),
                                        QStringLiteral("T3"), QStringLiteral("T1")}));
    EXPECT_FALSE(model.headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
    EXPECT_TRUE(model.headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
    Select(w, {QStringLiteral("T2")});
    w->ColumnClick(1);
    EXPECT_EQ(w->SortType(), 1000001);
    EXPECT_EQ(Captions(w).first(), QStringLiteral("T1"));
    // The selection stays on its row.
    EXPECT_EQ(w->ListView()->SelectedRows(), std::vector<int>{Row(w, QStringLiteral("T2"))});
    w->ColumnClick(0);  // another column keeps the direction
    EXPECT_EQ(w->SortType(), 1000000);
    EXPECT_EQ(Captions(w), (QStringList{QStringLiteral("T3"), QStringLiteral("T2"),
                                        QStringLiteral("T1"), QStringLiteral("Sub")}));
    EXPECT_TRUE(model.headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
    w->ArrangeIconsBy(0);  // already the key: nothing changes
    EXPECT_EQ(w->SortType(), 1000000);
    w->ArrangeIconsBy(2);
    EXPECT_EQ(w->SortType(), 1000002);
    QStringList marked;
    for (QAction* a : w->ArrangeIconsMenu()->actions())
        if (!a->isSeparator() && a != w->AutoArrangeIconsAction && !a->icon().isNull())
            marked << a->text();
    EXPECT_EQ(marked, QStringList{QStringLiteral("By column 2")});
}

TEST_F(TExplorerTest, ColumnDialogAndColumnDrag) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    Script().AnswerModal([](QObject* form) {
        auto* dialog = qobject_cast<TListColumnsSelectForm*>(form);
        EXPECT_FALSE(dialog->CheckList->item(0)->flags() & Qt::ItemIsUserCheckable);
        dialog->CheckList->setCurrentRow(0);
        dialog->MoveUp();  // the first entry stays first
        dialog->CheckList->setCurrentRow(2);
        dialog->MoveUp();
        dialog->CheckList->item(2)->setCheckState(Qt::Unchecked);  // Size
        return IDOK;
    });
    w->SelectColumnsAction->trigger();
    EXPECT_EQ(Tags(w), (QList<int>{0, 2}));
    EXPECT_EQ(w->ListView()->Rows()[0].SubItems.size(), 1);
    Script().AnswerModal([](QObject*) { return IDCANCEL; });
    w->SelectColumns();
    EXPECT_EQ(Tags(w), (QList<int>{0, 2}));

    w->ListView()->DetailsView()->header()->moveSection(1, 0);
    EXPECT_EQ(Tags(w), (QList<int>{2, 0}));
    EXPECT_EQ(w->ListView()->DetailsView()->header()->logicalIndex(0), 0);
}

TEST_F(TExplorerTest, GlobalOptionsAndWindowPlaces) {
    TCommonListForm* w = Window();
    w->ExplorerAction->trigger();
    w->StatusBarAction->trigger();
    w->close();  // the last window closed decides what the next one shows
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key(QStringLiteral("Options"))));
    EXPECT_FALSE(reg.ReadBool(QStringLiteral("ShowExplorer")));
    EXPECT_FALSE(reg.ReadBool(QStringLiteral("ShowStatusBar")));
    w = Window();
    EXPECT_FALSE(w->ShowExplorer());
    EXPECT_FALSE(w->ShowStatusBar());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    Store(QStringLiteral("ROOT"), {{QStringLiteral("Left"), 40},
                                   {QStringLiteral("Top"), 30},
                                   {QStringLiteral("Width"), 300},
                                   {QStringLiteral("Height"), 200}});
    TCommonListForm* first = Window();
    TCommonListForm* second = Window();
    EXPECT_EQ(first->pos(), QPoint(40, 30));
    EXPECT_EQ(second->pos(), QPoint(65, 55));
    EXPECT_EQ(second->size(), QSize(300, 200));

    Store(QStringLiteral("ROOT"),
          {{QStringLiteral("Width"), 20000}, {QStringLiteral("Height"), 20000}});
    TCommonListForm* big = Window();
    EXPECT_EQ(big->size(), big->screen()->availableGeometry().size());
}
