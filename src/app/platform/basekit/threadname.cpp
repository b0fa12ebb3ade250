#include "threadname.h"

#include <pthread.h>

#include <QThread>

namespace {
thread_local QString tName;
}

void SetCurrentThreadName(const QString& name) {
    tName = name;
    if (QThread* t = QThread::currentThread()) t->setObjectName(name);
    pthread_setname_np(pthread_self(), name.left(15).toLocal8Bit().constData());
}

QString CurrentThreadName() {
    return tName;
}
