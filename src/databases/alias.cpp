#include "alias.h"

#include <QPointer>

#include "aliascounter.h"
#include "aliasdrops.h"
#include "aliasexchange.h"
#include "appcore/additionallogin.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "config.h"
#include "dataopeners.h"
#include "dataview/tabledatawindows.h"
#include "localres/languagesfolder.h"
#include "localres/lcontainer.h"
#include "model/shortcuts.h"
#include "query/queryform.h"
#include "query/querywindows.h"
#include "structures/dbobjectitems.h"
#include "structures/dspcontainer.h"
#include "systemtablescreator.h"

TDOAlias::TDOAlias() {
    FNotifier = std::make_unique<TAliasNotifier>(
        this, [this](const QString& name) { OnAliasChanged(name); });
    AliasCounter().AddNotifier(FNotifier.get());
}

TDOAlias::~TDOAlias() {
    if (Opened() || FCounted) {
        try {
            Close();
        } catch (...) {
            // Closing a connection while the node goes must not throw out of it.
        }
    }
    FNotifier.reset();
}

bool TDOAlias::IsDefault() const {
    return !AliasName().isEmpty() && AliasName() == BaseMng().CurrentAlias();
}

bool TDOAlias::IsConnected() const {
    return IsDefault() || AliasCounter().GetUsed(AliasName()) > 0;
}

void TDOAlias::HoldUse() {
    if (FCounted || IsDefault()) return;
    AliasCounter().AddDatabase(AliasName());
    FCounted = true;
}

void TDOAlias::ReleaseUse() {
    if (!FCounted) return;
    FCounted = false;
    AliasCounter().RemoveDatabase(AliasName());
}

bool TDOAlias::Connect() {
    if (IsDefault()) return true;
    if (FCounted) return true;
    if (AliasCounter().GetUsed(AliasName()) >= 1) {
        HoldUse();
        return true;
    }
    TAdditionalLoginRequest login;
    login.DatabaseName = AliasName();
    if (!PromptAdditionalLogin(login)) return false;
    TDatabaseManager& dbs = BaseMng().Databases();
    dbs.SetLoginParamsEx(login.User, login.Password, 255, QString(), false, QString(), AliasName());
    login.Password.clear();
    try {
        dbs.OpenDataBase(AliasName(), false);
    } catch (const std::exception& e) {
        dbs.RemoveLoginParams(AliasName());
        BaseMng().ShowException(nullptr, e);
        return false;
    }
    HoldUse();
    return true;
}

bool TDOAlias::InternalOpen() {
    if (!Connect()) return false;
    RegisterConfigItems();
    RegisterDatabaseObjectItems();
    InstallDataWindowOpeners();
    auto structures = std::make_unique<TDOStructures>();
    structures->SetAliasName(AliasName());
    AddSubObject(std::move(structures), QStringLiteral("Structures"));
    auto languages = std::make_unique<TDOLanguages>();
    languages->SetAliasName(AliasName());
    AddSubObject(std::move(languages), QStringLiteral("Languages"));
    auto resources = std::make_unique<TDOLocalResources>();
    resources->SetAliasName(AliasName());
    AddSubObject(std::move(resources), QStringLiteral("LocalResources"));
    return true;
}

void TDOAlias::Close() {
    TPelvarObject::Close();
    if (IsDefault()) return;
    ReleaseUse();
    if (AliasCounter().GetUsed(AliasName()) < 1) BaseMng().Databases().CloseDatabase(AliasName());
}

bool TDOAlias::Refresh() {
    if (AliasCounter().GetUsed(AliasName()) > 0) return false;
    Close();
    Actions().Clear();
    FillActions();
    SubObjects().Clear();
    return true;
}

void TDOAlias::Assign(const TPelvarObject& Source) {
    TDOCommonAliasObject::Assign(Source);
    if (const auto* a = dynamic_cast<const TDOAlias*>(&Source)) FDriverName = a->FDriverName;
}

bool TDOAlias::InternalAcceptDragObject(const QStringList& ParsedPath,
                                        const TPelvarObjectList& SubItems) {
    if (!ParsedPath.isEmpty()) return ParsedPath.first() != AliasName();
    if (SubItems.Count() == 1)
        if (const auto* o = dynamic_cast<const TDOCommonAliasObject*>(SubItems.Items(0)))
            return o->AliasName() != AliasName();
    return false;
}

void TDOAlias::InternalDragObjectDropped(const QStringList& ParsedPath,
                                         const TPelvarObjectList& SubItems) {
    DropOnAlias(*this, ParsedPath, SubItems);
}

void TDOAlias::FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                      const TPelvarObjectList& SubItems) {
    Q_UNUSED(Items);
    Q_UNUSED(SubItems);
}

void TDOAlias::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    Item.Caption = AliasName() + (IsDefault() ? QStringLiteral(" ( default )") : QString());
    Item.ImageIndex = IsConnected() ? 8 : 2;
    Item.SubItems.clear();
    for (int i = 1; i < Columns.Count(); ++i)
        Item.SubItems << (Columns[i].Tag == 1 ? FDriverName : QString());
}

