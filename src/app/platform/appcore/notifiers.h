#pragma once

#include <QHash>
#include <QList>
#include <QRecursiveMutex>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <utility>

// Runs every call it is given, even after one throws, and then rethrows the
// first error, once.
class TFirstError {
  public:
    template <typename TCall>
    void Run(TCall&& call) {
        try {
            call();
        } catch (...) {
            if (!FError) FError = std::current_exception();
        }
    }
    void Rethrow() {
        if (FError) std::rethrow_exception(std::exchange(FError, nullptr));
    }

  private:
    std::exception_ptr FError;
};

// Process-wide subscriptions to the changes of one kind of store, by database.
// Every write through any store object of the process notifies every
// subscriber of that database, on the writing thread. A subscription that is
// removed (even from inside a notification) is never called again. `Tag`
// keeps the hubs of different stores apart.
// A subscriber that throws does not keep the others from hearing of the write:
// all are called, then the first error goes to the writer. Stores notify once
// the write is done (stored, cached, version moved on), so the store stays
// consistent; the writer reports the error as it reports its own, on its own
// thread (which may be a worker, where no window can be shown), and a writer
// inside a transaction of its caller rolls that back like any other failure.
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
        TFirstError errors;
        for (const TEntry& e : snapshot) {
            if (e.Alias != key || !Alive(e.Id)) continue;
            if (e.Handler) errors.Run([&] { e.Handler(args...); });
        }
        errors.Rethrow();
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
        FAllWrites.fetch_add(1);
        return ++FVersions[alias.toUpper()];
    }
    // Moves on with every write of any database: a reader that saw the same
    // number before has nothing to check, without the lock.
    quint64 AllWrites() const { return FAllWrites.load(); }

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
    std::atomic<quint64> FAllWrites{0};
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
