#pragma once

#include <functional>
#include <memory>

#include "appcore/dsptable.h"
#include "model/pelvarobject.h"
#include "model/roles.h"

class TEISection;

// The folders and items of an opened export/import file: one folder per kind
// of section, one item per section. They hold the file object without owning
// it (the file counter does) and live no longer than the file root.

// One section of the file. A dragged copy keeps the section, so a database
// folder it is dropped on can import it.
class TDOEIItem : public TDOCommonFileObject, public TEISectionRole {
  public:
    void Assign(const TPelvarObject& Source) override;
    bool IsFolder() override { return false; }
    TEISection* FileSection() const override { return FSection; }
    TEIFile* SectionFile() const override { return EIFile; }
    // Binds the item to the section and reads what it shows from it.
    virtual void Bind(TEISection* section, int index);

  protected:
    TEISection* FSection = nullptr;
};

class TDOEIDSPStrItem : public TDOEIItem {
  public:
    PELVAR_OBJECT_CREATE(TDOEIDSPStrItem)
    void Assign(const TPelvarObject& Source) override;
    void Bind(TEISection* section, int index) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    const TDSPListItem& Info() const { return FInfo; }

  private:
    TDSPListItem FInfo;
};

// The resource, table data and language items show one parameter of their section.
class TDOEINamedItem : public TDOEIItem {
  public:
    void Assign(const TPelvarObject& Source) override;
    void Bind(TEISection* section, int index) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    const QString& Identifier() const { return FIdentifier; }

  protected:
    virtual QString ParameterName() const = 0;
    QString FIdentifier;
};

class TDOEILResItem : public TDOEINamedItem {
  public:
    PELVAR_OBJECT_CREATE(TDOEILResItem)
    const QString& SectionID() const { return FIdentifier; }

  protected:
    QString ParameterName() const override { return QStringLiteral("SectionID"); }
};

class TDOEITableItem : public TDOEINamedItem {
  public:
    PELVAR_OBJECT_CREATE(TDOEITableItem)
    const QString& TableName() const { return FIdentifier; }

  protected:
    QString ParameterName() const override { return QStringLiteral("TableName"); }
};

class TDOEILanguageItem : public TDOEINamedItem {
  public:
    PELVAR_OBJECT_CREATE(TDOEILanguageItem)
    const QString& LanguageID() const { return FIdentifier; }

  protected:
    QString ParameterName() const override { return QStringLiteral("LanguageID"); }
};

class TDOEIUnknownItem : public TDOEIItem {
  public:
    PELVAR_OBJECT_CREATE(TDOEIUnknownItem)
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
};

// A folder of one kind of section, named by EIFolders.
class TDOEIFolder : public TDOCommonFileObject {
  public:
    bool InternalOpen() override;
    bool IsFolder() override { return true; }
    bool Refresh() override;
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    bool ShowSubItemsPropertyButton() override { return false; }
    void FillActions() override;
    QString GetCaption() override;
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;

    // The folder name (EIFolders) this class stands for.
    virtual QString FolderName() const = 0;
    // Asks, then deletes the sections of the named items.
    virtual void DeleteAction(const QStringList& SubObjects);

  protected:
    virtual std::unique_ptr<TDOEIItem> NewItem() const = 0;
    virtual QString CaptionId() const = 0;
    // The question before `count` items are deleted; false stops.
    virtual bool ConfirmDelete(int count);
    // The decimal indexes of the sections shown under these item names.
    QStringList IndexesOf(const QStringList& names) const;
    // Deletes the sections and tells the windows.
    void DeleteSections(const QStringList& indexes);

  private:
    void BuildItems();
};

class TDOEILanguageFolder : public TDOEIFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOEILanguageFolder)
    QString FolderName() const override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;

  protected:
    std::unique_ptr<TDOEIItem> NewItem() const override;
    QString CaptionId() const override { return QStringLiteral("M_Pelvar_DOLangs_Languages"); }
    bool ConfirmDelete(int count) override;
};

class TDOEIDSPStrFolder : public TDOEIFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOEIDSPStrFolder)
    QString FolderName() const override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    void CreateColumns(TListColumns& Columns) override;
    QString GetSortMenuItemCaption(int ColumnType) override;
    int Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) override;
    void DeleteAction(const QStringList& SubObjects) override;

  protected:
    std::unique_ptr<TDOEIItem> NewItem() const override;
    QString CaptionId() const override {
        return QStringLiteral("M_Pelvar_DOFolders_StructuresCaption");
    }
};

class TDOEILResFolder : public TDOEIFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOEILResFolder)
    QString FolderName() const override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;

  protected:
    std::unique_ptr<TDOEIItem> NewItem() const override;
    QString CaptionId() const override {
        return QStringLiteral("M_Pelvar_DOFolders_LocalResources");
    }
    bool ConfirmDelete(int count) override;
};

class TDOEITableFolder : public TDOEIFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOEITableFolder)
    QString FolderName() const override;
    void CreateColumns(TListColumns& Columns) override;

  protected:
    std::unique_ptr<TDOEIItem> NewItem() const override;
    QString CaptionId() const override {
        return QStringLiteral("M_Pelvar_DOFolders_TablesDataCaption");
    }
    bool ConfirmDelete(int count) override;
};

class TDOEIUnknownFolder : public TDOEIFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOEIUnknownFolder)
    QString FolderName() const override;

  protected:
    std::unique_ptr<TDOEIItem> NewItem() const override;
    QString CaptionId() const override {
        return QStringLiteral("M_Pelvar_DOFolders_UnknownStructureCaption");
    }
};

// The Delete action of a file's root and folders: `remove` gets the selected
// sub-objects' paths.
void AddEIDeleteAction(TPelvarObject& owner, std::function<void(const QStringList&)> remove);

// A new, empty folder of the class that shows the named folder's sections.
std::unique_ptr<TDOEIFolder> NewEIFolder(const QString& folderName);
