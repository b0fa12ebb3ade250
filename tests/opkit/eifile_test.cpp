#include <QDir>
#include <QFileInfo>

#include "eitestutil.h"
#include "opkit/eifile.h"

namespace {

struct TSample {
    QString ClassName;
    QString Name;
    QList<QPair<QString, QString>> Parameters;
    QStringList Lines;
};

QList<TSample> Samples() {
    return {
        {"TEIQueryData",
         "Кл=иенты\\x",
         {{"a=b", "c=d"}, {"multi", "one\ntwo\r\nthree"}, {"empty", ""}},
         {"plain", "", ">starts with mark", "~tilde", "back\\slash", "new\nline", "cr\rhere",
          "Привет, мир"}},
        {"TEIOther", "", {}, {}},
        {"TEIThird", "third", {{"K", "v"}}, {"x"}},
    };
}

TEISection& WriteSample(TEIFile& file, const TSample& sample) {
    TEISectionParameters parameters;
    for (const auto& p : sample.Parameters)
        parameters.SetValues(p.first, p.second);
    TEISectionWriter writer = file.BeginSection(sample.ClassName, sample.Name, parameters);
    for (const QString& line : sample.Lines)
        writer.Writeln(line);
    return writer.Commit();
}

// A new file at `name` holding the given samples, in order.
void MakeFile(const QString& name, const QList<int>& samples, TEIEncoding encoding = eeUTF8,
              bool release17 = false) {
    TEIFile file(name);
    file.Create(encoding, release17);
    for (int i : samples)
        WriteSample(file, Samples()[i]);
}

QStringList DataOf(const TEISection& section) {
    QStringList lines;
    TEISectionDataReader data = section.OpenData();
    for (QString line; data.Readln(line);)
        lines << line;
    return lines;
}

void ExpectSample(const TEISection& section, const TSample& sample) {
    EXPECT_EQ(section.ClassName(), sample.ClassName);
    EXPECT_EQ(section.Name(), sample.Name);
    ASSERT_EQ(section.Parameters().Count(), sample.Parameters.size());
    for (int i = 0; i < sample.Parameters.size(); ++i) {
        EXPECT_EQ(section.Parameters().Name(i), sample.Parameters[i].first);
        EXPECT_EQ(section.Parameters().GetValues(sample.Parameters[i].first.toUpper()),
                  sample.Parameters[i].second);
    }
    EXPECT_EQ(DataOf(section), sample.Lines);
}

// The file's line `number` (1-based), as bytes.
QByteArray FileLine(const QString& name, qint64 number) {
    return ReadBytes(name).split('\n').value(number - 1);
}

class EIFileLayouts : public testing::TestWithParam<std::tuple<TEIEncoding, bool>> {};

}  // namespace

TEST_P(EIFileLayouts, WrittenSectionsReadBackExactly) {
    const auto [encoding, release17] = GetParam();
    QTemporaryDir dir;
    const QString name = dir.filePath("sample.eif");
    MakeFile(name, {0, 1, 2}, encoding, release17);
    EXPECT_TRUE(ReadBytes(name).startsWith(QByteArray("PELVAR-EI ") + (release17 ? "17 " : "1 ") +
                                           (encoding == eeANSI ? "ANSI\n" : "UTF8\n")));
    TEIFile file(name);
    file.Open();
    EXPECT_EQ(file.Encoding(), encoding);
    EXPECT_EQ(file.Release17(), release17);
    const TEISectionList& list = file.Sections();
    ASSERT_EQ(list.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        ExpectSample(*list.GetSections(i), Samples()[i]);
        EXPECT_EQ(list.IndexOf(list.GetSections(i)), i);
        // Line numbers point at the file's own lines.
        const TEISectionInfo& info = list.GetSections(i)->Info();
        EXPECT_TRUE(FileLine(name, info.Line).startsWith("SECTION "));
        EXPECT_EQ(FileLine(name, info.DataLine + info.LineCount), "END");
    }
    EXPECT_EQ(list.IndexOf(nullptr), -1);
    EXPECT_TRUE(EIErrorOf([&] { list.GetSections(3); }).contains("out of range"));
}

INSTANTIATE_TEST_SUITE_P(All, EIFileLayouts,
                         testing::Combine(testing::Values(eeUTF8, eeANSI), testing::Bool()));

TEST(EIFile, AppendsToAnExistingFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath("append.eif");
    MakeFile(name, {0}, eeANSI);
    {
        TEIFile file(name);
        file.OpenForAppend();
        EXPECT_EQ(file.Encoding(), eeANSI);
        TEISection& added = WriteSample(file, Samples()[2]);
        EXPECT_EQ(file.Sections().IndexOf(&added), 1);
        // A committed section can be read back at once.
        EXPECT_EQ(DataOf(added), Samples()[2].Lines);
    }
    TEIFile file(name);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 2);
    ExpectSample(*file.Sections().GetSections(0), Samples()[0]);
    ExpectSample(*file.Sections().GetSections(1), Samples()[2]);
}

