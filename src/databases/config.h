#pragma once

#include "structures/dspitem.h"

// The structure item of configuration structures (object type 14).
class TDOConfig : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOConfig)
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
};

// Makes the structure folders show configurations (type 14) with TDOConfig.
void RegisterConfigItems();
