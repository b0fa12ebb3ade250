#pragma once

#include <QMutex>
#include <QObject>
#include <functional>

#include "model/changelist.h"

class QTimer;

// A window's queue of change notifications. Objects add paths from any
// thread; the owner's thread takes one entry per pass of its event loop, while
// entries are queued. The lock is held only around the list itself.
class TChangeQueue : public QObject {
  public:
    // Process handles one entry (Take) and answers true when no more work is pending.
    TChangeQueue(QObject* parent, std::function<bool()> Process);

    // May be called from any thread.
    void Add(const QString& FullPath);
    // Moves the first entry into FullPath; LastOne tells whether fewer than
    // two were queued. False, FullPath unchanged, when the queue is empty.
    bool Take(QString& FullPath, bool& LastOne);
    int Count() const;
    void Clear();
    // No more passes: the owner is going away.
    void Stop();

  private:
    void Schedule();
    void RunPass();

    TPelvarChangeList FList;
    mutable QMutex FLock;
    QTimer* FIdleTimer;
    std::function<bool()> FProcess;
    bool FStopped = false;
};
