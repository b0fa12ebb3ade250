#pragma once

#include "dspfolder.h"
#include "dspitem.h"

// The structures that describe database objects: tables (type 10),
// generators (71), views (72), executable (73) and selectable (74) stored
// procedures, and the text patterns (75) that tables link to. Their folders
// and items open the kind's editor, create the object from the structure, and
// carry the object (or the pattern links) along when a structure is renamed.

// The node classes of these kinds, for the folders that list every type.
void RegisterDatabaseObjectItems();

// ---- tables ----

class TDOTableStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOTableStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == 10; }
    int GetDefaultObjectType() const override { return 10; }
    std::unique_ptr<TDOCommonDSPItem> CreateDSPObject(int ObjectType) const override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    void FillActions() override;
    // Asks the new table's name, parent and remark and opens the editor.
    void AddStructure() override;
    // Creates the tables of the selected structures (one asks first when its
    // table exists; several are created keeping their rows).
    void CreateTables(const QStringList& SubObjects);
};

class TDOTableStructure : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOTableStructure)
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillActions() override;
    // Renames the structure, its table (with its rows, when the user wants
    // them) and its pattern links.
    void EditProperties() override;

    void EditStructure();
    void CreateTable();
    void TableData();
    // The table can exist: no "." or "$" in the name.
    bool CanCreate() const;
};

// ---- generators, views, procedures, patterns ----

class TDODBObjectStructures : public TDODSPFolder {
  public:
    explicit TDODBObjectStructures(int ObjectType = 0) : FType(ObjectType) {}
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == FType; }
    int GetDefaultObjectType() const override { return FType; }
    std::unique_ptr<TDOCommonDSPItem> CreateDSPObject(int ObjectType) const override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    void FillActions() override;
    void AddStructure() override;
    void CreateObjects(const QStringList& SubObjects);

  private:
    int FType;
};

class TDODBObjectStructure : public TDOCommonDSPItem {
  public:
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillActions() override;
    void EditProperties() override;

    void EditStructure();
    void CreateObject();
    void ViewData();
    bool CanCreate() const;
};

#define PELVAR_DBOBJECT_CLASSES(Folder, Item, Type) \
    class Folder : public TDODBObjectStructures {   \
      public:                                       \
        Folder() : TDODBObjectStructures(Type) {}   \
        PELVAR_OBJECT_CREATE(Folder)                \
    };                                              \
    class Item : public TDODBObjectStructure {      \
      public:                                       \
        PELVAR_OBJECT_CREATE(Item)                  \
    }
PELVAR_DBOBJECT_CLASSES(TDOGeneratorStructures, TDOGeneratorStructure, 71);
PELVAR_DBOBJECT_CLASSES(TDOViewStructures, TDOViewStructure, 72);
PELVAR_DBOBJECT_CLASSES(TDOExecStoredProcStructures, TDOExecStoredProcStructure, 73);
PELVAR_DBOBJECT_CLASSES(TDOSelectStoredProcStructures, TDOSelectStoredProcStructure, 74);
PELVAR_DBOBJECT_CLASSES(TDOPatternStructures, TDOPatternStructure, 75);
#undef PELVAR_DBOBJECT_CLASSES
