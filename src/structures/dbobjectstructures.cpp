// Generators, views, stored procedures (71 to 74) and patterns (75).
#include <memory>

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
#include "treedesignkit/generatorform.h"
#include "treedesignkit/sqleditforms.h"

using namespace DBObjects;

namespace {

struct TKind {
    const char* FolderCaption;
    const char* ShortcutCaption;
    const char* EditAction;
    const char* CreateAction;
    const char* CreateCaption;
    const char* OneCaption;
    const char* ManyCaption;
    const char* RenameQuestion;
};

const TKind& KindOf(int type) {
    static const TKind generator = {"M_Pelvar_DODSPStr_GeneratorStructuresCaption",
                                    "M_Pelvar_DODBStr_GeneratorShortcutCaption",
                                    "GeneratorStr_Edit",
                                    "GeneratorStr_CreateGenerator",
                                    "M_Pelvar_DODBStr_CreateGeneratorActionCaption",
                                    "M_Pelvar_DODBStr_CreateGeneratorOperationCaption",
                                    "M_Pelvar_DODBStr_CreateGeneratorOperationCaption",
                                    "M_Pelvar_DODBStr_CreateGeneratorOnRename"};
    static const TKind view = {"M_Pelvar_DODSPStr_ViewStructuresCaption",
                               "M_Pelvar_DODBStr_ViewShortcutCaption",
                               "ViewStr_Edit",
                               "ViewStr_CreateView",
                               "M_Pelvar_DODBStr_CreateViewActionCaption",
                               "M_Pelvar_DODBStr_CreateViewOperationCaption",
                               "M_Pelvar_DODBStr_CreateViewOperationCaption",
                               "M_Pelvar_DODBStr_CreateViewOnRename"};
    static const TKind exec = {"M_Pelvar_DODSPStr_StoredProcStructuresCaption",
                               "M_Pelvar_DODBStr_StroredProcShortcutCaption",
                               "StoredProcStr_Edit",
                               "StoredProcStr_CreateStoredProc",
                               "M_Pelvar_DODBStr_CreateStoredProcActionCaption",
                               "M_Pelvar_DODSPStr_CreateStoredProcOperationCaption",
                               "M_Pelvar_DODBStr_CreateStoredProcOperationCaption",
                               "M_Pelvar_DODBStr_CreateStoredProcOnRename"};
    static const TKind select = {"M_Pelvar_DODSPStr_SelectStoredProcStructuresCaption",
                                 "M_Pelvar_DODBStr_SelectStoredProcShortcutCaption",
                                 "StoredProcStr_Edit",
                                 "StoredProcStr_CreateSelectStoredProc",
                                 "M_Pelvar_DODBStr_CreateStoredProcActionCaption",
                                 "M_Pelvar_DODSPStr_CreateStoredProcOperationCaption",
                                 "M_Pelvar_DODBStr_CreateStoredProcOperationCaption",
                                 "M_Pelvar_DODBStr_CreateStoredProcOnRename"};
    static const TKind pattern = {"M_pelvar_dodbstr_PatternStructuresCaption",
                                  "M_Pelvar_DODBStr_PatternShortcutCaption",
                                  "Pattern_Edit",
                                  nullptr,
                                  nullptr,
                                  nullptr,
                                  nullptr,
                                  nullptr};
    switch (type) {
        case 71:
            return generator;
        case 72:
            return view;
        case 73:
            return exec;
        case 74:
            return select;
        default:
            return pattern;
    }
}

std::unique_ptr<TUORecreateDBObjects> RecreateOperation(int type, bool plural) {
    switch (type) {
        case 71:
            return plural ? std::unique_ptr<TUORecreateDBObjects>(new TUORecreateGenerators)
                          : std::make_unique<TUORecreateGenerator>();
        case 72:
            return plural ? std::unique_ptr<TUORecreateDBObjects>(new TUORecreateViews)
                          : std::make_unique<TUORecreateView>();
        case 73:
            return plural ? std::unique_ptr<TUORecreateDBObjects>(new TUORecreateExecStoredProcs)
                          : std::make_unique<TUORecreateExecStoredProc>();
        default:
            return plural ? std::unique_ptr<TUORecreateDBObjects>(new TUORecreateSelectStoredProcs)
                          : std::make_unique<TUORecreateSelectStoredProc>();
    }
}

void OpenEditor(int type, const QString& name, const QString& alias) {
    if (type == 71)
        OpenGeneratorEditor(name.toUpper(), alias);
    else
        OpenSqlStructureEditor(type, name.toUpper(), alias);
}

const int kAltEnter = (Qt::ALT | Qt::Key_Return).toCombined();

std::unique_ptr<TDOCommonDSPItem> MakeItem(int type) {
    switch (type) {
        case 71:
            return std::make_unique<TDOGeneratorStructure>();
        case 72:
            return std::make_unique<TDOViewStructure>();
        case 73:
            return std::make_unique<TDOExecStoredProcStructure>();
        case 74:
            return std::make_unique<TDOSelectStoredProcStructure>();
        default:
            return std::make_unique<TDOPatternStructure>();
    }
}

}  // namespace

