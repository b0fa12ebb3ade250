#pragma once

#include "model/pelvarobject.h"

// The top of an explorer window on an export/import file: the file's sections
// grouped into folders, in the order their kinds first occur in the file. The
// file is shared through the file counter with every other window on it.
class TDOFileRoot : public TDOCommonFileObject {
  public:
    PELVAR_OBJECT_CREATE(TDOFileRoot)
    TDOFileRoot() = default;
    explicit TDOFileRoot(const QString& fileName) : FFileName(fileName) {}
    ~TDOFileRoot() override;

    QString FileName() const override { return FFileName; }
    void SetFileName(const QString& name) { FFileName = name; }

    // Opens or shares the file; raises what opening it raises (a corrupt
    // file names itself and the line), holding nothing then.
    bool InternalOpen() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    void Close() override;
    bool Refresh() override;
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    bool IsFolder() override { return true; }
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    // Folders keep the order in which their kinds first occur in the file.
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    void FillActions() override;
    // Asks, then deletes every section of the named folders.
    void DeleteFolders(const QStringList& Folders);

  private:
    void BuildFolders();
    void Release();
    QString FFileName;
    bool FHolding = false;  // one use of the file counter's item is ours
};
