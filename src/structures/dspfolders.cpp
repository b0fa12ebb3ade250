#include "dspfolders.h"

#include "appcore/texts.h"

namespace {

QString Caption(const char* id) {
    return LString(QLatin1String(id));
}

// Types that have a folder of their own, and two that are known without one.
bool IsKnownObjectType(int type) {
    switch (type) {
        case 10:
        case 11:
        case 12:
        case 14:
        case 16:
        case 18:
        case 19:
        case 20:
        case 21:
        case 30:
        case 65:
        case 66:
        case 70:
        case 71:
        case 72:
        case 73:
        case 74:
        case 75:
        case 81:
        case 82:
        case 83:
        case 84:
            return true;
        default:
            return false;
    }
}

}  // namespace

QString TDOParamStructures::GetCaption() {
    return Caption("M_Pelvar_DODSPStr_ParamStructuresCaption");
}
QString TDOUserProfileStructures::GetCaption() {
    return Caption("M_Pelvar_DOUsers_UserProfileStructuresCaption");
}
QString TDORoleStructures::GetCaption() {
    return Caption("M_Pelvar_DOUsers_RoleStructuresCaption");
}
QString TDOPrivilegeStructures::GetCaption() {
    return Caption("M_Pelvar_DOUsers_PrivilegeStructuresCaption");
}
QString TDOUserInfoStructures::GetCaption() {
    return Caption("M_Pelvar_DOUsers_UserInfoStructuresCaption");
}
QString TDOInternetStructures1::GetCaption() {
    return Caption("M_Pelvar_DODSPStr_InternetSchemes65Caption");
}
QString TDOInternetStructures2::GetCaption() {
    return Caption("M_Pelvar_DODSPStr_InternetSchemes66Caption");
}

QString TDOAllStructures::GetCaption() {
    return Caption("M_Pelvar_DODSPStr_AllStructuresCaption");
}

bool TDOAllStructures::IsEIFolderAccepted(const TPelvarObject& EIFolder) {
    return EIFolder.ClassName() == QLatin1String("TDOEIDSPStrFolder");
}

void TDOAllStructures::CreateColumns(TListColumns& Columns) {
    TDODSPFolder::CreateColumns(Columns);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_ObjectTypeColumnCaption")), 100, 6);
}

QString TDOUnknownStructures::GetCaption() {
    return Caption("M_Pelvar_DODSPStr_UnknownSchemesCaption");
}

bool TDOUnknownStructures::IsObjectTypeAccepted(int ObjectType) const {
    return !IsKnownObjectType(ObjectType);
}
