#include "eistream.h"

#include <algorithm>

#include <QFile>
#include <cstring>

#include "eidisk.h"

namespace {

constexpr qsizetype kChunk = 64 * 1024;

// Stateless, so that every line converts on its own; an initial U+FEFF is an
// ordinary character of the line, not a byte order mark to drop.
constexpr auto kFlags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

QStringEncoder MakeEncoder(TEIEncoding encoding) {
    // QStringConverter::encodingForName does not know this name; the named
    // constructor (ICU) does.
    if (encoding == eeANSI) return QStringEncoder("windows-1251", kFlags);
    return QStringEncoder(QStringConverter::Utf8, kFlags);
}

QStringDecoder MakeDecoder(TEIEncoding encoding) {
    if (encoding == eeANSI) return QStringDecoder("windows-1251", kFlags);
    return QStringDecoder(QStringConverter::Utf8, kFlags);
}

QString EncodingName(TEIEncoding encoding) {
    return encoding == eeANSI ? QStringLiteral("ANSI (Windows-1251)") : QStringLiteral("UTF8");
}

}  // namespace

TEIStream::TEIStream(const QString& fileName, TEIOpenMode mode, TEIEncoding encoding)
    : FOwnedFile(std::make_unique<QFile>(fileName)), FName(fileName) {
    QIODevice::OpenMode flags = QIODevice::Unbuffered;
    switch (mode) {
        case eomRead:
            flags |= QIODevice::ReadOnly;
            break;
        case eomCreate:
            flags |= QIODevice::ReadWrite | QIODevice::Truncate;
            break;
        case eomReadWrite:
        case eomAppend:
            // No O_APPEND for append: we seek to the end ourselves, which
            // keeps reading and patching possible.
            flags |= QIODevice::ReadWrite;
            break;
    }
    if ((mode == eomRead || mode == eomReadWrite) && !QFile::exists(fileName))
        throw EEIFileError(QStringLiteral("File %1 not found").arg(fileName));
    if (!FOwnedFile->open(flags))
        throw EEIFileError(
            QStringLiteral("Cannot open file %1: %2").arg(fileName, FOwnedFile->errorString()));
    Init(*FOwnedFile, encoding);
    if (mode == eomAppend) Seek(FOwnedFile->size());
}

TEIStream::TEIStream(QIODevice& device, TEIEncoding encoding) {
    Init(device, encoding);
}

TEIStream::TEIStream(QIODevice& device, TEIEncoding encoding, qint64 start, qint64 end) {
    Init(device, encoding);
    Seek(start);
    FLimit = end;
}

TEIStream::~TEIStream() {
    try {
        Flush();
    } catch (const EEIFileError&) {
        // A destructor cannot report; callers that care flush first.
    }
}

void TEIStream::Init(QIODevice& device, TEIEncoding encoding) {
    FDevice = &device;
    if (auto* file = qobject_cast<QFile*>(&device); file && FName.isEmpty())
        FName = file->fileName();
    SetEncoding(encoding);
    FBufferStart = device.isSequential() ? 0 : device.pos();
    FPendingStart = FBufferStart;
}

void TEIStream::SetEncoding(TEIEncoding encoding) {
    FEncoding = encoding;
    FEncoder = MakeEncoder(encoding);
    FDecoder = MakeDecoder(encoding);
    if (!FEncoder.isValid() || !FDecoder.isValid())
        Fail(QStringLiteral("the %1 encoding is not available").arg(EncodingName(encoding)));
}

void TEIStream::Fail(const QString& what) const {
    if (FName.isEmpty()) throw EEIFileError(what);
    throw EEIFileError(QStringLiteral("File %1: %2").arg(FName, what));
}

qint64 TEIStream::Position() const {
    if (!FPending.isEmpty()) return FPendingStart + FPending.size();
    return FBufferStart + FBufferPos;
}

void TEIStream::DropReadBuffer() {
    FBufferStart += FBufferPos;
    FBuffer.clear();
    FBufferPos = 0;
}

bool TEIStream::Fill() {
    Flush();
    FBufferStart += FBuffer.size();
    FBuffer.clear();
    FBufferPos = 0;
    qint64 want = kChunk;
    if (FLimit >= 0) want = qMin(want, FLimit - FBufferStart);
    if (want <= 0) return false;
    if (!FDevice->isSequential() && FDevice->pos() != FBufferStart && !FDevice->seek(FBufferStart))
        Fail(QStringLiteral("cannot seek to byte %1").arg(FBufferStart));
    FBuffer = FDevice->read(want);
    return !FBuffer.isEmpty();
}

bool TEIStream::ReadRawLine(QByteArray& line) {
    line.clear();
    bool any = false;
    bool terminated = false;
    for (;;) {
        if (FBufferPos >= FBuffer.size() && !Fill()) break;
        const char* start = FBuffer.constData() + FBufferPos;
        const qsizetype available = FBuffer.size() - FBufferPos;
        any = true;
        if (auto* nl = static_cast<const char*>(std::memchr(start, '\n', size_t(available)))) {
            line.append(start, nl - start);
            FBufferPos += (nl - start) + 1;
            terminated = true;
            break;
        }
        line.append(start, available);
        FBufferPos += available;
    }
    if (!any) return false;
    if (terminated && line.endsWith('\r')) line.chop(1);
    FLastTerminated = terminated;
    ++FLineNumber;
    return true;
}

