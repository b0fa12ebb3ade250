#include "dspcontainer.h"

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "dspactions.h"
#include "dspfolders.h"

// ---- TDODSPContainer ----

bool TDODSPContainer::IsDSPContainerAccepted(const QString& ContainerClass) const {
    return ContainerClass == ClassName();
}

void TDODSPContainer::AddContainer(std::unique_ptr<TDODSPContainer> Child, const QString& SubPath) {
    Child->SetAliasName(AliasName());
    AddSubObject(std::move(Child), SubPath);
}

void TDODSPContainer::FillActions() {
    TPelvarObjectAction* a = Actions().Add();
    a->Name = QStringLiteral("DSP_Export");
    a->Caption = a->Hint = LString(QStringLiteral("M_Pelvar_DODSPStr_ExportToFileActionCaption"));
    a->Category = QStringLiteral("Edit");
    a->ImageIndex = 10;
    a->Options = {aoListItem, aoSubObjects,     aoPopupMenu,
                  aoToolBar,  aoMultySelection, aoSingleSelection};
    a->SetOnExecute([this](const QStringList* selected) { ExportContainer(selected); });
}

void TDODSPContainer::ExportContainer(const QStringList* SubObjects) {
    std::vector<const TContainerRole*> takers;
    if (SubObjects && !SubObjects->isEmpty()) {
        for (const QString& subPath : *SubObjects)
            if (const auto* c =
                    dynamic_cast<const TContainerRole*>(this->SubObjects().FindBySubPath(subPath)))
                takers.push_back(c);
        if (takers.empty()) return;
    } else {
        takers.push_back(this);
    }
    TDSPList all, kept;
    GetDSPTable(AliasName()).FillStructuresList(0, all);
    for (int i = 0; i < all.Count(); ++i)
        for (const TContainerRole* c : takers)
            if (c->IsObjectTypeAccepted(all.Items(i).ObjectType)) {
                kept.AddCopy(all.Items(i));
                break;
            }
    if (kept.Count() > 0) ExportDSPRecords(AliasName(), kept);
}

// ---- TDOStructures ----

bool TDOStructures::InternalOpen() {
    RegisterStructureEditorItems();
    AddContainer(std::make_unique<TDOAllStructures>(), QStringLiteral("All"));
    AddContainer(std::make_unique<TDOTableStructures>(), QStringLiteral("Tables"));
    AddContainer(std::make_unique<TDOVFormStructures>(), QStringLiteral("Forms"));
    AddContainer(std::make_unique<TDOParamStructures>(), QStringLiteral("Params"));
    AddContainer(std::make_unique<TDOSecurityStructures>(), QStringLiteral("Security"));
    AddContainer(std::make_unique<TDOShedulerStructures>(), QStringLiteral("Sheduler"));
    AddContainer(std::make_unique<TDOSchemesStructures>(), QStringLiteral("Schemes"));
    AddContainer(std::make_unique<TAllDOInternetStructures>(), QStringLiteral("Internet"));
    AddContainer(std::make_unique<TDOGeneratorStructures>(), QStringLiteral("Generators"));
    AddContainer(std::make_unique<TDOViewStructures>(), QStringLiteral("Views"));
    AddContainer(std::make_unique<TDOExecStoredProcStructures>(), QStringLiteral("StoredProcs"));
    AddContainer(std::make_unique<TDOSelectStoredProcStructures>(),
                 QStringLiteral("SelectStoredProcs"));
    AddContainer(std::make_unique<TDOPatternStructures>(), QStringLiteral("Pattern"));
    AddContainer(std::make_unique<TDOWizardScenarioStructures>(),
                 QStringLiteral("WizardScenarios"));
    AddContainer(std::make_unique<TDOUnknownStructures>(), QStringLiteral("Unknown"));
    return true;
}

QString TDOStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolders_StructuresCaption"));
}

bool TDOStructures::IsEIFolderAccepted(const TPelvarObject& EIFolder) {
    return EIFolder.ClassName() == QLatin1String("TDOEIDSPStrFolder");
}

// ---- TAllDOInternetStructures ----

bool TAllDOInternetStructures::InternalOpen() {
    AddContainer(std::make_unique<TDOInternetStructures1>(), QStringLiteral("65"));
    AddContainer(std::make_unique<TDOInternetStructures2>(), QStringLiteral("66"));
    return true;
}

QString TAllDOInternetStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DODSPStr_InternetSchemesCaption"));
}

bool TAllDOInternetStructures::IsObjectTypeAccepted(int ObjectType) const {
    return ObjectType == 65 || ObjectType == 66;
}

bool TAllDOInternetStructures::IsDSPContainerAccepted(const QString& ContainerClass) const {
    return QStringList{ClassName(), QStringLiteral("TDOInternetStructures1"),
                       QStringLiteral("TDOInternetStructures2")}
        .contains(ContainerClass);
}

// ---- TDOSecurityStructures ----

bool TDOSecurityStructures::InternalOpen() {
    AddContainer(std::make_unique<TDOPrivilegeStructures>(), QStringLiteral("Privilege"));
    AddContainer(std::make_unique<TDOUserProfileStructures>(), QStringLiteral("UserProfile"));
    AddContainer(std::make_unique<TDORoleStructures>(), QStringLiteral("Role"));
    AddContainer(std::make_unique<TDOUserInfoStructures>(), QStringLiteral("User"));
    return true;
}

QString TDOSecurityStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DODSPSTR_SecurityItemsCaption"));
}

bool TDOSecurityStructures::IsObjectTypeAccepted(int ObjectType) const {
    return ObjectType >= 18 && ObjectType <= 21;
}

bool TDOSecurityStructures::IsDSPContainerAccepted(const QString& ContainerClass) const {
    return QStringList{ClassName(), QStringLiteral("TDOPrivilegeStructures"),
                       QStringLiteral("TDOUserProfileStructures"),
                       QStringLiteral("TDORoleStructures"), QStringLiteral("TDOUserInfoStructures")}
        .contains(ContainerClass);
}

// ---- TDOSchemesStructures ----

bool TDOSchemesStructures::InternalOpen() {
    const struct {
        const char* SubPath;
        int Type;
    } operations[] = {{"Simple", 81}, {"Table", 82}, {"Documentary", 83}};
    int index = 0;
    for (const auto& o : operations) {
        auto folder = std::make_unique<TDOSchemeOperationStructures>();
        folder->SetIndex(++index);
        folder->SetDSPObjectType(o.Type);
        AddContainer(std::move(folder), QLatin1String(o.SubPath));
    }
    auto statuses = std::make_unique<TDOStatusesStructures>();
    statuses->SetIndex(++index);
    AddContainer(std::move(statuses), QStringLiteral("Statuses"));
    return true;
}

QString TDOSchemesStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DODSPStr_SchemesCaption"));
}

bool TDOSchemesStructures::IsObjectTypeAccepted(int ObjectType) const {
    return ObjectType >= 81 && ObjectType <= 84;
}

bool TDOSchemesStructures::IsDSPContainerAccepted(const QString& ContainerClass) const {
    return ContainerClass == ClassName() ||
           ContainerClass == QLatin1String("TDOSchemeOperationStructures");
}

int TDOSchemesStructures::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2,
                                  int CompareType) {
    const auto* a = dynamic_cast<const TDOCommonSchemeOperationStructures*>(Item1);
    const auto* b = dynamic_cast<const TDOCommonSchemeOperationStructures*>(Item2);
    if (a && b) return a->Index() - b->Index();
    return TDODSPContainer::Compare(Item1, Item2, CompareType);
}
