#pragma once

#include <QStringList>

#include "model/pelvarobject.h"

class TEIFile;

// Exports database objects dropped on an opened export/import file into it.
// Each asks what the user must choose (table data and resources, languages)
// and runs the export; a refused question writes nothing.

// Which kinds of section an export added to the file.
struct TEIExported {
    bool Structures = false;
    bool Resources = false;
    bool Tables = false;
    bool Languages = false;
};

// Structure items and structure containers of one database.
bool EIIsStructureSource(const TPelvarObject& object);
// Local resource sections and containers.
bool EIIsSectionSource(const TPelvarObject& object);
// Single languages and a database's languages folder.
bool EIIsLanguageSource(const TPelvarObject& object);

// A whole database: an alias node.
bool EIIsDatabaseSource(const TPelvarObject& object);

TEIExported EIExportStructures(TEIFile& file, const QStringList& ParsedPath,
                               const TPelvarObjectList& SubItems);
TEIExported EIExportSections(TEIFile& file, const QStringList& ParsedPath,
                             const TPelvarObjectList& SubItems);
TEIExported EIExportLanguages(TEIFile& file, const QStringList& ParsedPath,
                              const TPelvarObjectList& SubItems);

// The whole dictionary of the dragged alias: structures, texts, languages
// and, as the user chooses, table rows.
TEIExported EIExportDatabase(TEIFile& file, const TPelvarObjectList& SubItems);

// Tells the windows about the folders of the file root at `rootPath` that an
// export may have added to or created.
void EIAnnounceExport(const TPelvarObject& object, const QString& rootPath,
                      const TEIExported& exported);
