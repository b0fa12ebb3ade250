#pragma once

#include "designkit/bodyeditor.h"
#include "schedule.h"

class TRecordTable;

// The scheduler entry editor: the commands and their timings as a table; a
// timing that cannot happen is named when saving and nothing is written.
class TShedulerSchemeForm final : public TBodyEditorWindow {
    Q_OBJECT
  public:
    explicit TShedulerSchemeForm(QWidget* parent = nullptr);
    void SetSchemeName(const QString& name) { FSchemeName = name; }
    void SetDatabaseName(const QString& alias) { FDatabaseName = alias; }
    const QString& GetSchemeName() const { return FSchemeName; }
    const QString& GetDatabaseName() const { return FDatabaseName; }
    void Load();
    TRecordTable* Entries() const { return FEntries; }

  protected:
    void ShowBody(const TDSPNode& root) override;
    TDSPNode CollectBody() const override;

  private:
    QString FSchemeName;
    QString FDatabaseName;
    TRecordTable* FEntries;
};

TShedulerSchemeForm* FindShedulerSchemeForm(const QString& name, const QString& alias);
