#include "login.h"

#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "dbmanager.h"
#include "platform.h"
#include "texts.h"

namespace {
TLoginPrompt gPrompt;
const QString kLastAlias = QStringLiteral("\\LOGIN\\LastAlias");
const QString kLastUser = QStringLiteral("\\LOGIN\\LastUser");
}  // namespace

void SetLoginPrompt(TLoginPrompt prompt) {
    gPrompt = std::move(prompt);
}

bool PerformLogin(const QString& params) {
    Q_UNUSED(params);
    if (!gPrompt) return false;
    TAliasList aliases;
    FillODBCAliasesWithDescription(aliases);
    TLoginData data;
    data.Alias = QString::fromLocal8Bit(qgetenv("PELVAR_LOGIN_ALIAS"));
    data.User = QString::fromLocal8Bit(qgetenv("PELVAR_LOGIN_USER"));
    try {
        data.Alias = LoadRegistryParam(kLastAlias, data.Alias);
        data.User = LoadRegistryParam(kLastUser, data.User);
    } catch (const ERegistryError&) {
        // A damaged last-login entry only loses the pre-filled values.
    }
    TDatabaseManager& dbs = BaseMng().Databases();
    for (;;) {
        data.Password.clear();
        if (!gPrompt(data, aliases)) return false;
        const QString alias = data.Alias.trimmed().toUpper();
        try {
            if (alias.isEmpty())
                throw EDatabaseError(QStringLiteral("Choose the database to log in to"));
            dbs.SetLoginParamsEx(data.User, data.Password, 255, QString(), false, QString(), alias);
            dbs.OpenDataBase(alias);
        } catch (const EPelvarError& e) {
            dbs.RemoveLoginParams(alias);
            Interaction().MessageBox(e.Message(),
                                     LString(QStringLiteral("C_Pelvar_LoginForm_LFormModifier_L"),
                                             QStringLiteral("Login")),
                                     MB::OK | MB::ICONERROR);
            continue;
        }
        dbs.SetDefaultAlias(alias);
        BaseMng().SetUserName(data.User);
        data.Password.clear();
        try {
            SaveRegistryParam(kLastAlias, alias);
            SaveRegistryParam(kLastUser, data.User);
        } catch (const ERegistryError&) {
            // Not remembering the last login never stops one.
        }
        return true;
    }
}