TEST(EIFile, HandEditsStillOpen) {
    QTemporaryDir dir;
    const QString name = dir.filePath("edited.eif");
    MakeFile(name, {0, 1, 2});
    // Someone lengthened a data line (the byte count is now wrong), added
    // comments and blank lines, switched to CRLF, dropped the last line break
    // and saved with a byte order mark.
    QByteArray text = "\xEF\xBB\xBF" + ReadBytes(name);
    text.replace(">plain\n", ">plain and longer\n");
    text.replace("SECTION TEIOther", "# a comment\n\nSECTION TEIOther");
    text.replace("\n", "\r\n");
    text.chop(2);
    WriteBytes(name, text);

    TEIFile file(name);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 3);
    QStringList first = Samples()[0].Lines;
    first[0] = "plain and longer";
    EXPECT_EQ(DataOf(*file.Sections().GetSections(0)), first);
    ExpectSample(*file.Sections().GetSections(2), Samples()[2]);
    // Appending after a last line without a line break starts a new line.
    file.OpenForAppend();
    WriteSample(file, Samples()[1]);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 4);
    ExpectSample(*file.Sections().GetSections(2), Samples()[2]);
    ExpectSample(*file.Sections().GetSections(3), Samples()[1]);
}

TEST(EIFile, DeletesSectionsByRewritingTheFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath("delete.eif");
    TEIFile file(name);
    file.Create(eeUTF8, true);
    TEISection* kept[2];
    TEISection* gone = &WriteSample(file, Samples()[0]);
    kept[0] = &WriteSample(file, Samples()[1]);
    WriteSample(file, Samples()[0]);
    kept[1] = &WriteSample(file, Samples()[2]);

    const QByteArray before = ReadBytes(name);
    EXPECT_TRUE(EIErrorOf([&] { file.DeleteSections({"0", "4"}); }).contains("has no section 4"));
    EXPECT_TRUE(EIErrorOf([&] { file.DeleteSections({"x"}); }).contains("has no section x"));
    EXPECT_EQ(ReadBytes(name), before);
    EXPECT_EQ(file.Sections().GetCount(), 4);

    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    ASSERT_TRUE(QFile::setPermissions(name, permissions));
    file.DeleteSections({"2", "0", "2"});
    // Owner, group and other bits survive the rewrite (the user bits are ours).
    EXPECT_EQ(QFileInfo(name).permissions() & 0x7077, permissions);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"delete.eif"});
    ASSERT_EQ(file.Sections().GetCount(), 2);
    // Surviving sections keep their objects, with fresh indexes and positions.
    EXPECT_EQ(file.Sections().IndexOf(kept[0]), 0);
    EXPECT_EQ(file.Sections().IndexOf(kept[1]), 1);
    EXPECT_EQ(file.Sections().IndexOf(gone), -1);
    ExpectSample(*kept[0], Samples()[1]);
    ExpectSample(*kept[1], Samples()[2]);

    // The file goes on: append after the rewrite, and a fresh reader agrees.
    WriteSample(file, Samples()[0]);
    TEIFile again(name);
    again.Open();
    EXPECT_TRUE(again.Release17());
    ASSERT_EQ(again.Sections().GetCount(), 3);
    ExpectSample(*again.Sections().GetSections(0), Samples()[1]);
    ExpectSample(*again.Sections().GetSections(2), Samples()[0]);
}

TEST(EIFile, AnUnfinishedSectionLeavesNoTrace) {
    QTemporaryDir dir;
    const QString name = dir.filePath("abandon.eif");
    TEIFile file(name);
    file.Create(eeANSI);
    WriteSample(file, Samples()[2]);
    const QByteArray before = ReadBytes(name);
    EXPECT_TRUE(EIErrorOf([&] {
                    TEISectionWriter writer = file.BeginSection("TEIX", "x");
                    for (int i = 0; i < 10000; ++i)
                        writer.Writeln(QStringLiteral("line %1").arg(i));
                    writer.Writeln("not in 1251: 中");  // raises
                    writer.Commit();
                }).contains("U+4E2D"));
    EXPECT_EQ(ReadBytes(name), before);
    EXPECT_EQ(file.Sections().GetCount(), 1);
    // A failure while writing the section head is undone as well.
    EXPECT_TRUE(EIErrorOf([&] { file.BeginSection("TEIX", "中"); }).contains("U+4E2D"));
    EXPECT_EQ(ReadBytes(name), before);
    {
        TEISectionWriter writer = file.BeginSection("TEIX", "y");
        EXPECT_TRUE(EIErrorOf([&] { file.BeginSection("TEIY", "z"); }).contains("being written"));
        writer.Writeln("dropped");
    }
    EXPECT_EQ(ReadBytes(name), before);
    WriteSample(file, Samples()[0]);
    TEIFile again(name);
    again.Open();
    ASSERT_EQ(again.Sections().GetCount(), 2);
    ExpectSample(*again.Sections().GetSections(1), Samples()[0]);
}

