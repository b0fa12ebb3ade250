#include "security.h"

#include "dbmanager.h"
#include "dsptable.h"
#include "platform.h"

TDSPNode MakeUserInfo(const QString& user, const QStringList& roles) {
    TDSPNode root(user.toUpper());
    TDSPNode& r = root.AddNode(QStringLiteral("Roles"));
    for (const QString& role : roles)
        r.SetProperty(role.toUpper(), true);
    return root;
}

QStringList UserRoles(const TDSPNode& userInfo) {
    QStringList roles;
    if (const TDSPNode* r = userInfo.FindNode(QStringLiteral("Roles")))
        for (const auto& p : r->Properties())
            if (p.Value.toBool()) roles << p.Name.toUpper();
    return roles;
}

bool TSecurityManager::HavePrivilege(const QString& role) {
    TApplicationManager& mng = BaseMng();
    const QString alias = mng.CurrentAlias();
    // A database without a structure store has no users to check.
    if (!mng.Databases().GetDatabase(alias).TableExists(TDSPTable::kTableName)) return true;
    TDSPTable& dsp = GetDSPTable(alias);
    TDSPList users;
    dsp.FillStructuresList(kUserInfoStructureType, users);
    if (users.Count() == 0) return true;  // a fresh dictionary: its first designer may work
    const QString user = mng.UserName().toUpper();
    if (!dsp.DSPStructureExist(user, kUserInfoStructureType)) return false;
    const TDSPNode info = TDSPNode::FromBytes(dsp.GetStructure(user, kUserInfoStructureType),
                                              QStringLiteral("user %1").arg(user));
    return UserRoles(info).contains(role.toUpper());
}
