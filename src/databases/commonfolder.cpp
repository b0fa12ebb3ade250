#include "commonfolder.h"

void TDOCommonFolder::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    Q_UNUSED(Columns);
    Item.ImageIndex = 0;
    Item.Caption = GetCaption();
}

void TDOCommonFolder::FillTreeViewItem(TTreeNodeItem& Item) {
    Item.ImageIndex = 0;
    Item.SelectedIndex = 1;
    Item.Text = GetCaption();
    Item.HasChildren = true;
}

bool TDOCommonFolder::IsEIFolderAccepted(const TPelvarObject& EIFolder) {
    Q_UNUSED(EIFolder);
    return false;
}
