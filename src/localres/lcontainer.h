#pragma once

#include <memory>

#include "appcore/localizator.h"
#include "databases/commonfolder.h"

// A node of a database that stands for a set of local resource sections,
// chosen by a rule on the upper-cased section ID.
class TDOLContainer : public TDOCommonFolder {
  public:
    // The prefix offered for a new string ID ("C" gives "C_").
    virtual QString GetIDPrefix() const { return QString(); }
    virtual bool AcceptSection(const QString& SectionID) const = 0;
    // Whether a container of that class from another database may be dropped here.
    virtual bool IsLContainerAccepted(const QString& ContainerClass) const;

    void FillActions() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    void FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                const TPelvarObjectList& SubItems) override;

    // The sections of the database (in `languages`, the current one when
    // empty) that the selected children take (containers by their rule,
    // sections by ID), or without a selection that this container takes.
    QStringList SelectedSections(const QStringList* SubObjects, const QStringList& languages = {});
    // Asks for a string ID (offering the prefix) and opens its edit dialog.
    void AddString();

  protected:
    void AddContainer(std::unique_ptr<TDOLContainer> Child, const QString& SubPath);
    // The drop itself; `byLanguage` lets the user choose the languages of an import.
    void DropObjects(const QStringList& ParsedPath, const TPelvarObjectList& SubItems,
                     bool byLanguage);
};

// "LocalResources" below an alias: every section.
class TDOLocalResources : public TDOLContainer {
  public:
    PELVAR_OBJECT_CREATE(TDOLocalResources)
    bool InternalOpen() override;
    QString GetCaption() override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    bool AcceptSection(const QString&) const override { return true; }
    bool IsLContainerAccepted(const QString&) const override { return true; }
    bool IsEIFolderAccepted(const TPelvarObject& EIFolder) override;
};

// "System": forms, messages, errors and the standard texts.
class TDOSystemLocalResources : public TDOLContainer {
  public:
    PELVAR_OBJECT_CREATE(TDOSystemLocalResources)
    bool InternalOpen() override;
    QString GetCaption() override;
    bool AcceptSection(const QString& SectionID) const override;
    bool IsLContainerAccepted(const QString& ContainerClass) const override;
};

// "Custom": custom forms, statuses and internet resources.
class TDOCustomLocalResources : public TDOLContainer {
  public:
    PELVAR_OBJECT_CREATE(TDOCustomLocalResources)
    bool InternalOpen() override;
    QString GetCaption() override;
    bool AcceptSection(const QString& SectionID) const override;
    bool IsLContainerAccepted(const QString& ContainerClass) const override;
};

// A container that lists its sections and follows the text store while open.
class TDOLFolder : public TDOLContainer {
  public:
    TDOLFolder();
    ~TDOLFolder() override;
    bool InternalOpen() override;
    void Close() override;
    bool Refresh() override;
    TPelvarChangeType RefreshItem(const QString& SubPath) override;
    bool ShowSubItemsPropertyButton() override { return true; }
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    void FillActions() override;
    // The store's notification: (ID, language, section-level, kind).
    void LocalizatorChanged(const QString& ID, const QString& Language, bool SectionLevel,
                            int Kind);
    bool Subscribed() const { return FNotifier->Subscribed(); }

    void DeleteSelected(const QStringList& SubObjects);
    // The listed sections among the selection, in selection order.
    QStringList SectionsOf(const QStringList& SubObjects) const;

  private:
    void ListSections();
    std::unique_ptr<TLocalizatorNotifier> FNotifier;
};

// A typed folder: a prefix rule ("C_...") or an exact section ID ("ST").
class TDOLTypedFolder : public TDOLFolder {
  public:
    QString GetIDPrefix() const override { return FPrefix; }
    bool AcceptSection(const QString& SectionID) const override;
    QString GetCaption() override;

  protected:
    TDOLTypedFolder(const char* prefix, bool exact, const char* captionID)
        : FPrefix(QLatin1String(prefix)), FExact(exact), FCaptionID(QLatin1String(captionID)) {}

  private:
    QString FPrefix;
    bool FExact;
    QString FCaptionID;
};

#define PELVAR_LFOLDER(Class, Prefix, Exact, Caption)        \
    class Class : public TDOLTypedFolder {                   \
      public:                                                \
        Class() : TDOLTypedFolder(Prefix, Exact, Caption) {} \
        PELVAR_OBJECT_CREATE(Class)                          \
    };
PELVAR_LFOLDER(TDOLSystemForms, "C", false, "M_Pelvar_DOLRes_SystemFormsCaption")
PELVAR_LFOLDER(TDOLMessages, "M", false, "M_Pelvar_DOLRes_MessagesCaption")
PELVAR_LFOLDER(TDOLErrors, "E", false, "M_Pelvar_DOLRes_ErrorsCaption")
PELVAR_LFOLDER(TDOLStandardResources, "ST", true, "M_Pelvar_DOLRes_StandardResourcesCaption")
PELVAR_LFOLDER(TDOLCustomForms, "K", false, "M_Pelvar_DOLRes_CustomFormsCaption")
PELVAR_LFOLDER(TDOLStatuses, "S", true, "M_Pelvar_DOLRes_StatusesCaption")
PELVAR_LFOLDER(TDOLInternet, "RT", false, "M_Pelvar_DOLRes_InternetResourcesCaption")
#undef PELVAR_LFOLDER

// "All": every section.
class TDOLAllResources : public TDOLFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOLAllResources)
    QString GetCaption() override;
    bool AcceptSection(const QString&) const override { return true; }
    bool IsLContainerAccepted(const QString&) const override { return true; }
    bool IsEIFolderAccepted(const TPelvarObject& EIFolder) override;
};

// "Unknown": sections that no typed folder takes.
class TDOLUnknownResources : public TDOLFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOLUnknownResources)
    QString GetCaption() override;
    bool AcceptSection(const QString& SectionID) const override;
};

// The section classification the folders above apply.
bool IsSystemSection(const QString& SectionID);
bool IsCustomSection(const QString& SectionID);
