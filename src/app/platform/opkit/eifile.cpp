#include "eifile.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

#include "eidisk.h"
#include "eiformat.h"
#include "eiindex.h"
#include "eiobjects.h"

namespace {

constexpr qint64 kCopyChunk = 1024 * 1024;

[[noreturn]] void RaiseReadOnly(const QString& fileName) {
    throw EEIFileError(QStringLiteral("The export/import file %1 is read-only").arg(fileName));
}

void CopyRange(QIODevice& from, QIODevice& to, qint64 start, qint64 end, const QString& name) {
    if (start >= end) return;
    if (!from.seek(start))
        throw EEIFileError(QStringLiteral("Cannot read file %1: %2").arg(name, from.errorString()));
    for (qint64 left = end - start; left > 0;) {
        const QByteArray chunk = from.read(qMin(left, kCopyChunk));
        if (chunk.isEmpty())
            throw EEIFileError(
                QStringLiteral("Cannot read file %1: it is shorter than indexed").arg(name));
        EIDisk::Write(to, chunk, name);
        left -= chunk.size();
    }
}

}  // namespace

// ---- TEISource ----

TEISource::~TEISource() = default;

std::unique_ptr<TEIObject> TEISource::CreateEIObject(int index) const {
    const TEISection* section = FSections.GetSections(index);
    std::unique_ptr<TEIObject> object = CreateEIObjectOfClass(section->ClassName());
    object->Load(*section);
    return object;
}

// ---- TEISectionWriter ----

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

// ---- TEIFile ----

TEIFile::~TEIFile() {
    try {
        Close();
    } catch (const std::exception&) {
        // A destructor cannot report.
    }
}

void TEIFile::SetFileName(const QString& fileName) {
    Close();
    FFileName = fileName;
}

void TEIFile::CheckOpened() const {
    if (!FOpened)
        throw EEIFileError(QStringLiteral("The export/import file %1 is not open").arg(FFileName));
}

void TEIFile::CheckWritable() const {
    if (FReadOnly) RaiseReadOnly(FFileName);
    const QFileInfo info(FFileName);
    if (!info.exists()) return;
    // A file without any write permission counts as read-only even for a
    // user whom the system would let write it (root): someone marked it so.
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(info.permissions() & writeBits) || !info.isWritable()) RaiseReadOnly(FFileName);
}

void TEIFile::ApplyIndex(TEIIndex& index) {
    FSections.RetireAll();
    FEncoding = index.Encoding;
    FRelease17 = index.Release17;
    ApplyFileState(index);
    for (auto& info : index.Sections)
        FSections.Add(this, std::move(info));
}

void TEIFile::ApplyFileState(const TEIIndex& index) {
    FLineCount = index.LineCount;
    FEndsWithNewline = index.EndsWithNewline;
    FTailStart = index.TailStart;
    FTailNote.clear();
    if (FTailStart >= 0)
        FTailNote = QStringLiteral(
                        "File %1, line %2: the section there was not finished (its "
                        "writing stopped before END); it is left out and the next "
                        "write to the file removes it")
                        .arg(FFileName)
                        .arg(index.TailLine);
}

