#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "appcore/tabledesc.h"
#include "opkit/utiloperation.h"

// Creating and recreating the database objects that structures describe, from
// their structures, in the database SourceAlias(). Each run is one
// transaction: a failure at any step leaves the database as it was (an
// existing table with every row). Names with "$" (derived structures) or, for
// tables, "." name no database object of their own and are refused.

// One field of the new table fed from a field of the old one.
struct TRecreateFieldPair {
    QString OldName;
    QString NewName;
    bool operator==(const TRecreateFieldPair&) const = default;
};
using TRecreateFieldPairs = QList<TRecreateFieldPair>;

// The fields both tables have, by name (case aside), in the new table's order.
TRecreateFieldPairs DefaultFieldPairs(const TDicTableDescription& oldTable,
                                      const TDicTableDescription& newTable);
// True when the name can have a database object of its own: no "$", and for
// tables (`table`) no ".".
bool HasOwnDatabaseObject(const QString& name, bool table);
// The view, generator or stored procedure `name` of the database `alias`
// created from the structure body `structure`, an existing one dropped first.
// A generator starts at `start`, else at the structure's start value.
void RecreateDBObject(const QString& alias, int type, const QString& name,
                      const QByteArray& structure, std::optional<qint64> start = std::nullopt);

// The table of the structure TableName (type 10). A missing table is created.
// An existing one, with RecreateTable, is created anew: with CopyData its rows
// move into the new table inside the server (INSERT ... SELECT) through the
// field pairs, converted where the engine can; a value that can not convert,
// or a NULL for a field that became required, stops the run with a message
// naming the field and the row. Without CopyData the rows are dropped.
class TUORecreateTable : public TUtilOperation {
  public:
    QString TableName;
    bool RecreateTable = true;
    bool CopyData = true;
    // The mapping the user confirmed (ordinary and long fields) for the new
    // table's Fields; all three empty: fields pair by name.
    TRecreateFieldPairs FieldPairs;
    TRecreateFieldPairs BlobFieldPairs;
    QStringList Fields;
    void Execute(TOperationContext& context) override;
};

// The tables of ObjectNames(), each as TUORecreateTable with its fields paired
// by name, all in one transaction.
class TUORecreateTables : public TUtilOperation {
  public:
    bool CopyData = true;
    void Execute(TOperationContext& context) override;
};

// Views, generators and stored procedures: the object is dropped when it
// exists and created from its structure. Singles act on ObjectName, the
// plural classes on ObjectNames() (skipping names with "$"), all in one
// transaction.
class TUORecreateDBObjects : public TUtilOperation {
  public:
    explicit TUORecreateDBObjects(int objectType) : FObjectType(objectType) {}
    int ObjectType() const { return FObjectType; }
    QString ObjectName;  // the single object; empty: ObjectNames()
    // Generators: an existing generator goes on from its current value
    // rather than from the structure's start value.
    bool KeepValue = true;
    void Execute(TOperationContext& context) override;

  private:
    int FObjectType;
};

#define PELVAR_RECREATE_OPERATION(Class, Type)  \
    class Class : public TUORecreateDBObjects { \
      public:                                   \
        Class() : TUORecreateDBObjects(Type) {} \
    }
PELVAR_RECREATE_OPERATION(TUORecreateGenerator, 71);
PELVAR_RECREATE_OPERATION(TUORecreateGenerators, 71);
PELVAR_RECREATE_OPERATION(TUORecreateView, 72);
PELVAR_RECREATE_OPERATION(TUORecreateViews, 72);
PELVAR_RECREATE_OPERATION(TUORecreateExecStoredProc, 73);
PELVAR_RECREATE_OPERATION(TUORecreateExecStoredProcs, 73);
PELVAR_RECREATE_OPERATION(TUORecreateSelectStoredProc, 74);
PELVAR_RECREATE_OPERATION(TUORecreateSelectStoredProcs, 74);
#undef PELVAR_RECREATE_OPERATION
