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

int TEISource::FindSection(const QString& sectionClass, const QString& parameter,
                           const QString& value) const {
    const QString wanted = value.toUpper();
    for (int i = 0; i < FSections.GetCount(); ++i) {
        const TEISection* s = FSections.GetSections(i);
        if (s->ClassName() == sectionClass &&
            s->Parameters().GetValues(parameter).toUpper() == wanted)
            return i;
    }
    return -1;
}

std::unique_ptr<TEIObject> TEISource::CreateEIObject(int index) const {
    const TEISection* section = FSections.GetSections(index);
    std::unique_ptr<TEIObject> object = CreateEIObjectOfClass(section->ClassName());
    object->Load(*section);
    return object;
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
