#include "vformfolder.h"

#include <memory>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "dspactions.h"
#include "dspdialogrules.h"
#include "editoractions.h"
#include "formdesignkit/designerform.h"
#include "model/shortcuts.h"
#include "opkit/dspoperations.h"

QString TDOVFormStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DODSPStr_FormStructuresCaption"));
}

void TDOVFormStructures::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DOVForm_ShortcutCaption");
    ShortCut.ImageIndex = 3;
}

void TDOVFormStructures::FillActions() {
    AddSelectedAction(*this, "VForm_Edit", "M_Pelvar_DOVForm_EditActionCaption", Qt::Key_Return, 11,
                      [](TDOCommonDSPItem& item) {
                          if (auto* form = dynamic_cast<TDOVForm*>(&item)) form->Edit();
                      })
        ->Default = true;
    AddDeleteAction(*this);
    AddExportAction(*this);
    AddAddAction(*this, "DSP_Add", "M_Pelvar_DOVForm_AddActionCaption");
    AddTreeAction(*this);
    AddSelectedAction(*this, "VForm_CopyForm", "M_Pelvar_DOVForm_CopyFormActionCaption", 0, 14,
                      [](TDOCommonDSPItem& item) {
                          if (auto* form = dynamic_cast<TDOVForm*>(&item)) form->CopyForm();
                      });
}

void TDOVFormStructures::AddStructure() {
    TDSPPropertiesRequest request;
    request.DatabaseName = AliasName();
    request.FormVariant = true;
    request.ObjectType = 12;
    request.ObjectTypeEnabled = false;
    if (!EditDSPProperties(request)) return;
    TDSPTable& table = GetDSPTable(AliasName());
    if (table.DSPStructureExist(request.Name, 12)) {
        if (LMessageBox(QStringLiteral("M_Pelvar_DODSPStr_OverwriteStructureOnInsertConfirm"),
                        QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
        TUODeleteDSPObject remove;
        remove.Name = request.Name;
        remove.ObjectType = 12;
        remove.SetSourceAlias(AliasName());
        remove.DeleteLocalResources = true;
        RunDSPOperationDirect(remove);
    }
    table.PutStructure(request.Name, 12, QByteArray());
    table.ChangeStructureProperties(request.Name, 12, request.ParentName, request.TableName,
                                    request.Remark);
    // Freed again if anything fails before it shows.
    auto designer = std::make_unique<TDesignerForm>(AliasName());
    designer->SetTableName(request.TableName);
    designer->LoadForm(request.Name);
    if (request.ParentName.isEmpty() && !request.Name.contains(QLatin1Char('$'))) {
        designer->SetFormBounds(QRect(100, 100, 400, 300));
        designer->SaveForm(false);
    }
    designer.release()->show();
}
