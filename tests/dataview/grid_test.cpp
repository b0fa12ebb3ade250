#include <gtest/gtest.h>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include "gridkit/datagrid.h"

namespace {

// Ten million rows that cost nothing: each cell says where it is.
class TCountingModel : public QAbstractTableModel {
  public:
    int Rows = 10000000;
    QModelIndex LastWrite;
    int rowCount(const QModelIndex& = {}) const override { return Rows; }
    int columnCount(const QModelIndex& = {}) const override { return 3; }
    QVariant data(const QModelIndex& i, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        return QStringLiteral("%1:%2").arg(i.row()).arg(i.column());
    }
    Qt::ItemFlags flags(const QModelIndex& i) const override {
        return QAbstractTableModel::flags(i) | Qt::ItemIsEditable;
    }
    bool setData(const QModelIndex& i, const QVariant&, int) override {
        LastWrite = i;
        return true;
    }
    void Shrink(int rows) {
        beginRemoveRows({}, rows, Rows - 1);
        Rows = rows;
        endRemoveRows();
    }
};

TEST(DataGridTest, TheViewKnowsOnlyTheScreenAndTheCursorMovesOverTheWholeModel) {
    TCountingModel model;
    TDataGrid grid;
    grid.resize(400, 12 * grid.RowHeight() + 40);
    grid.SetModel(&model);
    grid.show();
    QTableView* view = grid.View();
    const int screen = grid.VisibleRows();
    ASSERT_GT(screen, 3);
    // Nothing per model row: the view and its header know one screen.
    EXPECT_EQ(view->model()->rowCount(), screen);
    EXPECT_EQ(view->verticalHeader()->count(), screen);
    EXPECT_EQ(grid.ScrollBar()->maximum(), model.Rows - screen);

    // The last row, then the keys across the window's edges.
    grid.SetCurrent(model.Rows - 1, 2);
    EXPECT_EQ(grid.CurrentIndex(), model.index(model.Rows - 1, 2));
    EXPECT_EQ(grid.FirstRow(), model.Rows - screen);
    EXPECT_EQ(view->currentIndex().data().toString(), "9999999:2");
    EXPECT_EQ(grid.ScrollBar()->value(), grid.FirstRow());
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.CurrentRow(), 0);
    EXPECT_EQ(grid.FirstRow(), 0);
    for (int i = 0; i < screen; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(grid.CurrentRow(), screen);
    EXPECT_EQ(grid.FirstRow(), 1);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(grid.CurrentRow(), 2 * screen - 1);
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(grid.CurrentRow(), 2 * screen - 2);

    // The scroll bar moves the screen; the current row stays the model's.
    const int current = grid.CurrentRow();
    grid.ScrollBar()->setValue(5000000);
    EXPECT_EQ(grid.FirstRow(), 5000000);
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), "5000000:0");
    EXPECT_FALSE(view->currentIndex().isValid());
    EXPECT_EQ(grid.CurrentRow(), current);
    QTest::keyClick(view, Qt::Key_Down);  // back to the cursor, one further
    EXPECT_EQ(grid.CurrentRow(), current + 1);
    EXPECT_TRUE(view->currentIndex().isValid());

    // A click and an edit reach the model's row.
    grid.ScrollToRow(777);
    const QModelIndex cell = view->model()->index(2, 1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    EXPECT_EQ(grid.CurrentIndex(), model.index(779, 1));
    view->model()->setData(cell, "x");
    EXPECT_EQ(model.LastWrite, model.index(779, 1));

    // The model shrinks below the screen: the screen follows it.
    model.Shrink(3);
    EXPECT_EQ(grid.FirstRow(), 0);
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(grid.ScrollBar()->maximum(), 0);
    EXPECT_FALSE(grid.CurrentIndex().isValid());
}

}  // namespace
