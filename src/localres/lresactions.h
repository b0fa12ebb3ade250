#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "model/objectaction.h"
#include "opkit/utiloperation.h"

class TPelvarObject;

// What the local resource nodes share when they act.

// How the nodes run their operations. Tests replace it to watch what is run.
struct TLResOperationRunner {
    std::function<bool(TUtilOperation& operation)> Direct;
    std::function<TOperationResult(TUtilOperation& operation, const QString& caption)> WithProgress;
};
// Installs a runner (an empty member keeps the usual one); returns the one before.
TLResOperationRunner SetLResOperationRunner(TLResOperationRunner runner);
bool RunLResDirect(TUtilOperation& operation);
TOperationResult RunLRes(TUtilOperation& operation, const QString& caption);

// Asks where and how (the extended confirmation offers a file per section),
// which languages, and exports the sections. Any cancel exports nothing.
void ExportLSectionsAsked(const QString& alias, const QStringList& sections, bool extended);
// The same for some strings of one section (all when `idents` is empty).
void ExportLResourcesAsked(const QString& alias, const QString& section, const QStringList& idents);
void ExportXMLAsked(const QString& alias, const QStringList& sections);

// The ID entry: true on OK with `id` holding the entry (letters, digits, "_").
// A new ID gets the caret at the end instead of a selected text.
bool AskLName(QString& id, bool newID);
// The string edit dialog for the string ID: modeless, or modal (then it has
// closed, stored or not, when this returns).
void OpenLResourceDialog(const QString& alias, const QString& stringID, bool modal);
// The search window over the sections or string IDs, from the node at `path`.
void OpenLResSearch(const QString& alias, const QStringList& sections, const QString& path,
                    const QStringList& stringIDs);
// The translation check window over the sections.
void OpenTranslationChecks(const QString& alias, const QStringList& sections);

// "Invalid drop source ..." raised for an object a drop cannot take.
[[noreturn]] void InvalidDropSource(const QString& what, const TPelvarObject& object);

// Adds an action of category "Edit" whose hint is its caption.
TPelvarObjectAction* AddLResAction(TPelvarObject& owner, const char* name, const QString& caption,
                                   int shortcut, int image, TPelvarObjectActionOptions options);
// LMessageBox under "ST_CONFIRMATION"; true on Yes or OK.
bool LResConfirmed(const char* id, int buttons);
