#pragma once

#include "designkit/bodyeditor.h"
#include "wizardpages.h"

class TRecordTable;

// The wizard scenario editor: the pages as a table whose order is the wizard's.
class TWizardScenarioForm final : public TBodyEditorWindow {
    Q_OBJECT
  public:
    explicit TWizardScenarioForm(QWidget* parent = nullptr);
    void SetScenarioName(const QString& name) { FScenarioName = name; }
    void SetAliasName(const QString& alias) { FAlias = alias; }
    const QString& ScenarioName() const { return FScenarioName; }
    const QString& ScenarioAlias() const { return FAlias; }
    void Load();
    TRecordTable* Pages() const { return FPages; }

  protected:
    void ShowBody(const TDSPNode& root) override;
    TDSPNode CollectBody() const override;

  private:
    QStringList Forms() const;
    QString FScenarioName;
    QString FAlias;
    TRecordTable* FPages;
};

TWizardScenarioForm* FindWizardScenarioForm(const QString& name, const QString& alias);