TEST(EIFile, ReadOnlyFilesAreNeverWritten) {
    QTemporaryDir dir;
    const QString name = dir.filePath("ro.eif");
    const QString refusal = QStringLiteral("The export/import file %1 is read-only").arg(name);
    MakeFile(name, {2});
    const QByteArray before = ReadBytes(name);
    // Flagged read-only by the program, then read-only on disk.
    for (bool onDisk : {false, true}) {
        if (onDisk) {
            ASSERT_TRUE(QFile::setPermissions(
                name, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        }
        TEIFile file(name);
        file.Open();  // reading is fine
        EXPECT_EQ(file.Sections().GetCount(), 1);
        file.SetReadOnly(!onDisk);
        EXPECT_EQ(EIErrorOf([&] { file.BeginSection("TEIX", "x"); }), refusal);
        EXPECT_EQ(EIErrorOf([&] { file.DeleteSections({"0"}); }), refusal);
        EXPECT_EQ(EIErrorOf([&] { file.OpenForAppend(); }), refusal);
        EXPECT_EQ(EIErrorOf([&] { file.Create(onDisk ? eeANSI : eeUTF8); }), refusal);
        EXPECT_EQ(ReadBytes(name), before);
    }
    EXPECT_EQ(QFileInfo(name).permissions() & QFileDevice::WriteOwner, 0);
}

// Wrong line counts are the corrupt-file tests'; with the counts right,
// later sections keep their true line numbers.
TEST(EIFile, SectionsKnowTheirLinesInTheFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath("counts.eif");
    const auto pad = [](int n) { return QByteArray::number(n).rightJustified(20, '0'); };
    const QByteArray good = "SECTION TEIA\nNAME a\nDATA " + pad(1) + ' ' + pad(3) + "\n>1\nEND\n";
    WriteBytes(name, "PELVAR-EI 1 UTF8\n" + good + "SECTION TEIB\nNAME b\nDATA " + pad(3) + ' ' +
                         pad(9) + "\n>1\n>2\n>3\nEND\n" + good);
    TEIFile file(name);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 3);
    EXPECT_EQ(file.Sections().GetSections(2)->LineNumber(), 14);
    EXPECT_EQ(FileLine(name, file.Sections().GetSections(2)->Info().DataLine), ">1");
    EXPECT_TRUE(
        EIErrorOf([&] { file.BeginSection("bad\nclass", "x"); }).contains("invalid section class"));
}

TEST(EIFile, MissingFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath("nothing.eif");
    TEIFile file(name);
    EXPECT_EQ(EIErrorOf([&] { file.Open(); }), "File " + name + " not found");
    EXPECT_EQ(EIErrorOf([&] { file.OpenForAppend(); }), "File " + name + " not found");
    EXPECT_TRUE(EIErrorOf([&] { file.BeginSection("TEIX", "x"); }).contains("not open"));
    EXPECT_FALSE(QFile::exists(name));
}

// The data block is one line of 64 MiB of zero bytes, a hole in a sparse file:
// opening counts its lines without decoding them, which would fail since zero
// bytes are no data lines.
TEST(EIFile, OpeningCountsDataLinesWithoutDecodingThem) {
    QTemporaryDir dir;
    const QString name = dir.filePath("huge.eif");
    const qint64 hole = qint64(1) << 26;
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray head = "PELVAR-EI 1 UTF8\nSECTION TEIBig\nNAME big\nDATA " +
                                QByteArray::number(1).rightJustified(20, '0') + ' ' +
                                QByteArray::number(hole).rightJustified(20, '0') + '\n';
        f.write(head);
        ASSERT_TRUE(f.resize(head.size() + hole - 1));
        ASSERT_TRUE(f.seek(head.size() + hole - 1));
        f.write("\nEND\nSECTION TEISmall\nNAME small\nDATA " +
                QByteArray::number(1).rightJustified(20, '0') + ' ' +
                QByteArray::number(3).rightJustified(20, '0') + "\n>x\nEND\n");
    }
    TEIFile file(name);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 2);
    EXPECT_EQ(file.Sections().GetSections(0)->Info().DataEnd -
                  file.Sections().GetSections(0)->Info().DataStart,
              hole);
    EXPECT_EQ(file.Sections().GetSections(1)->LineNumber(), 7);
    EXPECT_EQ(DataOf(*file.Sections().GetSections(1)), QStringList{"x"});
}