void TEIFile::Create(TEIEncoding encoding, bool release17) {
    CheckWritable();
    Close();
    {
        QFile file(FFileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw EEIFileError(
                QStringLiteral("Cannot create file %1: %2").arg(FFileName, file.errorString()));
        TEIStream stream(file, eeUTF8);
        stream.Writeln(EIFormat::HeaderLine(encoding, release17));
        stream.Flush();
    }
    FEncoding = encoding;
    FRelease17 = release17;
    ApplyFileState(TEIIndex{.LineCount = 1});
    FOpened = true;
}

void TEIFile::Open() {
    Close();
    if (!QFile::exists(FFileName))
        throw EEIFileError(QStringLiteral("File %1 not found").arg(FFileName));
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EEIFileError(
            QStringLiteral("Cannot open file %1: %2").arg(FFileName, file.errorString()));
    TEIIndex index = IndexEIFile(file, FFileName);
    ApplyIndex(index);
    FOpened = true;
}

void TEIFile::OpenForAppend() {
    if (!QFile::exists(FFileName))
        throw EEIFileError(QStringLiteral("File %1 not found").arg(FFileName));
    CheckWritable();
    Open();
    WriteStream();
}

void TEIFile::Close() {
    if (FActiveWriter) FActiveWriter->Abandon();
    // Held-back writes reach the system here, and a failure is reported
    // (the stream's own destructor could only swallow it).
    std::exception_ptr failure;
    if (FWriteStream) {
        try {
            FWriteStream->Flush();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    CloseWriteHandle();
    FSections.RetireAll();
    FTailStart = -1;
    FTailNote.clear();
    FOpened = false;
    if (failure) std::rethrow_exception(failure);
}

void TEIFile::CloseWriteHandle() {
    FWriteStream.reset();
    FWriteFile.reset();
}

TEIStream& TEIFile::WriteStream() {
    if (FWriteStream) return *FWriteStream;
    CheckOpened();
    CheckWritable();
    auto file = std::make_unique<QFile>(FFileName);
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw EEIFileError(
            QStringLiteral("Cannot write file %1: %2").arg(FFileName, file->errorString()));
    if (FTailStart >= 0) {
        EIDisk::Resize(*file, FTailStart, FFileName);
        ApplyFileState(TEIIndex{.LineCount = FLineCount});
    }
    auto stream = std::make_unique<TEIStream>(*file, FEncoding);
    stream->Seek(file->size(), FLineCount);
    // A hand-edited file may end without a line break: the next section
    // must start on a line of its own.
    if (!FEndsWithNewline && file->size() > 0) {
        stream->WriteRaw("\n");
        stream->Flush();
        FEndsWithNewline = true;
    }
    FWriteFile = std::move(file);
    FWriteStream = std::move(stream);
    return *FWriteStream;
}

TEISectionWriter TEIFile::BeginSection(const QString& className, const QString& name,
                                       const TEISectionParameters& parameters) {
    CheckOpened();
    // The disk was asked when the write handle was opened; a file of many
    // sections must not stat itself for each.
    if (FReadOnly || !FWriteStream) CheckWritable();
    if (FActiveWriter)
        throw EEIFileError(
            QStringLiteral("File %1: another section is being written").arg(FFileName));
    // The class name is written raw on the SECTION line.
    if (className.trimmed().isEmpty() || className.contains(u'\n') || className.contains(u'\r'))
        throw EEIFileError(
            QStringLiteral("File %1: invalid section class \"%2\"").arg(FFileName, className));
    WriteStream();
    TEISectionWriter writer(*this);
    writer.Begin(className, name, parameters);
    return writer;
}

TEISection& TEIFile::AddObject(const TEIObject& object) {
    TEISectionParameters parameters;
    object.FillParameters(parameters);
    TEISectionWriter writer = BeginSection(object.SectionClass(), object.SectionName(), parameters);
    object.Save(writer);
    return writer.Commit();
}

void TEIFile::DeleteSections(const QStringList& indexes) {
    CheckOpened();
    std::vector<int> removed;
    for (const QString& text : indexes) {
        bool ok = false;
        const int index = text.trimmed().toInt(&ok);
        if (!ok || index < 0 || index >= FSections.GetCount())
            throw EEIFileError(QStringLiteral("File %1 has no section %2").arg(FFileName, text));
        removed.push_back(index);
    }
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    CheckWritable();
    if (FActiveWriter)
        throw EEIFileError(QStringLiteral("File %1: a section is being written").arg(FFileName));
    if (removed.empty()) return;
    if (FWriteStream) FWriteStream->Flush();  // fails loudly, unlike the close below
    CloseWriteHandle();

    {
        QFile source(FFileName);
        if (!source.open(QIODevice::ReadOnly))
            throw EEIFileError(
                QStringLiteral("Cannot open file %1: %2").arg(FFileName, source.errorString()));
        EIDisk::TReplacement target(FFileName);
        qint64 from = 0;
        for (int index : removed) {
            const TEISectionInfo& info = FSections.GetSections(index)->Info();
            CopyRange(source, target.File(), from, info.Start, FFileName);
            from = info.End;
        }
        CopyRange(source, target.File(), from, FTailStart >= 0 ? FTailStart : source.size(),
                  FFileName);
        target.Commit();
    }

    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EEIFileError(
            QStringLiteral("Cannot open file %1: %2").arg(FFileName, file.errorString()));
    TEIIndex index = IndexEIFile(file, FFileName);
    if (index.Sections.size() + removed.size() != size_t(FSections.GetCount())) {
        // Someone else changed the file meanwhile: take it as it is now.
        ApplyIndex(index);
        return;
    }
    ApplyFileState(index);
    FSections.Rebuild(removed, std::move(index.Sections));
}

std::unique_ptr<QIODevice> TEIFile::OpenDataDevice() const {
    if (FWriteStream) FWriteStream->Flush();  // sections still in the write buffer
    auto file = std::make_unique<QFile>(FFileName);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EEIFileError(
            QStringLiteral("Cannot open file %1: %2").arg(FFileName, file->errorString()));
    return file;
}
