#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "appcore/tabledesc.h"

// What the table structure editor does without a window: reads a table
// structure with the fields it inherits, checks an edited one and writes it.
class TTableStructureRules {
  public:
    // Reads the structure `structureName` (type 10) of the alias and the
    // fields of its ancestors (ParentName, the parent's parent, ...). A new
    // structure without a body starts with an auto-increment key field "ID".
    void Load(const QString& alias, const QString& structureName, const QString& tableName,
              const QString& parentName, bool newStructure);

    const QString& Alias() const { return FAlias; }
    const QString& StructureName() const { return FStructureName; }
    const QString& TableName() const { return FTable.Name; }
    const QString& ParentName() const { return FParentName; }
    bool NewStructure() const { return FNewStructure; }

    // The ancestors' fields, root first: shown, never edited here.
    const QList<TDicFieldDescription>& InheritedFields() const { return FInherited; }
    // The structure's own fields and indexes, as the editor changes them.
    TDicTableDescription& Table() { return FTable; }
    const TDicTableDescription& Table() const { return FTable; }

    // The first fault of the edited structure as a message for the user;
    // empty when it can be saved.
    QString Check() const;
    // Checks (raising EDSPError with the fault) and writes the body and the
    // remark; the structure is no longer new afterwards.
    void Save(const QString& remark);

    // The field types offered, by type code (index = code).
    static QStringList TypeNames();
    static bool TypeHasSize(int type);
    static bool TypeHasPrecision(int type);

  private:
    QString FAlias;
    QString FStructureName;
    QString FParentName;
    bool FNewStructure = false;
    QList<TDicFieldDescription> FInherited;
    TDicTableDescription FTable;
};
