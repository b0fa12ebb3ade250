#pragma once

// Installs the structure dialogs (properties, copy and delete confirmations)
// behind their prompts; they run through the interaction seam.
void InstallStructureDialogs();
