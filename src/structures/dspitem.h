#pragma once

#include "appcore/dsptable.h"
#include "model/pelvarobject.h"

// The node of one DSP structure in a structure folder.
class TDOCommonDSPItem : public TDOCommonAliasObject {
  public:
    PELVAR_OBJECT_CREATE(TDOCommonDSPItem)
    void Assign(const TPelvarObject& Source) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;

    TDSPListItem& Info() { return FInfo; }
    const TDSPListItem& Info() const { return FInfo; }

  private:
    TDSPListItem FInfo;
};
