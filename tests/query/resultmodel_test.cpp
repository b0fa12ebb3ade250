#include <gtest/gtest.h>

#include <QSignalSpy>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "gridkit/resultmodel.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

class ResultModelTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        TDatabase& db = BaseMng().Databases().GetDatabase(Alias());
        const QString blob = FDb->IsPostgres() ? "BYTEA" : "BLOB";
        db.ExecDirect("CREATE TABLE R (ID INTEGER, NAME VARCHAR(20), DATA " + blob + ")");
        TTransactionScope scope(db);
        auto insert = BaseMng().GetExecQuery("INSERT INTO R VALUES (:id, :name, :data)", Alias());
        for (int i = 1; i <= 1000; ++i) {
            insert->ParamByName("id").SetValue(i);
            insert->ParamByName("name").SetValue(QString("n%1").arg(i));
            if (i % 2)
                insert->ParamByName("data").SetNull(dtBlob);
            else
                insert->ParamByName("data").SetValue(QByteArray("#\n", 2) + QByteArray::number(i));
            insert->Execute();
        }
        scope.Commit();
    }
    std::unique_ptr<TSelectQuery> Open() {
        auto q = BaseMng().GetSelectQuery("SELECT ID, NAME, DATA FROM R ORDER BY ID", Alias());
        q->Open();
        return q;
    }
};

TEST_P(ResultModelTest, RowsArriveInBlocksAndAStopKeepsWhatWasRead) {
    TQueryResultModel model;
    model.SetSliceRows(300);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy finished(&model, &TQueryResultModel::FetchFinished);
    model.Start(Open());
    EXPECT_EQ(model.rowCount(), 0);
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "#");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString().toUpper(), "NAME");
    EXPECT_TRUE(model.FetchSlice());
    EXPECT_TRUE(model.FetchSlice());
    ASSERT_EQ(inserted.size(), 2);  // one insertion per block, never per row
    EXPECT_EQ(inserted[1][1].toInt(), 300);
    EXPECT_EQ(inserted[1][2].toInt(), 599);
    model.StopFetch();
    EXPECT_FALSE(model.Fetching());
    EXPECT_TRUE(model.Stopped());
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished[0][0].toBool());
    EXPECT_EQ(model.rowCount(), 600);
    EXPECT_FALSE(model.FetchSlice());
    EXPECT_EQ(model.CellText(599, 0), "600");
    EXPECT_EQ(model.CellText(599, 2), "n600");
}

TEST_P(ResultModelTest, FetchesBetweenEventLoopTurnsToTheEnd) {
    TQueryResultModel model;
    model.SetSliceRows(128);
    QSignalSpy arrived(&model, &TQueryResultModel::RowsArrived);
    QSignalSpy finished(&model, &TQueryResultModel::FetchFinished);
    model.Start(Open());
    for (int i = 0; i < 500 && model.Fetching(); ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished[0][0].toBool());
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(arrived.size(), 8);
    EXPECT_EQ(arrived.last()[0].toLongLong(), 1000);
    EXPECT_EQ(model.data(model.index(4, 1), Qt::DisplayRole).toString(), "5");
    EXPECT_TRUE(model.data(model.index(4, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(model.data(model.index(4, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);

    // BLOB cells: the marker in the grid, the bytes kept, readable text copied.
    EXPECT_EQ(model.CellText(3, 3), "(BLOB)");
    EXPECT_TRUE(model.IsBlobCell(2, 3));
    EXPECT_TRUE(model.BlobBytes(2, 3).isEmpty());  // NULL
    EXPECT_EQ(model.BlobBytes(3, 3), QByteArray("#\n4"));
    EXPECT_EQ(model.FullCellText(3, 3), "#23#0A4");
    EXPECT_FALSE(model.IsBlobCell(3, 2));
    EXPECT_EQ(model.CopyText({2, 3}, 3, false), "\n#23#0A4\n");
    EXPECT_EQ(model.CopyText({3}, 0, true), "4|4|n4|#23#0A4\n");
    EXPECT_EQ(model.CopyText({3}, -1, false), "");
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);

    // Numbers of every size and sign, and texts, read as the values say.
    auto numbers = BaseMng().GetSelectQuery(
        "SELECT -9223372036854775807 - 1, 9223372036854775807, 0, -42, 2.5, 'it''s'", Alias());
    numbers->Open();
    model.Start(std::move(numbers));
    while (model.FetchSlice()) {
    }
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.CellText(0, 1), "-9223372036854775808");
    EXPECT_EQ(model.CellText(0, 2), "9223372036854775807");
    EXPECT_EQ(model.CellText(0, 3), "0");
    EXPECT_EQ(model.CellText(0, 4), "-42");
    EXPECT_EQ(model.CellText(0, 5), "2.5");
    EXPECT_EQ(model.CellText(0, 6), "it's");
}

PELVAR_ENGINE_TESTS(ResultModelTest);

}  // namespace
