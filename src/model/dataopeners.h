#pragma once

#include <QString>
#include <functional>

// How the structure items open the rows of a table or a view: the layer that
// knows the data windows installs the openers, the structures call them.

// Opens and shows the window; false when the object can not be read (the
// opener has told the user why).
using TDataWindowOpener = std::function<bool(const QString& name, const QString& alias)>;
void SetTableDataOpener(TDataWindowOpener opener);
void SetViewDataOpener(TDataWindowOpener opener);
// Without an installed opener the user is told the command is not available
// and the answer is false.
bool OpenTableData(const QString& name, const QString& alias);
bool OpenViewData(const QString& name, const QString& alias);
