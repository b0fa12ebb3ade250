#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "model/objectaction.h"
#include "model/viewitems.h"

class TRegistry;
class TPelvarObject;
class TPelvarDragObject;
class TPelvarObjectShortcut;
class TEIFile;

// Called with the full path of a node whose data changed (or of its parent).
using TPelvarDataChangedEvent = std::function<void(const QString& FullPath)>;

enum TPelvarChangeType { ctItemChanged, ctItemAdded, ctItemDeleted };

// An owning list of tree objects.
class TPelvarObjectList {
  public:
    TPelvarObjectList() = default;
    TPelvarObjectList(const TPelvarObjectList&) = delete;
    TPelvarObjectList& operator=(const TPelvarObjectList&) = delete;
    virtual ~TPelvarObjectList() = default;

    virtual void Clear() { FList.clear(); }
    TPelvarObject* Add(std::unique_ptr<TPelvarObject> NewItem);
    void Delete(int Index);
    // Hands an item over to the caller and removes it from the list.
    std::unique_ptr<TPelvarObject> Extract(int Index);
    int IndexOf(const TPelvarObject* Item) const;
    TPelvarObject* Items(int Index) const { return FList.at(size_t(Index)).get(); }
    int Count() const { return int(FList.size()); }
    // Clears this list, then appends a copy (DuplicateClass + Assign) of each
    // source item. Assigning a list to itself therefore empties it.
    void Assign(const TPelvarObjectList& Source);
    // Appends a copy of one object made like Assign does.
    TPelvarObject* AddCopyOf(const TPelvarObject& Item);
    // The first item whose SubPath equals SubPath exactly, or null.
    TPelvarObject* FindBySubPath(const QString& SubPath) const;

  private:
    std::vector<std::unique_ptr<TPelvarObject>> FList;
};

// A node of an explorer's object tree: databases, folders, structures,
// resources, opened files. Derived classes override the virtual operations; the
// explorer window relies on the defaults wherever a class does not.
class TPelvarObject {
  public:
    TPelvarObject();
    virtual ~TPelvarObject();
    TPelvarObject(const TPelvarObject&) = delete;
    TPelvarObject& operator=(const TPelvarObject&) = delete;

    // ---- virtual operations, in the order the explorer knows them ----

