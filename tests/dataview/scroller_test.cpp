#include <gtest/gtest.h>

#include <random>

#include <QCoreApplication>
#include <QElapsedTimer>
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"

#include "gridkit/tablemodel.h"
#include "gridkit/tablescroller.h"
#include "testenv.h"

namespace {

constexpr int kRows = 3000;
constexpr int kPage = 64;
constexpr int kCap = 4;

// A table of a few thousand rows with a nullable, duplicated, indexed name.
class ScrollerTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        Exec("CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(40), note VARCHAR(200))");
        Exec("CREATE INDEX items_name ON items (name)");
        Exec(QStringLiteral(
                 "INSERT INTO items WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                 "FROM c WHERE x < %1) SELECT x, CASE WHEN x % 7 = 0 THEN "
                 "NULL ELSE 'N' || (x % 50) END, 'note ' || x FROM c")
                 .arg(kRows));
        ASSERT_TRUE(Db().DescribeTable("items", FDesc));
    }
    TDatabase& Db() { return BaseMng().Databases().GetDatabase(Alias()); }
    void Exec(const QString& sql) { TExecQuery(Db(), sql).Execute(); }
    std::vector<qint64> Ids(const QString& orderBy) {
        std::vector<qint64> ids;
        TSelectQuery q(Db(), "SELECT id FROM items ORDER BY " + orderBy);
        for (q.Open(); !q.Eof(); q.Next())
            ids.push_back(q.Fields().GetFields(0).AsInteger());
        return ids;
    }
    std::unique_ptr<TTableScroller> Make() {
        auto s = std::make_unique<TTableScroller>(Db(), "items", kPage, kCap);
        s->SetDescription(FDesc);
        s->Open();
        return s;
    }
    qint64 IdAt(TTableScroller& s, qint64 row) {
        const TScrollerRow* r = s.Row(row);
        EXPECT_LE(s.CachedPages(), kCap);
        return r ? r->Values[0].AsInteger() : -1;
    }
    // Forwards, then backwards from the end on a fresh cache, then by jumps.
    void ExpectOrder(TTableScroller& s, const std::vector<qint64>& expected) {
        s.FetchCount();
        ASSERT_EQ(s.RowCount(), qint64(expected.size()));
        for (qint64 i = 0; i < s.RowCount(); ++i)
            ASSERT_EQ(IdAt(s, i), expected[size_t(i)]) << i;
        s.Refresh();
        for (qint64 i = s.RowCount() - 1; i >= 0; --i)
            ASSERT_EQ(IdAt(s, i), expected[size_t(i)]) << i;
        s.Refresh();
        std::mt19937 random(7);
        for (int n = 0; n < 40; ++n) {
            const qint64 i = qint64(random() % expected.size());
            ASSERT_EQ(IdAt(s, i), expected[size_t(i)]) << i;
        }
    }
    TDicTableDescription FDesc;
};

TEST_P(ScrollerTest, PagesShowEveryRowOnceInKeyOrderWithinTheCacheCap) {
    auto s = Make();
    // The first screen comes before any count.
    EXPECT_FALSE(s->CountKnown());
    EXPECT_EQ(s->RowCount(), kPage);
    EXPECT_EQ(s->PagesRead(), 1);
    s->FetchCount();
    EXPECT_EQ(s->RowCount(), kRows);
    // Reading forwards reads each page once, whatever the cache drops behind.
    for (qint64 i = 0; i < kRows; ++i)
        ASSERT_EQ(IdAt(*s, i), i + 1);
    EXPECT_EQ(s->PagesRead(), (kRows + kPage - 1) / kPage);
    // The last row straight away on a fresh scroller: read backwards from the end.
    auto t = Make();
    t->FetchCount();
    EXPECT_EQ(IdAt(*t, kRows - 1), kRows);
    EXPECT_EQ(t->PagesRead(), 2);
    ExpectOrder(*t, Ids("id"));
}

