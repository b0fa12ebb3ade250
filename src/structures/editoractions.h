#pragma once

#include <QString>
#include <functional>

#include "model/objectaction.h"
#include "model/pelvarobject.h"

class QWidget;

// What the folders and items with editors of their own share.

// Adds an action of category "Edit" whose hint is its caption.
TPelvarObjectAction* AddEditAction(TPelvarObject& owner, const char* name, const char* captionId,
                                   int shortcut, int image, TPelvarObjectActionOptions options);
// The option sets of the folder actions: one sub-object, several, or also none.
TPelvarObjectActionOptions SubObjectOptions();
TPelvarObjectActionOptions ManySubObjectOptions();
TPelvarObjectActionOptions AnySubObjectOptions();

// Brings an open editor window forward: restored when minimised, then shown.
void BringEditorForward(QWidget* window);

class TDODSPFolder;
class TDOCommonDSPItem;

// The folder actions, as the structure folders offer them (with the common
// handlers), for folders that order or caption them their own way.
TPelvarObjectAction* AddTreeAction(TDODSPFolder& folder);
TPelvarObjectAction* AddDeleteAction(TDODSPFolder& folder);
TPelvarObjectAction* AddExportAction(TDODSPFolder& folder);
TPelvarObjectAction* AddAddAction(TDODSPFolder& folder, const char* name, const char* captionId);
// An action on the one selected structure (nothing with none or several).
TPelvarObjectAction* AddSelectedAction(TDODSPFolder& folder, const char* name,
                                       const char* captionId, int shortcut, int image,
                                       std::function<void(TDOCommonDSPItem&)> run);
