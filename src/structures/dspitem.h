#pragma once

#include "appcore/dsptable.h"
#include "model/pelvarobject.h"
#include "model/roles.h"

// The node of one DSP structure in a structure folder.
class TDOCommonDSPItem : public TDOCommonAliasObject, public TDSPStructureRole {
  public:
    PELVAR_OBJECT_CREATE(TDOCommonDSPItem)
    QString DSPName() const override { return FInfo.Name; }
    int DSPObjectType() const override { return FInfo.ObjectType; }
    QString DSPAlias() const override { return AliasName(); }
    void Assign(const TPelvarObject& Source) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;

    TDSPListItem& Info() { return FInfo; }
    const TDSPListItem& Info() const { return FInfo; }

  private:
    TDSPListItem FInfo;
};
