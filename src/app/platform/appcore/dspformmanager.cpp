#include "dspformmanager.h"

#include "dsptable.h"
#include "platform.h"

bool TDSPFormManager::LoadPureStructure(const QString& alias, const QString& name, int objectType) {
    FRoot = TDSPNode();
    FLoaded = false;
    FLastError.clear();
    try {
        const QByteArray bytes = GetDSPTable(alias).GetStructure(name, objectType);
        // An empty body is an empty tree named after the structure.
        FRoot = bytes.isEmpty() ? TDSPNode(name) : TDSPNode::FromBytes(bytes, name);
    } catch (const EPelvarError& e) {
        FRoot = TDSPNode();
        FLastError = e.Message();
        return false;
    }
    FAlias = alias;
    FName = name;
    FObjectType = objectType;
    FLoaded = true;
    return true;
}

void TDSPFormManager::SavePureStructure() {
    if (!FLoaded) throw EDSPError(QStringLiteral("No structure is loaded to be saved."));
    GetDSPTable(FAlias).PutStructure(FName, FObjectType, FRoot.ToBytes());
}
