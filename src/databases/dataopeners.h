#pragma once

// Lets the structure items open the table and view data windows.
void InstallDataWindowOpeners();
