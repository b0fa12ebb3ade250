#include "root.h"

#include "alias.h"
#include "aliascounter.h"
#include "appcore/appmanager.h"
#include "appcore/texts.h"
#include "model/shortcuts.h"

bool TDORoot::InternalOpen() {
    TAliasList aliases;
    FillODBCAliasesWithDescription(aliases);
    TApplicationManager& mng = BaseMng();
    const QString defaultAlias = mng.CurrentAlias();
    bool defaultSeen = false;
    for (const auto& [name, description] : aliases) {
        const QString upper = name.toUpper();
        if (SubObjects().FindBySubPath(upper)) continue;  // a name listed twice shows once
        auto alias = std::make_unique<TDOAlias>();
        alias->SetDriverName(description.toUpper());
        alias->SetAliasName(upper);
        TDOAlias* added = static_cast<TDOAlias*>(AddSubObject(std::move(alias), upper));
        if (upper == defaultAlias)
            defaultSeen = true;
        else if (mng.Databases().IsDatabaseValid(upper))
            added->HoldUse();  // the platform already holds its connection
    }
    if (!defaultSeen && !defaultAlias.isEmpty()) {
        auto alias = std::make_unique<TDOAlias>();
        alias->SetAliasName(defaultAlias);
        AddSubObject(std::move(alias), defaultAlias);
    }
    return true;
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
