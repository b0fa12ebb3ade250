#pragma once

#include <QStringList>

// The main window's resource commands, on the default database.

// The system sections: IDs starting "E_", "C_" or "M_", or equal to "ST"
// (compared upper-cased), in list order.
QStringList SystemResourceSections(const QStringList& sections);
// The sections of the ActiveX libraries: IDs starting "M_VORNAKAXLIB_".
QStringList ActiveXResourceSections(const QStringList& sections);

// Asks for files and imports them whole.
void ImportFilesCommand();
// Asks where and which languages, and exports the system sections.
void ExportSystemResourcesCommand();
// Asks for a directory and the languages; each library section goes to
// "<directory>/<section>.dat" (an existing file: rewrite, add or stop).
void ExportActiveXResourcesCommand();
