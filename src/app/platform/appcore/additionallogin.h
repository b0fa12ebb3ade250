#pragma once

#include <QString>
#include <functional>

// What the login to one more database (besides the login database) asks for.
// The password is never stored anywhere.
struct TAdditionalLoginRequest {
    QString DatabaseName;  // the database the login is for; the dialog's title
    QString User;
    QString Password;
};

// Shows the additional login; false when the user cancels. Installed by the
// user interface; without one, such logins are cancelled.
using TAdditionalLoginPrompt = std::function<bool(TAdditionalLoginRequest& request)>;
void SetAdditionalLoginPrompt(TAdditionalLoginPrompt prompt);

// Asks for the user name and password of `request.DatabaseName`; false when
// the user cancels.
bool PromptAdditionalLogin(TAdditionalLoginRequest& request);
