#pragma once

#include "appcore/dsptable.h"
#include "databases/commonfolder.h"
#include "model/roles.h"

// A node of a database that groups structure folders: it knows which
// structure types and which containers it takes, and exports what it holds.
class TDODSPContainer : public TDOCommonFolder, public TContainerRole {
  public:
    QString ContainerAlias() const override { return AliasName(); }
    // Every concrete container says which structure types it holds.
    bool IsObjectTypeAccepted(int ObjectType) const override = 0;
    // Whether a container of that class (its ClassName) may be dropped here.
    virtual bool IsDSPContainerAccepted(const QString& ContainerClass) const;
    void FillActions() override;
    // Structures and structure containers of another database, or structures
    // dragged out of an export/import file (items of its structure folder, or
    // the folder itself), when this container takes each of them.
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    // Copies or imports them, after the copy confirmation where it applies.
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    // Structures, and what the dragged containers of SourceAlias take, copied
    // here after the copy confirmation where database objects or forms come.
    void CopyFromDatabase(const QString& SourceAlias, const TPelvarObjectList& SubItems);
    // Table structures or table folders of another database: the choice of
    // copying their rows by a condition.
    void FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                const TPelvarObjectList& SubItems) override;
    // The rows of the dragged tables copied into this database's tables of
    // the same names; one table after the user chose rows and fields.
    void CopyTablesByFilter(const QString& SourceAlias, const TPelvarObjectList& SubItems);
    // Exports every structure of the database that the selected child
    // containers take, or, without a selection, that this container takes.
    void ExportContainer(const QStringList* SubObjects);

  protected:
    // Adds a child container bound to this container's database.
    void AddContainer(std::unique_ptr<TDODSPContainer> Child, const QString& SubPath);
};

// The "Structures" node of a database: every folder of its structures.
class TDOStructures : public TDODSPContainer {
  public:
    PELVAR_OBJECT_CREATE(TDOStructures)
    bool InternalOpen() override;
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int) const override { return true; }
    bool IsDSPContainerAccepted(const QString&) const override { return true; }
    bool IsEIFolderAccepted(const TPelvarObject& EIFolder) override;
};

// "Internet": the folders of the two internet structure types.
class TAllDOInternetStructures : public TDODSPContainer {
  public:
    PELVAR_OBJECT_CREATE(TAllDOInternetStructures)
    bool InternalOpen() override;
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override;
    bool IsDSPContainerAccepted(const QString& ContainerClass) const override;
};

// "Security": privileges, user profiles, roles and users.
class TDOSecurityStructures : public TDODSPContainer {
  public:
    PELVAR_OBJECT_CREATE(TDOSecurityStructures)
    bool InternalOpen() override;
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override;
    bool IsDSPContainerAccepted(const QString& ContainerClass) const override;
};

// "Schemes": the three scheme operation folders and the statuses.
class TDOSchemesStructures : public TDODSPContainer {
  public:
    PELVAR_OBJECT_CREATE(TDOSchemesStructures)
    bool InternalOpen() override;
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override;
    bool IsDSPContainerAccepted(const QString& ContainerClass) const override;
    // The four folders keep their order under every sort.
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
};

// The dragged structures and every structure of the dragged containers'
// database that they take, each once (the database's list read once); any
// other dragged node raises.
TDSPList DraggedStructures(const TPelvarObjectList& SubItems);
