#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

#include "basekit/variant.h"
#include "dsptree.h"
#include "notifiers.h"

class TDatabase;

// The description of one DSP structure (everything but its body).
struct TDSPListItem {
    QString Name;
    int ObjectType = 0;
    QString TableName;
    QString ParentName;
    QString Remark;
    TQXVariant LastChange;  // date and time, or NULL
};

// How TDSPList::Sort orders structures.
enum TDSPSortKind {
    dskByName = 0,         // name, then type
    dskByTypeAndName = 1,  // type, then name
    dskForExport = 2,      // type, ancestors before their descendants, then name
};

class TDSPList {
  public:
    int Count() const { return int(FItems.size()); }
    TDSPListItem& Items(int index) { return FItems[size_t(index)]; }
    const TDSPListItem& Items(int index) const { return FItems[size_t(index)]; }
    void AddCopy(const TDSPListItem& item) { FItems.push_back(item); }
    void Assign(const TDSPList& other) { FItems = other.FItems; }
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    void Clear() { FItems.clear(); }
    TDSPListItem* Find(const QString& name, int objectType);
    void Sort(int sortKind);

  private:
    std::vector<TDSPListItem> FItems;
};

// Change kinds reported to DSP notifiers.
enum TDSPChangeKind { dckChanged = 0, dckAdded = 1, dckDeleted = 2, dckAll = 3 };

struct TDSPNotifierTag {};
// Called with (kind, structure name, object type); kind dckAll (3) means the
// whole store changed (name empty, type 0).
using TDSPNotifier = TStoreNotifier<TDSPNotifierTag, int, QString, int>;

// A structure's identity in the caches: hashed without building a string.
struct TDSPKey {
    QString Name;
    int Type = 0;
    bool operator==(const TDSPKey&) const = default;
};
inline size_t qHash(const TDSPKey& key, size_t seed = 0) noexcept {
    return qHashMulti(seed, key.Name, key.Type);
}

// The DSP structure store of one database (table QXMAIL_DSP). The list of
// structures is cached until Refresh; bodies are read on demand. Every write
// stamps LASTCHANGE and notifies every DSP notifier of the database.
class TDSPTable {
  public:
    // The empty alias names the default database at the time of construction.
    explicit TDSPTable(const QString& alias);
    const QString& Alias() const { return FAlias; }

    // Structures of one type, or of every type for 0, ordered by name and type.
    void FillStructuresList(int objectType, TDSPList& list);
    bool DSPStructureExist(const QString& name, int objectType);
    // Raises EDSPError when the structure does not exist.
    QByteArray GetStructure(const QString& name, int objectType);
    // Stores the body, creating the structure when it does not exist.
    void PutStructure(const QString& name, int objectType, const QByteArray& body);
    void DeleteStructure(const QString& name, int objectType);
    bool GetStructureProperties(const QString& name, int objectType, TDSPListItem& item);
    // Sets parent, table name and remark, creating the structure (with an empty
    // body) when it does not exist.
    void ChangeStructureProperties(const QString& name, int objectType, const QString& parentName,
                                   const QString& tableName, const QString& remark);
    // The names of the structure's inheritance chain, root ancestor first and
    // the structure itself last. Raises EDSPError for a missing structure or a
    // cycle.
    void FillHierarchy(const QString& name, int objectType, QStringList& list);
    // Forgets the cache and tells every notifier that the whole store changed.
    void Refresh();
    // Forgets the cache without notifying (the database was closed).
    void DropCache();

    static const QString kTableName;

  private:
    TDatabase& Db() const;
    void EnsureLoaded();
    void Reindex();
    void Insert(TDSPListItem item, const QByteArray& body);
    const TDSPListItem* Lookup(const QString& name, int objectType);
    void Notify(int kind, const QString& name, int objectType);
    QString FAlias;
    bool FLoaded = false;
    quint64 FVersion = 0;                  // of the store when the cache was read
    quint64 FSeenAllWrites = ~quint64(0);  // the hub's count of all writes at the last check
    std::vector<TDSPListItem> FItems;      // store order
    QHash<TDSPKey, int> FIndex;            // position in FItems
};

// Store objects, one per database, alive until the platform ends.
class TDSPContainer {
  public:
    TDSPTable& GetDSPTable(const QString& alias);
    void DropCaches(const QString& alias);

  private:
    std::map<QString, std::unique_ptr<TDSPTable>> FTables;
};
