#include "testobjects.h"

#include <algorithm>

#include "basekit/registry.h"

TTestWorld& World() {
    static TTestWorld world;
    return world;
}

void TTestWorld::Remove(const QString& folder, const QString& name) {
    auto& entries = Content[folder];
    std::erase_if(entries, [&](const TTestEntry& e) { return e.Name == name; });
}

std::unique_ptr<TTestFolder> TTestFolder::MakeChild(const TTestEntry& entry) const {
    auto child = std::make_unique<TTestFolder>();
    child->SetEntry(entry);
    child->SetAliasName(AliasName().isEmpty() ? entry.Name : AliasName());
    return child;
}

void TTestFolder::SetEntry(const TTestEntry& entry) {
    FEntry = entry;
    FFolder = entry.Folder;
}

bool TTestFolder::InternalOpen() {
    if (World().FailOpen.count(FullPath())) return false;
    ++World().Opens[FullPath()];
    LoadChildren();
    return true;
}

void TTestFolder::LoadChildren() {
    SubObjects().Clear();
    for (const TTestEntry& entry : World().Content[FullPath()])
        AddSubObject(MakeChild(entry), entry.Name);
}

bool TTestFolder::InternalAcceptDragObject(const QStringList& ParsedPath,
                                           const TPelvarObjectList&) {
    World().AcceptedPath = ParsedPath;
    return World().AcceptDrops.count(FullPath()) > 0;
}

void TTestFolder::InternalDragObjectDropped(const QStringList& ParsedPath,
                                            const TPelvarObjectList& SubItems) {
    QStringList names;
    for (int i = 0; i < SubItems.Count(); ++i)
        names << SubItems.Items(i)->SubPath();
    World().Log << QStringLiteral("drop %1 <- [%2] %3")
                       .arg(FullPath(), ParsedPath.join(QLatin1Char('|')),
                            names.join(QLatin1Char(',')));
}

void TTestFolder::Assign(const TPelvarObject& Source) {
    TDOCommonAliasObject::Assign(Source);
    if (auto* folder = dynamic_cast<const TTestFolder*>(&Source)) SetEntry(folder->FEntry);
}

bool TTestFolder::Refresh() {
    if (!Opened()) return false;
    // Rebuilt only when the names changed.
    QStringList now, before;
    for (const TTestEntry& e : World().Content[FullPath()])
        now << e.Name;
    for (int i = 0; i < SubObjects().Count(); ++i)
        before << SubObjects().Items(i)->SubPath();
    if (now == before) return false;
    LoadChildren();
    return true;
}

TPelvarChangeType TTestFolder::RefreshItem(const QString& SubPath) {
    if (World().BadAddAnswer.count(FullPath())) return ctItemAdded;
    const TTestEntry* entry = nullptr;
    for (const TTestEntry& e : World().Content[FullPath()])
        if (e.Name == SubPath) entry = &e;
    TPelvarObject* child = SubObjects().FindBySubPath(SubPath);
    if (entry && !child) {
        AddSubObject(MakeChild(*entry), SubPath);
        return ctItemAdded;
    }
    if (!entry && child) {
        SubObjects().Delete(SubObjects().IndexOf(child));
        return ctItemDeleted;
    }
    if (entry && child) static_cast<TTestFolder*>(child)->SetEntry(*entry);
    return ctItemChanged;
}

void TTestFolder::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    Item.Caption = FEntry.Remark.startsWith(QLatin1Char('!')) ? FEntry.Remark.mid(1) : SubPath();
    Item.ImageIndex = FFolder ? 0 : 3;
    for (int i = 1; i < Columns.Count(); ++i) {
        const int tag = Columns[i].Tag;
        Item.SubItems << (tag == 1 ? QString::number(FEntry.Size) : tag == 2 ? FEntry.Remark : "");
    }
}

void TTestFolder::FillTreeViewItem(TTreeNodeItem& Item) {
    Item.Text = SubPath().isEmpty() ? QStringLiteral("Test root") : SubPath();
    Item.ImageIndex = 0;
    Item.SelectedIndex = 1;
    Item.HasChildren = true;
}

void TTestFolder::CreateColumns(TListColumns& Columns) {
    Columns.Clear();
    Columns.Add(QStringLiteral("Name"), 180, 0);
    Columns.Add(QStringLiteral("Size"), 70, 1);
    Columns.Add(QStringLiteral("Remark"), 150, 2);
}

void TTestFolder::StoreFolderOptions(TRegistry& R) {
    R.WriteString(QStringLiteral("TestOwnValue"), FullPath());
}

void TTestFolder::LoadFolderOptions(TRegistry&) {
    ++World().LoadedOptions[FullPath()];
}

QString TTestFolder::GetSortMenuItemCaption(int ColumnType) {
    return QStringLiteral("By column %1").arg(ColumnType);
}

int TTestFolder::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) {
    if (CompareType == 1) {
        const int a = static_cast<const TTestFolder*>(Item1)->FEntry.Size;
        const int b = static_cast<const TTestFolder*>(Item2)->FEntry.Size;
        return a < b ? -1 : a > b ? 1 : 0;
    }
    return TPelvarObject::Compare(Item1, Item2, CompareType);
}

void TTestFolder::FillActions() {
    auto it = World().Actions.find(FullPath());
    if (it == World().Actions.end()) return;
    for (const TTestActionDef& def : it->second) {
        TPelvarObjectAction* action = Actions().Add();
        action->Name = def.Name;
        action->Caption = def.Name;
        action->Options = def.Options;
        action->Category = def.Category;
        action->Shortcut = def.Shortcut;
        action->Default = def.Default;
        const QString name = def.Name;
        action->SetOnExecute([name](const QStringList* subjects) {
            World().Log << QStringLiteral("%1(%2)").arg(name,
                                                        subjects ? subjects->join(',') : "nil");
        });
    }
}

bool TTestFolder::HasProperties() {
    return World().WithProperties.count(FullPath()) > 0;
}

bool TTestFolder::ShowSubItemsPropertyButton() {
    return World().PropertyButton.count(FullPath()) > 0;
}

void TTestFolder::EditProperties() {
    World().Log << QStringLiteral("properties ") + FullPath();
}

bool TTestFileRoot::InternalOpen() {
    SubObjects().Clear();
    for (const QString& name : {QStringLiteral("Section1"), QStringLiteral("Section2")})
        AddSubObject(std::make_unique<TTestFileItem>(), name);
    return true;
}
