// The right-button drop of tables of another database on a structure
// container: their rows copied by a condition into the tables of this one.
#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "dbobjectitems.h"
#include "dspactions.h"
#include "dspcontainer.h"
#include "model/dragobject.h"
#include "opkit/dbexchange.h"
#include "tablecopyfilter.h"

namespace {

QStringList FieldNames(const QString& alias, const QString& table) {
    TDicTableDescription description;
    QStringList names;
    if (TDictionary(alias).GetTableInfo(table, description))
        for (const TDicFieldDescription& f : description.Fields)
            names << f.Name;
    return names;
}

}  // namespace

void TDODSPContainer::FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                             const TPelvarObjectList& SubItems) {
    if (SubItems.Count() == 0) return;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject* o = SubItems.Items(i);
        if (!dynamic_cast<const TDOTableStructure*>(o) &&
            !dynamic_cast<const TDOTableStructures*>(o))
            return;
    }
    const auto* source = dynamic_cast<const TDOCommonAliasObject*>(SubItems.Items(0));
    if (source->AliasName() == AliasName()) return;
    if (const auto* table = dynamic_cast<const TDOTableStructure*>(source);
        table && SubItems.Count() == 1 &&
        !(DSPDatabaseObjectExists(AliasName(), table->Info().Name, 10) &&
          DSPDatabaseObjectExists(table->AliasName(), table->Info().Name, 10)))
        return;
    TPelvarObjectAction* a = Items.Add();
    a->Caption = LString(QStringLiteral("M_pelvar_DODSPStr_CopyTableDataByFilterAction"));
    a->Hint = LString(QStringLiteral("M_pelvar_DODSPStr_CopyTableDataByFilterActionHint"));
    a->SetOnExecute([this](const QStringList*) {
        if (const TPelvarDragObject* drag = RightDragObject(); drag && drag->Items.Count() > 0)
            if (const auto* o = dynamic_cast<const TDOCommonAliasObject*>(drag->Items.Items(0)))
                CopyTablesByFilter(o->AliasName(), drag->Items);
    });
}

void TDODSPContainer::CopyTablesByFilter(const QString& SourceAlias,
                                         const TPelvarObjectList& SubItems) {
    QStringList tables;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject* o = SubItems.Items(i);
        if (const auto* table = dynamic_cast<const TDOTableStructure*>(o)) {
            if (!tables.contains(table->Info().Name)) tables << table->Info().Name;
        } else if (dynamic_cast<const TDOTableStructures*>(o)) {
            TDSPList all;
            GetDSPTable(SourceAlias).FillStructuresList(10, all);
            for (int s = 0; s < all.Count(); ++s)
                if (!tables.contains(all.Items(s).Name)) tables << all.Items(s).Name;
        } else {
            throw EPelvarError(
                QStringLiteral("Invalid class of source DSP object in drag`n`drop operation"));
        }
    }
    if (tables.isEmpty()) return;
    const QString caption =
        LString(QStringLiteral("M_Pelvar_DODSPStr_CopyingDSPStructuresOperationCaption"));
    if (tables.size() > 1) {
        TUOCustomCopyTables operation;
        operation.SetSourceAlias(SourceAlias);
        operation.SetTargetAlias(AliasName());
        operation.SetWriteFlag(true);
        for (const QString& table : tables) {
            TTableCopy copy;
            copy.SourceTable = table;
            operation.Copies << copy;
        }
        RunDSPOperation(operation, caption);
        return;
    }
    TTableCopyRequest request;
    request.Table = tables.first();
    request.SourceAlias = SourceAlias;
    request.TargetAlias = AliasName();
    request.SourceFields = FieldNames(SourceAlias, request.Table);
    request.TargetFields = FieldNames(AliasName(), request.Table);
    if (!ConfirmCopyTableByFilter(request)) return;
    TUOCustomCopyTable operation;
    operation.SetSourceAlias(SourceAlias);
    operation.SetTargetAlias(AliasName());
    operation.SetWriteFlag(true);
    operation.Copy = request.Copy;
    operation.Copy.SourceTable = operation.Copy.TargetTable = request.Table;
    RunDSPOperation(operation, caption);
}
