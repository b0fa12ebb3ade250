#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The ODBC driver manager library and the data sources it knows.

// The default driver manager library.
QString DefaultOdbcLibrary();

// Loads (or replaces) the driver manager. Raises EDatabaseError naming the
// library when it cannot be loaded or lacks a function; the previous library
// stays in use then. Refused while connections are open.
void ReloadOdbcLibrary(const QString& libraryName);
QString OdbcLibraryName();

// Alias names and descriptions of the user and system data sources, in the
// order the driver manager lists them.
using TAliasList = QList<QPair<QString, QString>>;
void FillODBCAliasesWithDescription(TAliasList& list);
