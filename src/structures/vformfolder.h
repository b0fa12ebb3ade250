#pragma once

#include "dspfolder.h"
#include "dspitem.h"

class TDesignerForm;

// "Forms": the visual forms (type 12), each edited in the form designer.
class TDOVFormStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOVFormStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == 12; }
    int GetDefaultObjectType() const override { return 12; }
    void FillActions() override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    // Asks for the new form's properties, stores it and opens the designer on it.
    void AddStructure() override;
};

// A visual form: edited in one designer per form and database, copied under
// another name through the designer, renamed or given another ancestor with
// its body following.
class TDOVForm : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOVForm)
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillActions() override;
    void EditProperties() override;
    // Shows the form's designer, reusing the one already open.
    void Edit();
    // Saves a copy of the form under a name the user gives; no window opens.
    void CopyForm();
};

// Registers the node classes of the structure kinds with editors of their own.
void RegisterStructureEditorItems();
