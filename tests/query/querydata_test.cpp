#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "basekit/registry.h"
#include "errorof.h"
#include "gridkit/resultmodel.h"
#include "opkit/eifile.h"
#include "opkit/eiobjects.h"
#include "opkit/querydata.h"
#include "query/querydatafile.h"
#include "query/queryform.h"
#include "queryformfixture.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

QString TestFile(const QString& name) {
    return TTestEnvironment::Instance().Dir() + "/" + name;
}

// A query data file with the given data lines.
QString WriteDataFile(const QString& name, const QStringList& lines,
                      const QString& sectionClass = QueryData::kSectionClass) {
    const QString path = TestFile(name);
    QFile::remove(path);
    TEIFile file(path);
    file.Create();
    TEISectionWriter w = file.BeginSection(sectionClass, name);
    for (const QString& line : lines)
        w.Writeln(line);
    w.Commit();
    return path;
}

QString ReadError(const QString& path, TQueryResultModel& rows) {
    return ErrorOf([&] { TQueryDataReader(path).Read(rows); });
}

TEST(QueryDataValues, QuotedValuesDecodeToTheirBytes) {
    const QString text = QString::fromUtf8("a|b#c\n'd' Ж 😀 \x7f");
    for (const bool ascii : {false, true}) {
        const QString q = QueryData::QuoteText(text, ascii);
        EXPECT_FALSE(q.contains('|') || q.contains('\n')) << qPrintable(q);
        EXPECT_EQ(ascii, !q.contains(QChar(0x0416)));
        QByteArray bytes;
        ASSERT_TRUE(QueryData::DecodeQuoted(QStringView(q).mid(1, q.size() - 2), bytes));
        EXPECT_EQ(QString::fromUtf8(bytes), text);
    }
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString q = QueryData::QuoteBytes(all);
    QByteArray bytes;
    ASSERT_TRUE(QueryData::DecodeQuoted(QStringView(q).mid(1, q.size() - 2), bytes));
    EXPECT_EQ(bytes, all);
    EXPECT_FALSE(QueryData::DecodeQuoted(u"ab#4", bytes));
    EXPECT_FALSE(QueryData::DecodeQuoted(u"#G0", bytes));
}

