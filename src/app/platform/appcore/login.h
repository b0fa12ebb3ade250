#pragma once

#include <QString>
#include <functional>

#include "datasources.h"

// What the login dialog asks for. The password is never stored anywhere.
struct TLoginData {
    QString Alias;
    QString User;
    QString Password;
};

// Shows the login dialog with the data sources to choose from; false when the
// user cancels. Installed by the user interface; without one, logins fail.
using TLoginPrompt = std::function<bool(TLoginData& data, const TAliasList& aliases)>;
void SetLoginPrompt(TLoginPrompt prompt);

// Logs in to the default database: asks through the login prompt (pre-filled
// with the last successful login, or PELVAR_LOGIN_ALIAS / PELVAR_LOGIN_USER),
// connects, and on failure shows the reason and asks again. False when the user
// cancels. On success the application manager holds the alias and user.
bool PerformLogin(const QString& params);
