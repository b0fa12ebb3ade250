#include <QBuffer>

#include "eitestutil.h"

namespace {

QStringList ReadAllLines(TEIStream& s) {
    QStringList lines;
    for (QString line; s.Readln(line);)
        lines << line;
    return lines;
}

}  // namespace

TEST(EIStream, ReadsEveryLineEndingWithinItsByteRangeAndTracksLinesAndBytes) {
    QByteArray bytes("one\r\ntwo\n\nin\rner\nlast");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TEIStream s(buffer);
    QString line;
    ASSERT_TRUE(s.Readln(line));
    EXPECT_EQ(line, "one");
    EXPECT_EQ(s.LineNumber(), 1);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(ReadAllLines(s), QStringList({"two", "", "in\rner", "last"}));
    EXPECT_EQ(s.LineNumber(), 5);
    EXPECT_EQ(s.Position(), bytes.size());
    EXPECT_FALSE(s.LastLineTerminated());
    EXPECT_FALSE(s.Readln(line));
    EXPECT_EQ(s.LineNumber(), 5);

    // Only the range is read; one ending inside a line gives that line's head.
    TEIStream range(buffer, eeUTF8, 5, 10);
    EXPECT_EQ(ReadAllLines(range), QStringList({"two", ""}));
    EXPECT_EQ(range.Position(), 10);
    TEIStream cut(buffer, eeUTF8, 10, 15);
    EXPECT_EQ(ReadAllLines(cut), QStringList({"in\rne"}));
    EXPECT_FALSE(cut.LastLineTerminated());
}

TEST(EIStream, LongLinesAndCharactersAcrossBufferBoundaries) {
    QTemporaryDir dir;
    const QString name = dir.filePath("long.txt");
    // "Ж" is two bytes in UTF-8: an odd prefix puts one of them on every
    // 64 KiB boundary.
    const QString longLine = QString(u'x') + QString(200000, u'Ж');
    {
        TEIStream s(name, eomCreate);
        s.Writeln(longLine);
        s.Writeln("tail");
    }
    TEIStream s(name, eomRead);
    EXPECT_EQ(ReadAllLines(s), QStringList({longLine, "tail"}));
    EXPECT_EQ(s.Position(), 1 + 400000 + 1 + 5);
}

TEST(EIStream, AnsiIsWindows1251AndRefusesWhatItCannotHold) {
    QTemporaryDir dir;
    const QString name = dir.filePath("ansi.txt");
    {
        TEIStream s(name, eomCreate, eeANSI);
        s.Writeln("Жук € ё");
        s.Writeln("second");
        const QString error = EIErrorOf([&] { s.Writeln("ok 中 no"); });
        EXPECT_TRUE(error.contains("'中' (U+4E2D)")) << error;
        EXPECT_TRUE(error.startsWith(QStringLiteral("File %1, line 3:").arg(name))) << error;
    }
    EXPECT_EQ(ReadBytes(name), QByteArray("\xC6\xF3\xEA \x88 \xB8\nsecond\n"));
    TEIStream s(name, eomRead, eeANSI);
    EXPECT_EQ(ReadAllLines(s), QStringList({"Жук € ё", "second"}));

    // UTF-8 holds everything but broken UTF-16.
    TEIStream u(name, eomAppend, eeUTF8);
    EXPECT_NO_THROW(u.Writeln("中 😀"));
    EXPECT_TRUE(EIErrorOf([&] { u.Writeln(QString(QChar(0xD800))); }).contains("U+D800"));
}

TEST(EIStream, OpenModes) {
    QTemporaryDir dir;
    const QString name = dir.filePath("modes.txt");
    EXPECT_EQ(EIErrorOf([&] { TEIStream s(name, eomRead); }), "File " + name + " not found");
    EXPECT_EQ(EIErrorOf([&] { TEIStream s(name, eomReadWrite); }), "File " + name + " not found");
    {
        TEIStream s(name, eomAppend);  // makes the file
        s.Writeln("a");
    }
    {
        TEIStream s(name, eomAppend);
        EXPECT_EQ(s.Position(), 2);
        s.Writeln("b");
    }
    EXPECT_EQ(ReadBytes(name), "a\nb\n");
    {
        // Read one line, then overwrite from there: reads and writes share the position.
        TEIStream s(name, eomReadWrite);
        QString line;
        ASSERT_TRUE(s.Readln(line));
        s.Writeln("B");
        s.Seek(0);
        EXPECT_EQ(ReadAllLines(s), QStringList({"a", "B"}));
    }
    {
        TEIStream s(name, eomCreate);
        s.Writeln("fresh");
    }
    EXPECT_EQ(ReadBytes(name), "fresh\n");
}
