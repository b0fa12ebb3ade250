#pragma once

#include <QString>

// The whole-database transfers of an alias node: each asks its questions
// through the interaction seam and runs one operation under the progress
// window. Declining a question changes nothing.

// Export of the alias's dictionary to a file (or a file per structure).
void ExportAliasDatabase(const QString& alias);
// Import of chosen export files into the alias's database, in one transaction.
void ImportIntoAlias(const QString& alias);
