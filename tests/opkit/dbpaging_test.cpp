#include <gtest/gtest.h>

#include <QSet>

#include "dspfixture.h"
#include "opkit/dbtransfer.h"

namespace {

// SQLite tables are read in pages by a key an index serves; every row must
// come once, whatever the key turns out to be.
class DBPagingTest : public DSPOpTest {};

TEST_P(DBPagingTest, SqliteTablesAreReadWholeWhateverKeyPagesThem) {
    if (GetParam() != "SQLite") GTEST_SKIP() << "rowids are SQLite's";
    // More rows than one page, so the paging key matters.
    const int n = 20003;
    const QString rows = QStringLiteral(
                             "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                             "FROM c WHERE x < %1) ")
                             .arg(n);
    TDatabase& db = Db();
    db.ExecDirect(
        "CREATE TABLE W (A INTEGER NOT NULL, B TEXT NOT NULL, V INTEGER, "
        "PRIMARY KEY (B, A)) WITHOUT ROWID");
    db.ExecDirect(rows + "INSERT INTO W SELECT x % 7, 'k' || (x / 7), x FROM c");
    // The user's rowid holds one value for every row; the real one is _rowid_ or oid.
    db.ExecDirect("CREATE TABLE R1 (rowid INTEGER, V INTEGER)");
    db.ExecDirect("CREATE TABLE R2 (rowid INTEGER, _rowid_ TEXT, V INTEGER)");
    db.ExecDirect(
        "CREATE TABLE R3 (rowid INTEGER, _rowid_ INTEGER, oid INTEGER, "
        "K TEXT PRIMARY KEY, V INTEGER)");
    db.ExecDirect("CREATE TABLE R4 (rowid INTEGER, _rowid_ INTEGER, oid INTEGER, V INTEGER)");
    // The rowid under a column's name, read as a key and as a value.
    db.ExecDirect("CREATE TABLE P (ID INTEGER PRIMARY KEY, V INTEGER)");
    db.ExecDirect(rows + "INSERT INTO P SELECT x * 3, x FROM c");
    db.ExecDirect(rows + "INSERT INTO R1 SELECT 5, x FROM c");
    db.ExecDirect(rows + "INSERT INTO R2 SELECT 5, 'a', x FROM c");
    db.ExecDirect(rows + "INSERT INTO R3 SELECT 5, 5, 5, printf('%08d', x), x FROM c");
    db.ExecDirect(rows + "INSERT INTO R4 SELECT 5, 5, 5, x FROM c");
    for (const char* table : {"W", "R1", "R2", "R3", "R4", "P"}) {
        SCOPED_TRACE(table);
        QSet<qint64> seen;
        DBTransfer::ReadRows(db, table, {"V"}, {}, [&](QList<TQXVariant>& v) {
            ASSERT_EQ(v.size(), 1);
            seen.insert(v[0].AsInteger());
        });
        EXPECT_EQ(seen.size(), n);
        EXPECT_TRUE(seen.contains(1) && seen.contains(n));
        // A condition still applies on every page.
        qint64 some = 0;
        DBTransfer::ReadRows(db, table, {"V"}, "V > 19990", [&](QList<TQXVariant>&) { ++some; });
        EXPECT_EQ(some, n - 19990);
    }
    qint64 rowsRead = 0;
    DBTransfer::ReadRows(db, "P", {"V", "id"}, {}, [&](QList<TQXVariant>& v) {
        ASSERT_EQ(v.size(), 2);
        EXPECT_EQ(v[1].AsInteger(), v[0].AsInteger() * 3);
        ++rowsRead;
    });
    EXPECT_EQ(rowsRead, n);
}

INSTANTIATE_TEST_SUITE_P(Engines, DBPagingTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
