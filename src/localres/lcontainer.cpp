#include "lcontainer.h"

#include "appcore/texts.h"
#include "model/shortcuts.h"

namespace {

bool StartsWithAny(const QString& id, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (id.startsWith(QLatin1String(p))) return true;
    return false;
}

bool ClassIn(const QString& cls, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (cls == QLatin1String(n)) return true;
    return false;
}

}  // namespace

bool IsSystemSection(const QString& SectionID) {
    const QString id = SectionID.toUpper();
    return StartsWithAny(id, {"E_", "C_", "M_"}) || id == QLatin1String("ST");
}

bool IsCustomSection(const QString& SectionID) {
    const QString id = SectionID.toUpper();
    return StartsWithAny(id, {"K_", "RT_"}) || id == QLatin1String("S");
}

// ---- TDOLContainer ----

bool TDOLContainer::IsLContainerAccepted(const QString& ContainerClass) const {
    return ContainerClass == ClassName();
}

void TDOLContainer::AddContainer(std::unique_ptr<TDOLContainer> Child, const QString& SubPath) {
    Child->SetAliasName(AliasName());
    AddSubObject(std::move(Child), SubPath);
}

// ---- TDOLocalResources ----

bool TDOLocalResources::InternalOpen() {
    AddContainer(std::make_unique<TDOLAllResources>(), QStringLiteral("All"));
    AddContainer(std::make_unique<TDOSystemLocalResources>(), QStringLiteral("System"));
    AddContainer(std::make_unique<TDOCustomLocalResources>(), QStringLiteral("Custom"));
    AddContainer(std::make_unique<TDOLUnknownResources>(), QStringLiteral("Unknown"));
    return true;
}

QString TDOLocalResources::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolders_LocalResources"));
}

void TDOLocalResources::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DOFolders_LocalResources");
    ShortCut.ImageIndex = 7;
}

bool TDOLocalResources::IsEIFolderAccepted(const TPelvarObject& EIFolder) {
    return EIFolder.ClassName() == QLatin1String("TDOEILResFolder");
}

// ---- TDOSystemLocalResources, TDOCustomLocalResources ----

bool TDOSystemLocalResources::InternalOpen() {
    AddContainer(std::make_unique<TDOLSystemForms>(), QStringLiteral("Forms"));
    AddContainer(std::make_unique<TDOLMessages>(), QStringLiteral("Messages"));
    AddContainer(std::make_unique<TDOLErrors>(), QStringLiteral("Errors"));
    AddContainer(std::make_unique<TDOLStandardResources>(), QStringLiteral("Standard"));
    return true;
}

QString TDOSystemLocalResources::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolder_SystemLocalResourcesCaption"));
}

bool TDOSystemLocalResources::AcceptSection(const QString& SectionID) const {
    return IsSystemSection(SectionID);
}

bool TDOSystemLocalResources::IsLContainerAccepted(const QString& ContainerClass) const {
    return ClassIn(ContainerClass, {"TDOSystemLocalResources", "TDOLSystemForms", "TDOLMessages",
                                    "TDOLErrors", "TDOLStandardResources"});
}

bool TDOCustomLocalResources::InternalOpen() {
    AddContainer(std::make_unique<TDOLCustomForms>(), QStringLiteral("Forms"));
    AddContainer(std::make_unique<TDOLStatuses>(), QStringLiteral("Statuses"));
    AddContainer(std::make_unique<TDOLInternet>(), QStringLiteral("Internet"));
    return true;
}

QString TDOCustomLocalResources::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolder_CustomLocalResourcesCaption"));
}

bool TDOCustomLocalResources::AcceptSection(const QString& SectionID) const {
    return IsCustomSection(SectionID);
}

bool TDOCustomLocalResources::IsLContainerAccepted(const QString& ContainerClass) const {
    return ClassIn(ContainerClass,
                   {"TDOCustomLocalResources", "TDOLCustomForms", "TDOLStatuses", "TDOLInternet"});
}

// ---- typed folders ----

bool TDOLTypedFolder::AcceptSection(const QString& SectionID) const {
    const QString id = SectionID.toUpper();
    return FExact ? id == FPrefix : id.startsWith(FPrefix + QLatin1Char('_'));
}

QString TDOLTypedFolder::GetCaption() {
    return LString(FCaptionID);
}

QString TDOLAllResources::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOLRes_AllResourcesCaption"));
}

bool TDOLAllResources::IsEIFolderAccepted(const TPelvarObject& EIFolder) {
    return EIFolder.ClassName() == QLatin1String("TDOEILResFolder");
}

QString TDOLUnknownResources::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOLRes_UnknownResourcesCaption"));
}

bool TDOLUnknownResources::AcceptSection(const QString& SectionID) const {
    return !IsSystemSection(SectionID) && !IsCustomSection(SectionID);
}
