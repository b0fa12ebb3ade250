#include <random>

#include "eitestutil.h"
#include "opkit/eiobjects.h"

namespace {

// A valid file with sections of every kind, as lines.
QList<QByteArray> MakeValidLines(bool release17) {
    QTemporaryDir dir;
    const QString name = dir.filePath("valid.eif");
    TEIFile file(name);
    file.Create(eeUTF8, release17);
    TEIDSPStructure dsp;
    dsp.Item() = {"CLIENTS", 10, "CLIENTS", "", "a\nb", TQXVariant()};
    dsp.SetBody(QByteArray(200, '\x01'));
    file.AddObject(dsp);
    TEILResource res;
    res.SetSectionID("K_X");
    res.AddText("ENGLISH", "A", "multi\nline");
    file.AddObject(res);
    TEITableDataWriter table(file, "T", {{"A", dtInteger, 0}, {"B", dtString, 9}});
    table.AddRow({1, "x"});
    table.AddRow({TQXVariant(), "y\nz"});
    table.Commit();
    TEISectionParameters p;
    p.SetValues("k=1", "v\\");
    TEISectionWriter writer = file.BeginSection("TEIQueryData", "Q", p);
    writer.Writeln("cr\rhere");
    writer.Commit();
    QList<QByteArray> lines = ReadBytes(name).split('\n');
    lines.removeLast();  // after the last line break
    return lines;
}

QList<QByteArray> ValidLines(bool release17) {
    static const QList<QByteArray> lines[2] = {MakeValidLines(false), MakeValidLines(true)};
    return lines[release17 ? 1 : 0];
}

QByteArray Join(const QList<QByteArray>& lines) {
    return lines.isEmpty() ? QByteArray() : lines.join('\n') + '\n';
}

int LineOf(const QList<QByteArray>& lines, const QByteArray& start, int skip = 0) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(start) && skip-- == 0) return i + 1;
    return -1;
}

// Opens the file, then reads every section and object, as a browser would.
void OpenAndReadEverything(const QString& name) {
    TEIFile file(name);
    file.Open();
    for (int i = 0; i < file.Sections().GetCount(); ++i) {
        const TEISection& section = *file.Sections().GetSections(i);
        TEISectionDataReader data = section.OpenData();
        for (QString line; data.Readln(line);) {
        }
        file.CreateEIObject(i);
        if (section.ClassName() == "TEITableData") {
            TEITableDataReader rows(section);
            for (QList<TQXVariant> row; rows.Next(row);) {
            }
        }
    }
}

// Changes the line count of a version 1 DATA line, keeping its byte count.
void Recount(QByteArray& dataLine, int change) {
    const qint64 lines = dataLine.mid(5, 20).toLongLong() + change;
    dataLine = "DATA " + QByteArray::number(lines).rightJustified(20, '0') + dataLine.mid(25);
}

struct TCorruption {
    const char* What;
    bool Release17;
    std::function<void(QList<QByteArray>&)> Edit;
    std::function<int(const QList<QByteArray>&)> ExpectedLine;
};

}  // namespace

