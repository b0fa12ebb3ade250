#include "root.h"

#include <QSet>

#include "alias.h"
#include "aliascounter.h"
#include "appcore/datasources.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "model/shortcuts.h"

namespace {

// Adds a node for every listed alias that has none (and for the login database
// when no alias names it); true when one was added.
bool AddAliases(TDORoot& root, const TAliasList& aliases) {
    TApplicationManager& mng = BaseMng();
    const QString defaultAlias = mng.CurrentAlias();
    bool defaultSeen = false;
    bool added = false;
    for (const auto& [name, description] : aliases) {
        const QString upper = name.toUpper();
        if (root.SubObjects().FindBySubPath(upper)) continue;  // shown once (and kept)
        added = true;
        auto alias = std::make_unique<TDOAlias>();
        alias->SetDriverName(description.toUpper());
        alias->SetAliasName(upper);
        auto* node = static_cast<TDOAlias*>(root.AddSubObject(std::move(alias), upper));
        if (upper == defaultAlias)
            defaultSeen = true;
        else if (mng.Databases().IsDatabaseValid(upper))
            node->HoldUse();  // the platform already holds its connection
    }
    // The node added for it at the first opening stays on a refresh.
    if (!defaultSeen && !defaultAlias.isEmpty() && !root.SubObjects().FindBySubPath(defaultAlias)) {
        auto alias = std::make_unique<TDOAlias>();
        alias->SetAliasName(defaultAlias);
        root.AddSubObject(std::move(alias), defaultAlias);
        added = true;
    }
    return added;
}

}  // namespace

bool TDORoot::InternalOpen() {
    TAliasList aliases;
    FillODBCAliasesWithDescription(aliases);
    AddAliases(*this, aliases);
    return true;
}

bool TDORoot::Refresh() {
    if (!Opened()) return false;
    TAliasList aliases;
    FillODBCAliasesWithDescription(aliases);
    QSet<QString> listed{BaseMng().CurrentAlias()};
    for (const auto& pair : aliases)
        listed.insert(pair.first.toUpper());
    // A data source removed since is dropped unless it is in use: a
    // connection is never ended by a refresh.
    bool changed = false;
    for (int i = SubObjects().Count() - 1; i >= 0; --i) {
        auto* alias = dynamic_cast<TDOAlias*>(SubObjects().Items(i));
        if (alias && !listed.contains(alias->AliasName()) && !alias->Opened() &&
            !alias->IsConnected()) {
            SubObjects().Delete(i);
            changed = true;
        }
    }
    return AddAliases(*this, aliases) || changed;
}

bool TDORoot::InternalAcceptDragObject(const QStringList& ParsedPath,
                                       const TPelvarObjectList& SubItems) {
    Q_UNUSED(ParsedPath);
    return SubItems.Count() > 0 && !dynamic_cast<const TDORoot*>(SubItems.Items(0));
}

void TDORoot::InternalDragObjectDropped(const QStringList& ParsedPath,
                                        const TPelvarObjectList& SubItems) {
    Q_UNUSED(ParsedPath);
    Q_UNUSED(SubItems);
}

void TDORoot::FillTreeViewItem(TTreeNodeItem& Item) {
    Item.Text = LString(QStringLiteral("M_Pelvar_DORoot_TreeNodeText"));
    Item.HasChildren = true;
    Item.ImageIndex = 0;
    Item.SelectedIndex = 1;
}

void TDORoot::CreateColumns(TListColumns& Columns) {
    Columns.Clear();
    Columns.Add(LString(QStringLiteral("M_Pelvar_DORoot_DatabaseNameColumnCaption")), 200, 0);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DORoot_DriverNameColumnCaption")), 200, 1);
}

QString TDORoot::GetSortMenuItemCaption(int ColumnType) {
    return LString(ColumnType == 1 ? QStringLiteral("M_Pelvar_DORoot_DriverNameSortCaption")
                                   : QStringLiteral("M_Pelvar_DORoot_DatabaseNameSortCaption"));
}

int TDORoot::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) {
    const auto* a = dynamic_cast<const TDOAlias*>(Item1);
    const auto* b = dynamic_cast<const TDOAlias*>(Item2);
    if (!a || !b) return TPelvarObject::Compare(Item1, Item2, CompareType);
    if (CompareType == 1)
        return QString::compare(a->DriverName(), b->DriverName(), Qt::CaseSensitive);
    if (a->IsDefault()) return -1;
    if (b->IsDefault()) return 1;
    return QString::compare(a->AliasName(), b->AliasName(), Qt::CaseSensitive);
}

void TDORoot::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DORoot_TreeNodeText");
    ShortCut.ImageIndex = 1;
}
