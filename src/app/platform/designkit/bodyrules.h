#pragma once

#include <QStringList>

// Checks the editors of structure bodies share (no window needed).

// Adds a problem for every empty name and every name met twice (without
// regard to case) among `names`; `kind` says what they name ("status").
void CheckRecordNames(const QStringList& names, const QString& kind, QStringList& problems);
// Raises EDSPError "<what> is not saved:" with the problems, one a line,
// when there are any.
void RaiseProblems(const QString& what, const QStringList& problems);
