#pragma once

#include "dspfolder.h"
#include "dspitem.h"

// The folders of the schemes: one structure type each, kept in `Index` order.
class TDOCommonSchemeOperationStructures : public TDODSPFolder {
  public:
    int Index() const { return FIndex; }
    void SetIndex(int value) { FIndex = value; }
    int DSPObjectType() const { return FDSPObjectType; }
    void SetDSPObjectType(int value) { FDSPObjectType = value; }
    void Assign(const TPelvarObject& Source) override;
    bool IsObjectTypeAccepted(int ObjectType) const override {
        return ObjectType == FDSPObjectType;
    }
    int GetDefaultObjectType() const override { return FDSPObjectType; }
    // Asks for the properties, stores the structure empty and opens the
    // scheme editor on it as a new window.
    void AddStructure() override;

  protected:
    // "SimpleOperation_Add", "DSP_EditDSPTree", "DSP_Export", and "DSP_Delete" when asked.
    void FillSchemeActions(bool withDelete);

  private:
    int FIndex = -1;
    int FDSPObjectType = 0;
};

// "Simple", "Table" and "Documentary": scheme operations of types 81 to 83.
class TDOSchemeOperationStructures : public TDOCommonSchemeOperationStructures {
  public:
    PELVAR_OBJECT_CREATE(TDOSchemeOperationStructures)
    QString GetCaption() override;
    void FillActions() override { FillSchemeActions(true); }
};

// "Statuses": status lists, type 84. Nothing is deleted from here.
class TDOStatusesStructures : public TDOCommonSchemeOperationStructures {
  public:
    TDOStatusesStructures() { SetDSPObjectType(84); }
    PELVAR_OBJECT_CREATE(TDOStatusesStructures)
    QString GetCaption() override;
    void FillActions() override { FillSchemeActions(false); }
};

// "WizardScenarios": wizard scenarios (type 30), edited page by page.
class TDOWizardScenarioStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOWizardScenarioStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == 30; }
    int GetDefaultObjectType() const override { return 30; }
    void FillActions() override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    void AddStructure() override;
};

// "Sheduler": scheduler entries (type 16), edited command by command.
class TDOShedulerStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOShedulerStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == 16; }
    int GetDefaultObjectType() const override { return 16; }
    void FillActions() override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
    void AddStructure() override;
};

// A scheme operation: `SchemeType` 0, 1 or 2 for types 81, 82 and 83.
class TDOSchemeOperation : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOSchemeOperation)
    int SchemeType() const { return FSchemeType; }
    void SetSchemeType(int value) { FSchemeType = value; }
    void Assign(const TPelvarObject& Source) override;
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillActions() override;
    // Shows the scheme editor, reusing the one open on the scheme.
    void Edit();

  private:
    int FSchemeType = 0;
};

// A status list; only "DocStatuses" and "MailStatuses" have an editor.
class TDOStatuses : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOStatuses)
    void FillActions() override;
    void Edit();
};

class TDOWizardScenario : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOWizardScenario)
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillActions() override;
    void Edit();
};

class TDOSheduler : public TDOCommonDSPItem {
  public:
    PELVAR_OBJECT_CREATE(TDOSheduler)
    void FillActions() override;
    void Edit();
};

// Opens each kind's editor on a structure as a new window (the Add paths).
void OpenSchemeEditor(const QString& alias, const TDSPListItem& info, bool existing);
void OpenWizardScenarioEditor(const QString& alias, const QString& name);
void OpenShedulerEditor(const QString& alias, const QString& name);
