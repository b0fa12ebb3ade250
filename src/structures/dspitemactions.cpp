// What a structure node does: open its DSP tree, edit its properties (a new
// name or type moves it), delete it.
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "dspactions.h"
#include "dspconfirmations.h"
#include "dspdialogrules.h"
#include "dspitem.h"
#include "opkit/dspoperations.h"

void TDOCommonDSPItem::FillActions() {
    TPelvarObjectAction* a = Actions().Add();
    a->Name = QStringLiteral("DSP_EditDSPTree");
    a->Caption = a->Hint = LString(QStringLiteral("M_Pelvar_DODSPStr_EditDSPTreeActionCaption"));
    a->Default = true;
    a->Shortcut = Qt::Key_Return;
    a->Category = QStringLiteral("Edit");
    a->ImageIndex = 6;
    a->Options = {aoListItem, aoPopupMenu, aoToolBar};
    a->SetOnExecute([this](const QStringList*) { EditDSPTree(); });
}

void TDOCommonDSPItem::EditDSPTree() {
    // Several designers may be open at once; each closes itself.
    OpenDSPTreeDialog(AliasName(), FInfo.Name, FInfo.ObjectType);
}

void TDOCommonDSPItem::EditProperties() {
    TDSPPropertiesRequest request;
    request.DatabaseName = AliasName();
    request.ObjectType = FInfo.ObjectType;
    request.Name = FInfo.Name;
    request.Remark = FInfo.Remark;
    request.ParentName = FInfo.ParentName;
    if (!EditDSPProperties(request)) return;
    if (request.ObjectType == FInfo.ObjectType && request.Name == FInfo.Name) {
        // Nothing moves: the store keeps the body.
        GetDSPTable(AliasName())
            .ChangeStructureProperties(FInfo.Name, FInfo.ObjectType, request.ParentName,
                                       FInfo.TableName, request.Remark);
        return;
    }
    MoveStructure(request.Name, request.ObjectType, request.ParentName, request.Remark);
}

void TDOCommonDSPItem::MoveStructure(const QString& NewName, int NewType, const QString& Parent,
                                     const QString& Remark) {
    // This node may be freed by the notifications of the writes below.
    const TDSPListItem old = FInfo;
    const QString alias = AliasName();
    TUOCopyDSPStructure copy;
    copy.SetWriteFlag(true);
    copy.SourceName = old.Name;
    copy.SourceType = old.ObjectType;
    copy.TargetName = NewName;
    copy.TargetType = NewType;
    copy.SetSourceAlias(alias);
    copy.SetTargetAlias(alias);
    if (!RunDSPOperationDirect(copy)) return;  // the old structure stays as it was

    TDSPTable& table = GetDSPTable(alias);
    table.ChangeStructureProperties(NewName, NewType, Parent, old.TableName, Remark);
    // Structures that inherit from the old one follow it when it keeps its
    // type; a parent of another type cannot be theirs.
    if (NewType == old.ObjectType) {
        TDSPList children;
        table.FillStructuresList(old.ObjectType, children);
        for (int i = 0; i < children.Count(); ++i) {
            const TDSPListItem& child = children.Items(i);
            if (child.ParentName == old.Name && child.Name != NewName)
                table.ChangeStructureProperties(child.Name, child.ObjectType, NewName,
                                                child.TableName, child.Remark);
        }
    }
    TUODeleteDSPStructure remove;
    remove.Name = old.Name;
    remove.ObjectType = old.ObjectType;
    remove.SetSourceAlias(alias);
    RunDSPOperationDirect(remove);
}

void TDOCommonDSPItem::DeleteDSPObject() {
    bool hasDBObject = DSPDatabaseObjectExists(AliasName(), FInfo.Name, FInfo.ObjectType);
    bool isForm = FInfo.ObjectType == 12;
    if (!hasDBObject && !isForm) {
        if (LMessageBox(QStringLiteral("M_Pelvar_DODSPStr_SingleDeleteWarning"),
                        QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
    } else if (!ConfirmDeleteStructures(1, hasDBObject, isForm)) {
        return;
    }
    TUODeleteDSPObject operation;
    operation.DeleteDBObject = hasDBObject;
    operation.DeleteLocalResources = isForm;
    operation.Name = FInfo.Name;
    operation.ObjectType = FInfo.ObjectType;
    operation.SetSourceAlias(AliasName());
    // The folder drops the row when the store reports the deletion.
    RunDSPOperationDirect(operation);
}
