#pragma once

#include <QString>
#include <QStringList>

#include "model/objectaction.h"

class TDOCommonDSPItem;
class TDODSPFolder;
struct TDSPPropertiesRequest;

// What the folders and items of database-object structures share.
namespace DBObjects {

// Adds an action; Hint = Caption.
TPelvarObjectAction* AddAction(TPelvarObjectActionList& Actions, const char* Name,
                               const char* CaptionId, const char* Category, int Shortcut, int Image,
                               TPelvarObjectActionOptions Options, bool Default = false);
// The folder's Delete, Export, Add and Edit DSP tree actions (in that order).
void AddFolderActions(TDODSPFolder& Folder, const char* AddCaptionId);
extern const TPelvarObjectActionOptions kItemOptions;      // list item, popup menu
extern const TPelvarObjectActionOptions kSingleSelection;  // folder, one selected
extern const TPelvarObjectActionOptions kAnySelection;     // folder, one or more
// Enables the folder's create action: two or more selected, or one that can
// have its object; with nothing selected the action stays as it was.
void UpdateCreateAction(TDODSPFolder& Folder, TPelvarObjectAction& Action,
                        const QStringList* Selected, bool Table);

// The properties dialog of a new or renamed structure of `type` (the type
// fixed); false when the user cancels.
bool AskProperties(const QString& Alias, int Type, TDSPPropertiesRequest& Request);
// A structure of the name and type exists: asks to overwrite. False: stop.
bool ConfirmOverwrite(const QString& Alias, const QString& Name, int Type);
// Deletes the structure (and, with DropObject, its database object) directly.
bool DeleteStructure(const QString& Alias, const QString& Name, int Type, bool DropObject);
// Moves the structure's body under the new name (the properties set first).
void MoveStructureOnly(const QString& Alias, const QString& OldName, const QString& NewName,
                       int Type, const QString& Parent, const QString& TableName,
                       const QString& Remark);
// Rewrites the pattern links of the alias's PATTERNLINKTOTABLE, when it has
// one: `Column` TABLENAME or PATTERNNAME, from the old name to the new one
// (both upper case).
void UpdatePatternLinks(const QString& Alias, const QString& Column, const QString& OldName,
                        const QString& NewName);

}  // namespace DBObjects
