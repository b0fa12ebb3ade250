#pragma once

#include <QString>
#include <QStringList>

// Rules of the visual-form properties dialog that need no window.

// A form name: a component name, or two joined by the first "$" (a form
// derived from the one named before it).
bool IsFormName(const QString& name);

// The tables a form may be bound to: the tables of the database's dictionary
// (its table structures) that derive from the base form's table. The base is
// the form named before the first "$" of `name`, else `parent`; `baseTable`
// receives its table (empty without a base). Without a base table every
// table is offered.
QStringList FormTableList(const QString& alias, const QString& name, const QString& parent,
                          QString* baseTable);
