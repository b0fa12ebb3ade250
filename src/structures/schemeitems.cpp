// The scheme, status, wizard scenario and scheduler structures: each opens its
// editor once per structure; a second Edit brings that window forward.
#include <memory>

#include "editoractions.h"
#include "formdesignkit/wizardscenario.h"
#include "schedulerkit/shedulerschemeform.h"
#include "schemefolders.h"
#include "structdesignkit/schemeeditors.h"
#include "vformfolder.h"

namespace {

// The item's one action, which replaces the DSP tree action of the common item.
void AddItemEdit(TDOCommonDSPItem& item, const char* name, const char* captionId,
                 std::function<void()> run) {
    TPelvarObjectAction* a = AddEditAction(item, name, captionId, Qt::Key_Return, 11,
                                           {aoListItem, aoPopupMenu, aoToolBar});
    a->Default = true;
    a->SetOnExecute([run](const QStringList*) { run(); });
}

// Loads a new editor and shows it; an editor that fails to load is freed.
template <typename Editor>
void ShowLoaded(std::unique_ptr<Editor> editor) {
    editor->Load();
    editor.release()->show();
}

}  // namespace

void OpenSchemeEditor(const QString& alias, const TDSPListItem& info, bool existing) {
    auto editor = std::make_unique<TOperationSchemeEditForm>();
    editor->SetExistingStructure(existing);
    editor->SetSchemeName(info.Name);
    // A status list added here keeps the editor's own scheme type.
    if (info.ObjectType >= 81 && info.ObjectType <= 83) editor->SetSchemeType(info.ObjectType - 81);
    editor->SetAliasName(alias);
    editor->SetParentName(info.ParentName);
    editor->SetRemark(info.Remark);
    ShowLoaded(std::move(editor));
}

void OpenWizardScenarioEditor(const QString& alias, const QString& name) {
    auto editor = std::make_unique<TWizardScenarioForm>();
    editor->SetScenarioName(name);
    editor->SetAliasName(alias);
    ShowLoaded(std::move(editor));
}

void OpenShedulerEditor(const QString& alias, const QString& name) {
    auto editor = std::make_unique<TShedulerSchemeForm>();
    editor->SetSchemeName(name);
    editor->SetDatabaseName(alias);
    ShowLoaded(std::move(editor));
}

void TDOSchemeOperation::Assign(const TPelvarObject& Source) {
    TDOCommonDSPItem::Assign(Source);
    if (const auto* s = dynamic_cast<const TDOSchemeOperation*>(&Source))
        FSchemeType = s->FSchemeType;
}

void TDOSchemeOperation::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    Item.ImageIndex = 12;
}

void TDOSchemeOperation::FillActions() {
    AddItemEdit(*this, "SimpleOperation_Edit", "M_Pelvar_DOShed_EditActionCaption",
                [this] { Edit(); });
}

void TDOSchemeOperation::Edit() {
    if (auto* open = FindOperationSchemeEditor(Info().Name, FSchemeType, AliasName())) {
        BringEditorForward(open);
        return;
    }
    TDSPListItem info = Info();
    info.ObjectType = 81 + FSchemeType;
    OpenSchemeEditor(AliasName(), info, true);
}

void TDOStatuses::FillActions() {
    AddItemEdit(*this, "SimpleOperation_Edit", "M_Pelvar_DOShed_EditActionCaption",
                [this] { Edit(); });
}

void TDOStatuses::Edit() {
    const QString& name = Info().Name;
    const bool mail = name.compare(QLatin1String("MailStatuses"), Qt::CaseInsensitive) == 0;
    if (!mail && name.compare(QLatin1String("DocStatuses"), Qt::CaseInsensitive) != 0) return;
    if (auto* open = FindDocumentaryStatusEditor(mail)) {
        BringEditorForward(open);
        return;
    }
    auto editor = std::make_unique<TDocumentaryStatusEditForm>();
    editor->SetAliasName(AliasName());
    editor->SetMail(mail);
    ShowLoaded(std::move(editor));
}

void TDOWizardScenario::FillListViewItem(TListRow& Item, const TListColumns& Columns) {
    TDOCommonDSPItem::FillListViewItem(Item, Columns);
    Item.ImageIndex = 13;
}

void TDOWizardScenario::FillActions() {
    AddItemEdit(*this, "WizardScenario_Edit", "M_pelvar_dowizard_EditActionCaption",
                [this] { Edit(); });
}

void TDOWizardScenario::Edit() {
    if (auto* open = FindWizardScenarioForm(Info().Name, AliasName()))
        BringEditorForward(open);
    else
        OpenWizardScenarioEditor(AliasName(), Info().Name);
}

void TDOSheduler::FillActions() {
    AddItemEdit(*this, "Sheduler_Edit", "M_Pelvar_DOShed_EditActionCaption", [this] { Edit(); });
}

void TDOSheduler::Edit() {
    if (auto* open = FindShedulerSchemeForm(Info().Name, AliasName()))
        BringEditorForward(open);
    else
        OpenShedulerEditor(AliasName(), Info().Name);
}

void RegisterStructureEditorItems() {
    RegisterDSPItemClass(12, [] { return std::make_unique<TDOVForm>(); });
    for (int type = 81; type <= 83; ++type)
        RegisterDSPItemClass(type, [type] {
            auto item = std::make_unique<TDOSchemeOperation>();
            item->SetSchemeType(type - 81);
            return item;
        });
    RegisterDSPItemClass(84, [] { return std::make_unique<TDOStatuses>(); });
    RegisterDSPItemClass(30, [] { return std::make_unique<TDOWizardScenario>(); });
    RegisterDSPItemClass(16, [] { return std::make_unique<TDOSheduler>(); });
}
