#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "gridkit/tablescroller.h"
#include "gridkit/tablewriter.h"
#include "testenv.h"

namespace {

class BlobFileTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        Exec(FDb->IsPostgres()
                 ? "CREATE TABLE docs (id INTEGER PRIMARY KEY, body BYTEA, note TEXT)"
                 : "CREATE TABLE docs (id INTEGER PRIMARY KEY, body BLOB, note TEXT)");
        std::mt19937 random(11);
        FBytes.resize(5 * 1024 * 1024 + 7);
        for (char& c : FBytes)
            c = char(random());
        TExecQuery q(Db(), "INSERT INTO docs (id, body, note) VALUES (1, :B, :N)");
        q.ParamByName("B").SetValue(TQXVariant(FBytes));
        q.ParamByName("N").SetValue(TQXVariant(FText));
        q.Execute();
        Exec("INSERT INTO docs (id) VALUES (2)");
        TDicTableDescription desc;
        ASSERT_TRUE(Db().DescribeTable("docs", desc));
        FScroller = std::make_unique<TTableScroller>(Db(), "docs");
        FScroller->SetDescription(desc);
        FScroller->Open();
        FWriter = std::make_unique<TTableWriter>(*FScroller);
    }
    TDatabase& Db() { return BaseMng().Databases().GetDatabase(Alias()); }
    void Exec(const QString& sql) { TExecQuery(Db(), sql).Execute(); }
    QByteArray Body(int id) {
        TSelectQuery q(Db(), QStringLiteral("SELECT body FROM docs WHERE id = %1").arg(id));
        q.Open();
        return q.Fields().GetFields(0).AsBinary();
    }
    static QByteArray Read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static void Write(const QString& file, const QByteArray& data) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QList<TQXVariant> Key(int id) { return {FScroller->Row(id - 1)->Key}; }
    QByteArray FBytes;
    QString FText = QString(70000, QChar(0x0436)) + QStringLiteral("\tend");
    std::unique_ptr<TTableScroller> FScroller;
    std::unique_ptr<TTableWriter> FWriter;
    QTemporaryDir FDir;
};

TEST_P(BlobFileTest, FiveMegabytesToFileAndBackByteForByte) {
    const int body = 1, note = 2;
    const QString file = FDir.filePath("body.bin");
    FWriter->SaveFieldToFile(Key(1), body, file);
    ASSERT_EQ(Read(file).size(), FBytes.size());
    EXPECT_TRUE(Read(file) == FBytes);
    // Changed on disk, loaded into the other record, read back.
    QByteArray changed = FBytes;
    changed[0] = char(changed[0] ^ 0x5a);
    changed.append('\0');
    Write(file, changed);
    FWriter->LoadFieldFromFile(Key(2), body, file);
    EXPECT_TRUE(Body(2) == changed);
    EXPECT_TRUE(Body(1) == FBytes);
    // A long text goes as UTF-8 both ways; NULL saves as an empty file.
    const QString text = FDir.filePath("note.txt");
    FWriter->SaveFieldToFile(Key(1), note, text);
    EXPECT_EQ(QString::fromUtf8(Read(text)), FText);
    FWriter->LoadFieldFromFile(Key(2), note, text);
    EXPECT_EQ(FScroller->FullValue(Key(2), note).AsString(), FText);
    const QString empty = FDir.filePath("empty.bin");
    Write(empty, "old");
    Exec("UPDATE docs SET body = NULL WHERE id = 2");
    FWriter->SaveFieldToFile(Key(2), body, empty);
    EXPECT_TRUE(Read(empty).isEmpty());
}

TEST_P(BlobFileTest, FilesThatFailLeaveNoHalfWrittenRowOrFile) {
    const int body = 1;
    // A file that cannot be read: one clear error, the field as it was.
    try {
        FWriter->LoadFieldFromFile(Key(1), body, FDir.filePath("missing.bin"));
        FAIL() << "no error";
    } catch (const EPelvarError& e) {
        EXPECT_TRUE(e.Message().startsWith("Can not read file")) << e.Message().toStdString();
    }
    EXPECT_TRUE(Body(1) == FBytes);
    // A source failing half way stops the statement before it runs.
    TExecQuery q(Db(), "UPDATE docs SET body = :V WHERE id = 1");
    int calls = 0;
    q.ParamByName("V").SetStream(
        [&](char* buffer, qint64 size) -> qint64 {
            if (++calls > 1) throw EDatabaseError("disk gone");
            memset(buffer, 'x', size_t(size));
            return size;
        },
        1024 * 1024, true);
    EXPECT_THROW(q.Execute(), EDatabaseError);
    EXPECT_TRUE(Body(1) == FBytes);
    TSelectQuery alive(Db(), "SELECT COUNT(*) FROM docs");
    alive.Open();
    EXPECT_EQ(alive.Fields().GetFields(0).AsInteger(), 2);

    // A target that cannot be written, and a save that fails after the file
    // was opened: the old file stays whole.
    EXPECT_THROW(FWriter->SaveFieldToFile(Key(1), body, FDir.filePath("no/such/dir/x.bin")),
                 EPelvarError);
    const QString kept = FDir.filePath("kept.bin");
    Write(kept, "previous contents");
    const QList<TQXVariant> gone = Key(2);
    Exec("DELETE FROM docs WHERE id = 2");
    EXPECT_THROW(FWriter->SaveFieldToFile(gone, body, kept), EPelvarError);
    EXPECT_EQ(Read(kept), "previous contents");
    EXPECT_THROW(FWriter->LoadFieldFromFile(gone, body, kept), EPelvarError);
}

PELVAR_ENGINE_TESTS(BlobFileTest);

}  // namespace
