#include "dsptable.h"

#include <algorithm>
#include <numeric>

#include "database.h"
#include "dbmanager.h"
#include "platform.h"
#include "query.h"

const QString TDSPTable::kTableName = QStringLiteral("QXMAIL_DSP");

namespace {

TDSPKey Key(const QString& name, int type) {
    return {name, type};
}

QString Describe(const QString& name, int type) {
    return QStringLiteral("'%1' (type %2)").arg(name, QString::number(type));
}

bool StoreOrder(const TDSPListItem& a, const TDSPListItem& b) {
    const int c = QString::compare(a.Name, b.Name);
    return c != 0 ? c < 0 : a.ObjectType < b.ObjectType;
}

}  // namespace

TDSPListItem* TDSPList::Find(const QString& name, int objectType) {
    for (auto& i : FItems)
        if (i.ObjectType == objectType && i.Name == name) return &i;
    return nullptr;
}

void TDSPList::Sort(int sortKind) {
    switch (sortKind) {
        case dskByName:
            std::stable_sort(FItems.begin(), FItems.end(), StoreOrder);
            break;
        case dskByTypeAndName:
            std::stable_sort(FItems.begin(), FItems.end(),
                             [](const TDSPListItem& a, const TDSPListItem& b) {
                                 return a.ObjectType != b.ObjectType ? a.ObjectType < b.ObjectType
                                                                     : StoreOrder(a, b);
                             });
            break;
        case dskForExport: {
            // Depth of each structure among the listed ones of its type, so that
            // an importer meets every ancestor before its descendants.
            QHash<TDSPKey, const TDSPListItem*> byKey;
            for (const auto& i : FItems)
                byKey.insert(Key(i.Name, i.ObjectType), &i);
            auto depth = [&](const TDSPListItem& item) {
                int d = 0;
                const TDSPListItem* cur = &item;
                while (d <= int(FItems.size()) && !cur->ParentName.isEmpty()) {
                    const TDSPListItem* parent = byKey.value(Key(cur->ParentName, cur->ObjectType));
                    if (!parent) break;
                    cur = parent;
                    ++d;
                }
                return d;
            };
            std::vector<std::pair<int, TDSPListItem>> keyed;
            for (const auto& i : FItems)
                keyed.emplace_back(depth(i), i);
            std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
                if (a.second.ObjectType != b.second.ObjectType)
                    return a.second.ObjectType < b.second.ObjectType;
                if (a.first != b.first) return a.first < b.first;
                return StoreOrder(a.second, b.second);
            });
            FItems.clear();
            for (auto& k : keyed)
                FItems.push_back(std::move(k.second));
            break;
        }
        default:
            break;
    }
}

TDSPTable::TDSPTable(const QString& alias) : FAlias(BaseMng().Databases().ResolveAlias(alias)) {}

TDatabase& TDSPTable::Db() const {
    return BaseMng().Databases().GetDatabase(FAlias);
}

void TDSPTable::EnsureLoaded() {
    // Every lookup comes here: no write anywhere since the last check needs no lock.
    auto& hub = TDSPNotifier::THub::Instance();
    const quint64 allWrites = hub.AllWrites();
    if (FLoaded && allWrites == FSeenAllWrites) return;
    const quint64 version = hub.Version(FAlias);
    FSeenAllWrites = allWrites;  // read first: a write after it moves it on again
    if (FLoaded && FVersion == version) return;
    TDatabase& db = Db();
    if (!db.TableExists(kTableName))
        throw EDSPError(
            QStringLiteral(
                "The database %1 has no structure table %2: create its system tables first")
                .arg(FAlias, kTableName));
    std::vector<TDSPListItem> items;
    TSelectQuery q(
        db, QStringLiteral(
                "SELECT OBJECT_NAME, OBJECT_TYPE, TABLE_NAME, PARENT_OBJECT, REMARK, LASTCHANGE "
                "FROM QXMAIL_DSP"));
    for (q.Open(); !q.Eof(); q.Next()) {
        TRecord& r = q.Fields();
        TDSPListItem item;
        item.Name = r.GetFields(0).AsString();
        item.ObjectType = int(r.GetFields(1).AsInteger());
        item.TableName = r.GetFields(2).AsString();
        item.ParentName = r.GetFields(3).AsString();
        item.Remark = r.GetFields(4).AsString();
        item.LastChange =
            r.GetFields(5).IsNull() ? TQXVariant() : TQXVariant(r.GetFields(5).AsDateTime());
        items.push_back(std::move(item));
    }
    // Rows often come back in order already; otherwise an order of indexes is
    // sorted, which moves ints instead of whole items.
    if (std::is_sorted(items.begin(), items.end(), StoreOrder)) {
        FItems = std::move(items);
    } else {
        std::vector<int> order(items.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&items](int a, int b) {
            return StoreOrder(items[size_t(a)], items[size_t(b)]);
        });
        FItems.clear();
        FItems.reserve(items.size());
        for (int i : order)
            FItems.push_back(std::move(items[size_t(i)]));
    }
    Reindex();
    FLoaded = true;
    FVersion = version;
}

