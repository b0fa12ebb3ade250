#pragma once

#include "model/pelvarobject.h"

// The base of the folders below a database alias that hold its objects:
// structure containers, local resource containers and sections, languages.
class TDOCommonFolder : public TDOCommonAliasObject {
  public:
    bool IsFolder() override { return true; }
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    // Whether a whole folder of an opened export/import file may be dropped
    // here (the dragged folder itself is passed).
    virtual bool IsEIFolderAccepted(const TPelvarObject& EIFolder);
};
