// Table structures (type 10): the folder "Tables" and its items.
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "dbobjectitems.h"
#include "dbobjectsupport.h"
#include "dspactions.h"
#include "dspdialogrules.h"
#include "model/dataopeners.h"
#include "model/shortcuts.h"
#include "opkit/dspoperations.h"
#include "opkit/dsprecreate.h"
#include "treedesignkit/recreaterules.h"
#include "treedesignkit/tablestructureform.h"

using namespace DBObjects;

namespace {

const int kAltEnter = (Qt::ALT | Qt::Key_Return).toCombined();

void OpenTableEditor(const QString& alias, const QString& name, const QString& tableName,
                     const QString& parent, const QString& remark, bool newStructure) {
    auto* form = new TTableStructureForm;
    try {
        form->SetAliasName(alias);
        form->SetRemark(remark);
        form->SetStructureName(name);
        form->SetTableName(tableName);
        form->SetParentName(parent);
        form->SetNewStructure(newStructure);
        form->setWindowTitle(TTableStructureForm::BaseCaption() + QStringLiteral(" - ") +
                             tableName);
        form->Load();
    } catch (...) {
        delete form;
        throw;
    }
    form->show();
}

QString RecreateCaption() {
    return LString(QStringLiteral("M_Pelvar_DOTblStr_RecreateTableOperationCaption"));
}

}  // namespace

// ---- the folder ----

QString TDOTableStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DODSPStr_TableStructuresCaption"));
}

std::unique_ptr<TDOCommonDSPItem> TDOTableStructures::CreateDSPObject(int ObjectType) const {
    if (ObjectType == 10) return std::make_unique<TDOTableStructure>();
    return TDODSPFolder::CreateDSPObject(ObjectType);
}

void TDOTableStructures::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DOTblStr_ShortcutCaption");
    ShortCut.ImageIndex = 4;
}

void TDOTableStructures::FillActions() {
    TPelvarObjectActionList& actions = Actions();
    AddAction(actions, "TableStr_Edit", "M_Pelvar_DOTblStr_EditActionCaption", "Edit",
              Qt::Key_Return, 11, kSingleSelection, true)
        ->SetOnExecute([this](const QStringList* s) {
            if (!s || s->size() != 1) return;
            for (TDOCommonDSPItem* item : ItemsOf(*s))
                static_cast<TDOTableStructure*>(item)->EditStructure();
        });
    AddFolderActions(*this, "M_Pelvar_DOTblStr_AddActionCaption");
    TPelvarObjectAction* create =
        AddAction(actions, "TableStr_CreateTable", "M_Pelvar_DOTblStr_CreateTableActionCaption",
                  "Table", 0, 12, kSingleSelection);
    create->SetOnExecute([this](const QStringList* s) {
        if (s) CreateTables(*s);
    });
    create->SetOnUpdate([this](TPelvarObjectAction& a, const QStringList* s) {
        UpdateCreateAction(*this, a, s, true);
    });
    AddAction(actions, "TableStr_TableData", "M_Pelvar_DOTblStr_TableDataActionCaption", "Table",
              kAltEnter, 13, kSingleSelection)
        ->SetOnExecute([this](const QStringList* s) {
            if (!s || s->size() != 1) return;
            for (TDOCommonDSPItem* item : ItemsOf(*s))
                static_cast<TDOTableStructure*>(item)->TableData();
        });
}

void TDOTableStructures::AddStructure() {
    TDSPPropertiesRequest request;
    if (!AskProperties(AliasName(), 10, request)) return;
    const QString name = request.Name.toUpper();
    if (!ConfirmOverwrite(AliasName(), name, 10)) return;
    GetDSPTable(AliasName())
        .ChangeStructureProperties(name, 10, request.ParentName.toUpper(), request.Name,
                                   request.Remark);
    OpenTableEditor(AliasName(), name, request.Name, request.ParentName.toUpper(), request.Remark,
                    !request.Name.contains(QLatin1Char('$')));
}

void TDOTableStructures::CreateTables(const QStringList& SubObjects) {
    const std::vector<TDOCommonDSPItem*> items = ItemsOf(SubObjects);
    if (items.size() == 1) {
        auto* table = static_cast<TDOTableStructure*>(items.front());
        if (table->CanCreate()) table->CreateTable();
        return;
    }
    if (items.empty()) return;
    TUORecreateTables operation;
    operation.SetSourceAlias(AliasName());
    operation.SetWriteFlag(true);
    QStringList names;
    for (TDOCommonDSPItem* item : items)
        if (HasOwnDatabaseObject(item->Info().Name, true)) names << item->Info().Name;
    if (names.isEmpty()) return;
    operation.SetObjectNames(names);
    RunDSPOperation(operation, RecreateCaption());
}

// ---- the item ----

void TDOTableStructure::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    if (!Info().TableName.isEmpty()) Item.Caption = Info().TableName;
    Item.ImageIndex = 3;
}

