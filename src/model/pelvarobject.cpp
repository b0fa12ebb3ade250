#include "pelvarobject.h"

#include "appcore/texts.h"
#include "model/dragobject.h"

// ---- TPelvarObjectList ----

TPelvarObject* TPelvarObjectList::Add(std::unique_ptr<TPelvarObject> NewItem) {
    FList.push_back(std::move(NewItem));
    return FList.back().get();
}

void TPelvarObjectList::Delete(int Index) {
    FList.erase(FList.begin() + Index);
}

std::unique_ptr<TPelvarObject> TPelvarObjectList::Extract(int Index) {
    std::unique_ptr<TPelvarObject> item = std::move(FList.at(size_t(Index)));
    FList.erase(FList.begin() + Index);
    return item;
}

int TPelvarObjectList::IndexOf(const TPelvarObject* Item) const {
    for (size_t i = 0; i < FList.size(); ++i)
        if (FList[i].get() == Item) return int(i);
    return -1;
}

void TPelvarObjectList::Assign(const TPelvarObjectList& Source) {
    Clear();
    for (const auto& item : Source.FList)
        AddCopyOf(*item);
}

TPelvarObject* TPelvarObjectList::AddCopyOf(const TPelvarObject& Item) {
    std::unique_ptr<TPelvarObject> copy = Item.DuplicateClass();
    copy->Assign(Item);
    return Add(std::move(copy));
}

TPelvarObject* TPelvarObjectList::FindBySubPath(const QString& SubPath) const {
    for (const auto& item : FList)
        if (item->SubPath() == SubPath) return item.get();
    return nullptr;
}

// ---- TPelvarObject ----

TPelvarObject::TPelvarObject() = default;

TPelvarObject::~TPelvarObject() {
    if (FRightDropActions)
        if (TPelvarDropMenu* menu = DropPopupMenu()) menu->WithdrawDropChoices(*this);
    FRightDropActions.reset();
    FActions.Clear();
    FSubObjects.Clear();
    FRightDragObject.reset();
}

QString TPelvarObject::GetSubPath() const {
    return FSubPath;
}

bool TPelvarObject::InternalOpen() {
    return true;
}

bool TPelvarObject::InternalAcceptDragObject(const QStringList&, const TPelvarObjectList&) {
    return false;
}

void TPelvarObject::InternalDragObjectDropped(const QStringList&, const TPelvarObjectList&) {}

void TPelvarObject::Assign(const TPelvarObject& Source) {
    SetFullPath(Source.FullPath());
}

void TPelvarObject::Close() {
    FSubObjects.Clear();
    FOpened = false;
    RefillActions();
}

bool TPelvarObject::Refresh() {
    return false;
}

TPelvarChangeType TPelvarObject::RefreshItem(const QString&) {
    return ctItemChanged;
}

bool TPelvarObject::AutoOpen() {
    return true;
}

bool TPelvarObject::IsFolder() {
    return false;
}

void TPelvarObject::FillListViewItem(TListRow&, const TListColumns&) {}

void TPelvarObject::FillTreeViewItem(TTreeNodeItem&) {}

void TPelvarObject::CreateColumns(TListColumns& Columns) {
    Columns.Clear();
    Columns.Add(LString(QStringLiteral("M_Pelvar_ListObjs_DefaultColumnCaption")), 200, 0);
}

void TPelvarObject::StoreFolderOptions(TRegistry&) {}

void TPelvarObject::LoadFolderOptions(TRegistry&) {}

QString TPelvarObject::GetSortMenuItemCaption(int) {
    return LString(QStringLiteral("M_Pelvar_ListObjs_DefaultSortCaption"));
}

int TPelvarObject::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int) {
    return Item1->SubPath().compare(Item2->SubPath(), Qt::CaseSensitive);
}

void TPelvarObject::FillActions() {}

void TPelvarObject::FillRightDropPopupMenu(TPelvarObjectActionList&, const TPelvarObjectList&) {}

QString TPelvarObject::ClassName() const {
    return QStringLiteral("TPelvarObject");
}

QString TPelvarObject::GetCaption() {
    return QString();
}

bool TPelvarObject::HasProperties() {
    return false;
}

bool TPelvarObject::ShowSubItemsPropertyButton() {
    return false;
}

void TPelvarObject::EditProperties() {}

void TPelvarObject::FillShortcut(TPelvarObjectShortcut&) {}

bool TPelvarObject::Open() {
    Actions();  // a failed open leaves the actions as they were, filled
    if (!InternalOpen()) return false;
    RefillActions();
    FOpened = true;
    return true;
}

void TPelvarObject::RefillActions() {
    FActions.Clear();
    FActionsFilled = true;
    FillActions();
}