const TDSPListItem* TDSPTable::Lookup(const QString& name, int objectType) {
    EnsureLoaded();
    const auto it = FIndex.constFind(Key(name, objectType));
    return it == FIndex.constEnd() ? nullptr : &FItems[size_t(*it)];
}

void TDSPTable::Reindex() {
    FIndex.clear();
    FIndex.reserve(qsizetype(FItems.size()));
    for (size_t i = 0; i < FItems.size(); ++i)
        FIndex.insert(Key(FItems[i].Name, FItems[i].ObjectType), int(i));
}

void TDSPTable::Notify(int kind, const QString& name, int objectType) {
    // This cache already holds the change; other objects of the database reload.
    auto& hub = TDSPNotifier::THub::Instance();
    FVersion = hub.NextVersion(FAlias);
    hub.Notify(FAlias, kind, name, objectType);
}

void TDSPTable::FillStructuresList(int objectType, TDSPList& list) {
    EnsureLoaded();
    list.Clear();
    for (const auto& i : FItems)
        if (objectType == 0 || i.ObjectType == objectType) list.AddCopy(i);
}

bool TDSPTable::DSPStructureExist(const QString& name, int objectType) {
    return Lookup(name, objectType) != nullptr;
}

bool TDSPTable::GetStructureProperties(const QString& name, int objectType, TDSPListItem& item) {
    const TDSPListItem* found = Lookup(name, objectType);
    if (!found) return false;
    item = *found;
    return true;
}

QByteArray TDSPTable::GetStructure(const QString& name, int objectType) {
    EnsureLoaded();  // a database without the table fails with a clear message
    TSelectQuery q(
        Db(), QStringLiteral(
                  "SELECT INFO FROM QXMAIL_DSP WHERE OBJECT_NAME = :name AND OBJECT_TYPE = :type"));
    q.ParamByName(QStringLiteral("name")).SetValue(name);
    q.ParamByName(QStringLiteral("type")).SetValue(objectType);
    q.Open();
    if (q.Eof())
        throw EDSPError(QStringLiteral("DSP structure %1 not found in database %2")
                            .arg(Describe(name, objectType), FAlias));
    return q.Fields().GetFields(0).AsBinary();
}

namespace {

// The stamp of a write: now, but always later than the structure's last stamp,
// so that writes within one millisecond (or after the clock went back) still
// order. Stored with millisecond precision; the cache keeps what is stored.
QDateTime Stamp(const TQXVariant& last) {
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime stamp(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second(),
                                      now.time().msec()));
    if (!last.IsNull() && stamp <= last.AsDateTime()) stamp = last.AsDateTime().addMSecs(1);
    return stamp;
}

}  // namespace

void TDSPTable::PutStructure(const QString& name, int objectType, const QByteArray& body) {
    if (name.trimmed().isEmpty()) throw EDSPError(QStringLiteral("A DSP structure needs a name"));
    const TDSPListItem* existing = Lookup(name, objectType);
    const bool exists = existing != nullptr;
    const QDateTime now = Stamp(exists ? existing->LastChange : TQXVariant());
    TDatabase& db = Db();
    if (exists) {
        TExecQuery q(db, QStringLiteral("UPDATE QXMAIL_DSP SET INFO = :info, LASTCHANGE = :stamp "
                                        "WHERE OBJECT_NAME = :name AND OBJECT_TYPE = :type"));
        q.ParamByName(QStringLiteral("info")).SetValue(body);
        q.ParamByName(QStringLiteral("stamp")).SetValue(now);
        q.ParamByName(QStringLiteral("name")).SetValue(name);
        q.ParamByName(QStringLiteral("type")).SetValue(objectType);
        q.Execute();
        FItems[size_t(FIndex.value(Key(name, objectType)))].LastChange = now;
        Notify(dckChanged, name, objectType);
        return;
    }
    TDSPListItem item;
    item.Name = name;
    item.ObjectType = objectType;
    Insert(item, body);
}

void TDSPTable::Insert(TDSPListItem item, const QByteArray& body) {
    item.LastChange = Stamp(TQXVariant());
    TExecQuery q(Db(), QStringLiteral(
                           "INSERT INTO QXMAIL_DSP (OBJECT_TYPE, OBJECT_NAME, INFO, TABLE_NAME, "
                           "PARENT_OBJECT, REMARK, LASTCHANGE) VALUES (:type, :name, :info, :tab, "
                           ":parent, :remark, :stamp)"));
    q.ParamByName(QStringLiteral("type")).SetValue(item.ObjectType);
    q.ParamByName(QStringLiteral("name")).SetValue(item.Name);
    q.ParamByName(QStringLiteral("info")).SetValue(body);
    q.ParamByName(QStringLiteral("tab")).SetValue(item.TableName);
    q.ParamByName(QStringLiteral("parent")).SetValue(item.ParentName);
    q.ParamByName(QStringLiteral("remark")).SetValue(item.Remark);
    q.ParamByName(QStringLiteral("stamp")).SetValue(item.LastChange);
    q.Execute();
    const QString name = item.Name;
    const int type = item.ObjectType;
    // Keep the cache in store order.
    auto pos = std::lower_bound(FItems.begin(), FItems.end(), item, StoreOrder);
    FItems.insert(pos, std::move(item));
    Reindex();
    Notify(dckAdded, name, type);
}

