#pragma once

#include <QMutex>
#include <algorithm>
#include <vector>

// A list shared between threads: every access holds the list's lock.
template <typename T>
class TQXThreadList {
  public:
    // Runs `f` with the list locked; `f` receives the underlying vector.
    template <typename F>
    auto Locked(F&& f) {
        QMutexLocker lock(&FLock);
        return f(FItems);
    }
    void Add(const T& item) {
        QMutexLocker lock(&FLock);
        FItems.push_back(item);
    }
    bool Remove(const T& item) {
        QMutexLocker lock(&FLock);
        auto it = std::find(FItems.begin(), FItems.end(), item);
        if (it == FItems.end()) return false;
        FItems.erase(it);
        return true;
    }
    bool Contains(const T& item) const {
        QMutexLocker lock(&FLock);
        return std::find(FItems.begin(), FItems.end(), item) != FItems.end();
    }
    // Takes the first item; false (and `out` untouched) when the list is empty.
    bool TakeFirst(T& out) {
        QMutexLocker lock(&FLock);
        if (FItems.empty()) return false;
        out = FItems.front();
        FItems.erase(FItems.begin());
        return true;
    }
    void Clear() {
        QMutexLocker lock(&FLock);
        FItems.clear();
    }
    int Count() const {
        QMutexLocker lock(&FLock);
        return int(FItems.size());
    }
    std::vector<T> Snapshot() const {
        QMutexLocker lock(&FLock);
        return FItems;
    }

  private:
    mutable QMutex FLock;
    std::vector<T> FItems;
};
