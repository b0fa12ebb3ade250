#include "dspfolder.h"

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "dspitem.h"

TDODSPFolder::TDODSPFolder() : FNotifier(std::make_unique<TDSPNotifier>()) {
    FNotifier->SetOwner(this);
    FNotifier->SetCallback([this](int kind, const QString& name, int objectType) {
        DSPTableChanged(kind, name, objectType);
    });
}

// The notifier goes first: no notification reaches a half-destroyed folder.
TDODSPFolder::~TDODSPFolder() {
    FNotifier.reset();
}

bool TDODSPFolder::Subscribed() const {
    return FNotifier->Subscribed();
}

TDOCommonDSPItem* TDODSPFolder::AddItem(const TDSPListItem& Info) {
    std::unique_ptr<TDOCommonDSPItem> item = CreateDSPObject(Info.ObjectType);
    item->Info() = Info;
    item->SetAliasName(AliasName());
    TDOCommonDSPItem* added = item.get();
    AddSubObject(std::move(item), QString::number(Info.ObjectType) + QLatin1Char(':') + Info.Name);
    return added;
}

void TDODSPFolder::ListStructures() {
    TDSPList list;
    GetDSPTable(AliasName()).FillStructuresList(0, list);
    for (int i = 0; i < list.Count(); ++i)
        if (IsObjectTypeAccepted(list.Items(i).ObjectType)) AddItem(list.Items(i));
}

bool TDODSPFolder::InternalOpen() {
    // Subscribed before the listing: a write that lands in between is
    // reported again rather than lost.
    FNotifier->AddTo(GetDSPTable(AliasName()));
    try {
        ListStructures();
    } catch (...) {
        FNotifier->Remove();
        SubObjects().Clear();
        throw;
    }
    return true;
}

void TDODSPFolder::Close() {
    FNotifier->Remove();
    TDODSPContainer::Close();
}

bool TDODSPFolder::Refresh() {
    SubObjects().Clear();
    ListStructures();
    return true;
}

TPelvarChangeType TDODSPFolder::RefreshItem(const QString& SubPath) {
    const qsizetype colon = SubPath.indexOf(QLatin1Char(':'));
    bool isNumber = false;
    const int type = SubPath.left(colon).toInt(&isNumber);
    if (colon < 0 || !isNumber)
        throw EPelvarError(QStringLiteral("'%1' is not a valid integer value")
                               .arg(colon < 0 ? SubPath : SubPath.left(colon)));
    const QString name = SubPath.mid(colon + 1);
    TPelvarObject* existing = SubObjects().FindBySubPath(SubPath);
    if (!IsObjectTypeAccepted(type)) return ctItemChanged;
    TDSPListItem info;
    if (GetDSPTable(AliasName()).GetStructureProperties(name, type, info)) {
        if (!existing) {
            AddItem(info);
            return ctItemAdded;
        }
        static_cast<TDOCommonDSPItem*>(existing)->Info() = info;
        return ctItemChanged;
    }
    if (!existing) return ctItemChanged;
    SubObjects().Delete(SubObjects().IndexOf(existing));
    return ctItemDeleted;
}

void TDODSPFolder::DSPTableChanged(int Kind, const QString& Name, int ObjectType) {
    if (Kind == dckAll) {
        DataChanged(FullPath());
        return;
    }
    if (IsObjectTypeAccepted(ObjectType))
        DataChanged(FullPath() + QLatin1Char('\\') + QString::number(ObjectType) +
                    QLatin1Char(':') + Name);
}

void TDODSPFolder::FillTreeViewItem(TTreeNodeItem& Item) {
    TDODSPContainer::FillTreeViewItem(Item);
    Item.HasChildren = false;  // structures show in the list only
}

void TDODSPFolder::CreateColumns(TListColumns& Columns) {
    Columns.Clear();
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_ObjectNameCaption")), 200, 0);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_ParentObjectCaption")), 100, 5);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_RemarkCaption")), 300, 3);
    // Wide enough for a date with its time in the list's font.
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_LastChangedCaption")), 140, 2);
}

QString TDODSPFolder::GetSortMenuItemCaption(int ColumnType) {
    switch (ColumnType) {
        case 0:
            return TDODSPContainer::GetSortMenuItemCaption(ColumnType);
        case 2:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_LastChangeSortCaption"));
        case 3:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_RemarkSortCaption"));
        case 4:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_TableNameSortCaption"));
        case 5:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_ParentObjectSortCaption"));
        case 6:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_ObjectTypeSortCaption"));
        default:
            return QString();
    }
}

namespace {

int CompareText(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
}

QStringList Hierarchy(const QString& alias, const TDSPListItem& info) {
    QStringList chain;
    try {
        GetDSPTable(alias).FillHierarchy(info.Name, info.ObjectType, chain);
    } catch (const EPelvarError&) {
        chain = QStringList{info.Name};  // a broken chain sorts as a root
    }
    return chain;
}

}  // namespace

int CompareHierarchy(const TDOCommonDSPItem& A, const TDOCommonDSPItem& B) {
    const QStringList a = Hierarchy(A.AliasName(), A.Info());
    const QStringList b = Hierarchy(A.AliasName(), B.Info());
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    if (i >= a.size()) return -1;
    if (i >= b.size()) return 1;
    const bool aDerived = a[i].contains(QLatin1Char('$'));
    const bool bDerived = b[i].contains(QLatin1Char('$'));
    if (!aDerived && bDerived) return 1;
    if (aDerived && !bDerived) return -1;
    return CompareText(a[i], b[i]);
}

int TDODSPFolder::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) {
    const auto* item1 = dynamic_cast<const TDOCommonDSPItem*>(Item1);
    const auto* item2 = dynamic_cast<const TDOCommonDSPItem*>(Item2);
    if (!item1 || !item2) return TDODSPContainer::Compare(Item1, Item2, CompareType);
    const TDSPListItem& a = item1->Info();
    const TDSPListItem& b = item2->Info();
    switch (CompareType) {
        case 0:
            return CompareText(a.Name, b.Name);
        case 2: {
            // The most recent first; structures without a date last.
            if (a.LastChange.IsNull()) return b.LastChange.IsNull() ? 0 : 1;
            if (b.LastChange.IsNull()) return -1;
            const QDateTime ta = a.LastChange.AsDateTime(), tb = b.LastChange.AsDateTime();
            return tb > ta ? 1 : (tb < ta ? -1 : 0);
        }
        case 3:
            return CompareText(a.Remark, b.Remark);
        case 4:
            return CompareText(a.TableName, b.TableName);
        case 5:
            if (a.ObjectType != b.ObjectType) return a.ObjectType - b.ObjectType;
            return CompareHierarchy(*item1, *item2);
        case 6:
            return a.ObjectType - b.ObjectType;
        default:
            return 0;
    }
}

std::unique_ptr<TDOCommonDSPItem> TDODSPFolder::CreateDSPObject(int ObjectType) const {
    return CreateDSPItemOfType(ObjectType);
}

std::vector<TDOCommonDSPItem*> TDODSPFolder::ItemsOf(const QStringList& SubObjects) const {
    std::vector<TDOCommonDSPItem*> items;
    for (const QString& subPath : SubObjects)
        if (auto* item = dynamic_cast<TDOCommonDSPItem*>(this->SubObjects().FindBySubPath(subPath)))
            items.push_back(item);
    return items;
}
