#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <memory>

#include "basekit/errors.h"

class QFile;

// Any fault of an export/import file or of a text stream over one.
PELVAR_DECLARE_ERROR(EEIFileError, EPelvarError);

enum TEIOpenMode {
    eomRead,       // an existing file, reading only
    eomCreate,     // a new or truncated file, reading and writing
    eomReadWrite,  // an existing file, reading and writing from the start
    eomAppend,     // an existing or new file, writes go to its end
};

enum TEIEncoding {
    eeUTF8,
    eeANSI,  // Windows-1251, the legacy single-byte encoding
};

// A line reader and writer over a byte stream in one encoding. It keeps its
// own buffer, so arbitrarily large files are read a piece at a time, and it
// knows the byte offset and line number of what it has read. Reading may be
// limited to a byte range of the device.
class TEIStream {
  public:
    TEIStream(const QString& fileName, TEIOpenMode mode, TEIEncoding encoding = eeUTF8);
    // Over a device that the caller opened and keeps alive. Reads start at the
    // device's current position.
    explicit TEIStream(QIODevice& device, TEIEncoding encoding = eeUTF8);
    // Reads only the bytes [start, end) of a random-access device; end < 0
    // reads to the end of the device.
    TEIStream(QIODevice& device, TEIEncoding encoding, qint64 start, qint64 end);
    ~TEIStream();
    TEIStream(const TEIStream&) = delete;
    TEIStream& operator=(const TEIStream&) = delete;

    TEIEncoding Encoding() const { return FEncoding; }
    void SetEncoding(TEIEncoding encoding);
    // The file name for messages; empty over a caller's device unless set.
    const QString& Name() const { return FName; }
    void SetName(const QString& name) { FName = name; }

    // The next line without its "\n" or "\r\n"; false at the end. A last line
    // without a line break is still a line.
    bool Readln(QString& line);
    // The same, undecoded.
    bool ReadRawLine(QByteArray& line);
    // Whether the last line read ended with a line break.
    bool LastLineTerminated() const { return FLastTerminated; }
    // Writes the line and "\n". Raises EEIFileError naming the first character
    // that the encoding cannot represent; nothing is written then.
    void Writeln(const QString& line);
    void WriteRaw(const QByteArray& bytes);
    // Writes bytes already in the stream's encoding, then "\n".
    void WritelnRaw(QByteArrayView bytes);
    // Bytes already in the stream's encoding that hold `lines` whole lines.
    void WriteLinesRaw(QByteArrayView bytes, qint64 lines);

    // 1-based number of the last line read (0 before the first).
    qint64 LineNumber() const { return FLineNumber; }
    // Byte offset in the device of the next byte to read or write.
    qint64 Position() const;
    // Moves to a byte offset; `lineNumber` becomes the number of the last line
    // read. Within the bytes already buffered no device access is needed.
    void Seek(qint64 position, qint64 lineNumber = 0);
    void SetLineNumber(qint64 lineNumber) { FLineNumber = lineNumber; }
    // Writes buffered bytes to the device.
    void Flush();
    // Overwrites bytes that are still in the write buffer; false (and
    // nothing changed) unless all of them are.
    bool PatchPending(qint64 position, const QByteArray& bytes);
    // Forgets buffered bytes, written or read ahead, without touching the device.
    void Discard();

    QByteArray Encode(const QString& text);
    QString Decode(const QByteArray& bytes);

  private:
    void Init(QIODevice& device, TEIEncoding encoding);
    bool Fill();
    void DropReadBuffer();
    // Readies the write buffer for more bytes; the bytes it holds.
    qsizetype StartPending();
    [[noreturn]] void Fail(const QString& what) const;

    std::unique_ptr<QFile> FOwnedFile;
    QIODevice* FDevice = nullptr;
    QString FName;
    TEIEncoding FEncoding = eeUTF8;
    QStringEncoder FEncoder;
    QStringDecoder FDecoder;

    QByteArray FBuffer;  // bytes read ahead, starting at device offset FBufferStart
    qsizetype FBufferPos = 0;
    qint64 FBufferStart = 0;
    qint64 FLimit = -1;  // end of the readable range, -1 for none

    QByteArray FPending;  // bytes to write at FPendingStart
    qint64 FPendingStart = 0;

    qint64 FLineNumber = 0;
    bool FLastTerminated = false;
};