TEST(EICorruptFiles, AreRejectedWithTheirLineNumber) {
    using L = QList<QByteArray>;
    const auto at = [](const char* start, int skip = 0) {
        return [=](const L& lines) { return LineOf(lines, start, skip); };
    };
    const QList<TCorruption> cases = {
        {"empty file", false, [](L& l) { l.clear(); }, [](const L&) { return 1; }},
        {"bad version", false, [](L& l) { l[0] = "PELVAR-EI 2 UTF8"; }, [](const L&) { return 1; }},
        {"bad encoding", true, [](L& l) { l[0] = "PELVAR-EI 17 KOI8"; },
         [](const L&) { return 1; }},
        {"junk between sections", false,
         [](L& l) { l.insert(LineOf(l, "SECTION", 1) - 1, "JUNK"); }, at("JUNK")},
        {"unknown keyword in a head", false, [](L& l) { l[LineOf(l, "PARAM") - 1] = "PARAMS x=y"; },
         at("PARAMS")},
        {"NAME missing", true, [](L& l) { l.removeAt(LineOf(l, "NAME", 2) - 1); },
         [](const L& l) { return LineOf(l, "SECTION", 2) + 1; }},
        {"empty class", false, [](L& l) { l[LineOf(l, "SECTION", 1) - 1] = "SECTION "; },
         at("SECTION ", 1)},
        {"bad escape in a name", false, [](L& l) { l[LineOf(l, "NAME") - 1] = "NAME a\\qb"; },
         at("NAME")},
        {"backslash at the end of a value", false, [](L& l) { l[LineOf(l, "PARAM") - 1] += '\\'; },
         at("PARAM")},
        {"PARAM without =", false, [](L& l) { l[LineOf(l, "PARAM") - 1] = "PARAM novalue"; },
         at("PARAM")},
        {"data line without mark", true, [](L& l) { l[LineOf(l, "DATA") + 1] = "plain"; },
         at("plain")},
        {"bad escape in data", true, [](L& l) { l[LineOf(l, "~") - 1] = "~x\\"; }, at("~x")},
        {"fewer data lines than announced", true, [](L& l) { l.removeAt(LineOf(l, "DATA")); },
         at("END")},
        {"more data lines than announced", true,
         [](L& l) { l.insert(LineOf(l, "DATA"), ">extra"); },
         [](const L& l) { return LineOf(l, "END") - 1; }},
        // Version 1 byte counts still point at END: only counting the lines tells.
        {"fewer data lines than announced, bytes right", false,
         [](L& l) { Recount(l[LineOf(l, "DATA") - 1], +1); }, at("END")},
        {"more data lines than announced, bytes right", false,
         [](L& l) { Recount(l[LineOf(l, "DATA", 2) - 1], -1); },
         [](const L& l) { return LineOf(l, "END", 2) - 1; }},
        {"non-numeric count", false,
         [](L& l) { l[LineOf(l, "DATA") - 1].replace("00000000000000000", "0000000000000000x"); },
         at("DATA")},
        {"count too large", true,
         [](L& l) { l[LineOf(l, "DATA") - 1] = "DATA 99999999999999999999"; }, at("DATA")},
        {"one count in version 1", false, [](L& l) { l[LineOf(l, "DATA") - 1] = "DATA 1"; },
         at("DATA")},
        {"two counts in release 17", true, [](L& l) { l[LineOf(l, "DATA") - 1] += " 5"; },
         at("DATA")},
        // Only a section at the very end may lack its END (an unfinished append).
        {"END missing before the next section", false,
         [](L& l) { l.removeAt(LineOf(l, "END", 1) - 1); }, at("SECTION ", 2)},
        {"END replaced, byte count no help", false,
         [](L& l) { l[LineOf(l, "END", 1) - 1] = "ENDE"; }, at("ENDE")},
    };
    QTemporaryDir dir;
    const QString name = dir.filePath("bad.eif");
    for (const TCorruption& c : cases) {
        SCOPED_TRACE(c.What);
        QList<QByteArray> lines = ValidLines(c.Release17);
        c.Edit(lines);
        WriteBytes(name, Join(lines));
        const QString message = EIErrorOf([&] {
            TEIFile file(name);
            file.Open();
        });
        EXPECT_TRUE(message.startsWith(
            QStringLiteral("File %1, line %2: ").arg(name).arg(c.ExpectedLine(lines))))
            << message;
    }
}

// Whatever happens to a file, reading it ends with the file opened or with an
// EEIFileError naming a line, and quickly.
TEST(EICorruptFiles, RandomDamageNeverCrashesOrHangs) {
    QTemporaryDir dir;
    const QList<QByteArray> pool = {
        "END",  "DATA 3",   "DATA 00000000000000000001 00000000000000000002",
        ">x",   "~\\q",     "SECTION X",
        "NAME", "PARAM =",  "",
        "#",    "\xff\xfe", "PELVAR-EI 1 UTF8"};
    std::mt19937 random(20240611);
    const auto pick = [&](qsizetype n) {
        return qsizetype(random() % quint32(qMax<qsizetype>(n, 1)));
    };
    int opened = 0;
    for (int i = 0; i < 3000; ++i) {
        QList<QByteArray> lines = ValidLines(i % 2 == 1);
        for (int edits = 1 + int(pick(3)); edits > 0; --edits) {
            switch (pick(5)) {
                case 0:
                    lines.insert(pick(lines.size() + 1), pool[pick(pool.size())]);
                    break;
                case 1:
                    if (!lines.isEmpty()) lines.removeAt(pick(lines.size()));
                    break;
                case 2:
                    if (!lines.isEmpty())
                        lines.insert(pick(lines.size()), lines[pick(lines.size())]);
                    break;
                default: {
                    QByteArray& line = lines[pick(lines.size())];
                    if (!line.isEmpty()) line[pick(line.size())] = char(random());
                }
            }
        }
        QByteArray bytes = Join(lines);
        if (pick(4) == 0) bytes.truncate(pick(bytes.size()));
        // A fresh name each time: rewriting a truncated file makes ext4 flush it on close.
        const QString name = dir.filePath(QStringLiteral("fuzz%1.eif").arg(i));
        WriteBytes(name, bytes);
        try {
            OpenAndReadEverything(name);
            ++opened;
        } catch (const EEIFileError& e) {
            ASSERT_TRUE(e.Message().contains(", line "))
                << "iteration " << i << ": " << e.Message();
        }
        QFile::remove(name);
    }
    // Some damage is harmless (a comment, a changed data character): both outcomes occur.
    EXPECT_GT(opened, 0);
    EXPECT_LT(opened, 3000);
}
