#pragma once

#include <QStringList>

#include "formdocument.h"

// Forms in a database's structure store (type 12).

// The forms `name` inherits from, root ancestor first, `name` last: its parent
// chain, or for a name with "$" and no parent the form named by the part
// before the first "$" with its own chain. A form not stored yet is a chain of
// itself. Raises EDSPError for a chain that loops.
QStringList FormChain(const QString& alias, const QString& name);
// The bodies of the chain, ready for TFormDocument::LoadChain.
std::vector<TFormDocument::TChainBody> ReadFormChain(const QString& alias, const QString& name);
// Loads the form with everything it inherits.
void LoadFormDocument(TFormDocument& document, const QString& alias, const QString& name);

// Whether giving `name` the parent `newParent` (instead of `oldParent`)
// conflicts: the new parent is missing, is the form itself or one of its
// descendants (a loop), or one of its forms declares a component that the
// form or a form derived from it declares too. `report` lists what was found,
// "form:component" entries joined by ";".
bool AncestorChangeConflicts(const QString& alias, const QString& name, const QString& oldParent,
                             const QString& newParent, QString* report = nullptr);
