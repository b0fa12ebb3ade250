#include "config.h"

void TDOConfig::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    Item.ImageIndex = 7;
}