void TDOTableStructure::FillActions() {
    TPelvarObjectActionList& actions = Actions();
    TPelvarObjectActionOptions edit = kItemOptions;
    edit += aoToolBar;
    AddAction(actions, "TableStr_Edit", "M_Pelvar_DOTblStr_EditActionCaption", "Edit",
              Qt::Key_Return, 11, edit, true)
        ->SetOnExecute([this](const QStringList*) { EditStructure(); });
    TPelvarObjectAction* create =
        AddAction(actions, "TableStr_CreateTable", "M_Pelvar_DOTblStr_CreateTableActionCaption",
                  "Table", 0, 12, kItemOptions);
    create->SetOnExecute([this](const QStringList*) { CreateTable(); });
    create->SetOnUpdate(
        [this](TPelvarObjectAction& a, const QStringList*) { a.Enabled = CanCreate(); });
    AddAction(actions, "TableStr_TableData", "M_Pelvar_DOTblStr_TableDataActionCaption", "Table",
              kAltEnter, 13, kItemOptions)
        ->SetOnExecute([this](const QStringList*) { TableData(); });
}

bool TDOTableStructure::CanCreate() const {
    return HasOwnDatabaseObject(Info().Name, true);
}

void TDOTableStructure::EditStructure() {
    OpenTableEditor(AliasName(), Info().Name,
                    Info().TableName.isEmpty() ? Info().Name : Info().TableName, Info().ParentName,
                    Info().Remark, false);
}

void TDOTableStructure::CreateTable() {
    if (!CanCreate()) return;
    TUORecreateTable operation;
    bool copyData = true;
    if (BaseMng().TableExists(Info().Name, AliasName()) &&
        !ConfirmRecreateTable(Info().Name, AliasName(), copyData, operation.FieldPairs,
                              operation.BlobFieldPairs, operation.Fields))
        return;
    operation.TableName = Info().Name;
    operation.SetSourceAlias(AliasName());
    operation.RecreateTable = true;
    operation.CopyData = copyData;
    RunDSPOperation(operation, RecreateCaption());
}

void TDOTableStructure::TableData() {
    OpenTableData(Info().Name, AliasName());
}

void TDOTableStructure::EditProperties() {
    // This node may be freed by the notifications of the writes below.
    const TDSPListItem old = Info();
    const QString alias = AliasName();
    TDSPPropertiesRequest request;
    request.Name = old.TableName.isEmpty() ? old.Name : old.TableName;
    request.Remark = old.Remark;
    request.ParentName = old.ParentName;
    if (!AskProperties(alias, 10, request)) return;
    const QString newName = request.Name.toUpper();
    const QString parent = request.ParentName.toUpper();
    TDSPTable& dsp = GetDSPTable(alias);
    if (newName == old.Name) {
        dsp.ChangeStructureProperties(newName, 10, parent, request.Name, request.Remark);
        return;
    }
    if (dsp.DSPStructureExist(newName, 10)) {
        if (!ConfirmOverwrite(alias, newName, 10)) return;
        if (!DeleteStructure(alias, newName, 10, true)) return;
    }
    if (BaseMng().TableExists(old.Name, alias) &&
        LMessageBox(QStringLiteral("M_Pelvar_DOTblStr_CopyDataOnNameChangeConfirm"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) == IDYES) {
        TUOCopyDSPObject copy;
        copy.CreateDBObject = true;
        copy.CopyTableData = true;
        copy.SourceName = old.Name;
        copy.SourceType = 10;
        copy.TargetName = newName;
        copy.TargetType = 10;
        copy.SetSourceAlias(alias);
        copy.SetTargetAlias(alias);
        const TOperationResult result = RunDSPOperation(
            copy,
            LString(QStringLiteral("M_Pelvar_DODSPStr_CopyingDSPStructuresOperationCaption")));
        // The old table goes only once its rows are safely in the new one.
        if (!result.Completed || !result.Errors.isEmpty()) return;
        UpdatePatternLinks(alias, QStringLiteral("TABLENAME"), old.Name, request.Name);
        dsp.ChangeStructureProperties(newName, 10, parent, request.Name, request.Remark);
        DeleteStructure(alias, old.Name, 10, true);
        return;
    }
    MoveStructureOnly(alias, old.Name, newName, 10, parent, request.Name, request.Remark);
    UpdatePatternLinks(alias, QStringLiteral("TABLENAME"), old.Name, request.Name);
    if (HasOwnDatabaseObject(request.Name, true) &&
        LMessageBox(QStringLiteral("M_Pelvar_DOTblStr_CreateTableOnRename"),
                    QStringLiteral("ST_WARNING"), MB::YESNO | MB::ICONQUESTION) == IDYES) {
        TUORecreateTable create;
        create.TableName = newName;
        create.SetSourceAlias(alias);
        create.RecreateTable = true;
        create.CopyData = false;
        RunDSPOperationDirect(create);
    }
}
