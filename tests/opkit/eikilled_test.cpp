#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <numeric>

#include "eitestutil.h"
#include "opkit/eiobjects.h"

namespace {

constexpr int kBigRows = 6000;  // about 150 KB: several writes of the stream

// A table data section; its row count is patched in when it is committed.
void AppendTable(TEIFile& file, const QString& table, int rows) {
    TEITableDataWriter writer(file, table, {{"ID", dtInteger, 0}, {"TEXT", dtString, 40}});
    for (int i = 0; i < rows; ++i)
        writer.AddRow({i, QStringLiteral("row %1 of %2").arg(i).arg(table)});
    writer.Commit();
}

void ExpectWholeTable(const TEIFile& file, int index, const QString& table, int rows) {
    const TEISection& section = *file.Sections().GetSections(index);
    EXPECT_EQ(section.Name(), table);
    const auto header = file.CreateEIObject(index);
    EXPECT_EQ(static_cast<const TEITableData&>(*header).RowCount(), rows);
    TEITableDataReader reader(section);
    int read = 0;
    for (QList<TQXVariant> row; reader.Next(row); ++read)
        if (read == rows - 1) {
            EXPECT_EQ(row[1].AsString(), QStringLiteral("row %1 of %2").arg(read).arg(table));
        }
    EXPECT_EQ(read, rows);
}

// Runs `action` in a child process; its wait status.
int InChild(const std::function<void()>& action) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            action();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// The process is killed as soon as `bytes` bytes have reached the disk and it
// tries the next change; a write may be cut in the middle, as a kill can.
EIDisk::TFaultHook KillAfter(qint64 bytes) {
    return [left = bytes](qint64 size) mutable -> qint64 {
        if (left <= 0) ::raise(SIGKILL);
        const qint64 taken = qMin(left, size);
        left -= taken;
        return taken < size ? taken : -1;
    };
}

// The file after a killed append: it opens with the two sections it had and
// the killed one whole or left out (and reported); the next append cuts off
// what is left of it. `whole` is the file with the killed section finished.
void ExpectRecovered(const QString& name, const QByteArray& before, const QByteArray& whole) {
    TEIFile file(name);
    ASSERT_EQ(EIErrorOf([&] { file.Open(); }), "<no error>");
    const int count = file.Sections().GetCount();
    ASSERT_TRUE(count == 2 || count == 3) << count;
    ExpectWholeTable(file, 1, "B", 5);
    if (count == 3) ExpectWholeTable(file, 2, "BIG", kBigRows);
    const bool leftOver = count == 2 && ReadBytes(name).size() > before.size();
    const qint64 tailLine = before.count('\n') + 1;
    EXPECT_EQ(file.UnfinishedSectionNote().isEmpty(), !leftOver);
    if (leftOver) {
        EXPECT_TRUE(file.UnfinishedSectionNote().startsWith(
            QStringLiteral("File %1, line %2: ").arg(name).arg(tailLine)))
            << file.UnfinishedSectionNote();
    }

    file.OpenForAppend();
    AppendTable(file, "C", 2);
    TEIFile again(name);
    again.Open();
    ASSERT_EQ(again.Sections().GetCount(), count + 1);
    EXPECT_TRUE(again.UnfinishedSectionNote().isEmpty());
    const QByteArray& kept = count == 3 ? whole : before;
    EXPECT_TRUE(ReadBytes(name).startsWith(kept));
    EXPECT_EQ(again.Sections().GetSections(count)->Info().Start, kept.size());
    ExpectWholeTable(again, count, "C", 2);
}

class EIKilledAppend : public testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        FName = FDir.filePath("killed.eif");
        TEIFile file(FName);
        file.Create(eeUTF8, GetParam());
        AppendTable(file, "A", 3);
        AppendTable(file, "B", 5);
        FBefore = ReadBytes(FName);
    }
    QTemporaryDir FDir;
    QString FName;
    QByteArray FBefore;
};

}  // namespace

// Killed after every few bytes of an append, and at every write's edges.
TEST_P(EIKilledAppend, AtAnyWriteLeavesEveryEarlierSection) {
    // The writes of an append that runs to its end.
    QList<qint64> writes;
    QByteArray whole;
    {
        TDiskFaults faults([&](qint64 bytes) {
            if (bytes > 0) writes << bytes;
            return qint64(-1);
        });
        TEIFile file(FName);
        file.OpenForAppend();
        AppendTable(file, "BIG", kBigRows);
        whole = ReadBytes(FName);
    }
    const qint64 total = std::accumulate(writes.begin(), writes.end(), qint64(0));
    ASSERT_GT(writes.size(), 3);
    QList<qint64> cuts;
    for (qint64 cut = 0; cut < 48; ++cut)
        cuts << cut;
    for (qint64 cut = 0; cut < total; cut += total / 37)
        cuts << cut;
    qint64 edge = 0;
    for (qint64 bytes : writes) {
        edge += bytes;
        cuts << edge - 1 << edge << edge + 1;
    }
    for (qint64 cut : cuts) {
        SCOPED_TRACE(cut);
        WriteBytes(FName, FBefore);
        const int status = InChild([&] {
            TDiskFaults faults(KillAfter(cut));
            TEIFile file(FName);
            file.OpenForAppend();
            AppendTable(file, "BIG", kBigRows);
        });
        if (cut < total)
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        else
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        ExpectRecovered(FName, FBefore, whole);
        if (cut >= total) {
            EXPECT_TRUE(ReadBytes(FName).startsWith(whole));
        }
        if (HasFailure()) break;
    }
}

// Real kills, while a child appends big sections one after another.
TEST_P(EIKilledAppend, BySignalLeavesOnlyWholeSections) {
    for (qint64 mark : {1, 4000, 70000, 200000, 450000}) {
        SCOPED_TRACE(mark);
        WriteBytes(FName, FBefore);
        const pid_t pid = ::fork();
        if (pid == 0) {
            try {
                TEIFile file(FName);
                file.OpenForAppend();
                for (int i = 0; i < 100; ++i)
                    AppendTable(file, "BIG", kBigRows);
            } catch (...) {
            }
            ::_exit(0);
        }
        QElapsedTimer timer;
        timer.start();
        while (QFileInfo(FName).size() < FBefore.size() + mark && timer.elapsed() < 20000)
            QThread::usleep(100);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the child ended before the kill";

        TEIFile file(FName);
        ASSERT_EQ(EIErrorOf([&] { file.Open(); }), "<no error>");
        const int count = file.Sections().GetCount();
        for (int i = 2; i < count; ++i)
            ExpectWholeTable(file, i, "BIG", kBigRows);
        // A rewrite leaves the unfinished section out as well.
        file.DeleteSections({"0"});
        TEIFile again(FName);
        again.Open();
        ASSERT_EQ(again.Sections().GetCount(), count - 1);
        EXPECT_TRUE(again.UnfinishedSectionNote().isEmpty());
        ExpectWholeTable(again, count - 2, count > 2 ? "BIG" : "B", count > 2 ? kBigRows : 5);
    }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, EIKilledAppend, testing::Bool());
