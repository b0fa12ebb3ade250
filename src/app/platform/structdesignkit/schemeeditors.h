#pragma once

#include "designkit/bodyeditor.h"
#include "operationscheme.h"

class TRecordTable;

// The editor of a scheme operation: its operations, and their steps in order.
// The structure's type follows the scheme type: 81 + the type (3, the
// editor's own start value, edits a type 84 structure as a scheme).
class TOperationSchemeEditForm final : public TBodyEditorWindow {
    Q_OBJECT
  public:
    explicit TOperationSchemeEditForm(QWidget* parent = nullptr);

    void SetExistingStructure(bool existing) { FExisting = existing; }
    void SetSchemeName(const QString& name) { FSchemeName = name; }
    void SetSchemeType(int type) { FSchemeType = type; }
    void SetAliasName(const QString& alias) { FAlias = alias; }
    void SetParentName(const QString& parent) { FParent = parent; }
    void SetRemark(const QString& remark) { FRemark = remark; }
    const QString& SchemeName() const { return FSchemeName; }
    int SchemeType() const { return FSchemeType; }
    const QString& SchemeAlias() const { return FAlias; }
    void Load();

    TRecordTable* Operations() const { return FOperations; }
    TRecordTable* Steps() const { return FSteps; }

  protected:
    void ShowBody(const TDSPNode& root) override;
    TDSPNode CollectBody() const override;

  private:
    void FollowRenames();
    QStringList FOperationNames;  // as the steps know them
    bool FExisting = true;
    QString FSchemeName;
    int FSchemeType = 3;
    QString FAlias;
    QString FParent;
    QString FRemark;
    TRecordTable* FOperations;
    TRecordTable* FSteps;
};

// The editor of the document or the mail status list ("DocStatuses",
// "MailStatuses"): statuses and the transitions between them.
class TDocumentaryStatusEditForm final : public TBodyEditorWindow {
    Q_OBJECT
  public:
    explicit TDocumentaryStatusEditForm(QWidget* parent = nullptr);

    void SetAliasName(const QString& alias) { FAlias = alias; }
    void SetMail(bool mail) { FMail = mail; }
    bool Mail() const { return FMail; }
    void Load();

    TRecordTable* Statuses() const { return FStatuses; }
    TRecordTable* Transitions() const { return FTransitions; }

  protected:
    void ShowBody(const TDSPNode& root) override;
    TDSPNode CollectBody() const override;

  private:
    QString FAlias;
    bool FMail = false;
    TRecordTable* FStatuses;
    TRecordTable* FTransitions;
};

// The open editor of that scheme (name, type and database), or nullptr.
TOperationSchemeEditForm* FindOperationSchemeEditor(const QString& name, int schemeType,
                                                    const QString& alias);
// The open status editor of that kind (document or mail), whatever its database.
TDocumentaryStatusEditForm* FindDocumentaryStatusEditor(bool mail);
