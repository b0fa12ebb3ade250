#pragma once

#include <QString>
#include <QStringList>

#include "appcore/dsptable.h"

class TEISource;

// How an opened export/import file is shown: which folder a section lands
// in, the order the folders appear in, which sections a delete takes and how
// the structures of a file sort. Widget-free, so it is tested without a display.

// The folder names (tree sub-paths) of a file.
namespace EIFolders {
inline const QString kLanguages = QStringLiteral("Languages");
inline const QString kStructures = QStringLiteral("Structures");
inline const QString kResources = QStringLiteral("Resources");
inline const QString kTables = QStringLiteral("Tables");
inline const QString kUnknown = QStringLiteral("Unknown");
}  // namespace EIFolders

// The folder a section of that class is shown in ("Unknown" for any class
// no folder names).
QString EIFolderOfClass(const QString& sectionClass);
// The section class a named folder shows; empty for "Unknown" and for a name
// that is no folder.
QString EISectionClassOfFolder(const QString& folder);
// Whether the folder shows sections of that class.
bool EIFolderShows(const QString& folder, const QString& sectionClass);
// The folders the file needs, in the order the first section of each occurs.
QStringList EIFolderOrder(const TEISource& file);
// The decimal indexes of every section the folder shows.
QStringList EISectionIndexesOf(const TEISource& file, const QString& folder);
// The question asked before whole folders of a file are deleted.
QString EIFolderDeleteMessageId(const QStringList& folders);

// The item name of a structure section: type, colon, name ("10:CLIENTS").
QString EIStructureItemName(const TDSPListItem& item);
// The index of the table data section of a table, of the resource section
// "K_" + name of a form; -1 when the file holds none.
int EITableDataSectionOf(const TEISource& file, const QString& tableName);
int EIFormResourceSectionOf(const TEISource& file, const QString& formName);
// Orders two structures of a file by a column tag: 0 names, 2 last change
// (newest first, a missing one last), 3 remarks, 4 table names, 5 types then
// table names, 6 types. Texts compare case-insensitively.
int EICompareStructures(const TDSPListItem& a, const TDSPListItem& b, int tag);
