// The folder actions of a structure folder: Edit DSP tree, Delete, Export and Add.
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "dspactions.h"
#include "dspconfirmations.h"
#include "dspdialogrules.h"
#include "dspfolder.h"
#include "dspitem.h"
#include "opkit/dspoperations.h"

void TDODSPFolder::FillActions() {
    const TPelvarObjectActionOptions many = {aoSubObjects, aoPopupMenu, aoToolBar, aoMultySelection,
                                             aoSingleSelection};
    auto add = [this](const char* name, const char* captionId, int shortcut, int image,
                      TPelvarObjectActionOptions options) {
        TPelvarObjectAction* a = Actions().Add();
        a->Name = QLatin1String(name);
        a->Caption = a->Hint = LString(QLatin1String(captionId));
        a->Category = QStringLiteral("Edit");
        a->Shortcut = shortcut;
        a->ImageIndex = image;
        a->Options = options;
        return a;
    };
    TPelvarObjectAction* edit =
        add("DSP_EditDSPTree", "M_Pelvar_DODSPStr_EditDSPTreeActionCaption", 0, 6,
            {aoPopupMenu, aoToolBar, aoSubObjects, aoSingleSelection});
    edit->Default = true;
    edit->SetOnExecute([this](const QStringList* selected) {
        if (!selected || selected->size() != 1) return;
        const std::vector<TDOCommonDSPItem*> items = ItemsOf(*selected);
        if (items.size() == 1) items.front()->EditDSPTree();
    });
    add("DSP_Delete", "ST_DELETE", Qt::Key_Delete, 9, many)
        ->SetOnExecute([this](const QStringList* selected) {
            if (selected) DeleteSelected(*selected);
        });
    add("DSP_Export", "M_Pelvar_DODSPStr_ExportToFileActionCaption", 0, 10, many)
        ->SetOnExecute([this](const QStringList* selected) {
            if (selected) ExportSelected(*selected);
        });
    TPelvarObjectActionOptions withNone = many;
    withNone += aoNoSelection;
    add("DSP_Add", "M_Pelvar_DODSPStr_AddActionCaption", Qt::Key_Insert, 8, withNone)
        ->SetOnExecute([this](const QStringList*) { AddStructure(); });
}

void TDODSPFolder::DeleteSelected(const QStringList& SubObjects) {
    const std::vector<TDOCommonDSPItem*> items = ItemsOf(SubObjects);
    if (items.empty()) return;
    if (SubObjects.size() == 1) {
        items.front()->DeleteDSPObject();
        return;
    }
    bool hasDBObjects = false, hasForms = false;
    for (TDOCommonDSPItem* item : items) {
        const TDSPListItem& info = item->Info();
        hasForms = hasForms || info.ObjectType == 12;
        hasDBObjects =
            hasDBObjects || DSPDatabaseObjectExists(AliasName(), info.Name, info.ObjectType);
    }
    const int count = int(items.size());
    if (hasDBObjects || hasForms) {
        if (!ConfirmDeleteStructures(count, hasDBObjects, hasForms)) return;
    } else {
        const QString text =
            SafeFormat(LString(QStringLiteral("M_Pelvar_DODSPStr_MultyDeleteWarning")), count);
        if (Interaction().MessageBox(text, LString(QStringLiteral("ST_CONFIRMATION")),
                                     MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
    }
    TUODeleteDSPObjects operation;
    operation.DeleteDBObjects = hasDBObjects;
    operation.DeleteLocalResources = hasForms;
    operation.SetSourceAlias(AliasName());
    operation.SetWriteFlag(true);
    for (TDOCommonDSPItem* item : items)
        operation.Items.AddCopy(item->Info());
    // The rows go when the store reports the deletions.
    RunDSPOperation(operation,
                    LString(QStringLiteral("M_Pelvar_DODSPStr_DeleteStructuresProgress")));
}

void TDODSPFolder::ExportSelected(const QStringList& SubObjects) {
    TDSPList records;
    for (TDOCommonDSPItem* item : ItemsOf(SubObjects))
        records.AddCopy(item->Info());
    if (records.Count() > 0) ExportDSPRecords(AliasName(), records);
}

void TDODSPFolder::AddStructure() {
    TDSPPropertiesRequest request;
    request.DatabaseName = AliasName();
    if (const int type = GetDefaultObjectType(); type != 0) {
        request.ObjectType = type;
        request.ObjectTypeEnabled = false;
    }
    if (!EditDSPProperties(request)) return;
    TDSPTable& table = GetDSPTable(AliasName());
    if (table.DSPStructureExist(request.Name, request.ObjectType)) {
        if (LMessageBox(QStringLiteral("M_Pelvar_DODSPStr_OverwriteStructureOnInsertConfirm"),
                        QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
        TUODeleteDSPObject remove;
        remove.Name = request.Name;
        remove.ObjectType = request.ObjectType;
        remove.SetSourceAlias(AliasName());
        remove.DeleteLocalResources = true;
        if (!RunDSPOperationDirect(remove)) return;
    }
    table.PutStructure(request.Name, request.ObjectType, QByteArray());
    table.ChangeStructureProperties(request.Name, request.ObjectType, request.ParentName, QString(),
                                    request.Remark);
    OpenDSPTreeDialog(AliasName(), request.Name, request.ObjectType);
}
