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

void TTestWorld::AddItems(const QString& folder, int count) {
    auto& entries = Content[folder];
    entries.reserve(entries.size() + size_t(count));
    for (int i = 0; i < count; ++i)
        entries.push_back({QStringLiteral("Item%1").arg(i, 5, 10, QLatin1Char('0')), false,
                           count - i, QStringLiteral("remark %1").arg(i % 7), 3});
}

namespace {

const TTestEntry* FindEntry(const QString& folder, const QString& name) {
    auto it = World().Content.find(folder);
    if (it == World().Content.end()) return nullptr;
    for (const TTestEntry& e : it->second)
        if (e.Name == name) return &e;
    return nullptr;
}

}  // namespace

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
    SubObjects().Clear();
    for (const TTestEntry& entry : World().Content[FullPath()])
        AddSubObject(MakeChild(entry), entry.Name);
    return true;
}

bool TTestFolder::InternalAcceptDragObject(const QStringList&, const TPelvarObjectList&) {
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
    SubObjects().Clear();
    for (const TTestEntry& entry : World().Content[FullPath()])
        AddSubObject(MakeChild(entry), entry.Name);
    return true;
}

TPelvarChangeType TTestFolder::RefreshItem(const QString& SubPath) {
    if (World().BadAddAnswer.count(FullPath())) return ctItemAdded;
    const TTestEntry* entry = FindEntry(FullPath(), SubPath);
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
    Item.ImageIndex = FFolder ? 0 : FEntry.Image;
    for (int i = 1; i < Columns.Count(); ++i) {
        switch (Columns[i].Tag) {
            case 1:
                Item.SubItems << QString::number(FEntry.Size);
                break;
            case 2:
                Item.SubItems << FEntry.Remark;
                break;
            default:
                Item.SubItems << QString();
        }
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
    ++World().StoredOptions[FullPath()];
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
        action->ImageIndex = def.Image;
        const QString name = def.Name;
        action->SetOnExecute([name](const QStringList* subjects) {
            World().Log << name + QStringLiteral("(") +
                               (subjects ? subjects->join(QLatin1Char(','))
                                         : QStringLiteral("nil")) +
                               QStringLiteral(")");
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
