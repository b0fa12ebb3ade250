#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TAliasCounter;

// The registration of one alias node with the alias counter: its handler is
// called with a database name whenever a database enters or leaves use.
class TAliasNotifier {
  public:
    using THandler = std::function<void(const QString& databaseName)>;
    TAliasNotifier(const void* owner, THandler handler)
        : FOwner(owner), FHandler(std::move(handler)) {}
    // Unregisters itself.
    ~TAliasNotifier();
    TAliasNotifier(const TAliasNotifier&) = delete;
    TAliasNotifier& operator=(const TAliasNotifier&) = delete;

    const void* Owner() const { return FOwner; }
    const THandler& Handler() const { return FHandler; }

  private:
    const void* FOwner;
    THandler FHandler;
};

// Which databases are in use and how many open alias nodes hold each. The
// default (login) database is never counted.
class TAliasCounter {
  public:
    // Adds one use; a database entering use is announced upper-cased.
    void AddDatabase(const QString& name);
    // Removes one use; the last removal announces the name as passed.
    void RemoveDatabase(const QString& name);
    int GetUsed(const QString& name) const;
    void AddNotifier(TAliasNotifier* notifier);
    void RemoveNotifier(TAliasNotifier* notifier);

    int Count() const { return int(FEntries.size()); }
    QString Names(int index) const { return FEntries[index].Name; }
    int Uses(int index) const { return FEntries[index].Count; }
    QStringList Databases() const;
    int NotifierCount() const { return int(FNotifiers.size()); }

  private:
    int IndexOf(const QString& name) const;
    void Notify(const QString& name);
    struct TEntry {
        QString Name;
        int Count = 0;
    };
    QList<TEntry> FEntries;
    QList<TAliasNotifier*> FNotifiers;
};

// The process-wide counter.
TAliasCounter& AliasCounter();
