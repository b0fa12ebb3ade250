#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <vector>

#include "model/pelvarobject.h"
#include "printers.h"

// A small world of test folders. The content of every folder lives in the
// world (path -> entries), so a test changes "the data" and lets folders and
// windows find out through their usual operations.
struct TTestEntry {
    QString Name;
    bool Folder = false;
    int Size = 0;    // column tag 1
    QString Remark;  // column tag 2
};

struct TTestActionDef {
    QString Name;
    TPelvarObjectActionOptions Options;
    QString Category;
    int Shortcut = 0;
    bool Default = false;
};

struct TTestWorld {
    std::map<QString, std::vector<TTestEntry>> Content;  // folder path -> children
    std::map<QString, int> Opens;                        // path -> successful opens
    std::set<QString> FailOpen;
    std::set<QString> AcceptDrops;     // folders that take every drop
    std::set<QString> WithProperties;  // objects that have properties
    std::set<QString> PropertyButton;  // folders that show the properties button
    std::map<QString, std::vector<TTestActionDef>> Actions;  // object path -> its actions
    std::map<QString, QString> BadAddAnswer;  // RefreshItem answers "added" without adding
    QStringList Log;                          // what ran: actions, drops, properties
    QStringList AcceptedPath;                 // the parsed path of the last drag offered
    std::map<QString, int> LoadedOptions;     // path -> LoadFolderOptions calls

    void Reset() { *this = TTestWorld(); }
    void Add(const QString& folder, TTestEntry entry) { Content[folder].push_back(entry); }
    void Remove(const QString& folder, const QString& name);
};

TTestWorld& World();

// A folder of the test world; its children come from World().Content.
class TTestFolder : public TDOCommonAliasObject {
  public:
    PELVAR_OBJECT_CREATE(TTestFolder)
    bool InternalOpen() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    void Assign(const TPelvarObject& Source) override;
    bool Refresh() override;
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    bool IsFolder() override { return FFolder; }
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void CreateColumns(TListColumns& Columns) override;
    void StoreFolderOptions(TRegistry& R) override;
    void LoadFolderOptions(TRegistry& R) override;
    QString GetSortMenuItemCaption(int ColumnType) override;
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    void FillActions() override;
    QString GetCaption() override { return SubPath(); }
    bool HasProperties() override;
    bool ShowSubItemsPropertyButton() override;
    void EditProperties() override;

    void SetEntry(const TTestEntry& entry);
    const TTestEntry& Entry() const { return FEntry; }

  private:
    std::unique_ptr<TTestFolder> MakeChild(const TTestEntry& entry) const;
    void LoadChildren();
    bool FFolder = true;
    TTestEntry FEntry;
};

// The root of a test window (the database root's stand-in).
class TTestRoot : public TTestFolder {
  public:
    PELVAR_OBJECT_CREATE(TTestRoot)
    QString GetRegistryPath() override { return QStringLiteral("ROOT"); }
};

// The root of a window on a "file".
class TTestFileRoot : public TDOCommonFileObject {
  public:
    PELVAR_OBJECT_CREATE(TTestFileRoot)
    explicit TTestFileRoot(QString fileName = QString()) : FFileName(std::move(fileName)) {}
    QString FileName() const override { return FFileName; }
    bool IsFolder() override { return true; }
    bool InternalOpen() override;
    void FillTreeViewItem(TTreeNodeItem& Item) override { Item.Text = FFileName; }
    void FillListViewItem(TListRow& Item, const TListColumns&) override {
        Item.Caption = SubPath();
    }

  private:
    QString FFileName;
};

// A plain item of a file root.
class TTestFileItem : public TDOCommonFileObject {
  public:
    PELVAR_OBJECT_CREATE(TTestFileItem)
    void FillListViewItem(TListRow& Item, const TListColumns&) override {
        Item.Caption = SubPath();
    }
};
