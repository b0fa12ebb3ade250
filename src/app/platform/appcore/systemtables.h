#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "tabledesc.h"

// The tables in which the platform keeps a dictionary, in the order they are
// created: QXMAIL_DSP, QX_CFG, the log table, LANGUAGES, TEXT_RESOURCES and,
// unless the platform works as release 17, USER_LEGACY.
QList<TDicTableDescription> SystemTableDefinitions(bool workAs17Version,
                                                   const QString& logTableName);

// Creates the missing system tables of a database without asking, and stores
// the standard languages when it creates LANGUAGES. Returns the names of the
// tables it created. Used for new demo and test databases.
QStringList CreateMissingSystemTables(const QString& alias);
