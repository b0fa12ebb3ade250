#include "config.h"

void TDOConfig::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    Item.ImageIndex = 7;
}

void RegisterConfigItems() {
    RegisterDSPItemClass(14, [] { return std::make_unique<TDOConfig>(); });
}
