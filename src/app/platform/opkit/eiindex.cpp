#include "eiindex.h"

#include <algorithm>

#include "eiformat.h"

namespace {

constexpr qint64 kCountBlock = 1024 * 1024;

using EIFormat::Raise;

class TIndexer {
  public:
    TIndexer(QIODevice& device, const QString& fileName)
        : FDevice(device), FStream(device), FName(fileName), FSize(device.size()) {
        FStream.SetName(fileName);
    }

    TEIIndex Run() {
        ReadHeader();
        FStream.SetEncoding(FIndex.Encoding);
        for (;;) {
            const qint64 start = FStream.Position();
            const qint64 linesBefore = FStream.LineNumber();
            QByteArray raw;
            if (!FStream.ReadRawLine(raw)) break;
            FIndex.EndsWithNewline = FStream.LastLineTerminated();
            // Hand edits: blank lines and comments between sections.
            if (raw.trimmed().isEmpty() || raw.startsWith('#')) continue;
            try {
                ReadSection(start, FStream.Decode(raw));
            } catch (const EEIFileError&) {
                if (!Unfinished(start, linesBefore)) throw;
                FIndex.TailStart = start;
                FIndex.TailLine = linesBefore + 1;
                FIndex.EndsWithNewline = true;  // the tail began a line
                FStream.SetLineNumber(linesBefore);
                break;
            }
            FIndex.EndsWithNewline = FStream.LastLineTerminated();
        }
        FIndex.LineCount = FStream.LineNumber();
        return std::move(FIndex);
    }

  private:
    [[noreturn]] void Fail(const QString& what) { Raise(FName, FStream.LineNumber(), what); }
    [[noreturn]] void FailNext(const QString& what) {
        Raise(FName, FStream.LineNumber() + 1, what);
    }

    void ReadHeader() {
        QByteArray raw;
        if (!FStream.ReadRawLine(raw)) FailNext(QStringLiteral("the file is empty"));
        FIndex.EndsWithNewline = FStream.LastLineTerminated();
        // Editors on Windows like to put a byte order mark before UTF-8 text.
        if (raw.startsWith("\xEF\xBB\xBF")) raw.remove(0, 3);
        const QList<QByteArray> parts = raw.split(' ');
        const bool ok = parts.size() == 3 && parts[0] == EIFormat::kMagic &&
                        (parts[1] == "1" || parts[1] == "17") &&
                        (parts[2] == "UTF8" || parts[2] == "ANSI");
        if (!ok)
            Fail(QStringLiteral("not an export/import file header (\"%1 <version> <encoding>\" "
                                "expected)")
                     .arg(QLatin1String(EIFormat::kMagic)));
        FIndex.Release17 = parts[1] == "17";
        FIndex.Encoding = parts[2] == "ANSI" ? eeANSI : eeUTF8;
    }

    // Whether the faulty section at `start` is an append that never reached
    // its END: it starts like a section (a killed writer may have left only
    // part of its first line) and no END line follows it up to the end of the
    // file. END cannot be a data line, which begins with a mark.
    bool Unfinished(qint64 start, qint64 linesBefore) {
        static const QByteArray kHead = "SECTION ";
        FStream.Seek(start, linesBefore);
        QByteArray raw;
        if (!FStream.ReadRawLine(raw)) return false;
        if (!raw.startsWith(kHead) && (FStream.LastLineTerminated() || !kHead.startsWith(raw)))
            return false;
        while (FStream.ReadRawLine(raw))
            if (raw == "END") return false;
        return true;
    }

    // The next line of a section, which must exist.
    QString NextLine(const char* expected) {
        QByteArray raw;
        if (!FStream.ReadRawLine(raw))
            FailNext(QStringLiteral("unexpected end of file, %1 expected").arg(expected));
        return FStream.Decode(raw);
    }

    static QString Keyword(const QString& line) { return line.section(u' ', 0, 0).left(40); }

    void ReadSection(qint64 start, const QString& first) {
        if (!first.startsWith(QLatin1String("SECTION ")))
            Fail(QStringLiteral("unknown keyword \"%1\", SECTION expected").arg(Keyword(first)));
        TEISectionInfo info;
        info.Start = start;
        info.Line = FStream.LineNumber();
        info.ClassName = first.mid(8);
        if (info.ClassName.trimmed().isEmpty())
            Fail(QStringLiteral("the section class is missing"));

        const QString nameLine = NextLine("NAME");
        if (nameLine != QLatin1String("NAME") && !nameLine.startsWith(QLatin1String("NAME ")))
            Fail(QStringLiteral("unknown keyword \"%1\", NAME expected").arg(Keyword(nameLine)));
        info.Name = Unescaped(nameLine.mid(5));

        QString line = NextLine("DATA");
        while (line.startsWith(QLatin1String("PARAM "))) {
            ReadParameter(line.mid(6), info.Parameters);
            line = NextLine("DATA");
        }
        if (!line.startsWith(QLatin1String("DATA ")))
            Fail(QStringLiteral("unknown keyword \"%1\", PARAM or DATA expected")
                     .arg(Keyword(line)));
        const QStringList counts = line.mid(5).split(u' ');
        if (counts.size() != (FIndex.Release17 ? 1 : 2))
            Fail(FIndex.Release17 ? QStringLiteral("DATA expects a line count")
                                  : QStringLiteral("DATA expects a line count and a byte count"));
        info.LineCount = Count(counts[0]);
        const qint64 bytes = counts.size() > 1 ? Count(counts[1]) : -1;

        info.DataStart = FStream.Position();
        info.DataLine = FStream.LineNumber() + 1;
        if (!SkipData(info, bytes)) ScanData(info);
        info.End = FStream.Position();
        FIndex.Sections.push_back(std::move(info));
    }

