#include "tracelog.h"

#include <QDateTime>
#include <atomic>

#include "threadname.h"

namespace {
std::atomic<TTraceLog*> gCurrent{nullptr};
}

TTraceLog::TTraceLog(const QString& fileName) : FFile(fileName) {
    FForced = qgetenv("PELVAR_TRACE") == "1";
    gCurrent = this;
}

TTraceLog::~TTraceLog() {
    TTraceLog* self = this;
    gCurrent.compare_exchange_strong(self, nullptr);
}

TTraceLog* TTraceLog::Current() {
    return gCurrent;
}

void TTraceLog::SetTracing(bool on) {
    QMutexLocker lock(&FLock);
    FTracing = on;
}

void TTraceLog::Trace(const QString& routine) {
    QMutexLocker lock(&FLock);
    if (!FTracing && !FForced) return;
    if (!FFile.isOpen() && !FFile.open(QIODevice::Append | QIODevice::Text)) return;
    const QString line = QStringLiteral("%1 [%2] %3\n")
                             .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs),
                                  CurrentThreadName(), routine);
    FFile.write(line.toUtf8());
    FFile.flush();
}