TEST_P(ScrollerTest, SortByAnIndexedColumnWithNullsAndDuplicatesBothWays) {
    auto s = Make();
    const int name = 1;
    EXPECT_TRUE(s->CanSort(name));
    EXPECT_FALSE(s->CanSort(2));  // no index: it would read the whole table
    s->SetSort(name, true);
    ExpectOrder(*s, Ids("name, id"));
    s->SetSort(name, false);
    ExpectOrder(*s, Ids("name DESC, id DESC"));
    // A record's place in the sorted order, and a record that is gone.
    const std::vector<qint64> desc = Ids("name DESC, id DESC");
    for (const size_t at : {size_t(0), size_t(1234), desc.size() - 1})
        EXPECT_EQ(s->IndexOfKey({TQXVariant(desc[at])}), qint64(at));
    Exec("DELETE FROM items WHERE id = 5");
    EXPECT_EQ(s->IndexOfKey({TQXVariant(qint64(5))}), -1);
}

TEST_P(ScrollerTest, LocateForwardBackwardAndFromTheStart) {
    auto s = Make();
    s->FetchCount();
    const int name = 1;
    // Texts match from their beginning, ignoring case; "N1" begins N1, N10..N19.
    EXPECT_EQ(s->Locate(name, TQXVariant("n1"), -1, true), 0);
    EXPECT_EQ(s->Locate(name, TQXVariant("n1"), 0, true), 9);
    EXPECT_EQ(s->Locate(name, TQXVariant("n1"), 9, false), 0);
    EXPECT_EQ(s->Locate(name, TQXVariant("n1"), 0, false), -1);
    EXPECT_EQ(s->Locate(name, TQXVariant("N49"), kRows - 1, false), kRows - 2);
    // LIKE's wildcards are plain characters in a search value.
    EXPECT_EQ(s->Locate(name, TQXVariant("N%"), -1, true), -1);
    EXPECT_EQ(s->Locate(name, TQXVariant("_1"), -1, true), -1);
    // Other types are equal; a sorted scroller searches in its own order.
    EXPECT_EQ(s->Locate(0, TQXVariant(qint64(2500)), -1, true), 2499);
    s->SetSort(name, false);
    const std::vector<qint64> desc = Ids("name DESC, id DESC");
    const qint64 at = s->Locate(0, TQXVariant(qint64(2500)), -1, true);
    ASSERT_GE(at, 0);
    EXPECT_EQ(desc[size_t(at)], 2500);
}

TEST_P(ScrollerTest, TheCountArrivesFromAWorkerAndIsTakenAgainAfterAnInsert) {
    auto s = Make();
    TTableDataModel m(*s);
    int arrived = 0;
    QObject::connect(&m, &TTableDataModel::CountArrived, [&] { ++arrived; });
    const auto wait = [&] {
        QElapsedTimer t;
        t.start();
        while (arrived == 0 && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    // The first screen shows before any count; asking for it starts the worker.
    EXPECT_EQ(m.rowCount(), kPage);
    EXPECT_EQ(m.data(m.index(0, 0)).toLongLong(), 1);
    EXPECT_EQ(m.rowCount(), kPage);
    wait();
    EXPECT_EQ(arrived, 1);
    EXPECT_EQ(m.rowCount(), kRows);
    // A count started before an insert is stale: it is taken again.
    auto t = Make();
    TTableDataModel n(*t);
    arrived = 0;
    QObject::connect(&n, &TTableDataModel::CountArrived, [&] { ++arrived; });
    n.StartCount();
    TRecord record;
    record.AddField("ID", 1, 0);
    record.FieldByName("ID").SetValue(TQXVariant(qint64(0)));
    EXPECT_EQ(n.InsertRecord(record), 0);
    wait();
    EXPECT_EQ(arrived, 1);
    EXPECT_EQ(n.rowCount(), kRows + 1);
    EXPECT_EQ(n.data(n.index(kRows, 0)).toLongLong(), kRows);
}

PELVAR_ENGINE_TESTS(ScrollerTest);

}  // namespace
