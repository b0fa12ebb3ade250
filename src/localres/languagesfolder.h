#pragma once

#include <memory>

#include "appcore/languages.h"
#include "databases/commonfolder.h"
#include "model/roles.h"

// The "Languages" node of a database: its interface languages.
class TDOLanguages : public TDOCommonFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOLanguages)
    TDOLanguages();
    ~TDOLanguages() override;
    QString GetCaption() override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    bool ShowSubItemsPropertyButton() override { return true; }
    void CreateColumns(TListColumns& Columns) override;
    QString GetSortMenuItemCaption(int ColumnType) override;
    // "DESCRIPTION" sorts before every other ID.
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    bool InternalOpen() override;
    void Close() override;
    bool Refresh() override;
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    void FillActions() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;

    void LanguagesChanged(const QString& ID, int Kind);
    bool Subscribed() const { return FNotifier->Subscribed(); }
    void AddLanguage();
    void DeleteSelected(const QStringList& SubObjects);
    // Every language of the database, whatever is selected.
    void ExportLanguages();

  private:
    void ListLanguages();
    void AddItem(const QString& id);
    std::unique_ptr<TLanguagesNotifier> FNotifier;
};

// One language of a database.
class TDOLanguage : public TDOCommonAliasObject, public TLanguageIDRole {
  public:
    PELVAR_OBJECT_CREATE(TDOLanguage)
    QString LanguageID() const override { return FID; }
    void SetLanguageID(const QString& id) { FID = id; }
    void Assign(const TPelvarObject& Source) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    bool HasProperties() override { return true; }
    // Edits the names and the font; a new ID renames after asking.
    void EditProperties() override;

  private:
    QString FID;
};
