#pragma once

#include <QHash>
#include <QList>
#include <QRecursiveMutex>
#include <QString>
#include <functional>

// Process-wide subscriptions to the changes of one kind of store, by database.
// Every write through any store object of the process notifies every
// subscriber of that database, on the writing thread. A subscription that is
// removed (even from inside a notification) is never called again. `Tag`
// keeps the hubs of different stores apart.
template <typename Tag, typename... Args>
class TNotifierHub {
  public:
    using THandler = std::function<void(Args...)>;

    int Subscribe(const QString& alias, THandler handler) {
        QMutexLocker lock(&FLock);
        const int id = ++FNextId;
        FEntries.append(TEntry{id, alias.toUpper(), std::move(handler)});
        return id;
    }

    void Unsubscribe(int id) {
        QMutexLocker lock(&FLock);
        for (int i = 0; i < FEntries.size(); ++i)
            if (FEntries[i].Id == id) {
                FEntries.removeAt(i);
                return;
            }
    }

    void Notify(const QString& alias, Args... args) {
        QMutexLocker lock(&FLock);
        const QString key = alias.toUpper();
        const QList<TEntry> snapshot = FEntries;
        for (const TEntry& e : snapshot) {
            if (e.Alias != key || !Alive(e.Id)) continue;
            if (e.Handler) e.Handler(args...);
        }
    }

    // Each write moves its database's version on. Store objects compare it with
    // the version they read their cache at, so a write through one store object
    // is seen by every other object of the same database.
    quint64 Version(const QString& alias) {
        QMutexLocker lock(&FLock);
        return FVersions.value(alias.toUpper());
    }
    quint64 NextVersion(const QString& alias) {
        QMutexLocker lock(&FLock);
        return ++FVersions[alias.toUpper()];
    }

    int Count(const QString& alias) {
        QMutexLocker lock(&FLock);
        int n = 0;
        for (const TEntry& e : FEntries)
            n += e.Alias == alias.toUpper() ? 1 : 0;
        return n;
    }

    static TNotifierHub& Instance() {
        static TNotifierHub hub;
        return hub;
    }

  private:
    struct TEntry {
        int Id;
        QString Alias;
        THandler Handler;
    };
    bool Alive(int id) const {
        for (const TEntry& e : FEntries)
            if (e.Id == id) return true;
        return false;
    }
    QRecursiveMutex FLock;
    QList<TEntry> FEntries;
    QHash<QString, quint64> FVersions;
    int FNextId = 0;
};

// A subscription owned by a tree object: subscribes to one database's store,
// unsubscribes when replaced or destroyed.
template <typename Tag, typename... Args>
class TStoreNotifier {
  public:
    using THub = TNotifierHub<Tag, Args...>;
    using THandler = typename THub::THandler;
    TStoreNotifier() = default;
    explicit TStoreNotifier(THandler handler) : FHandler(std::move(handler)) {}
    ~TStoreNotifier() { Remove(); }
    TStoreNotifier(const TStoreNotifier&) = delete;
    TStoreNotifier& operator=(const TStoreNotifier&) = delete;

    void SetOwner(const void* owner) { FOwner = owner; }
    const void* Owner() const { return FOwner; }
    void SetCallback(THandler handler) { FHandler = std::move(handler); }
    bool Subscribed() const { return FId != 0; }
    const QString& Alias() const { return FAlias; }

    template <typename TStore>
    void AddTo(const TStore& store) {
        SubscribeAlias(store.Alias());
    }
    void SubscribeAlias(const QString& alias) {
        Remove();
        FAlias = alias.toUpper();
        // The handler is looked up at call time so SetCallback may come later,
        // and called through a copy: it may destroy this notifier while it runs.
        FId = THub::Instance().Subscribe(FAlias, [this](Args... a) {
            const THandler handler = FHandler;
            if (handler) handler(a...);
        });
    }
    void Remove() {
        if (FId) THub::Instance().Unsubscribe(FId);
        FId = 0;
    }

  private:
    THandler FHandler;
    const void* FOwner = nullptr;
    QString FAlias;
    int FId = 0;
};
