#include "eidisk.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

#include "eistream.h"

namespace EIDisk {

namespace {

TFaultHook& Hook() {
    static TFaultHook hook;
    return hook;
}

// How many more bytes the disk takes, -1 for no limit.
qint64 Limit(qint64 bytes) {
    return Hook() ? Hook()(bytes) : -1;
}

QString DiskFull() {
    return QStringLiteral("the disk is full");
}

QString ErrnoText(int code) {
    return code == ENOSPC || code == EDQUOT ? DiskFull() : QString::fromLocal8Bit(strerror(code));
}

[[noreturn]] void RaiseWrite(const QString& name, const QString& what) {
    throw EEIFileError(name.isEmpty() ? QStringLiteral("Cannot write: %1").arg(what)
                                      : QStringLiteral("Cannot write file %1: %2").arg(name, what));
}

// After a rename the folder holds the new name; without a sync of the folder
// a power cut may bring the old one back. Best effort: the rename is done, and
// some file systems cannot sync a folder.
void SyncFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void SetFaultHook(TFaultHook hook) {
    Hook() = std::move(hook);
}

void Write(QIODevice& device, const QByteArray& bytes, const QString& name) {
    const qint64 limit = Limit(bytes.size());
    const qint64 allowed = limit < 0 ? bytes.size() : qMin<qint64>(limit, bytes.size());
    const char* data = bytes.constData();
    for (qint64 left = allowed; left > 0;) {
        // A full disk first takes what fits and only the next write fails,
        // with the reason.
        const qint64 written = device.write(data, left);
        if (written <= 0) {
            const auto* file = qobject_cast<QFileDevice*>(&device);
            RaiseWrite(name, file && file->error() == QFileDevice::ResourceError
                                 ? DiskFull()
                                 : device.errorString());
        }
        data += written;
        left -= written;
    }
    if (allowed < bytes.size()) RaiseWrite(name, DiskFull());
}

void Sync(QFileDevice& file, const QString& name) {
    if (Limit(0) >= 0) RaiseWrite(name, DiskFull());
    if (!file.flush()) RaiseWrite(name, file.errorString());
    if (::fsync(file.handle()) != 0) RaiseWrite(name, ErrnoText(errno));
}

void Resize(QFileDevice& file, qint64 size, const QString& name) {
    const bool refused = Limit(0) >= 0;
    if (refused || !file.resize(size))
        throw EEIFileError(QStringLiteral("Cannot cut file %1 back: %2")
                               .arg(name, refused ? DiskFull() : file.errorString()));
}

TReplacement::TReplacement(const QString& target) : FName(target), FTarget(target) {
    // Replace a link's target, not the link.
    const QFileInfo info(target);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty()) FTarget = info.canonicalFilePath();
    for (int attempt = 0; attempt < 16; ++attempt) {
        FFile.setFileName(QStringLiteral("%1.%2.tmp")
                              .arg(FTarget)
                              .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')));
        if (FFile.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) return;
        if (!FFile.exists()) break;  // not a name clash
    }
    RaiseWrite(FName, FFile.errorString());
}

TReplacement::~TReplacement() {
    if (FCommitted) return;
    FFile.close();
    FFile.remove();
}

void TReplacement::Commit() {
    Sync(FFile, FName);
    // The owner, group and other bits; the "user" bits describe us. A new
    // file keeps the permissions it was made with.
    const QFileInfo target(FTarget);
    if (target.exists()) {
        const QFile::Permissions permissions =
            target.permissions() &
            ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
        if (!FFile.setPermissions(permissions)) RaiseWrite(FName, FFile.errorString());
    }
    FFile.close();
    if (::rename(QFile::encodeName(FFile.fileName()).constData(),
                 QFile::encodeName(FTarget).constData()) != 0)
        RaiseWrite(FName, ErrnoText(errno));
    FCommitted = true;
    SyncFolder(QFileInfo(FTarget).absolutePath());
}

}  // namespace EIDisk
