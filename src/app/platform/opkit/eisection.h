#pragma once

#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "eistream.h"

class TEISource;

// The named parameters of a section, in file order. Names compare without
// regard to case.
class TEISectionParameters {
  public:
    // The value, or the empty text when there is no such parameter.
    QString GetValues(const QString& name) const;
    // Replaces the value of an existing parameter, else appends one.
    void SetValues(const QString& name, const QString& value);
    bool Contains(const QString& name) const { return Find(name) >= 0; }
    int Count() const { return int(FItems.size()); }
    QStringList Names() const;
    const QString& Name(int index) const { return FItems[index].first; }
    const QString& Value(int index) const { return FItems[index].second; }
    void Clear() { FItems.clear(); }
    bool operator==(const TEISectionParameters&) const = default;

  private:
    int Find(const QString& name) const;
    QList<QPair<QString, QString>> FItems;
};

// Where a section lies in its file, as the index pass or the writer found it.
struct TEISectionInfo {
    QString ClassName;
    QString Name;
    TEISectionParameters Parameters;
    qint64 Line = 0;       // the SECTION line
    qint64 Start = 0;      // byte range of the whole section, END line included
    qint64 End = 0;        //
    qint64 DataStart = 0;  // byte range of the data lines
    qint64 DataEnd = 0;    //
    qint64 DataLine = 0;   // line number of the first data line
    qint64 LineCount = 0;  // number of data lines
};

// Reads the data lines of one section, decoded: without the ">" or "~" mark
// and unescaped. Reads through a device of its own, so several readers and
// the file's writer do not disturb each other.
class TEISectionDataReader {
  public:
    TEISectionDataReader(TEISectionDataReader&&) noexcept = default;
    TEISectionDataReader& operator=(TEISectionDataReader&&) noexcept = default;
    ~TEISectionDataReader();

    // False after the last data line. Raises EEIFileError (file name, line)
    // when the data does not match what the section announced.
    bool Readln(QString& text);
    qint64 LinesRead() const { return FRead; }
    qint64 LineCount() const { return FCount; }
    // Line number in the file of the last line read.
    qint64 LineNumber() const { return FStream->LineNumber(); }
    // Byte offset in the file of the next line.
    qint64 Position() const { return FStream->Position(); }
    const QString& FileName() const { return FFileName; }

  private:
    friend class TEISection;
    TEISectionDataReader(std::unique_ptr<QIODevice> device, const TEISectionInfo& info,
                         TEIEncoding encoding, QString fileName);
    std::unique_ptr<QIODevice> FDevice;  // before FStream: outlives it
    std::unique_ptr<TEIStream> FStream;
    QString FFileName;
    qint64 FCount = 0;
    qint64 FRead = 0;
    qint64 FEnd = 0;
};

// One section of an export/import file.
class TEISection {
  public:
    const QString& ClassName() const { return FInfo.ClassName; }
    const QString& Name() const { return FInfo.Name; }
    TEISectionParameters& Parameters() { return FInfo.Parameters; }
    const TEISectionParameters& Parameters() const { return FInfo.Parameters; }
    // Position in the file's section list; -1 once the section was deleted.
    int Index() const { return FIndex; }
    qint64 LineCount() const { return FInfo.LineCount; }
    qint64 LineNumber() const { return FInfo.Line; }
    const TEISectionInfo& Info() const { return FInfo; }
    TEISource* Source() const { return FSource; }

    TEISectionDataReader OpenData() const;

    // Sections are made by their file's index pass and writer.
    TEISection(TEISource* source, TEISectionInfo info) : FSource(source), FInfo(std::move(info)) {}

  private:
    friend class TEISectionList;
    TEISource* FSource;
    TEISectionInfo FInfo;
    int FIndex = -1;
};

// The sections of a file in file order. Sections that leave the list (deleted,
// or replaced by a fresh index) stay allocated until the list is cleared, so
// a pointer kept by a browser never aliases a newer section: IndexOf gives -1.
class TEISectionList {
  public:
    int GetCount() const { return int(FItems.size()); }
    // Raises EEIFileError for an index out of range.
    TEISection* GetSections(int index) const;
    int IndexOf(const TEISection* section) const;

  private:
    friend class TEISource;
    friend class TEIFile;
    friend class TEISectionWriter;
    TEISection& Add(TEISource* source, TEISectionInfo info);
    // Drops every section (kept alive as retired).
    void RetireAll();
    // Keeps the sections not in `removed` (sorted indexes), giving them the
    // infos of `fresh` in order.
    void Rebuild(const std::vector<int>& removed, std::vector<TEISectionInfo> fresh);
    void Clear();
    void Renumber();
    std::vector<std::unique_ptr<TEISection>> FItems;
    std::vector<std::unique_ptr<TEISection>> FRetired;
};
