#include "lsection.h"

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"

namespace {

QString Current() {
    return BaseMng().CurrentLanguage();
}

QString TextOf(const QString& alias, const QString& stringID) {
    const QString text = GetLocalizatorTable(alias).GetString(stringID, Current());
    return IsMissingText(text) ? QString() : text;
}

}  // namespace

// ---- TDOLSection ----

TDOLSection::TDOLSection() : FNotifier(std::make_unique<TLocalizatorNotifier>()) {
    FNotifier->SetOwner(this);
    FNotifier->SetCallback(
        [this](const QString& id, const QString& language, bool sectionLevel, int kind) {
            LocalizatorChanged(id, language, sectionLevel, kind);
        });
}

TDOLSection::~TDOLSection() {
    FNotifier.reset();
}

void TDOLSection::Assign(const TPelvarObject& Source) {
    TDOCommonFolder::Assign(Source);
    if (auto* s = dynamic_cast<const TDOLSection*>(&Source)) FSectionID = s->FSectionID;
}

void TDOLSection::FillTreeViewItem(TTreeNodeItem& Item) {
    TDOCommonFolder::FillTreeViewItem(Item);
    Item.HasChildren = false;  // strings show in the list only
}

void TDOLSection::CreateColumns(TListColumns& Columns) {
    Columns.Clear();
    Columns.Add(LString(QStringLiteral("M_Pelvar_DOLRes_StringIDColumnCaption")), 200, 0);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DOLRes_TextColumnCaption")), 400, 7);
}

QString TDOLSection::GetSortMenuItemCaption(int ColumnType) {
    return LString(ColumnType == 0 ? QStringLiteral("M_Pelvar_DOLRes_StringIDSortCaption")
                                   : QStringLiteral("M_Pelvar_DOLRes_TextSortCaption"));
}

int TDOLSection::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) {
    const auto* a = dynamic_cast<const TDOLResource*>(Item1);
    const auto* b = dynamic_cast<const TDOLResource*>(Item2);
    if (!a || !b) return TDOCommonFolder::Compare(Item1, Item2, CompareType);
    if (CompareType == 0) return QString::compare(a->Ident(), b->Ident(), Qt::CaseSensitive);
    return QString::compare(TextOf(AliasName(), a->StringID()), TextOf(AliasName(), b->StringID()),
                            Qt::CaseSensitive);
}

void TDOLSection::AddResource(const QString& ident) {
    auto resource = std::make_unique<TDOLResource>();
    resource->SetAliasName(AliasName());
    resource->SetIDs(FSectionID, ident);
    AddSubObject(std::move(resource), ident);
}

void TDOLSection::ListResources() {
    // A database without the dictionary's system tables simply has none.
    if (!BaseMng().Databases().GetDatabase(AliasName()).TableExists(TLocalizatorTable::kTableName))
        return;
    TLResList list;
    GetLocalizatorTable(AliasName()).FillResList(FSectionID, Current(), list);
    for (const auto& entry : list)
        AddResource(entry.first);
}

bool TDOLSection::InternalOpen() {
    FNotifier->AddTo(GetLocalizatorTable(AliasName()));
    try {
        ListResources();
    } catch (...) {
        FNotifier->Remove();
        SubObjects().Clear();
        throw;
    }
    return true;
}

void TDOLSection::Close() {
    FNotifier->Remove();
    TDOCommonFolder::Close();
}

bool TDOLSection::Refresh() {
    SubObjects().Clear();
    ListResources();
    return true;
}

TPelvarChangeType TDOLSection::RefreshItem(const QString& SubPath) {
    const QString ident = SubPath.toUpper();
    QStringList names;
    GetLocalizatorTable(AliasName()).FillResNames(FSectionID, Current(), names);
    TPelvarObject* existing = SubObjects().FindBySubPath(ident);
    if (!names.contains(ident)) {
        if (!existing) return ctItemChanged;
        SubObjects().Delete(SubObjects().IndexOf(existing));
        return ctItemDeleted;
    }
    if (!existing) AddResource(ident);
    return ctItemChanged;
}

QString TDOLSection::GetRegistryPath() {
    // Every section of a folder shares the folder's view options.
    QStringList parts = TDOCommonFolder::GetRegistryPath().split(QLatin1Char('\\'));
    parts.removeLast();
    parts << QStringLiteral("Folder");
    return parts.join(QLatin1Char('\\'));
}

void TDOLSection::LocalizatorChanged(const QString& ID, const QString& Language, bool SectionLevel,
                                     int Kind) {
    if (SectionLevel) {
        if (Kind == lckReset && ID.isEmpty()) DataChanged(FullPath());
        return;
    }
    if (Language.toUpper() != Current()) return;
    QString section, ident;
    GetLocalizatorTable(AliasName()).SplitID(ID, section, ident);
    if (section.toUpper() == FSectionID.toUpper()) DataChanged(FullPath());
}

QStringList TDOLSection::StringIDsOf(const QStringList& SubObjects) const {
    QStringList ids;
    for (const QString& subPath : SubObjects)
        if (auto* r = dynamic_cast<TDOLResource*>(this->SubObjects().FindBySubPath(subPath)))
            ids << r->StringID();
    return ids;
}

QStringList TDOLSection::IdentsOf(const QStringList& SubObjects) const {
    QStringList idents;
    for (const QString& subPath : SubObjects)
        if (auto* r = dynamic_cast<TDOLResource*>(this->SubObjects().FindBySubPath(subPath)))
            idents << r->Ident();
    return idents;
}

// ---- TDOLResource ----

void TDOLResource::SetIDs(const QString& sectionID, const QString& ident) {
    FSectionID = sectionID;
    FIdent = ident;
    FStringID = TLocalizatorTable::ComposeID(sectionID, ident);
}

void TDOLResource::Assign(const TPelvarObject& Source) {
    TDOCommonAliasObject::Assign(Source);
    if (auto* r = dynamic_cast<const TDOLResource*>(&Source)) {
        FStringID = r->FStringID;
        FSectionID = r->FSectionID;
        FIdent = r->FIdent;
    }
}

void TDOLResource::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    Item.Caption = FIdent;
    Item.ImageIndex = 11;
    Item.SubItems.clear();
    for (int i = 1; i < Columns.Count(); ++i)
        Item.SubItems << (Columns[i].Tag == 7 ? TextOf(AliasName(), FStringID) : QString());
}
