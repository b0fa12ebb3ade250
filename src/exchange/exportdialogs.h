#pragma once

// Installs the export confirmation dialogs as the prompts the exports ask
// through (model/exportconfirm.h). Every dialog runs through the interaction
// seam, so tests answer them by script.
void InstallExportDialogs();