TPelvarObjectActionList& TPelvarObject::Actions() {
    if (!FActionsFilled) RefillActions();
    return FActions;
}

TPelvarObject* TPelvarObject::AddSubObject(std::unique_ptr<TPelvarObject> Item,
                                           const QString& SubPath) {
    Item->FOnDataChanged = FOnDataChanged;
    Item->SetFullPath(FFullPath + QLatin1Char('\\') + SubPath);
    Item->FParentObject = this;
    return FSubObjects.Add(std::move(Item));
}

void TPelvarObject::SetFullPath(const QString& value) {
    FFullPath = value;
    FSubPath = value.mid(value.lastIndexOf(QLatin1Char('\\')) + 1);
}

void TPelvarObject::DataChanged(const QString& path) const {
    if (FOnDataChanged) FOnDataChanged(path);
}

namespace {

// A file drag names its file, which may itself contain a backslash: the whole
// name is its source, for the accept and the drop alike.
QStringList DropPath(const TPelvarDragObject& Source) {
    return Source.FromEIFile ? QStringList{Source.FullPath} : ParsePath(Source.FullPath);
}

}  // namespace

bool TPelvarObject::AcceptDragObject(const TPelvarDragObject& Source) {
    if (Source.Items.Count() == 0) return false;
    return InternalAcceptDragObject(DropPath(Source), Source.Items);
}

void TPelvarObject::DragObjectDropped(const TPelvarDragObject& Source) {
    // A right-button drop is performed from its popup menu only.
    if (Source.Items.Count() == 0 || Source.RightFlag) return;
    InternalDragObjectDropped(DropPath(Source), Source.Items);
}

void TPelvarObject::DragObjectDroppedRight(const TPelvarDragObject& Source, int XX, int YY) {
    // The window's drag object dies with the drag; the menu needs a copy that
    // lives until the user chooses.
    FRightDragObject = std::make_unique<TPelvarDragObject>();
    FRightDragObject->Assign(Source);
    // A new list: a menu still holding the previous one finds it gone.
    FRightDropActions = std::make_shared<TPelvarObjectActionList>();
    TPelvarObjectActionList& items = *FRightDropActions;
    const QString caption =
        LString(FRightDragObject->FromEIFile ? QStringLiteral("M_pelvar_ListObjs_ImportAction")
                                             : QStringLiteral("M_pelvar_ListObjs_CopyAction"));
    TPelvarObjectAction* perform = items.Add();
    perform->Caption = perform->Hint = caption;
    perform->SetOnExecute([this](const QStringList*) { RunRightDrop(); });
    FillRightDropPopupMenu(items, FRightDragObject->Items);
    TPelvarObjectAction* cancel = items.Add();
    cancel->Caption = cancel->Hint = LString(QStringLiteral("ST_CANCEL"));
    if (TPelvarDropMenu* menu = DropPopupMenu())
        menu->ShowDropChoices(*this, FRightDropActions, XX, YY);
}

void TPelvarObject::RunRightDrop() {
    if (!FRightDragObject || FRightDragObject->Items.Count() == 0 || !FRightDragObject->RightFlag)
        return;
    InternalDragObjectDropped(DropPath(*FRightDragObject), FRightDragObject->Items);
}

// ---- TDOCommonAliasObject, TDOCommonFileObject ----

void TDOCommonAliasObject::Assign(const TPelvarObject& Source) {
    TPelvarObject::Assign(Source);
    if (auto* alias = dynamic_cast<const TDOCommonAliasObject*>(&Source))
        SetAliasName(alias->AliasName());
}

QString TDOCommonAliasObject::GetRegistryPath() {
    const QStringList parts = FullPath().split(QLatin1Char('\\'));
    if (parts.size() <= 2) return QStringLiteral("ALIAS");
    return parts.mid(2).join(QLatin1Char('\\'));
}

void TDOCommonFileObject::Assign(const TPelvarObject& Source) {
    TPelvarObject::Assign(Source);
    if (auto* file = dynamic_cast<const TDOCommonFileObject*>(&Source)) EIFile = file->EIFile;
}

// ---- paths ----

QStringList ParsePath(const QString& path) {
    const int first = path.indexOf(QLatin1Char('\\'));
    if (first < 0) return {};
    return path.mid(first + 1).split(QLatin1Char('\\'));
}

TPelvarObject* FindObjectByPath(TPelvarObject* Root, const QString& path) {
    TPelvarObject* current = Root;
    for (const QString& part : ParsePath(path)) {
        if (!current) break;
        current = current->SubObjects().FindBySubPath(part);
    }
    return current;
}
