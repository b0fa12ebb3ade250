#pragma once

#include <QStringList>

class TDOAlias;
class TPelvarObjectList;

// Objects dropped on an alias node. Out of an opened export/import file they
// are imported (the first dragged object decides how); from another database
// its strings and languages go as their folders copy them, anything else in
// one copy of the chosen part of the dictionary. Every question is asked
// before anything is written; declining one changes nothing.
void DropOnAlias(TDOAlias& alias, const QStringList& ParsedPath, const TPelvarObjectList& SubItems);