TEST(QueryDataReader, ContinuedRecordsParametersAndBrokenFiles) {
    const QStringList head = {"[PARAMETRS]",
                              "|Name|Type|Value|",
                              "|id|Integer|7|",
                              "|other|String|x|",
                              "[FIELDS]",
                              "#",
                              "A",
                              "B",
                              "C",
                              "[RECORDS]"};
    TQueryResultModel rows;
    TQueryDataReader reader(WriteDataFile(
        "split.eif", head + QStringList{"<1|'a'|'b@", "@c'|'d@", "  @e'>  ", "<2|5||'x'>"}));
    ASSERT_TRUE(reader.Read(rows));
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.CellText(0, 1), "a");
    EXPECT_EQ(rows.CellText(0, 2), "bc");
    EXPECT_EQ(rows.CellText(0, 3), "de");
    EXPECT_EQ(rows.CellText(1, 1), "5");
    EXPECT_EQ(rows.CellText(1, 2), "");
    EXPECT_FALSE(rows.FieldRightAligned(0));  // quoted in the first record
    EXPECT_EQ(rows.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "B");
    ASSERT_EQ(reader.Params().size(), 2);
    EXPECT_EQ(reader.Params()[0].Name, "id");
    EXPECT_EQ(reader.Params()[0].Value, "7");

    // Broken records name the file, the line and the position.
    const QString noOpen =
        WriteDataFile("noopen.eif", head + QStringList{"<1|'a'|'b'|'c'>", "2|x>"});
    QString error = ReadError(noOpen, rows);
    EXPECT_TRUE(error.contains("noopen.eif") && error.contains("'<' is missing") &&
                error.contains("(Position:"))
        << qPrintable(error);
    error = ReadError(WriteDataFile("cut.eif", head + QStringList{"<1|'a'|'b@"}), rows);
    EXPECT_TRUE(error.contains("Unexpected end of data section")) << qPrintable(error);
    error = ReadError(WriteDataFile("noat.eif", head + QStringList{"<1|'a'|'b@", "c'>"}), rows);
    EXPECT_TRUE(error.contains("'@' is missing")) << qPrintable(error);
    error = ReadError(WriteDataFile("noclose.eif", head + QStringList{"<1|'a'|'b'|'c'"}), rows);
    EXPECT_TRUE(error.contains("'>' is missing")) << qPrintable(error);
    error = ReadError(WriteDataFile("short.eif", head + QStringList{"<1|'a'>"}), rows);
    EXPECT_TRUE(error.contains("1 values for 3 columns")) << qPrintable(error);

    // Files of another kind, missing or truncated ones.
    error = ReadError(WriteDataFile("dsp.eif", {"x"}, "TEIDSPStructure"), rows);
    EXPECT_TRUE(error.startsWith("File is not QueryData") && error.contains("dsp.eif"));
    EXPECT_TRUE(ReadError(TestFile("none.eif"), rows).startsWith("FileNotFound"));
    QFile text(TestFile("plain.eif"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some text\n");
    text.close();
    error = ReadError(text.fileName(), rows);
    EXPECT_TRUE(error.contains("plain.eif") && error.contains("line 1")) << qPrintable(error);
    QFile whole(noOpen);
    ASSERT_TRUE(whole.open(QIODevice::ReadWrite));
    whole.resize(whole.size() - 10);  // the section's end is gone
    whole.close();
    error = ReadError(noOpen, rows);
    EXPECT_TRUE(error.startsWith("Error while reading Header Section") &&
                error.contains("noopen.eif"))
        << qPrintable(error);
}

class QueryDataFileTest : public TQueryWindowTest {
  protected:
    void SetUp() override {
        TQueryWindowTest::SetUp();
        if (IsSkipped()) return;
        TDatabase& db = Db();
        const QString blob = FDb->IsPostgres() ? "BYTEA" : "BLOB";
        db.ExecDirect("CREATE TABLE Q (ID INTEGER, NAME VARCHAR(40), NOTE TEXT, DATA " + blob +
                      ")");
        auto ins =
            BaseMng().GetExecQuery("INSERT INTO Q VALUES (:id, :name, :note, :data)", Alias());
        QByteArray bytes;
        for (int b = 0; b < 256; ++b)
            bytes += char(b);
        for (int id = 1; id <= 150; ++id) {
            ins->ParamByName("id").SetValue(id);
            ins->ParamByName("name").SetValue(id == 1 ? QString("Имя|#'x'\n")
                                                      : QString("n%1").arg(id));
            ins->ParamByName("note").SetValue(id == 2 ? QString(250000, QChar(0x0416))
                                                      : QString("short"));
            if (id == 3)
                ins->ParamByName("data").SetNull(dtBlob);
            else
                ins->ParamByName("data").SetValue(bytes.repeated(id == 4 ? 500 : 1));
            ins->Execute();
        }
    }
    void Save(TQueryForm& form, const QString& path, bool ansi) {
        Script().AnswerModal([&](QObject* dialog) {
            dialog->findChild<QComboBox*>("FileNameEComboBox")->setEditText(path);
            dialog->findChild<QComboBox*>("EncodingEdit")->setCurrentIndex(ansi ? 1 : 0);
            dialog->findChild<QCheckBox*>("TableFormatLCheckBox")->setChecked(ansi);
            return IDOK;
        });
        form.Action("SaveQueryDataAction")->trigger();
    }
};

TEST_P(QueryDataFileTest, SavedResultsReadBackWholeAndBrokenFilesChangeNothing) {
    TQueryForm& form = *FForm;
    const QString sql = "SELECT ID, NAME, NOTE, DATA FROM Q WHERE ID <= :top ORDER BY ID";
    form.SetQueryText(sql);
    form.RefreshParams();
    form.findChild<QTableWidget*>("ParamStringGrid")->item(0, 2)->setText("120");
    qobject_cast<QComboBox*>(form.findChild<QTableWidget*>("ParamStringGrid")->cellWidget(0, 1))
        ->setCurrentText("Integer");
    Run(sql);
    TQueryResultModel* shown = form.ResultModel();
    ASSERT_EQ(shown->rowCount(), 120);
    for (const bool ansi : {false, true}) {
        const QString path = TestFile(ansi ? "ansi.eif" : "utf8.eif");
        Save(form, path, ansi);
        ASSERT_TRUE(Script().Asked.size() == 1 && Script().Progress.back()->Errors.isEmpty())
            << qPrintable(Script().Progress.back()->Errors.value(0));
        Script().Reset();
        // The table format adds the rows as table data.
        TEIFile saved(path);
        saved.Open();
        ASSERT_EQ(saved.Sections().GetCount(), ansi ? 2 : 1);
        if (ansi) {
            TEITableDataReader table(*saved.Sections().GetSections(1));
            QList<TQXVariant> values;
            qint64 rows = 0;
            while (table.Next(values)) {
                if (++rows == 4) {
                    EXPECT_EQ(values[3].AsBinary().size(), 256 * 500);
                }
            }
            EXPECT_EQ(rows, 120);
        }

        TQueryForm other(Alias());
        other.SetQueryText(sql);
        ASSERT_TRUE(other.LoadQueryData(path));
        TQueryResultModel* loaded = other.ResultModel();
        ASSERT_EQ(loaded->rowCount(), 120);
        ASSERT_EQ(loaded->columnCount(), 5);
        for (int r = 0; r < 120; ++r)
            for (int c = 1; c <= 4; ++c) {
                ASSERT_EQ(loaded->FullCellText(r, c), shown->FullCellText(r, c)) << r << "," << c;
                ASSERT_EQ(loaded->BlobBytes(r, c), shown->BlobBytes(r, c)) << r << "," << c;
            }
        EXPECT_EQ(loaded->CellText(0, 2), "Имя|#'x'\n");
        EXPECT_TRUE(loaded->IsBlobCell(1, 3));  // 250,000 characters: over several lines
        EXPECT_TRUE(loaded->FieldRightAligned(0));
        EXPECT_EQ(other.findChild<QTableWidget*>("ParamStringGrid")->item(0, 2)->text(), "120");
        EXPECT_EQ(other.findChild<QLabel*>("ResultLabel")->text(), "Ok. 120 records.");

        // A cancelled save leaves the saved file as it was.
        const QByteArray before = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        Script().CancelProgressAfter(0);
        Save(form, path, ansi);
        EXPECT_TRUE(Script().Progress.back()->Finished);
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), before);
        Script().Reset();

        // A broken file: one error naming it, the grids stay as they were.
        QFile cut(path);
        ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
        cut.resize(cut.size() / 2);
        cut.close();
        EXPECT_FALSE(other.LoadQueryData(path));
        ASSERT_EQ(Script().Asked.size(), 1);
        EXPECT_TRUE(Script().Asked[0].Text.contains(path)) << qPrintable(Script().Asked[0].Text);
        EXPECT_EQ(loaded->rowCount(), 120);
        Script().Reset();
    }
}

PELVAR_ENGINE_TESTS(QueryDataFileTest);

}  // namespace
