#include "dspitem.h"

#include <QHash>

#include "appcore/platform.h"
#include "basekit/strutils.h"

void TDOCommonDSPItem::Assign(const TPelvarObject& Source) {
    TDOCommonAliasObject::Assign(Source);
    if (const auto* item = dynamic_cast<const TDOCommonDSPItem*>(&Source)) FInfo = item->FInfo;
}

QString DSPColumnText(const TDSPListItem& info, int tag) {
    switch (tag) {
        case 2:
            // Seconds are enough in a list; the store keeps milliseconds.
            return info.LastChange.IsNull() ? QString() : FormatStamp(info.LastChange.AsDateTime());
        case 3:
            return info.Remark;
        case 4:
            return info.TableName;
        case 5:
            return info.ParentName;
        case 6:
            return QString::number(info.ObjectType);
        default:
            return QString();
    }
}

void TDOCommonDSPItem::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    Item.Caption = FInfo.Name;
    Item.ImageIndex = 6;  // a structure; kinds with a picture of their own set theirs
    Item.SubItems.clear();
    QStringList chain;
    try {
        GetDSPTable(AliasName()).FillHierarchy(FInfo.Name, FInfo.ObjectType, chain);
    } catch (const EPelvarError&) {
        // A broken chain shows the row unindented.
    }
    Item.Indent = qMax(0, int(chain.size()) - 1);
    for (const TListColumn& c : Columns)
        if (c.Tag != 0) Item.SubItems << DSPColumnText(FInfo, c.Tag);
}

namespace {

QHash<int, TDSPItemFactory>& Factories() {
    static QHash<int, TDSPItemFactory> factories;
    return factories;
}

}  // namespace

void RegisterDSPItemClass(int ObjectType, TDSPItemFactory Factory) {
    Factories().insert(ObjectType, std::move(Factory));
}

std::unique_ptr<TDOCommonDSPItem> CreateDSPItemOfType(int ObjectType) {
    const TDSPItemFactory factory = Factories().value(ObjectType);
    return factory ? factory() : std::make_unique<TDOCommonDSPItem>();
}