    QString Unescaped(const QString& text) {
        QString result, error;
        if (!EIFormat::Unescape(text, result, error)) Fail(error);
        return result;
    }

    void ReadParameter(const QString& text, TEISectionParameters& parameters) {
        QString name, error;
        qsizetype consumed = 0;
        if (!EIFormat::Unescape(text, name, error, true, &consumed)) Fail(error);
        if (consumed >= text.size()) Fail(QStringLiteral("PARAM without \"=\""));
        if (name.isEmpty()) Fail(QStringLiteral("PARAM without a name"));
        parameters.SetValues(name, Unescaped(text.mid(consumed + 1)));
    }

    qint64 Count(const QString& text) {
        bool digits = !text.isEmpty() && text.size() <= EIFormat::kCountWidth;
        for (const QChar c : text)
            digits = digits && c >= u'0' && c <= u'9';
        bool ok = false;
        const qint64 value = digits ? text.toLongLong(&ok) : -1;
        if (!ok || value < 0 || value > EIFormat::kMaxCount)
            Fail(QStringLiteral("\"%1\" is not a valid count").arg(text.left(40)));
        return value;
    }

    // Trusts the byte count when the line after the data is exactly END;
    // false when it is not (a hand-edited file), so the data is scanned.
    bool SkipData(TEISectionInfo& info, qint64 bytes) {
        // Every data line holds at least its mark and a line break.
        if (bytes < 0 || info.LineCount == 0 || bytes < 2 * info.LineCount ||
            info.DataStart + bytes > FSize)
            return false;
        const qint64 target = info.DataStart + bytes;
        QByteArray raw;
        FStream.Seek(target - 1);
        // The byte before the target must end a line.
        const bool lineBreak = FStream.ReadRawLine(raw) && raw.isEmpty() &&
                               FStream.LastLineTerminated() && FStream.Position() == target;
        // The line count is checked too: every later line number depends on it.
        if (lineBreak && FStream.ReadRawLine(raw) && raw == "END" &&
            CountLines(info.DataStart, target) == info.LineCount) {
            info.DataEnd = target;
            FStream.SetLineNumber(info.DataLine + info.LineCount);
            return true;
        }
        FStream.Seek(info.DataStart, info.DataLine - 1);
        return false;
    }

    // Line breaks in [start, end), counted in large blocks without decoding.
    qint64 CountLines(qint64 start, qint64 end) {
        if (!FDevice.seek(start)) Fail(QStringLiteral("cannot seek to byte %1").arg(start));
        qint64 lines = 0;
        QByteArray block(kCountBlock, Qt::Uninitialized);
        for (qint64 left = end - start; left > 0;) {
            const qint64 got = FDevice.read(block.data(), qMin(left, kCountBlock));
            if (got <= 0) return -1;
            lines += std::count(block.cbegin(), block.cbegin() + got, '\n');
            left -= got;
        }
        return lines;
    }

    void ScanData(TEISectionInfo& info) {
        QByteArray raw;
        for (qint64 i = 0; i < info.LineCount; ++i) {
            if (!FStream.ReadRawLine(raw))
                FailNext(QStringLiteral("unexpected end of file: DATA announces %1 lines, the file "
                                        "holds %2")
                             .arg(info.LineCount)
                             .arg(i));
            if (raw == "END")
                Fail(QStringLiteral("DATA announces %1 lines, the section holds %2")
                         .arg(info.LineCount)
                         .arg(i));
            if (raw.startsWith('>')) continue;
            QString text, error;
            if (!EIFormat::DecodeDataLine(FStream.Decode(raw), text, error)) Fail(error);
        }
        info.DataEnd = FStream.Position();
        if (!FStream.ReadRawLine(raw))
            FailNext(QStringLiteral("unexpected end of file, END expected"));
        if (raw.startsWith('>') || raw.startsWith('~'))
            Fail(QStringLiteral("the section holds more data lines than DATA announces (%1)")
                     .arg(info.LineCount));
        if (raw != "END") Fail(QStringLiteral("END expected"));
    }

    QIODevice& FDevice;  // read directly only to count lines
    TEIStream FStream;
    QString FName;
    qint64 FSize;
    TEIIndex FIndex;
};

}  // namespace

TEIIndex IndexEIFile(QIODevice& device, const QString& fileName) {
    return TIndexer(device, fileName).Run();
}
