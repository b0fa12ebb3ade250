#include "changequeue.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

TChangeQueue::TChangeQueue(QObject* parent, std::function<bool()> Process)
    : QObject(parent), FIdleTimer(new QTimer(this)), FProcess(std::move(Process)) {
    FIdleTimer->setInterval(0);
    connect(FIdleTimer, &QTimer::timeout, this, [this] { RunPass(); });
}

void TChangeQueue::Add(const QString& FullPath) {
    {
        QMutexLocker lock(&FLock);
        FList.AddChange(FullPath);
    }
    if (QThread::currentThread() == thread())
        Schedule();
    else
        QMetaObject::invokeMethod(
            this, [this] { Schedule(); }, Qt::QueuedConnection);
}

bool TChangeQueue::Take(QString& FullPath, bool& LastOne) {
    QMutexLocker lock(&FLock);
    LastOne = FList.Count() < 2;
    return FList.GetNextChange(FullPath);
}

int TChangeQueue::Count() const {
    QMutexLocker lock(&FLock);
    return FList.Count();
}

void TChangeQueue::Clear() {
    QMutexLocker lock(&FLock);
    FList.Clear();
}

void TChangeQueue::Stop() {
    FStopped = true;
    FIdleTimer->stop();
}

void TChangeQueue::Schedule() {
    if (!FStopped && !FIdleTimer->isActive()) FIdleTimer->start();
}

void TChangeQueue::RunPass() {
    const bool done = FProcess();
    if (done && Count() == 0) FIdleTimer->stop();
}