void TDOAlias::FillTreeViewItem(TTreeNodeItem& Item) {
    Item.Text = AliasName() + (IsDefault() ? QStringLiteral(" ( default )") : QString());
    Item.ImageIndex = Item.SelectedIndex = IsConnected() ? 8 : 2;
    Item.HasChildren = true;
}

QString TDOAlias::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOAlias_DOAliasCaption"));
}

void TDOAlias::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    if (ParsePath(ShortCut.FullPath).value(0).isEmpty())
        ShortCut.CaptionID = ShortCut.HintID =
            QStringLiteral("M_Pelvar_DOAlias_LoginDatabaseShortcutCaption");
    else
        ShortCut.Caption = ShortCut.Hint = AliasName();
    ShortCut.ImageIndex = 1;
}

void TDOAlias::FillActions() {
    struct TActionDef {
        const char* Caption;
        const char* Name;
        const char* Category;
        int Image;
        TPelvarObjectActionOptions Extra;
        int Enabling;  // 0 not connected, 1 connected, 2 connected and not the default
    };
    const TActionDef kActionDefs[] = {
        {"M_Pelvar_DOAlias_ConnectDatabaseActionCaption",
         "ConnectAction",
         "Connect",
         15,
         {aoToolBar},
         0},
        {"M_Pelvar_DOAlias_DisconnectDatabaseActionCaption",
         "DisconnectAction",
         "Connect",
         18,
         {aoToolBar},
         2},
        {"M_Pelvar_DOAlias_CreateSystemTableActionCaption",
         "CreateSystemTablesAction",
         "FillBase",
         17,
         {},
         2},
        {"M_Pelvar_DOAlias_QueryActionCaption", "QueryAction", "Query", 16, {aoListItem}, 1},
        {"M_Pelvar_DOAlias_ExportActionCaption", "ExportAction", "Export", 10, {aoListItem}, 1},
        {"M_Pelvar_DOAlias_ImportActionCaption", "ImportAction", "Import", 19, {aoListItem}, 1},
    };
    for (const TActionDef& s : kActionDefs) {
        TPelvarObjectAction* a = Actions().Add();
        a->Caption = a->Hint = LString(QLatin1String(s.Caption));
        a->Name = QLatin1String(s.Name);
        a->Category = QLatin1String(s.Category);
        a->ImageIndex = s.Image;
        a->Options = {aoTreeItem, aoPopupMenu, aoSingleSelection};
        for (TPelvarObjectActionOption o : {aoListItem, aoToolBar})
            if (s.Extra.Contains(o)) a->Options += o;
        const int enabling = s.Enabling;
        auto state = [this, enabling] {
            switch (enabling) {
                case 0:
                    return !IsConnected();
                case 1:
                    return IsConnected();
                default:
                    return IsConnected() && !IsDefault();
            }
        };
        a->Enabled = state();
        a->SetOnUpdate(
            [state](TPelvarObjectAction& action, const QStringList*) { action.Enabled = state(); });
    }
    Actions().FindByName(QStringLiteral("ConnectAction"))->SetOnExecute([this](const QStringList*) {
        Connect();
    });
    Actions()
        .FindByName(QStringLiteral("DisconnectAction"))
        ->SetOnExecute([this](const QStringList*) { DisconnectDatabase(); });
    Actions()
        .FindByName(QStringLiteral("CreateSystemTablesAction"))
        ->SetOnExecute([this](const QStringList*) { CreateSystemTables(); });
    Actions().FindByName(QStringLiteral("QueryAction"))->SetOnExecute([this](const QStringList*) {
        OpenQueryForm(AliasName());
    });
    Actions().FindByName(QStringLiteral("ExportAction"))->SetOnExecute([this](const QStringList*) {
        ExportAliasDatabase(AliasName());
    });
    Actions().FindByName(QStringLiteral("ImportAction"))->SetOnExecute([this](const QStringList*) {
        ImportIntoAlias(AliasName());
    });
}

void TDOAlias::DisconnectDatabase() {
    if (IsDefault()) return;
    // A query window whose user keeps its open transaction keeps the database.
    if (!CloseQueryFormsOf(AliasName())) return;
    TTableDataWindowList::Instance().CloseWindowsOf(AliasName());
    TViewDataWindowList::Instance().CloseWindowsOf(AliasName());
    while (AliasCounter().GetUsed(AliasName()) >= 1)
        AliasCounter().RemoveDatabase(AliasName());
}

void TDOAlias::CreateSystemTables() {
    ::CreateSystemTables(AliasName());
}

void TDOAlias::OnAliasChanged(const QString& databaseName) {
    if (databaseName != AliasName()) return;
    // Every use was removed at once (a disconnect): this node holds none now.
    if (AliasCounter().GetUsed(AliasName()) == 0) FCounted = false;
    DataChanged(FullPath());
}
