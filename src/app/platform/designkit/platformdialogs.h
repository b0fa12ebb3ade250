#pragma once

// Installs the platform's dialogs behind the prompts of AppCore (the login and
// the additional login); they run through the interaction seam.
void InstallPlatformDialogs();