bool TEIStream::Readln(QString& line) {
    QByteArray raw;
    if (!ReadRawLine(raw)) {
        line.clear();
        return false;
    }
    line = Decode(raw);
    return true;
}

QString TEIStream::Decode(const QByteArray& bytes) {
    return FDecoder.decode(bytes);
}

QByteArray TEIStream::Encode(const QString& text) {
    // ASCII is the same bytes in both encodings and needs no round trip.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QByteArray bytes = FEncoder.encode(text);
    // The encoder quietly substitutes what it cannot represent: a round trip
    // tells, and then each character is tried alone to name the culprit.
    const bool exact = FEncoding == eeUTF8 ? text.isValidUtf16() : Decode(bytes) == text;
    if (exact) return bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString piece = text.mid(i, len);
        const bool ok =
            FEncoding == eeUTF8 ? piece.isValidUtf16() : Decode(FEncoder.encode(piece)) == piece;
        if (!ok) {
            const char32_t code = len == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1])
                                           : char32_t(text[i].unicode());
            throw EEIFileError(
                QStringLiteral("%1line %2: the character '%3' (U+%4) cannot be written in the "
                               "%5 encoding")
                    .arg(FName.isEmpty() ? QString() : QStringLiteral("File %1, ").arg(FName))
                    .arg(FLineNumber + 1)
                    .arg(piece)
                    .arg(QString::number(code, 16).toUpper().rightJustified(4, u'0'),
                         EncodingName(FEncoding)));
        }
        i += len - 1;
    }
    return bytes;  // not reached: some character failed
}

void TEIStream::Writeln(const QString& line) {
    // An ASCII line, the usual one, is the same bytes in both encodings: it
    // goes straight into the buffer, with no text in between.
    const qsizetype start = StartPending(), size = line.size();
    FPending.resize(start + size + 1);
    char* out = FPending.data() + start;
    const ushort* in = line.utf16();
    qsizetype i = 0;
    for (; i < size && in[i] < 0x80; ++i)
        out[i] = char(in[i]);
    if (i < size) {
        FPending.resize(start);  // not ASCII: the encoder's bytes go instead
        return WritelnRaw(Encode(line));
    }
    out[size] = '\n';
    ++FLineNumber;
    if (FPending.size() >= kChunk) Flush();
}

qsizetype TEIStream::StartPending() {
    if (FPending.isEmpty()) {
        DropReadBuffer();
        FPendingStart = FBufferStart;
    }
    return FPending.size();
}

void TEIStream::WriteRaw(const QByteArray& bytes) {
    WriteLinesRaw(bytes, 0);
}

void TEIStream::WritelnRaw(QByteArrayView bytes) {
    StartPending();
    FPending.append(bytes);
    FPending.append('\n');
    ++FLineNumber;
    if (FPending.size() >= kChunk) Flush();
}

void TEIStream::WriteLinesRaw(QByteArrayView bytes, qint64 lines) {
    StartPending();
    FPending.append(bytes);
    FLineNumber += lines;
    if (FPending.size() >= kChunk) Flush();
}

void TEIStream::Flush() {
    if (FPending.isEmpty()) return;
    if (!FDevice->isSequential() && FDevice->pos() != FPendingStart &&
        !FDevice->seek(FPendingStart))
        Fail(QStringLiteral("cannot seek to byte %1").arg(FPendingStart));
    EIDisk::Write(*FDevice, FPending, FName);
    FPendingStart += FPending.size();
    FPending.resize(0);  // keeps the buffer for the next chunk
    FBufferStart = FPendingStart;
}

bool TEIStream::PatchPending(qint64 position, const QByteArray& bytes) {
    const qint64 offset = position - FPendingStart;
    if (FPending.isEmpty() || offset < 0 || offset + bytes.size() > FPending.size()) return false;
    std::memcpy(FPending.data() + offset, bytes.constData(), size_t(bytes.size()));
    return true;
}

void TEIStream::Seek(qint64 position, qint64 lineNumber) {
    FLineNumber = lineNumber;
    if (FPending.isEmpty() && position >= FBufferStart &&
        position <= FBufferStart + FBuffer.size()) {
        FBufferPos = position - FBufferStart;
        return;
    }
    Flush();
    FBuffer.clear();
    FBufferPos = 0;
    FBufferStart = position;
    FPendingStart = position;
    if (!FDevice->isSequential() && !FDevice->seek(position))
        Fail(QStringLiteral("cannot seek to byte %1").arg(position));
}

void TEIStream::Discard() {
    const qint64 position = FBufferStart + FBufferPos;
    FPending.clear();
    FBuffer.clear();
    FBufferPos = 0;
    FBufferStart = FPendingStart = position;
}