    // The text after the last "\" of FullPath.
    virtual QString GetSubPath() const;
    // Reads the children (AddSubObject); false when the node cannot be opened.
    virtual bool InternalOpen();
    virtual bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                          const TPelvarObjectList& SubItems);
    virtual void InternalDragObjectDropped(const QStringList& ParsedPath,
                                           const TPelvarObjectList& SubItems);
    // The virtual constructor: a new, empty instance of the object's own class.
    virtual std::unique_ptr<TPelvarObject> Create() const = 0;
    // The concrete class's name ("TDOAlias"), for errors about unexpected objects.
    virtual QString ClassName() const;
    // Copies FullPath only; derived classes copy what a dragged copy needs.
    virtual void Assign(const TPelvarObject& Source);
    virtual void Close();
    // True when the node rebuilt its children (the window rebuilds their nodes).
    virtual bool Refresh();
    // Re-reads the child named SubPath: changed, added (now in SubObjects) or
    // deleted (removed from SubObjects).
    virtual TPelvarChangeType RefreshItem(const QString& SubPath);
    virtual bool AutoOpen();
    virtual bool IsFolder();
    virtual void FillListViewItem(TListRow& Item, const TListColumns& Columns);
    virtual void FillTreeViewItem(TTreeNodeItem& Item);
    virtual void CreateColumns(TListColumns& Columns);
    virtual void StoreFolderOptions(TRegistry& R);
    virtual void LoadFolderOptions(TRegistry& R);
    virtual QString GetSortMenuItemCaption(int ColumnType);
    virtual int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType);
    virtual void FillActions();
    // Appends the class's own choices to a right-button drop's menu, between
    // the drop itself and "Cancel".
    virtual void FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                        const TPelvarObjectList& SubItems);
    virtual QString GetCaption();
    virtual bool HasProperties();
    virtual bool ShowSubItemsPropertyButton();
    virtual void EditProperties();
    virtual void FillShortcut(TPelvarObjectShortcut& ShortCut);
    // The key below "\PELVAR\FOLDER_OPTIONS" that keeps the folder's view options.
    virtual QString GetRegistryPath() = 0;

    // ---- the rest of the base ----

    bool Open();
    std::unique_ptr<TPelvarObject> DuplicateClass() const { return Create(); }
    // The child takes this node's callback, path and parentship; this node owns it.
    TPelvarObject* AddSubObject(std::unique_ptr<TPelvarObject> Item, const QString& SubPath);

    bool AcceptDragObject(const TPelvarDragObject& Source);
    void DragObjectDropped(const TPelvarDragObject& Source);
    // A right-button drop: keeps a copy of Source, fills the drop's choices and
    // has the published drop menu show them at the screen point (XX, YY).
    void DragObjectDroppedRight(const TPelvarDragObject& Source, int XX, int YY);
    // The copy kept by the last right-button drop, null before the first one.
    TPelvarDragObject* RightDragObject() const { return FRightDragObject.get(); }
    // The choices of the last right-button drop, null before the first one.
    const TPelvarObjectActionList* RightDropActions() const { return FRightDropActions.get(); }

    const QString& FullPath() const { return FFullPath; }
    void SetFullPath(const QString& value);
    QString SubPath() const { return GetSubPath(); }
    TPelvarObject* ParentObject() const { return FParentObject; }
    const TPelvarDataChangedEvent& OnDataChanged() const { return FOnDataChanged; }
    void SetOnDataChanged(TPelvarDataChangedEvent value) { FOnDataChanged = std::move(value); }
    // Calls OnDataChanged when it is set.
    void DataChanged(const QString& path) const;
    TPelvarObjectList& SubObjects() { return FSubObjects; }
    const TPelvarObjectList& SubObjects() const { return FSubObjects; }
    bool Opened() const { return FOpened; }
    // Filled on first use: a C++ constructor cannot reach the derived FillActions.
    TPelvarObjectActionList& Actions();
    bool NodesCreated() const { return FNodesCreated; }
    void SetNodesCreated(bool value) { FNodesCreated = value; }

  private:
    void RefillActions();
    void RunRightDrop();

    QString FFullPath;
    QString FSubPath;  // cached: sorting and lookups ask for it very often
    TPelvarObject* FParentObject = nullptr;
    TPelvarDataChangedEvent FOnDataChanged;
    TPelvarObjectList FSubObjects;
    bool FOpened = false;
    TPelvarObjectActionList FActions;
    bool FActionsFilled = false;
    bool FNodesCreated = false;
    std::unique_ptr<TPelvarDragObject> FRightDragObject;
    // Shared so that a menu can hold it weakly: its items then outlive no object.
    std::shared_ptr<TPelvarObjectActionList> FRightDropActions;
};

// A node that belongs to one database alias.
class TDOCommonAliasObject : public TPelvarObject {
  public:
    void Assign(const TPelvarObject& Source) override;
    // The path below the alias ("Structures\Tables"), "ALIAS" for the alias node.
    QString GetRegistryPath() override;
    const QString& AliasName() const { return fAlias; }
    void SetAliasName(const QString& value) { fAlias = value.toUpper(); }

  private:
    QString fAlias;
};

// A node that belongs to one opened export/import file.
class TDOCommonFileObject : public TPelvarObject {
  public:
    void Assign(const TPelvarObject& Source) override;
    QString GetRegistryPath() override { return QString(); }
    // The name of the file the node shows; the file root answers it.
    virtual QString FileName() const { return QString(); }

    TEIFile* EIFile = nullptr;  // not owned: the file counter shares one object per file
};

// Components of a full path: the text before the first "\" is dropped, then one
// entry per component ("\A1\Structures" gives A1, Structures; "" gives none).
QStringList ParsePath(const QString& path);
// Follows the path from Root through loaded children only (never opens a node);
// the empty path gives Root, a missing component null.
TPelvarObject* FindObjectByPath(TPelvarObject* Root, const QString& path);

// Lets a concrete class answer the virtual constructor and its class name.
#define PELVAR_OBJECT_CREATE(Class)                          \
    std::unique_ptr<TPelvarObject> Create() const override { \
        return std::make_unique<Class>();                    \
    }                                                        \
    QString ClassName() const override {                     \
        return QStringLiteral(#Class);                       \
    }
