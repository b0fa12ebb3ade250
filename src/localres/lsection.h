#pragma once

#include <memory>

#include "appcore/localizator.h"
#include "databases/commonfolder.h"
#include "model/roles.h"

// One local resource section: its strings are the list rows.
class TDOLSection : public TDOCommonFolder, public TSectionIDRole {
  public:
    PELVAR_OBJECT_CREATE(TDOLSection)
    TDOLSection();
    ~TDOLSection() override;

    QString SectionID() const override { return FSectionID; }
    void SetSectionID(const QString& id) { FSectionID = id; }
    void Assign(const TPelvarObject& Source) override;
    QString GetCaption() override { return FSectionID; }
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void CreateColumns(TListColumns& Columns) override;
    QString GetSortMenuItemCaption(int ColumnType) override;
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    bool InternalOpen() override;
    void Close() override;
    bool Refresh() override;
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    bool HasProperties() override { return true; }
    bool ShowSubItemsPropertyButton() override { return true; }
    // Renames the section (every language) after asking.
    void EditProperties() override;
    QString GetRegistryPath() override;
    void FillActions() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;

    void LocalizatorChanged(const QString& ID, const QString& Language, bool SectionLevel,
                            int Kind);
    bool Subscribed() const { return FNotifier->Subscribed(); }
    void DeleteSelected(const QStringList& SubObjects);
    // The string IDs and idents of the selected resources, in selection order.
    QStringList StringIDsOf(const QStringList& SubObjects) const;
    QStringList IdentsOf(const QStringList& SubObjects) const;
    void AddString();

  private:
    void ListResources();
    void AddResource(const QString& ident);
    QString FSectionID;
    std::unique_ptr<TLocalizatorNotifier> FNotifier;
};

// One string of a section.
class TDOLResource : public TDOCommonAliasObject, public TSectionIDRole {
  public:
    PELVAR_OBJECT_CREATE(TDOLResource)
    QString SectionID() const override { return FSectionID; }
    const QString& StringID() const { return FStringID; }
    const QString& Ident() const { return FIdent; }
    void SetIDs(const QString& sectionID, const QString& ident);
    void Assign(const TPelvarObject& Source) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    bool HasProperties() override { return true; }
    // Renames the string ID after asking.
    void EditProperties() override;

  private:
    QString FStringID, FSectionID, FIdent;
};
