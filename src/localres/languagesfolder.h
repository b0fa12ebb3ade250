#pragma once

#include "databases/commonfolder.h"

// The "Languages" node of a database: its interface languages.
class TDOLanguages : public TDOCommonFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOLanguages)
    QString GetCaption() override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
};
