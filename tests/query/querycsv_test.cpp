#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "errorof.h"
#include "query/querycsv.h"
#include "testenv.h"

namespace {

class QueryCsvTest : public TEngineTest {
  protected:
    QString FileName() const { return TTestEnvironment::Instance().Dir() + "/export.csv"; }
    QByteArray ReadAll() const {
        QFile f(FileName());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST(QueryCsvValues, TextsAreQuotedWithSeparatorsAndBreaksEscaped) {
    EXPECT_EQ(TQueryDataToCSV::CsvValue(TQXVariant()), "NULL");
    EXPECT_EQ(TQueryDataToCSV::CsvValue(TQXVariant(true)), "TRUE");
    EXPECT_EQ(TQueryDataToCSV::CsvValue(TQXVariant(false)), "FALSE");
    EXPECT_EQ(TQueryDataToCSV::CsvValue(TQXVariant(42)), "42");
    EXPECT_EQ(TQueryDataToCSV::CsvValue(TQXVariant(QString("a;b\tc#d\r\n\"q\""))),
              "\"a#3Bb#09c#23d#0D#0A\"\"q\"\"\"");
    EXPECT_EQ(TQueryDataToCSV::CsvValue(TQXVariant(QString())), "\"\"");

    const QString line(200000, QLatin1Char('x'));
    const QStringList pieces = TQueryDataToCSV::SplitLine(line);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_TRUE(pieces[0].endsWith('@') && !pieces[0].startsWith('@'));
    EXPECT_TRUE(pieces[1].startsWith('@') && pieces[1].endsWith('@'));
    EXPECT_TRUE(pieces[2].startsWith('@') && !pieces[2].endsWith('@'));
    QString joined;
    for (const QString& p : pieces) {
        EXPECT_LE(p.size(), TQueryDataToCSV::kMaxLine + 2);
        joined += p;
    }
    joined.remove('@');
    EXPECT_EQ(joined, line);
    EXPECT_EQ(TQueryDataToCSV::SplitLine("short"), QStringList{"short"});
}

TEST_P(QueryCsvTest, RowsLongLinesEncodingsAndMarksAreWrittenWhole) {
    TDatabase& db = BaseMng().Databases().GetDatabase(Alias());
    db.ExecDirect("CREATE TABLE C (ID INTEGER, NAME VARCHAR(40), NOTE " +
                  QString(FDb->IsPostgres() ? "TEXT" : "VARCHAR(20)") + ")");
    auto ins = BaseMng().GetExecQuery("INSERT INTO C VALUES (:id, :name, :note)", Alias());
    const QString longNote(200000, QChar(0x0416));  // Ж: two bytes in UTF-8, one in ANSI
    for (int id = 1; id <= 300; ++id) {
        ins->ParamByName("id").SetValue(id);
        ins->ParamByName("name").SetValue(id == 1 ? QString("Имя;\"x\"\n")
                                                  : QString("n%1").arg(id));
        if (id == 3)
            ins->ParamByName("note").SetNull(dtMemo);
        else
            ins->ParamByName("note").SetValue(id == 2 ? longNote : QString("#"));
        ins->Execute();
    }
    auto sel = BaseMng().GetSelectQuery("SELECT ID, NOTE, NAME FROM C ORDER BY ID", Alias());
    // The grid showed 250 rows: no more are written, fields sorted by name.
    TQueryDataToCSV csv(sel.get(), 250, true, false);
    csv.SetEncoding(eeUTF8, true);
    EXPECT_EQ(csv.Execute(FileName()), 250);
    QByteArray bytes = ReadAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split('\n');
    EXPECT_EQ(lines.last(), QString());               // the last line ends with a break
    EXPECT_EQ(lines[0].toUpper(), "№;ID;NAME;NOTE");  // PostgreSQL folds names
    EXPECT_EQ(lines[1], "1;1;\"Имя#3B\"\"x\"\"#0A\";\"#23\"");
    // The 200,000-character row: three physical lines joined by "@".
    const QString row2 = "2;2;\"n2\";\"" + longNote + "\"";
    EXPECT_EQ(lines[2] + lines[3] + lines[4], TQueryDataToCSV::SplitLine(row2).join(QString()));
    EXPECT_EQ(lines[5], "3;3;\"n3\";NULL");
    EXPECT_EQ(lines.size(), 1 + 250 + 2 + 1);

    // ANSI, no mark, query order; a stop request after the first block.
    int asked = 0;
    csv = TQueryDataToCSV(sel.get(), 0, false, false);
    csv.SetEncoding(eeANSI, false);
    csv.SetStopRequest([&] { return ++asked == 3; });
    EXPECT_EQ(csv.Execute(FileName()), 200);
    bytes = ReadAll();
    EXPECT_EQ(bytes.count('\n'), 1 + 200 + 2);
    EXPECT_TRUE(bytes.toUpper().startsWith("\xB9;ID;NOTE;NAME\n"));  // № in Windows-1251
    EXPECT_EQ(bytes.count('\xC6'), 200000);                          // Ж, one byte each

    // A character ANSI can not hold fails and leaves the last file in place.
    db.ExecDirect("UPDATE C SET NAME = 'snow \u2603' WHERE ID = 5");
    EXPECT_FALSE(ErrorOf<EEIFileError>([&] { csv.Execute(FileName()); }).isEmpty());
    EXPECT_EQ(ReadAll(), bytes);
    // An unwritable target: one error naming it.
    const QString target = TTestEnvironment::Instance().Dir() + "/no/such/dir/x.csv";
    EXPECT_TRUE(ErrorOf<EEIFileError>([&] { csv.Execute(target); }).contains(target));
    EXPECT_FALSE(QFile::exists(target));
}

PELVAR_ENGINE_TESTS(QueryCsvTest);

}  // namespace
