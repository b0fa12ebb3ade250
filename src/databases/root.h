#pragma once

#include "model/pelvarobject.h"

// The top of a database window: one alias node per ODBC data source.
class TDORoot : public TPelvarObject {
  public:
    PELVAR_OBJECT_CREATE(TDORoot)
    bool InternalOpen() override;
    // Shows the data sources added or removed since the root opened; a
    // database in use keeps its node. True when the children changed.
    bool Refresh() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    bool IsFolder() override { return true; }
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void CreateColumns(TListColumns& Columns) override;
    QString GetSortMenuItemCaption(int ColumnType) override;
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    QString GetRegistryPath() override { return QStringLiteral("ROOT"); }
    // A shortcut to the databases is captioned as the tree shows them.
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
};
