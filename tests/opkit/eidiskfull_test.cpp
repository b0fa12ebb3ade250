#include <sys/mount.h>

#include <QDir>
#include <QFileInfo>

#include "eitestutil.h"
#include "opkit/eifile.h"

namespace {

// A small tmpfs over a fresh folder, so that the disk really fills up. Mounting
// needs root (CI runs as root); elsewhere the tests using it skip.
class TSmallDisk {
  public:
    explicit TSmallDisk(const char* size) {
        const QByteArray options = QByteArray("size=") + size;
        FMounted = ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", 0,
                           options.constData()) == 0;
    }
    ~TSmallDisk() {
        if (FMounted) ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    QString FilePath(const QString& name) const { return FDir.filePath(name); }
    QStringList Files() const { return QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden); }

  private:
    QTemporaryDir FDir;
    bool FMounted = false;
};

void AddSection(TEIFile& file, const QString& name, int lines, int width) {
    TEISectionWriter writer = file.BeginSection("TEIQueryData", name);
    for (int i = 0; i < lines; ++i)
        writer.Writeln(QString(width, QChar(u'a' + i % 26)));
    writer.Commit();
}

// Fills the disk with a file of its own, as another program would.
void FillDisk(const QString& name) {
    QFile filler(name);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size()) {
    }
}

}  // namespace

TEST(EIFileOnAFullDisk, RewriteAndAppendFailCleanlyAndSaySo) {
    TSmallDisk disk("64k");
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (not root)";
    const QString name = disk.FilePath("full.eif");
    const QString full = QStringLiteral("Cannot write file %1: the disk is full").arg(name);
    TEIFile file(name);
    file.Create();
    for (int i = 0; i < 4; ++i)
        AddSection(file, QStringLiteral("s%1").arg(i), 30, 90);  // about 2.8 KiB each
    const QByteArray before = ReadBytes(name);

    // The copy of about 8 KiB, written in small pieces, does not fit in the
    // 4 KiB left beside the original.
    FillDisk(disk.FilePath("filler"));
    QFile::resize(disk.FilePath("filler"), QFileInfo(disk.FilePath("filler")).size() - 4096);
    EXPECT_EQ(EIErrorOf([&] { file.DeleteSections({"1"}); }), full);
    EXPECT_TRUE(ReadBytes(name) == before);
    EXPECT_EQ(disk.Files(), QStringList({"filler", "full.eif"}));
    EXPECT_EQ(file.Sections().GetCount(), 4);

    // An append on the full disk leaves the file as it was, and the file goes on.
    FillDisk(disk.FilePath("filler"));
    EXPECT_EQ(EIErrorOf([&] { AddSection(file, "big", 100, 200); }), full);
    EXPECT_TRUE(ReadBytes(name) == before);
    QFile::remove(disk.FilePath("filler"));
    file.DeleteSections({"1"});
    AddSection(file, "big", 100, 200);
    TEIFile again(name);
    again.Open();
    ASSERT_EQ(again.Sections().GetCount(), 4);
    EXPECT_EQ(again.Sections().GetSections(1)->Name(), "s2");
    EXPECT_EQ(again.Sections().GetSections(3)->Name(), "big");
}

TEST(EIFileOnAFullDisk, StreamWritesSayTheDiskIsFull) {
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TEIStream stream("/dev/full", eomAppend);
    stream.Writeln("a line");
    EXPECT_EQ(EIErrorOf([&] { stream.Flush(); }), "Cannot write file /dev/full: the disk is full");
}

// The disk fills up at many points of a rewrite and of an append, or its sync
// fails: the file stays as it was, and no temporary file is left behind.
TEST(EIFileOnAFullDisk, AWriteFailingAnywhereLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    const QString name = dir.filePath("faults.eif");
    const QString full = QStringLiteral("Cannot write file %1: the disk is full").arg(name);
    TEIFile file(name);
    file.Create(eeUTF8, true);
    for (int i = 0; i < 3; ++i)
        AddSection(file, QStringLiteral("s%1").arg(i), 5, 10);
    const QByteArray before = ReadBytes(name);
    const TEISectionInfo& second = file.Sections().GetSections(1)->Info();
    const qint64 copy = before.size() - (second.End - second.Start);
    const auto expectUnchanged = [&] {
        EXPECT_TRUE(ReadBytes(name) == before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"faults.eif"});
        EXPECT_EQ(file.Sections().GetCount(), 3);
    };
    for (qint64 room : {qint64(0), qint64(1), qint64(40), copy / 2, copy - 1}) {
        SCOPED_TRACE(room);
        TDiskFaults faults(TDiskFaults::Room(room));
        EXPECT_EQ(EIErrorOf([&] { file.DeleteSections({"1"}); }), full);
        expectUnchanged();
    }
    {
        TDiskFaults faults([](qint64 bytes) { return bytes == 0 ? 0 : -1; });
        EXPECT_EQ(EIErrorOf([&] { file.DeleteSections({"1"}); }), full);
        expectUnchanged();
    }
    const TEISectionInfo& first = file.Sections().GetSections(0)->Info();
    const qint64 section = first.End - first.Start + 2;  // "more" instead of "s0"
    for (qint64 room = 0; room < section; room += room + 7 < section ? 7 : 1) {
        SCOPED_TRACE(room);
        TDiskFaults faults(TDiskFaults::Room(room));
        EXPECT_EQ(EIErrorOf([&] { AddSection(file, "more", 5, 10); }), full);
        expectUnchanged();
    }
    file.DeleteSections({"1"});
    AddSection(file, "more", 5, 10);
    TEIFile again(name);
    again.Open();
    ASSERT_EQ(again.Sections().GetCount(), 3);
    EXPECT_EQ(again.Sections().GetSections(1)->Name(), "s2");
    EXPECT_EQ(again.Sections().GetSections(2)->Name(), "more");
}
