#pragma once

// Lets the structure items open the table and view data windows, and the
// query window search its result with the data windows' column search.
void InstallDataWindowOpeners();
