#pragma once

#include <functional>
#include <memory>

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
    // The name, indented by the structure's inheritance depth, and the columns.
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillActions() override;
    bool HasProperties() override { return true; }
    // Name, type, parent and remark. A new name or type moves the structure:
    // copied under the new identity (body included), its children re-pointed,
    // the old one deleted.
    void EditProperties() override;

    // Opens the DSP tree designer on the structure, without waiting.
    virtual void EditDSPTree();
    // Deletes the structure after the user confirmed.
    virtual void DeleteDSPObject();

    TDSPListItem& Info() { return FInfo; }
    const TDSPListItem& Info() const { return FInfo; }

  private:
    void MoveStructure(const QString& NewName, int NewType, const QString& Parent,
                       const QString& Remark);
    TDSPListItem FInfo;
};

// The node classes of structure types whose items live in libraries above this
// one (configurations, type 14): they register here, the folders create them.
// The text of a structure row's column by its tag (2 last change, 3 remark,
// 4 table, 5 parent, 6 type); other tags are empty.
QString DSPColumnText(const TDSPListItem& info, int tag);

using TDSPItemFactory = std::function<std::unique_ptr<TDOCommonDSPItem>()>;
void RegisterDSPItemClass(int ObjectType, TDSPItemFactory Factory);
// A node of the class registered for the type, else a common one.
std::unique_ptr<TDOCommonDSPItem> CreateDSPItemOfType(int ObjectType);
