#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

// Checked changes to export/import files on the disk. Every failure raises
// EEIFileError naming the file; a full disk says so.
namespace EIDisk {

// Test seam for the disk's faults. It hears every change before it reaches
// the disk: a write with its size, a sync or a cut with 0. It answers how many
// more bytes the disk takes, -1 for no limit. A larger write stores only that
// many bytes and fails as on a full disk; a sync or a cut fails on any answer
// but -1. The hook may also end the process, as a kill would.
using TFaultHook = std::function<qint64(qint64 bytes)>;
void SetFaultHook(TFaultHook hook);

// Writes all the bytes at the device's position (a short write is retried for
// the rest).
void Write(QIODevice& device, const QByteArray& bytes, const QString& name);
// Makes what was written to the file durable.
void Sync(QFileDevice& file, const QString& name);
// Cuts the file at `size`.
void Resize(QFileDevice& file, qint64 size, const QString& name);

// A new file written beside `target` that replaces it (or, when there is no
// target yet, becomes it) only through Commit, once every write and the sync
// have succeeded. Otherwise it is removed and the target stays as it was.
class TReplacement {
  public:
    explicit TReplacement(const QString& target);
    ~TReplacement();
    TReplacement(const TReplacement&) = delete;
    TReplacement& operator=(const TReplacement&) = delete;

    QFile& File() { return FFile; }
    void Write(const QByteArray& bytes) { EIDisk::Write(FFile, bytes, FName); }
    // Syncs, takes over the target's permissions and renames over the target.
    void Commit();

  private:
    QString FName;    // the file as the user named it, for messages
    QString FTarget;  // the file to replace (a link's target)
    QFile FFile;
    bool FCommitted = false;
};

}  // namespace EIDisk
