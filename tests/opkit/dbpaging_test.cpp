#include <gtest/gtest.h>

#include <QSet>
#include <bit>

#include "appcore/query.h"
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

TEST_P(DBPagingTest, SqliteFloatingPointValuesComeBackBitForBit) {
    if (GetParam() != "SQLite") GTEST_SKIP() << "the text of 15 digits is SQLite's driver's";
    TDatabase& db = Db();
    db.ExecDirect(
        "CREATE TABLE F (ID INTEGER PRIMARY KEY, R REAL, N NUMERIC(10, 2), "
        "D DOUBLE PRECISION, T TEXT)");
    const QList<double> doubles = {0.1 + 0.2,  5e-324, -1.7976931348623157e308, 1e22,
                                   5.0,        -0.5,   1.1089281961459624e+303, 2.0 / 3.0,
                                   1e-7 / 3.0, 12.34};
    TExecQuery insert(db, "INSERT INTO F (ID, R, N, D, T) VALUES (:id, :r, :n, :d, '0.3')");
    for (int i = 0; i < doubles.size(); ++i) {
        insert.ParamByName("id").SetValue(i);
        insert.ParamByName("r").SetValue(doubles[i]);
        insert.ParamByName("n").SetValue(doubles[i]);
        insert.ParamByName("d").SetValue(doubles[i]);
        insert.Execute();
    }
    // What a REAL column may hold besides reals: NULL, a text it could not
    // convert; a NUMERIC one keeps whole numbers as integers.
    db.ExecDirect("INSERT INTO F (ID, R, N, D, T) VALUES (100, NULL, 7, 'not a number', NULL)");
    int row = 0;
    DBTransfer::ReadRows(db, "F", {"R", "N", "D", "T"}, "ID < 100", [&](QList<TQXVariant>& v) {
        ASSERT_EQ(v.size(), 4);
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(v[c].Kind(), TQXVariant::vkFloat) << row << ":" << c;
            EXPECT_EQ(std::bit_cast<quint64>(v[c].AsFloat()), std::bit_cast<quint64>(doubles[row]))
                << row << ":" << c << " " << v[c].AsString().toStdString();
        }
        EXPECT_EQ(v[3].Kind(), TQXVariant::vkString);  // a text column stays text
        ++row;
    });
    EXPECT_EQ(row, doubles.size());
    DBTransfer::ReadRows(db, "F", {"R", "N", "D"}, "ID = 100", [&](QList<TQXVariant>& v) {
        EXPECT_TRUE(v[0].IsNull());
        EXPECT_EQ(v[1].AsInteger(), 7);
        EXPECT_EQ(v[2].AsString(), "not a number");
    });
}

INSTANTIATE_TEST_SUITE_P(Engines, DBPagingTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
