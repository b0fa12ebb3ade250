#include <algorithm>

#include "eidisk.h"
#include "eifile.h"
#include "eiformat.h"
#include "eistream.h"

// Writing one section at the end of an export/import file.

TEISectionWriter::TEISectionWriter(TEIFile& file) : FFile(&file) {
    FFile->FActiveWriter = this;
}

TEISectionWriter::TEISectionWriter(TEISectionWriter&& other) noexcept
    : FFile(other.FFile),
      FInfo(std::move(other.FInfo)),
      FParameterSpots(std::move(other.FParameterSpots)),
      FCountsAt(other.FCountsAt),
      FLinesBefore(other.FLinesBefore) {
    other.FFile = nullptr;
    if (FFile) FFile->FActiveWriter = this;
}

TEISectionWriter::~TEISectionWriter() {
    try {
        Abandon();
    } catch (const std::exception&) {
        // Nothing more can be done here; the next write reports the file's state.
    }
}

TEIStream& TEISectionWriter::Stream() {
    if (!FFile) throw EEIFileError(QStringLiteral("The section writer is no longer active"));
    return FFile->WriteStream();
}

void TEISectionWriter::Detach() {
    if (FFile && FFile->FActiveWriter == this) FFile->FActiveWriter = nullptr;
    FFile = nullptr;
}

void TEISectionWriter::Begin(const QString& className, const QString& name,
                             const TEISectionParameters& parameters) {
    TEIStream& s = Stream();
    FInfo.ClassName = className;
    FInfo.Name = name;
    FInfo.Parameters = parameters;
    FInfo.Start = s.Position();
    FLinesBefore = s.LineNumber();
    FInfo.Line = FLinesBefore + 1;
    s.Writeln(QStringLiteral("SECTION ") + className);
    s.Writeln(QStringLiteral("NAME ") + EIFormat::Escape(name, false));
    for (int i = 0; i < parameters.Count(); ++i) {
        const QByteArray prefix =
            s.Encode(QStringLiteral("PARAM ") + EIFormat::Escape(parameters.Name(i), true) + u'=');
        const QByteArray value = s.Encode(EIFormat::Escape(parameters.Value(i), false));
        FParameterSpots.append({s.Position() + prefix.size(), value.size()});
        s.WritelnRaw(prefix + value);
    }
    FCountsAt = s.Position() + 5;  // after "DATA "
    const QString zero = EIFormat::PadCount(0);
    s.Writeln(QStringLiteral("DATA ") + zero +
              (FFile->Release17() ? QString() : QStringLiteral(" ") + zero));
    FInfo.DataStart = s.Position();
    FInfo.DataLine = s.LineNumber() + 1;
}

void TEISectionWriter::Writeln(const QString& text) {
    Stream().Writeln(EIFormat::EncodeDataLine(text));
    ++FInfo.LineCount;
}

void TEISectionWriter::WriteBase64Lines(QByteArrayView bytes, qsizetype lineLength) {
    Q_ASSERT(lineLength > 0 && lineLength % 4 == 0);
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const qsizetype chars = (bytes.size() + 2) / 3 * 4;
    const qsizetype lines = (chars + lineLength - 1) / lineLength;
    FLine.resize(chars + 2 * lines);
    char* out = FLine.data();
    const auto* in = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype groupsPerLine = lineLength / 4;
    qsizetype at = 0;
    while (at < bytes.size()) {
        *out++ = '>';
        for (qsizetype g = 0; g < groupsPerLine && at < bytes.size(); ++g, at += 3) {
            const qsizetype left = bytes.size() - at;
            const uint triple = uint(in[at]) << 16 | (left > 1 ? uint(in[at + 1]) << 8 : 0u) |
                                (left > 2 ? uint(in[at + 2]) : 0u);
            *out++ = kDigits[triple >> 18 & 63];
            *out++ = kDigits[triple >> 12 & 63];
            *out++ = left > 1 ? kDigits[triple >> 6 & 63] : '=';
            *out++ = left > 2 ? kDigits[triple & 63] : '=';
        }
        *out++ = '\n';
    }
    Q_ASSERT(out == FLine.data() + FLine.size());
    Stream().WriteLinesRaw(FLine, lines);
    FInfo.LineCount += lines;
}

void TEISectionWriter::PatchParameter(const QString& name, const QString& value) {
    TEIStream& s = Stream();
    int index = -1;
    for (int i = 0; i < FInfo.Parameters.Count() && index < 0; ++i)
        if (FInfo.Parameters.Name(i).compare(name, Qt::CaseInsensitive) == 0) index = i;
    if (index < 0)
        throw EEIFileError(
            QStringLiteral("The section %1 has no parameter %2").arg(FInfo.Name, name));
    const QByteArray bytes = s.Encode(EIFormat::Escape(value, false));
    const TSpot spot = FParameterSpots[index];
    if (bytes.size() != spot.Bytes)
        throw EEIFileError(QStringLiteral("The new value of parameter %1 does not fit").arg(name));
    FInfo.Parameters.SetValues(FInfo.Parameters.Name(index), value);
    // A section still in the write buffer is patched there, without seeks.
    if (s.PatchPending(spot.Offset, bytes)) return;
    const qint64 back = s.Position();
    const qint64 line = s.LineNumber();
    s.Seek(spot.Offset, line);
    s.WriteRaw(bytes);
    s.Seek(back, line);
}

TEISection& TEISectionWriter::Commit() {
    TEIStream& s = Stream();
    const qint64 dataEnd = s.Position();
    const qint64 line = s.LineNumber();
    QString counts = EIFormat::PadCount(FInfo.LineCount);
    if (!FFile->Release17()) counts += u' ' + EIFormat::PadCount(dataEnd - FInfo.DataStart);
    const QByteArray countBytes = counts.toLatin1();
    if (!s.PatchPending(FCountsAt, countBytes)) {
        s.Seek(FCountsAt, line);
        s.WriteRaw(countBytes);
        s.Seek(dataEnd, line);
    }
    s.Writeln(QStringLiteral("END"));
    if (!FFile->FDeferredFlush) {
        s.Flush();
        if (!FFile->FWriteFile->flush())
            throw EEIFileError(QStringLiteral("Cannot write file %1: %2")
                                   .arg(FFile->FFileName, FFile->FWriteFile->errorString()));
    }
    FInfo.DataEnd = dataEnd;
    FInfo.End = s.Position();
    FFile->FLineCount = s.LineNumber();
    TEISection& section = FFile->FSections.Add(FFile, std::move(FInfo));
    Detach();
    return section;
}

void TEISectionWriter::Abandon() {
    if (!FFile) return;
    TEIFile* file = FFile;
    Detach();
    if (!file->FWriteStream) return;
    file->FWriteStream->Discard();
    file->FLineCount = FLinesBefore;
    EIDisk::Resize(*file->FWriteFile, FInfo.Start, file->FFileName);
    file->FWriteStream->Seek(FInfo.Start, FLinesBefore);
}
