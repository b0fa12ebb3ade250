#pragma once

#include <QString>
#include <QStringList>

class TDatabase;
class TUtilOperation;

// What the benchmarks share: data sources of their own and timed operations.

// Writes the ODBC driver list and one SQLite data source per alias (database
// file "<dir>/<alias>.sqlite") into `dir`, and points the driver manager at
// them. Call before the first ODBC call.
void PrepareSqliteSources(const QString& dir, const QStringList& aliases);
// Opens the alias's database and gives it the system tables it lacks.
TDatabase& OpenWithSystemTables(const QString& alias);
// Writes `text` to `path` or ends the run.
void WriteBenchFile(const QString& path, const QString& text);
// Runs the operation without a window; milliseconds, or the run ends with its errors.
double TimedOperation(TUtilOperation& op);