void TDSPTable::DeleteStructure(const QString& name, int objectType) {
    EnsureLoaded();
    TExecQuery q(
        Db(),
        QStringLiteral("DELETE FROM QXMAIL_DSP WHERE OBJECT_NAME = :name AND OBJECT_TYPE = :type"));
    q.ParamByName(QStringLiteral("name")).SetValue(name);
    q.ParamByName(QStringLiteral("type")).SetValue(objectType);
    q.Execute();
    const auto it = FIndex.constFind(Key(name, objectType));
    if (it == FIndex.constEnd()) return;
    FItems.erase(FItems.begin() + *it);
    Reindex();
    Notify(dckDeleted, name, objectType);
}

void TDSPTable::ChangeStructureProperties(const QString& name, int objectType,
                                          const QString& parentName, const QString& tableName,
                                          const QString& remark) {
    if (name.trimmed().isEmpty()) throw EDSPError(QStringLiteral("A DSP structure needs a name"));
    // A parent whose own chain leads back here would make the inheritance cyclic.
    for (const TDSPListItem* p = parentName.isEmpty() ? nullptr : Lookup(parentName, objectType); p;
         p = p->ParentName.isEmpty() ? nullptr : Lookup(p->ParentName, objectType)) {
        if (p->Name == name)
            throw EDSPError(
                QStringLiteral(
                    "DSP structure %1 can not inherit from %2: %2 already inherits from it")
                    .arg(Describe(name, objectType), parentName));
        if (p->ParentName == p->Name) break;
    }
    if (parentName == name)
        throw EDSPError(QStringLiteral("DSP structure %1 can not inherit from itself")
                            .arg(Describe(name, objectType)));
    if (!Lookup(name, objectType)) {
        TDSPListItem item;
        item.Name = name;
        item.ObjectType = objectType;
        item.ParentName = parentName;
        item.TableName = tableName;
        item.Remark = remark;
        Insert(std::move(item), QByteArray());
        return;
    }
    const QDateTime now = Stamp(Lookup(name, objectType)->LastChange);
    TExecQuery q(
        Db(),
        QStringLiteral(
            "UPDATE QXMAIL_DSP SET PARENT_OBJECT = :parent, TABLE_NAME = :tab, REMARK = :remark, "
            "LASTCHANGE = :stamp WHERE OBJECT_NAME = :name AND OBJECT_TYPE = :type"));
    q.ParamByName(QStringLiteral("parent")).SetValue(parentName);
    q.ParamByName(QStringLiteral("tab")).SetValue(tableName);
    q.ParamByName(QStringLiteral("remark")).SetValue(remark);
    q.ParamByName(QStringLiteral("stamp")).SetValue(now);
    q.ParamByName(QStringLiteral("name")).SetValue(name);
    q.ParamByName(QStringLiteral("type")).SetValue(objectType);
    q.Execute();
    TDSPListItem& item = FItems[size_t(FIndex.value(Key(name, objectType)))];
    item.ParentName = parentName;
    item.TableName = tableName;
    item.Remark = remark;
    item.LastChange = now;
    Notify(dckChanged, name, objectType);
}

void TDSPTable::FillHierarchy(const QString& name, int objectType, QStringList& list) {
    list.clear();
    const TDSPListItem* item = Lookup(name, objectType);
    if (!item)
        throw EDSPError(QStringLiteral("DSP structure %1 not found in database %2")
                            .arg(Describe(name, objectType), FAlias));
    // Lists are filled with this for every row: the chain is walked by
    // pointer and the names copied once.
    std::vector<const TDSPListItem*> chain;
    while (item) {
        if (std::find(chain.begin(), chain.end(), item) != chain.end()) {
            QStringList names;
            for (auto it = chain.rbegin(); it != chain.rend(); ++it)
                names << (*it)->Name;
            throw EDSPError(
                QStringLiteral("The inheritance of DSP structure %1 is cyclic (%2)")
                    .arg(Describe(name, objectType), names.join(QStringLiteral(" -> "))));
        }
        chain.push_back(item);
        item = item->ParentName.isEmpty() ? nullptr : Lookup(item->ParentName, objectType);
    }
    list.reserve(qsizetype(chain.size()));
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        list << (*it)->Name;
}

void TDSPTable::Refresh() {
    DropCache();
    Notify(dckAll, QString(), 0);
}

void TDSPTable::DropCache() {
    FLoaded = false;
    FItems.clear();
    FIndex.clear();
}

TDSPTable& TDSPContainer::GetDSPTable(const QString& alias) {
    const QString key = BaseMng().Databases().ResolveAlias(alias);
    auto& slot = FTables[key];
    if (!slot) slot = std::make_unique<TDSPTable>(key);
    return *slot;
}

void TDSPContainer::DropCaches(const QString& alias) {
    auto it = FTables.find(alias.toUpper());
    if (it != FTables.end()) it->second->DropCache();
}
