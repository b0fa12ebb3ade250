#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "appcore/dsptable.h"
#include "opkit/utiloperation.h"

class TEIFile;

// What the structure folders and items share when they act: how they run
// their operations, the database-object test of a structure and the export.

// How structure nodes run their operations. Tests replace it to watch what is
// run and with which options.
struct TDSPOperationRunner {
    std::function<bool(TUtilOperation& operation)> Direct;
    std::function<TOperationResult(TUtilOperation& operation, const QString& caption)> WithProgress;
};
// Installs a runner (an empty member keeps the usual one); returns the one before.
TDSPOperationRunner SetDSPOperationRunner(TDSPOperationRunner runner);
// Without a progress window; true on success.
bool RunDSPOperationDirect(TUtilOperation& operation);
// Under a progress window that reports the operation's errors.
TOperationResult RunDSPOperation(TUtilOperation& operation, const QString& caption);

// Whether the database object a structure describes exists in its database:
// the table of a table structure, the generator, view or procedure of types 71
// to 74. Other types have none.
bool DSPDatabaseObjectExists(const QString& alias, const QString& name, int objectType);

// Imports the structure sections of the file into the database, replacing
// structures of the same names, with what the copy confirmation's answers add.
void ImportDSPSections(TEIFile& file, const QString& alias, const QList<int>& indexes,
                       bool createObjects, bool tableData, bool resources);

// Asks where and how, then exports the structures (forms and tables counted
// for the dialog's choices). Declining any question exports nothing.
void ExportDSPRecords(const QString& alias, const TDSPList& records);
