// What a visual form does: open its designer once, copy itself, and change its
// name, table or ancestor with its body following.
#include <memory>

#include "appcore/dspformmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "dspactions.h"
#include "dspdialogrules.h"
#include "editoractions.h"
#include "formdesignkit/designerform.h"
#include "formdesignkit/formstore.h"
#include "opkit/dspoperations.h"
#include "vformfolder.h"

void TDOVForm::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    Item.ImageIndex = 9;
}

void TDOVForm::FillActions() {
    const TPelvarObjectActionOptions options = {aoListItem, aoPopupMenu};
    TPelvarObjectAction* edit = AddEditAction(
        *this, "VForm_Edit", "M_Pelvar_DOVForm_EditActionCaption", Qt::Key_Return, 11, options);
    edit->Default = true;
    edit->SetOnExecute([this](const QStringList*) { Edit(); });
    AddEditAction(*this, "VForm_CopyForm", "M_Pelvar_DOVForm_CopyFormActionCaption", 0, 14, options)
        ->SetOnExecute([this](const QStringList*) { CopyForm(); });
}

void TDOVForm::Edit() {
    if (TDesignerForm* open = FindDesignerForm(AliasName(), Info().Name)) {
        BringEditorForward(open);
        return;
    }
    auto designer = std::make_unique<TDesignerForm>(AliasName());
    designer->SetTableName(Info().TableName);
    designer->LoadForm(Info().Name);
    designer.release()->show();
}

void TDOVForm::CopyForm() {
    const TDSPListItem info = Info();
    const QString alias = AliasName();
    TDSPPropertiesRequest request;
    request.DatabaseName = alias;
    request.FormVariant = true;
    request.ObjectType = 12;
    request.ObjectTypeEnabled = false;
    request.TableNameEnabled = false;
    request.ParentEnabled = false;
    request.Name = info.Name;
    request.Remark = info.Remark;
    request.ParentName = info.ParentName;
    request.TableName = info.TableName;
    if (!EditDSPProperties(request)) return;
    if (request.Name == info.Name) {
        LShowMessage(QStringLiteral("M_Pelvar_VisForms_NoDuplicateToItself"));
        return;
    }
    TDesignerForm designer(alias);  // never shown
    designer.SetTableName(info.TableName);
    designer.LoadForm(info.Name);
    GetDSPTable(alias).ChangeStructureProperties(request.Name, 12, request.ParentName,
                                                 info.TableName, request.Remark);
    designer.DuplicateForm(request.Name);
    designer.SaveForm(false);
}

void TDOVForm::EditProperties() {
    // This node may be freed by the notifications of the writes below.
    const TDSPListItem old = Info();
    const QString alias = AliasName();
    TDSPPropertiesRequest request;
    request.DatabaseName = alias;
    request.FormVariant = true;
    request.ObjectType = 12;
    request.ObjectTypeEnabled = false;
    request.Name = old.Name;
    request.Remark = old.Remark;
    request.ParentName = old.ParentName;
    request.TableName = old.TableName;
    if (!EditDSPProperties(request)) return;
    TDSPTable& store = GetDSPTable(alias);
    const bool renamed = request.Name != old.Name;
    const bool reparented = request.ParentName != old.ParentName;
    if (!renamed && !reparented) {
        store.ChangeStructureProperties(old.Name, 12, request.ParentName, request.TableName,
                                        request.Remark);
        return;
    }
    if (renamed && store.DSPStructureExist(request.Name, 12)) {
        if (LMessageBox(QStringLiteral("M_Pelvar_DODSPStr_OverwriteStructureOnInsertConfirm"),
                        QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
        TUODeleteDSPObject remove;
        remove.Name = request.Name;
        remove.ObjectType = 12;
        remove.SetSourceAlias(alias);
        remove.DeleteLocalResources = true;
        RunDSPOperationDirect(remove);
    }
    if (reparented) {
        if (AncestorChangeConflicts(alias, old.Name, old.ParentName, request.ParentName)) {
            LShowMessage(QStringLiteral("M_PELVAR_DOVForm_ErrorChangeAncestor"));
            return;
        }
        store.ChangeStructureProperties(old.Name, 12, request.ParentName, request.TableName,
                                        request.Remark);
        // The form's top node carries the name of its root ancestor.
        TDSPFormManager manager;
        if (manager.LoadPureStructure(alias, old.Name, 12) && manager.GetCount() == 1) {
            QStringList chain;
            store.FillHierarchy(old.Name, 12, chain);
            if (!chain.isEmpty()) manager.GetNodes(0).SetName(chain.front());
            manager.SavePureStructure();
        }
    }
    TDesignerForm designer(alias);  // never shown
    designer.SetTableName(request.TableName);
    designer.LoadForm(old.Name);
    store.DeleteStructure(old.Name, 12);
    store.ChangeStructureProperties(request.Name, 12, request.ParentName, request.TableName,
                                    request.Remark);
    designer.RenameForm(request.Name);
    designer.SaveForm(false);
    if (!renamed) return;
    // Forms derived from the old name follow it.
    TDSPList forms;
    store.FillStructuresList(12, forms);
    for (int i = 0; i < forms.Count(); ++i) {
        const TDSPListItem& f = forms.Items(i);
        if (f.ParentName == old.Name)
            store.ChangeStructureProperties(f.Name, 12, request.Name, f.TableName, f.Remark);
    }
}
