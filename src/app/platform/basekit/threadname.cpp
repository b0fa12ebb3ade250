#include "threadname.h"

#include <pthread.h>

#include <QThread>

namespace {
thread_local QString tName;
}

void SetCurrentThreadName(const QString& name) {
    tName = name;
    if (QThread* t = QThread::currentThread()) t->setObjectName(name);
    // The system takes at most 15 bytes and refuses longer names outright: cut
    // the UTF-8 form at a character boundary.
    QByteArray bytes = name.toUtf8();
    int cut = qMin(15, int(bytes.size()));
    while (cut > 0 && cut < bytes.size() && (quint8(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    bytes.truncate(cut);
    pthread_setname_np(pthread_self(), bytes.constData());
}

QString CurrentThreadName() {
    return tName;
}
