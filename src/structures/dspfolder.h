#pragma once

#include <memory>

#include "appcore/dsptable.h"
#include "dspcontainer.h"

class TDOCommonDSPItem;

// A folder that lists the structures of the types it takes, from its
// database's structure store, and follows the store while it is open: a
// structure written, renamed or deleted anywhere in the process is reported
// to the window through DataChanged, which then re-reads the one row.
class TDODSPFolder : public TDODSPContainer {
  public:
    TDODSPFolder();
    ~TDODSPFolder() override;

    bool InternalOpen() override;
    void Close() override;
    bool Refresh() override;
    // SubPath is "<type>:<name>"; a type part that is not a number raises.
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void CreateColumns(TListColumns& Columns) override;
    QString GetSortMenuItemCaption(int ColumnType) override;
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    bool ShowSubItemsPropertyButton() override { return true; }
    void FillActions() override;

    // The Add action: asks for the new structure's properties, stores it
    // empty and opens the DSP tree designer on it.
    virtual void AddStructure();
    // The type of a new structure; 0 lets the user choose.
    virtual int GetDefaultObjectType() const { return 0; }
    // A new, unattached node for a structure of that type.
    virtual std::unique_ptr<TDOCommonDSPItem> CreateDSPObject(int ObjectType) const;

    // The store's notification; may come from any thread, so it only reports.
    void DSPTableChanged(int Kind, const QString& Name, int ObjectType);
    bool Subscribed() const;

    // The folder actions on the selected sub-paths.
    void DeleteSelected(const QStringList& SubObjects);
    void ExportSelected(const QStringList& SubObjects);
    // The selected structures that are still listed, in selection order.
    std::vector<TDOCommonDSPItem*> ItemsOf(const QStringList& SubObjects) const;

  private:
    void ListStructures();
    TDOCommonDSPItem* AddItem(const TDSPListItem& Info);
    std::unique_ptr<TDSPNotifier> FNotifier;
};

// Inheritance order of two structures of one type: an ancestor before its
// descendants; at the first level where their chains differ a name with "$"
// before one without, then names without regard to case.
int CompareHierarchy(const TDOCommonDSPItem& A, const TDOCommonDSPItem& B);
