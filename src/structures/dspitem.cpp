#include "dspitem.h"

#include <QHash>

#include "appcore/platform.h"
#include "basekit/strutils.h"

void TDOCommonDSPItem::Assign(const TPelvarObject& Source) {
    TDOCommonAliasObject::Assign(Source);
    if (const auto* item = dynamic_cast<const TDOCommonDSPItem*>(&Source)) FInfo = item->FInfo;
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
    for (const TListColumn& c : Columns) {
        switch (c.Tag) {
            case 0:
                break;
            case 2:
                // Seconds are enough in a list; the store keeps milliseconds.
                Item.SubItems << (FInfo.LastChange.IsNull()
                                      ? QString()
                                      : FormatStamp(FInfo.LastChange.AsDateTime()));
                break;
            case 3:
                Item.SubItems << FInfo.Remark;
                break;
            case 4:
                Item.SubItems << FInfo.TableName;
                break;
            case 5:
                Item.SubItems << FInfo.ParentName;
                break;
            case 6:
                Item.SubItems << QString::number(FInfo.ObjectType);
                break;
            default:
                Item.SubItems << QString();
                break;
        }
    }
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
