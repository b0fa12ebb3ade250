#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

#include "eisection.h"
#include "eistream.h"

class TEIObject;
class TEIFile;
struct TEIIndex;

// Something that holds export/import sections.
class TEISource {
  public:
    virtual ~TEISource();

    // Indexes the sections.
    virtual void Open() = 0;
    // Removes the sections given by their decimal indexes; indexes out of
    // range raise EEIFileError and change nothing.
    virtual void DeleteSections(const QStringList& indexes) = 0;
    // The name that messages about the source use.
    virtual QString SourceName() const = 0;
    // A fresh read-only device over the source, for a section's data reader.
    virtual std::unique_ptr<QIODevice> OpenDataDevice() const = 0;

    TEISectionList& Sections() { return FSections; }
    const TEISectionList& Sections() const { return FSections; }
    // A fresh object loaded from the section; a class nobody knows gives a
    // TEIUnknownObject.
    std::unique_ptr<TEIObject> CreateEIObject(int index) const;
    // The index of the first section of the class whose parameter holds the
    // value (compared upper-cased), or -1.
    int FindSection(const QString& sectionClass, const QString& parameter,
                    const QString& value) const;

    TEIEncoding Encoding() const { return FEncoding; }
    bool Release17() const { return FRelease17; }

  protected:
    TEISource() = default;
    TEISource(const TEISource&) = delete;
    TEISource& operator=(const TEISource&) = delete;

    TEISectionList FSections;
    TEIEncoding FEncoding = eeUTF8;
    bool FRelease17 = false;
};

// Writes one section at the end of its file. Data lines go straight to the
// file; Commit fills in the counts and then writes END. A writer that ends
// without Commit (an exception on the way) cuts the file back to where the
// section began. A killed process leaves a section without END, which
// readers leave out and the next write cuts off.
class TEISectionWriter {
  public:
    TEISectionWriter(TEISectionWriter&& other) noexcept;
    TEISectionWriter& operator=(TEISectionWriter&&) = delete;
    ~TEISectionWriter();

    void Writeln(const QString& text);
    // `bytes` as base64 in lines of `lineLength` characters (a multiple of 4),
    // which read alike in every encoding: encoded straight into the output.
    void WriteBase64Lines(QByteArrayView bytes, qsizetype lineLength);
    qint64 LineCount() const { return FInfo.LineCount; }
    // Rewrites a parameter value in place; the new value must take exactly
    // as many bytes as the one written (zero-padded numbers do).
    void PatchParameter(const QString& name, const QString& value);
    TEISection& Commit();
    // Drops the section written so far.
    void Abandon();
    bool Active() const { return FFile != nullptr; }

  private:
    friend class TEIFile;
    explicit TEISectionWriter(TEIFile& file);
    void Begin(const QString& className, const QString& name,
               const TEISectionParameters& parameters);
    TEIStream& Stream();
    void Detach();

    struct TSpot {
        qint64 Offset;
        qsizetype Bytes;
    };
    TEIFile* FFile = nullptr;
    TEISectionInfo FInfo;
    QList<TSpot> FParameterSpots;  // where each parameter value was written
    qint64 FCountsAt = 0;          // where the DATA counts are
    qint64 FLinesBefore = 0;       // lines of the file before the section
    QByteArray FLine;              // reused by WriteBase64Lines
};

// An export/import file.
class TEIFile : public TEISource {
  public:
    TEIFile() = default;
    explicit TEIFile(const QString& fileName) : FFileName(fileName) {}
    ~TEIFile() override;

    const QString& FileName() const { return FFileName; }
    // Closes the file first.
    void SetFileName(const QString& fileName);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    bool Opened() const { return FOpened; }
    // Empty, or "File <name>, line <n>: ..." when the file ends in a section
    // whose writer was stopped before its END. Such a section is left out;
    // the next write to the file cuts it off.
    const QString& UnfinishedSectionNote() const { return FTailNote; }

    // Makes the file anew, holding only the header, and leaves it open.
    void Create(TEIEncoding encoding = eeUTF8, bool release17 = false);
    // Raises "File <name> not found" for a missing file.
    void Open() override;
    // Opens, then readies the file for sections written at its end.
    void OpenForAppend();
    // Drops an unfinished section and forgets the sections.
    void Close();
    // A file nobody else reads while it is written (a new export under a
    // temporary name) keeps finished sections in the write buffer instead of
    // handing each to the system; Close and every read of this object still
    // see them, and Close reports a write that fails.
    void SetDeferredFlush(bool deferred) { FDeferredFlush = deferred; }
    // Raises "The export/import file <name> is read-only" unless we may write
    // (a missing file may be written).
    void CheckWritable() const;

    // Starts a section at the end of the file. One section at a time.
    TEISectionWriter BeginSection(const QString& className, const QString& name,
                                  const TEISectionParameters& parameters = {});
    // Writes the object as one section.
    TEISection& AddObject(const TEIObject& object);
    // Rewrites the file without the sections into a temporary file beside it
    // and renames that over the original, then indexes it again. Surviving
    // sections keep their objects.
    void DeleteSections(const QStringList& indexes) override;

    QString SourceName() const override { return FFileName; }
    std::unique_ptr<QIODevice> OpenDataDevice() const override;

  private:
    friend class TEISectionWriter;
    void CheckOpened() const;
    void ApplyIndex(TEIIndex& index);
    // What the index says about the file as a whole.
    void ApplyFileState(const TEIIndex& index);
    TEIStream& WriteStream();
    void CloseWriteHandle();

    QString FFileName;
    bool FReadOnly = false;
    bool FOpened = false;
    qint64 FLineCount = 0;
    bool FEndsWithNewline = true;
    qint64 FTailStart = -1;  // the unfinished section's start, -1 for none
    QString FTailNote;
    std::unique_ptr<QFile> FWriteFile;
    std::unique_ptr<TEIStream> FWriteStream;  // over FWriteFile
    TEISectionWriter* FActiveWriter = nullptr;
    bool FDeferredFlush = false;
};