// ---- the folders ----

QString TDODBObjectStructures::GetCaption() {
    return LString(QLatin1String(KindOf(FType).FolderCaption));
}

std::unique_ptr<TDOCommonDSPItem> TDODBObjectStructures::CreateDSPObject(int ObjectType) const {
    if (ObjectType == FType) return MakeItem(ObjectType);
    return TDODSPFolder::CreateDSPObject(ObjectType);
}

void TDODBObjectStructures::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QLatin1String(KindOf(FType).ShortcutCaption);
    ShortCut.ImageIndex = 4;
}

void TDODBObjectStructures::FillActions() {
    const TKind& kind = KindOf(FType);
    TPelvarObjectActionList& actions = Actions();
    const auto edit = [this](const QStringList* s) {
        if (!s || s->size() != 1) return;
        for (TDOCommonDSPItem* item : ItemsOf(*s))
            static_cast<TDODBObjectStructure*>(item)->EditStructure();
    };
    if (FType == 75) {
        TDODSPFolder::FillActions();
        AddAction(actions, "Pattern_Edit", "M_Pelvar_DOTblStr_EditActionCaption", "Edit",
                  Qt::Key_Return, 11, kSingleSelection, true)
            ->SetOnExecute(edit);
        return;
    }
    if (kind.EditAction)
        AddAction(actions, kind.EditAction, "M_Pelvar_DOTblStr_EditActionCaption", "Edit",
                  Qt::Key_Return, 11, kSingleSelection, true)
            ->SetOnExecute(edit);
    AddFolderActions(*this, FType == 74 ? "M_Pelvar_DODBStr_AddActionCaption"
                                        : "M_Pelvar_DOTblStr_AddActionCaption");
    TPelvarObjectAction* create = AddAction(actions, kind.CreateAction, kind.CreateCaption,
                                            "Database object", 0, 12, kAnySelection);
    create->SetOnExecute([this](const QStringList* s) {
        if (s) CreateObjects(*s);
    });
    create->SetOnUpdate([this](TPelvarObjectAction& a, const QStringList* s) {
        UpdateCreateAction(*this, a, s, false);
    });
    if (FType == 72)
        AddAction(actions, "ViewStr_ViewData", "M_Pelvar_DODBStr_ViewDataActionCaption",
                  "Database object", kAltEnter, 13, kSingleSelection)
            ->SetOnExecute([this](const QStringList* s) {
                if (!s || s->size() != 1) return;
                for (TDOCommonDSPItem* item : ItemsOf(*s))
                    static_cast<TDODBObjectStructure*>(item)->ViewData();
            });
}

void TDODBObjectStructures::AddStructure() {
    TDSPPropertiesRequest request;
    if (!AskProperties(AliasName(), FType, request)) return;
    const QString name = request.Name.toUpper();
    if (!ConfirmOverwrite(AliasName(), name, FType)) return;
    GetDSPTable(AliasName())
        .ChangeStructureProperties(name, FType, request.ParentName.toUpper(), request.Name,
                                   request.Remark);
    // A new generator is only its properties until it is edited.
    if (FType != 71) OpenEditor(FType, name, AliasName());
}

void TDODBObjectStructures::CreateObjects(const QStringList& SubObjects) {
    const std::vector<TDOCommonDSPItem*> items = ItemsOf(SubObjects);
    if (items.size() == 1) {
        auto* item = static_cast<TDODBObjectStructure*>(items.front());
        if (item->CanCreate()) item->CreateObject();
        return;
    }
    if (items.empty()) return;
    std::unique_ptr<TUORecreateDBObjects> operation = RecreateOperation(FType, true);
    operation->SetSourceAlias(AliasName());
    operation->SetWriteFlag(true);
    QStringList names;
    for (TDOCommonDSPItem* item : items)
        if (HasOwnDatabaseObject(item->Info().Name, false)) names << item->Info().Name;
    if (names.isEmpty()) return;
    operation->SetObjectNames(names);
    RunDSPOperation(*operation, LString(QLatin1String(KindOf(FType).ManyCaption)));
}

// ---- the items ----

void TDODBObjectStructure::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    if (Info().ObjectType != 75 && !Info().TableName.isEmpty()) Item.Caption = Info().TableName;
    Item.ImageIndex = 3;
}

