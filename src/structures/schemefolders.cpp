#include "schemefolders.h"

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "dspactions.h"
#include "dspdialogrules.h"
#include "editoractions.h"
#include "model/shortcuts.h"
#include "opkit/dspoperations.h"

namespace {

// Steps 1 to 3 of every Add here: the properties, the overwrite question, the
// empty structure. False when the user stopped.
bool AddEmptyStructure(const QString& alias, int type, bool tableIsName,
                       TDSPPropertiesRequest& request) {
    request.DatabaseName = alias;
    request.ObjectType = type;
    request.ObjectTypeEnabled = false;
    if (!EditDSPProperties(request)) return false;
    TDSPTable& table = GetDSPTable(alias);
    if (table.DSPStructureExist(request.Name, request.ObjectType) &&
        LMessageBox(QStringLiteral("M_Pelvar_DODSPStr_OverwriteStructureOnInsertConfirm"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
        return false;
    table.PutStructure(request.Name, request.ObjectType, QByteArray());
    table.ChangeStructureProperties(request.Name, request.ObjectType, request.ParentName,
                                    tableIsName ? request.Name : QString(), request.Remark);
    return true;
}

}  // namespace

void TDOCommonSchemeOperationStructures::Assign(const TPelvarObject& Source) {
    TDODSPFolder::Assign(Source);
    if (const auto* s = dynamic_cast<const TDOCommonSchemeOperationStructures*>(&Source)) {
        FIndex = s->FIndex;
        FDSPObjectType = s->FDSPObjectType;
    }
}

void TDOCommonSchemeOperationStructures::FillSchemeActions(bool withDelete) {
    AddAddAction(*this, "SimpleOperation_Add", "M_Pelvar_DOShed_AddActionCaption");
    AddTreeAction(*this);
    AddExportAction(*this);
    if (withDelete) AddDeleteAction(*this);
}

void TDOCommonSchemeOperationStructures::AddStructure() {
    TDSPPropertiesRequest request;
    if (!AddEmptyStructure(AliasName(), FDSPObjectType, false, request)) return;
    TDSPListItem info;
    info.Name = request.Name;
    info.ObjectType = request.ObjectType;
    info.ParentName = request.ParentName;
    info.Remark = request.Remark;
    OpenSchemeEditor(AliasName(), info, false);
}

QString TDOSchemeOperationStructures::GetCaption() {
    switch (DSPObjectType()) {
        case 81:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_SimpleOperationCaption"));
        case 82:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_TableOperationCaption"));
        case 83:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_DocumentaryOperationCaption"));
        default:
            return QString();
    }
}

QString TDOStatusesStructures::GetCaption() {
    const QString text = LString(QStringLiteral("M_Pelvar_DODSPStr_StatusesCaption"));
    return IsMissingText(text) ? QStringLiteral("Statuses") : text;
}

// ---- wizard scenarios ----

QString TDOWizardScenarioStructures::GetCaption() {
    return LString(QStringLiteral("M_pelvar_dowizard_FolderCaption"),
                   QStringLiteral("Wizard scenarios"));
}

void TDOWizardScenarioStructures::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_dowizard_ShortcutCaption");
    ShortCut.ImageIndex = 8;
}

void TDOWizardScenarioStructures::FillActions() {
    TDODSPFolder::FillActions();
    // The folder's default is the scenario's editor, not its DSP tree.
    Actions().FindByName(QStringLiteral("DSP_EditDSPTree"))->Default = false;
    AddSelectedAction(*this, "WizardScenario_Edit", "M_pelvar_dowizard_EditActionCaption",
                      Qt::Key_Return, 11,
                      [](TDOCommonDSPItem& item) {
                          if (auto* w = dynamic_cast<TDOWizardScenario*>(&item)) w->Edit();
                      })
        ->Default = true;
}

void TDOWizardScenarioStructures::AddStructure() {
    TDSPPropertiesRequest request;
    if (AddEmptyStructure(AliasName(), 30, true, request))
        OpenWizardScenarioEditor(AliasName(), request.Name);
}

// ---- scheduler ----

QString TDOShedulerStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DODSPStr_ShedulerStructuresCaption"));
}

void TDOShedulerStructures::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DOShed_ShortcutCaption");
    ShortCut.ImageIndex = 5;
}

void TDOShedulerStructures::FillActions() {
    AddSelectedAction(*this, "Sheduler_Edit", "M_Pelvar_DOShed_EditActionCaption", Qt::Key_Return,
                      11,
                      [](TDOCommonDSPItem& item) {
                          if (auto* e = dynamic_cast<TDOSheduler*>(&item)) e->Edit();
                      })
        ->Default = true;
    AddDeleteAction(*this);
    AddExportAction(*this);
    AddAddAction(*this, "DSP_Add", "M_Pelvar_DOShed_AddActionCaption");
    AddTreeAction(*this);
}

void TDOShedulerStructures::AddStructure() {
    TDSPPropertiesRequest request;
    if (AddEmptyStructure(AliasName(), 16, false, request))
        OpenShedulerEditor(AliasName(), request.Name);
}
