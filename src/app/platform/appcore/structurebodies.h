#pragma once

#include <QString>
#include <QStringList>

#include "dsptree.h"
#include "tabledesc.h"

// Object types of DSP structures.
enum TDSPObjectType : int {
    otTable = 10,
    otForm = 12,
    otParams = 14,
    otScheduler = 16,
    otUserProfile = 18,
    otRole = 19,
    otPrivilege = 20,
    otUserInfo = 21,
    otWizardScenario = 30,
    otInternet1 = 65,
    otInternet2 = 66,
    otGenerator = 71,
    otView = 72,
    otExecStoredProc = 73,
    otSelectStoredProc = 74,
    otPattern = 75,
    otSimpleOperation = 81,
    otTableOperation = 82,
    otDocumentaryOperation = 83,
    otStatuses = 84,
};

// Body of a table structure:
//   root (the structure's name), property "TableName"
//     "Fields":  one node per field, properties "DataType", "Size", "Required", "Comment",
//                "Precision", "Default" (the last three only when set)
//     "Indexes": one node per index, properties "Fields" (names joined by ";",
//                a ";" or "\" inside a name escaped by "\"), "Unique", "Primary"
TDSPNode MakeTableStructure(const QString& structureName, const TDicTableDescription& table);
// Raises EDSPError naming the structure when the body does not describe a table.
TDicTableDescription TableFromStructure(const TDSPNode& body, const QString& tableName);

// Bodies of database object structures: the SQL text of views and stored
// procedures ("SQL"), the start value and increment of generators
// ("StartValue", "Increment"), the text of patterns ("Text").
TDSPNode MakeSqlStructure(const QString& name, const QString& sql);
QString StructureSql(const TDSPNode& body);
TDSPNode MakeGeneratorStructure(const QString& name, qint64 startValue);
qint64 GeneratorStartValue(const TDSPNode& body);
// 1 when the body has none.
qint64 GeneratorIncrement(const TDSPNode& body);
void SetGeneratorValues(TDSPNode& body, qint64 startValue, qint64 increment);
