#include "dbobjectsupport.h"

#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "dspactions.h"
#include "dspdialogrules.h"
#include "dspfolder.h"
#include "dspitem.h"
#include "opkit/dspoperations.h"
#include "opkit/dsprecreate.h"
#include "opkit/procname.h"

namespace DBObjects {

const TPelvarObjectActionOptions kItemOptions = {aoListItem, aoPopupMenu};
const TPelvarObjectActionOptions kSingleSelection = {aoSubObjects, aoPopupMenu, aoToolBar,
                                                     aoSingleSelection};
const TPelvarObjectActionOptions kAnySelection = {aoSubObjects, aoPopupMenu, aoToolBar,
                                                  aoMultySelection, aoSingleSelection};

TPelvarObjectAction* AddAction(TPelvarObjectActionList& Actions, const char* Name,
                               const char* CaptionId, const char* Category, int Shortcut, int Image,
                               TPelvarObjectActionOptions Options, bool Default) {
    TPelvarObjectAction* a = Actions.Add();
    a->Name = QLatin1String(Name);
    a->Caption = a->Hint = LString(QLatin1String(CaptionId));
    a->Category = QLatin1String(Category);
    a->Shortcut = Shortcut;
    a->ImageIndex = Image;
    a->Options = Options;
    a->Default = Default;
    return a;
}

void AddFolderActions(TDODSPFolder& Folder, const char* AddCaptionId) {
    TDODSPFolder* f = &Folder;
    TPelvarObjectActionList& actions = Folder.Actions();
    AddAction(actions, "DSP_Delete", "ST_DELETE", "Edit", Qt::Key_Delete, 9, kAnySelection)
        ->SetOnExecute([f](const QStringList* s) {
            if (s) f->DeleteSelected(*s);
        });
    AddAction(actions, "DSP_Export", "M_Pelvar_DODSPStr_ExportToFileActionCaption", "Edit", 0, 10,
              kAnySelection)
        ->SetOnExecute([f](const QStringList* s) {
            if (s) f->ExportSelected(*s);
        });
    TPelvarObjectActionOptions add = kAnySelection;
    add += aoNoSelection;
    AddAction(actions, "DSP_Add", AddCaptionId, "Edit", Qt::Key_Insert, 8, add)
        ->SetOnExecute([f](const QStringList*) { f->AddStructure(); });
    AddAction(actions, "DSP_EditDSPTree", "M_Pelvar_DODSPStr_EditDSPTreeActionCaption", "Edit", 0,
              6, kSingleSelection)
        ->SetOnExecute([f](const QStringList* s) {
            if (!s || s->size() != 1) return;
            for (TDOCommonDSPItem* item : f->ItemsOf(*s))
                item->EditDSPTree();
        });
}

void UpdateCreateAction(TDODSPFolder& Folder, TPelvarObjectAction& Action,
                        const QStringList* Selected, bool Table) {
    if (!Selected || Selected->isEmpty()) return;
    if (Selected->size() >= 2) {
        Action.Enabled = true;
        return;
    }
    const std::vector<TDOCommonDSPItem*> items = Folder.ItemsOf(*Selected);
    Action.Enabled = items.size() == 1 && HasOwnDatabaseObject(items.front()->Info().Name, Table);
}

bool AskProperties(const QString& Alias, int Type, TDSPPropertiesRequest& Request) {
    Request.DatabaseName = Alias;
    Request.ObjectType = Type;
    Request.ObjectTypeEnabled = false;
    Request.InheritSelect = true;
    return EditDSPProperties(Request);
}

bool ConfirmOverwrite(const QString& Alias, const QString& Name, int Type) {
    if (!GetDSPTable(Alias).DSPStructureExist(Name, Type)) return true;
    return LMessageBox(QStringLiteral("M_Pelvar_DODSPStr_OverwriteStructureOnInsertConfirm"),
                       QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) == IDYES;
}

bool DeleteStructure(const QString& Alias, const QString& Name, int Type, bool DropObject) {
    TUODeleteDSPObject remove;
    remove.Name = Name;
    remove.ObjectType = Type;
    remove.DeleteDBObject = DropObject;
    remove.SetSourceAlias(Alias);
    return RunDSPOperationDirect(remove);
}

void MoveStructureOnly(const QString& Alias, const QString& OldName, const QString& NewName,
                       int Type, const QString& Parent, const QString& TableName,
                       const QString& Remark) {
    TDSPTable& dsp = GetDSPTable(Alias);
    dsp.ChangeStructureProperties(NewName, Type, Parent, TableName, Remark);
    QByteArray body = dsp.GetStructure(OldName, Type);
    // A procedure's CREATE text names it: the moved text names the new one.
    if (Type == otExecStoredProc || Type == otSelectStoredProc)
        body = RenamedProcBody(body, NewName, Alias);
    dsp.PutStructure(NewName, Type, body);
    dsp.DeleteStructure(OldName, Type);
}

void UpdatePatternLinks(const QString& Alias, const QString& Column, const QString& OldName,
                        const QString& NewName) {
    if (!BaseMng().TableExists(QStringLiteral("PATTERNLINKTOTABLE"), Alias)) return;
    const QString newParam = Column == QLatin1String("TABLENAME")
                                 ? QStringLiteral("pNewTableName")
                                 : QStringLiteral("pNewPatternName");
    const QString oldParam = Column == QLatin1String("TABLENAME")
                                 ? QStringLiteral("pOldTableName")
                                 : QStringLiteral("pOldPatternName");
    std::unique_ptr<TExecQuery> q = BaseMng().GetExecQuery(
        QStringLiteral("UPDATE PATTERNLINKTOTABLE SET %1 =:%2 WHERE %1 = :%3")
            .arg(Column, newParam, oldParam),
        Alias);
    q->ParamByName(newParam).SetValue(NewName.toUpper());
    q->ParamByName(oldParam).SetValue(OldName.toUpper());
    q->Execute();
}

}  // namespace DBObjects
