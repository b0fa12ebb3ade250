#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <functional>

#include "errorof.h"
#include "opkit/eidisk.h"
#include "opkit/eistream.h"
#include "printers.h"

inline QByteArray ReadBytes(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline void WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The message of the EEIFileError that `action` raises, or "<no error>".
inline QString EIErrorOf(const std::function<void()>& action) {
    return ErrorOf<EEIFileError>(action);
}

// Readable QString values in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

// Installs a disk fault hook for the scope.
class TDiskFaults {
  public:
    explicit TDiskFaults(EIDisk::TFaultHook hook) { EIDisk::SetFaultHook(std::move(hook)); }
    ~TDiskFaults() { EIDisk::SetFaultHook({}); }
    TDiskFaults(const TDiskFaults&) = delete;
    TDiskFaults& operator=(const TDiskFaults&) = delete;

    // A disk with `room` bytes free.
    static EIDisk::TFaultHook Room(qint64 room) {
        return [room](qint64 bytes) mutable -> qint64 {
            const qint64 taken = room;
            room = qMax<qint64>(0, room - bytes);
            return bytes <= taken ? -1 : taken;
        };
    }
};
