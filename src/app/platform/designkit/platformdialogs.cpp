#include "platformdialogs.h"

#include "additionallogindialog.h"
#include "logindialog.h"

void InstallPlatformDialogs() {
    SetLoginPrompt(ExecLoginDialog);
    SetAdditionalLoginPrompt(ExecAdditionalLoginForm);
}
