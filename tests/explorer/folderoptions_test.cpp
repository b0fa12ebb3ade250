#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTreeView>

#include "basekit/registry.h"
#include "explorer/listcolumnsselectform.h"
#include "explorer/listview.h"
#include "explorerfixture.h"
#include "scriptedinteraction.h"

namespace {

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

// Answers the next column dialog with `edit` and OK.
void AnswerColumns(const std::function<void(TListColumnsSelectForm*)>& edit) {
    Script().AnswerModal([edit](QObject* form) {
        edit(qobject_cast<TListColumnsSelectForm*>(form));
        return IDOK;
    });
}

QListWidgetItem* Entry(TListColumnsSelectForm* dialog, const QString& caption) {
    return dialog->CheckList->findItems(caption, Qt::MatchExactly).value(0);
}

}  // namespace

TEST_F(TExplorerTest, FolderOptionsAreStoredOnLeavingAndLoadedOnReturn) {
    // First visit: the folder's columns, all shown, sorted by key 0.
    TCommonListForm* w = Window(kTables);
    EXPECT_EQ(Tags(w), (QList<int>{0, 1, 2}));
    EXPECT_EQ(w->SortType(), 0);
    w->SetListViewStyle(3);
    w->ColumnClick(1);
    w->ColumnClick(1);  // size, descending
    w->ListView()->DetailsView()->header()->resizeSection(2, 234);
    w->ListView()->SetFocusedRow(Row(w, "T3"), true);
    w->SetCurrentPath("\\A1");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key("FOLDER_OPTIONS\\Structures\\Tables")));
    EXPECT_EQ(reg.ReadInteger("ListViewStyle"), 3);
    EXPECT_FALSE(reg.ReadBool("AutoArrangeIcons"));
    EXPECT_EQ(reg.ReadInteger("Width"), w->width());
    EXPECT_TRUE(reg.ValueExists("Left"));
    for (int tag : {0, 1, 2}) {
        const QString column = QStringLiteral("Column%1").arg(tag);
        EXPECT_TRUE(reg.ReadBool(column + "_Visible"));
        EXPECT_EQ(reg.ReadInteger(column + "_Order"), tag);
    }
    EXPECT_EQ(reg.ReadInteger("Column2_Width"), 234);
    EXPECT_EQ(reg.ReadInteger("SortType"), 1000001);
    EXPECT_EQ(reg.ReadString("FocusedItem"), "T3");
    EXPECT_EQ(reg.ReadString("TestOwnValue"), kTables);

    w->SetListViewStyle(2);
    w->SetCurrentPath(QString());  // the alias node keeps its options under ALIAS
    EXPECT_TRUE(reg.OpenKeyReadOnly(Key("FOLDER_OPTIONS\\ALIAS")));
    w->SetCurrentPath(kTables);
    EXPECT_TRUE(reg.OpenKeyReadOnly(Key("FOLDER_OPTIONS\\ROOT")));

    EXPECT_EQ(w->ListViewStyle(), 3);
    EXPECT_EQ(w->SortType(), 1000001);
    EXPECT_EQ(w->ListColumns()[2].Width, 234);
    EXPECT_EQ(Captions(w), (QStringList{"T1", "T3", "T2", "Sub"}));
    EXPECT_EQ(w->ListView()->FocusedRow(), Row(w, "T3"));
    EXPECT_EQ(w->ListView()->SelectedRows(), std::vector<int>{Row(w, "T3")});

    // Values written by hand: partial orders, no style 4, no column 7.
    w->SetCurrentPath(QString());
    Store(
        "Structures\\Tables",
        {{"Column0_Order", 3}, {"Column1_Order", 1}, {"ListViewStyle", 4}, {"SortType", 1000007}});
    ASSERT_TRUE(reg.OpenKey(Key("FOLDER_OPTIONS\\Structures\\Tables"), false));
    reg.DeleteValue("Column2_Order");
    reg.CloseKey();
    w->SetListViewStyle(1);
    w->SetCurrentPath(kTables);
    EXPECT_EQ(Tags(w), (QList<int>{1, 0, 2}));  // stored 1, stored 3, then the unstored one
    EXPECT_EQ(w->ListViewStyle(), 1);           // 4 is no style
    EXPECT_EQ(w->SortType(), 0);                // no column 7 here
}