void TDODBObjectStructure::FillActions() {
    const int type = Info().ObjectType;
    const TKind& kind = KindOf(type);
    TPelvarObjectActionList& actions = Actions();
    TPelvarObjectActionOptions edit = kItemOptions;
    edit += aoToolBar;
    {
        const char* name = type == 71   ? "GeneratorStr_Edit"
                           : type == 72 ? "ViewStr_Edit"
                           : type == 75 ? "Pattern_Edit"
                                        : "StoredProc_Edit";
        const char* caption = type == 74   ? "M_Pelvar_DODBStr_EditActionCaption"
                              : type == 75 ? "M_pelvar_dodbstr_EditActionCaption"
                                           : "M_Pelvar_DOTblStr_EditActionCaption";
        AddAction(actions, name, caption, "Edit", Qt::Key_Return, 11, edit, true)
            ->SetOnExecute([this](const QStringList*) { EditStructure(); });
    }
    if (type == 75) return;
    TPelvarObjectAction* create =
        AddAction(actions, type == 74 ? "StoredProcStr_CreateStoredProc" : kind.CreateAction,
                  kind.CreateCaption, "Database object", 0, 12, kItemOptions);
    create->SetOnExecute([this](const QStringList*) { CreateObject(); });
    create->SetOnUpdate(
        [this](TPelvarObjectAction& a, const QStringList*) { a.Enabled = CanCreate(); });
    if (type == 72)
        AddAction(actions, "ViewStr_ViewData", "M_Pelvar_DODBStr_ViewDataActionCaption",
                  "Database object", kAltEnter, 13, kItemOptions)
            ->SetOnExecute([this](const QStringList*) { ViewData(); });
}

bool TDODBObjectStructure::CanCreate() const {
    return Info().ObjectType != 75 && HasOwnDatabaseObject(Info().Name, false);
}

void TDODBObjectStructure::EditStructure() {
    OpenEditor(Info().ObjectType, Info().Name, AliasName());
}

void TDODBObjectStructure::CreateObject() {
    if (!CanCreate()) return;
    std::unique_ptr<TUORecreateDBObjects> operation = RecreateOperation(Info().ObjectType, false);
    operation->ObjectName = Info().Name;
    operation->SetSourceAlias(AliasName());
    RunDSPOperation(*operation, LString(QLatin1String(KindOf(Info().ObjectType).OneCaption)));
}

void TDODBObjectStructure::ViewData() {
    OpenViewData(Info().Name, AliasName());
}

void TDODBObjectStructure::EditProperties() {
    // This node may be freed by the notifications of the writes below.
    const TDSPListItem old = Info();
    const int type = old.ObjectType;
    const QString alias = AliasName();
    TDSPPropertiesRequest request;
    request.Name = old.TableName.isEmpty() ? old.Name : old.TableName;
    request.Remark = old.Remark;
    request.ParentName = old.ParentName;
    if (!AskProperties(alias, type, request)) return;
    const QString newName = request.Name.toUpper();
    const QString parent = request.ParentName.toUpper();
    TDSPTable& dsp = GetDSPTable(alias);
    if (newName == old.Name) {
        dsp.ChangeStructureProperties(newName, type, parent, request.Name, request.Remark);
        return;
    }
    if (dsp.DSPStructureExist(newName, type)) {
        if (!ConfirmOverwrite(alias, newName, type)) return;
        if (!DeleteStructure(alias, newName, type, type != 75)) return;
    }
    if (type == 75) {
        MoveStructureOnly(alias, old.Name, newName, type, parent, request.Name, request.Remark);
        UpdatePatternLinks(alias, QStringLiteral("PATTERNNAME"), old.Name, newName);
        return;
    }
    if (DSPDatabaseObjectExists(alias, old.Name, type)) {
        TUOCopyDSPObject copy;
        copy.CreateDBObject = true;
        copy.CopyTableData = true;  // a generator goes on from its value
        copy.SourceName = old.Name;
        copy.SourceType = copy.TargetType = type;
        copy.TargetName = newName;
        copy.SetSourceAlias(alias);
        copy.SetTargetAlias(alias);
        const TOperationResult result = RunDSPOperation(
            copy,
            LString(QStringLiteral("M_Pelvar_DODSPStr_CopyingDSPStructuresOperationCaption")));
        if (!result.Completed || !result.Errors.isEmpty()) return;
        dsp.ChangeStructureProperties(newName, type, parent, request.Name, request.Remark);
        DeleteStructure(alias, old.Name, type, true);
        return;
    }
    MoveStructureOnly(alias, old.Name, newName, type, parent, request.Name, request.Remark);
    if (HasOwnDatabaseObject(request.Name, false) &&
        LMessageBox(QLatin1String(KindOf(type).RenameQuestion), QStringLiteral("ST_WARNING"),
                    MB::YESNO | MB::ICONQUESTION) == IDYES) {
        std::unique_ptr<TUORecreateDBObjects> create = RecreateOperation(type, false);
        create->ObjectName = newName;
        create->SetSourceAlias(alias);
        RunDSPOperationDirect(*create);
    }
}

void RegisterDatabaseObjectItems() {
    RegisterDSPItemClass(10, [] { return std::make_unique<TDOTableStructure>(); });
    for (int type = 71; type <= 75; ++type)
        RegisterDSPItemClass(type, [type] { return MakeItem(type); });
}
