#pragma once

#include <QString>

// The alias action that prepares a database for the dictionary: asks, then
// creates its system tables one by one, asking before it replaces each table
// that exists. Nothing happens for the default database. An error ends the
// run with the tables made so far kept, and reaches the caller.
void CreateSystemTables(const QString& databaseName);
