#include "prockit.h"

#include <QMutex>
#include <map>

namespace {
QMutex gLock;
std::map<int, std::function<void()>> gResets;
int gNext = 0;
}  // namespace

int RegisterProcContainer(std::function<void()> reset) {
    QMutexLocker lock(&gLock);
    gResets[++gNext] = std::move(reset);
    return gNext;
}

void UnregisterProcContainer(int id) {
    QMutexLocker lock(&gLock);
    gResets.erase(id);
}

void ResetProcContainer() {
    std::map<int, std::function<void()>> resets;
    {
        QMutexLocker lock(&gLock);
        resets = gResets;
    }
    for (auto& [id, reset] : resets)
        reset();
}
