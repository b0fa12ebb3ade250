#pragma once

#include <QString>
#include <memory>
#include <vector>

class TEIFile;

// One open export/import file and how many file roots hold it.
struct TFileItem {
    QString FileName;  // full path, compared exactly
    std::unique_ptr<TEIFile> EIFile;
    int UseCount = 0;
};

// The files the explorer windows show, shared per file name: two windows on
// one file see one file object, so a change made through one is the other's.
class TFileCounter {
  public:
    TFileCounter();
    ~TFileCounter();
    TFileCounter(const TFileCounter&) = delete;
    TFileCounter& operator=(const TFileCounter&) = delete;

    // Opens the file (a missing one is created empty) with one use. A file
    // that cannot be written is marked read-only. Raises what opening raises,
    // and then holds nothing of the file.
    TEIFile* AddFile(const QString& FileName);
    TEIFile* GetFile(const QString& FileName) const;
    int GetUsed(const QString& FileName) const;
    // Takes one use away; the last frees the file object.
    void RemoveFile(const QString& FileName);
    // One more use of a file already held; false when it is not.
    bool AddUse(const QString& FileName);
    int Count() const { return int(FItems.size()); }

  private:
    TFileItem* Find(const QString& FileName) const;
    std::vector<std::unique_ptr<TFileItem>> FItems;
};

// The process-wide file counter.
TFileCounter& FileCounter();
