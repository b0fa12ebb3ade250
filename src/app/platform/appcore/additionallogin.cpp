#include "additionallogin.h"

namespace {
TAdditionalLoginPrompt gPrompt;
}  // namespace

void SetAdditionalLoginPrompt(TAdditionalLoginPrompt prompt) {
    gPrompt = std::move(prompt);
}

bool PromptAdditionalLogin(TAdditionalLoginRequest& request) {
    request.User.clear();
    request.Password.clear();
    return gPrompt && gPrompt(request);
}