TEST_F(TExplorerTest, SortingByColumns) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    const TListRowModel& model = w->ListView()->Model();
    w->ColumnClick(1);
    EXPECT_EQ(w->SortType(), 1);
    EXPECT_EQ(Captions(w), (QStringList{"Sub", "T2", "T3", "T1"}));
    EXPECT_FALSE(model.headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
    EXPECT_TRUE(model.headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
    Select(w, {"T2"});
    w->ColumnClick(1);
    EXPECT_EQ(w->SortType(), 1000001);
    EXPECT_EQ(Captions(w).first(), "T1");
    // The selection stays on its row.
    EXPECT_EQ(w->ListView()->SelectedRows(), std::vector<int>{Row(w, "T2")});
    w->ColumnClick(0);  // another column keeps the direction
    EXPECT_EQ(w->SortType(), 1000000);
    EXPECT_EQ(Captions(w), (QStringList{"T3", "T2", "T1", "Sub"}));
    EXPECT_TRUE(model.headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
    w->ArrangeIconsBy(0);  // already the key: nothing changes
    EXPECT_EQ(w->SortType(), 1000000);
    w->ArrangeIconsBy(2);
    EXPECT_EQ(w->SortType(), 1000002);
    QStringList marked;
    for (QAction* a : w->ArrangeIconsMenu()->actions())
        if (!a->isSeparator() && a != w->AutoArrangeIconsAction && !a->icon().isNull())
            marked << a->text();
    EXPECT_EQ(marked, QStringList{"By column 2"});

    // Hiding the sorted column hands the order to the caption column, in the
    // same direction.
    AnswerColumns([](auto* d) { Entry(d, "Remark")->setCheckState(Qt::Unchecked); });
    w->SelectColumns();
    EXPECT_EQ(Tags(w), (QList<int>{0, 1}));
    EXPECT_EQ(w->SortType(), 1000000);
    EXPECT_EQ(Captions(w), (QStringList{"T3", "T2", "T1", "Sub"}));
    EXPECT_FALSE(model.headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
}

TEST_F(TExplorerTest, DataStaysUnderItsHeaderWhereverTheColumnGoes) {
    TCommonListForm* w = Window(kTables);
    w->SetListViewStyle(3);
    QHeaderView* header = w->ListView()->DetailsView()->header();
    // "header=text" for each cell of a row, in the order the user sees them.
    const auto shown = [&](const QString& caption) {
        QStringList cells;
        const int row = Row(w, caption);
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            cells << header->model()->headerData(logical, Qt::Horizontal).toString() + "=" +
                         header->model()->index(row, logical).data().toString();
        }
        return cells;
    };

    AnswerColumns([](auto* d) {
        EXPECT_FALSE(Entry(d, "Name")->flags() & Qt::ItemIsUserCheckable);
        d->CheckList->setCurrentRow(0);
        d->MoveUp();  // the first entry stays first
        d->MoveDown();
    });
    w->SelectColumnsAction->trigger();
    EXPECT_EQ(shown("T1"), (QStringList{"Size=30", "Name=T1", "Remark=beta"}));

    AnswerColumns([](auto* d) {
        Entry(d, "Size")->setCheckState(Qt::Unchecked);
        d->CheckList->setCurrentItem(Entry(d, "Remark"));
        d->MoveUp();
        d->MoveUp();
    });
    w->SelectColumns();
    EXPECT_EQ(shown("T1"), (QStringList{"Remark=beta", "Name=T1"}));
    AnswerColumns([](auto* d) { Entry(d, "Size")->setCheckState(Qt::Checked); });
    w->SelectColumns();
    Script().AnswerModal([](QObject*) { return IDCANCEL; });
    w->SelectColumns();  // changes nothing
    EXPECT_EQ(shown("T1"), (QStringList{"Remark=beta", "Name=T1", "Size=30"}));

    // The user drags Size to the front: it stays where it was dropped.
    const auto centre = [&](int visual) {
        const int logical = header->logicalIndex(visual);
        return QPoint(header->sectionViewportPosition(logical) + header->sectionSize(logical) / 2,
                      header->height() / 2);
    };
    QWidget* port = header->viewport();
    const QPoint from = centre(2), to(3, from.y());
    QTest::mousePress(port, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(port, from + (to - from) * step / 10);
    QTest::mouseRelease(port, Qt::LeftButton, {}, to);
    EXPECT_EQ(shown("T1"), (QStringList{"Size=30", "Remark=beta", "Name=T1"}));

    // Sorting by the moved column sorts by its values and marks its header.
    QTest::mouseClick(port, Qt::LeftButton, {}, centre(0));
    EXPECT_EQ(w->SortType(), 1);
    EXPECT_EQ(Captions(w), (QStringList{"Sub", "T2", "T3", "T1"}));
    EXPECT_FALSE(header->model()
                     ->headerData(header->logicalIndex(0), Qt::Horizontal, Qt::DecorationRole)
                     .isNull());
    EXPECT_EQ(shown("T3"), (QStringList{"Size=20", "Remark=gamma", "Name=T3"}));

    // Coming back to the folder shows the stored order, the data under it.
    w->SetCurrentPath("\\A1");
    w->SetCurrentPath(kTables);
    EXPECT_EQ(w->SortType(), 1);
    EXPECT_EQ(shown("T2"), (QStringList{"Size=10", "Remark=alpha", "Name=T2"}));

    // The icon views show the caption, whichever column leads.
    w->SetListViewStyle(0);
    const QListView* icons = w->ListView()->IconView();
    EXPECT_EQ(icons->model()->index(Row(w, "T2"), icons->modelColumn()).data().toString(), "T2");
}

TEST_F(TExplorerTest, GlobalOptionsAndWindowPlaces) {
    TCommonListForm* w = Window();
    w->ExplorerAction->trigger();
    w->StatusBarAction->trigger();
    w->close();  // the last window closed decides what the next one shows
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key("Options")));
    EXPECT_FALSE(reg.ReadBool("ShowExplorer"));
    EXPECT_FALSE(reg.ReadBool("ShowStatusBar"));
    w = Window();
    EXPECT_FALSE(w->ShowExplorer());
    EXPECT_FALSE(w->ShowStatusBar());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    Store("ROOT", {{"Left", 40}, {"Top", 30}, {"Width", 300}, {"Height", 200}});
    TCommonListForm* first = Window();
    TCommonListForm* second = Window();
    EXPECT_EQ(first->pos(), QPoint(40, 30));
    EXPECT_EQ(second->pos(), QPoint(65, 55));
    EXPECT_EQ(second->size(), QSize(300, 200));

    Store("ROOT", {{"Width", 20000}, {"Height", 20000}});
    TCommonListForm* big = Window();
    EXPECT_EQ(big->size(), big->screen()->availableGeometry().size());
}

TEST_F(TExplorerTest, LargeIconCaptionsAreNotCutToTheFirstRowsWidth) {
    World().Add(QString(), {"Dictionary", false});
    TCommonListForm* w = Window();
    w->SetListViewStyle(0);
    QTest::qWait(20);
    QListView* icons = w->ListView()->IconView();
    const QModelIndex index = w->ListView()->Model().index(Row(w, "Dictionary"), 0);
    EXPECT_GE(icons->visualRect(index).width(),
              icons->fontMetrics().horizontalAdvance("Dictionary"));
}
