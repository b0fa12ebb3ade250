#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "opkit/dbexchange.h"

class QCheckBox;
class QPlainTextEdit;
class QTableWidget;

// The rows of one table copied to the same table of another database: which
// rows (a condition in the source's SQL) and which source field fills each
// target field.
struct TTableCopyRequest {
    QString Table;
    QString SourceAlias;
    QString TargetAlias;
    QStringList SourceFields;  // what the source table has, for the choice
    QStringList TargetFields;  // what the target table has, one mapping row each
    TTableCopy Copy;           // the answer: filter, "target=source" pairs, deletion
};

// The window that asks; true when the user pressed OK. Without an installed
// window: false, nothing copied.
using TTableCopyPrompt = std::function<bool(TTableCopyRequest& request)>;
TTableCopyPrompt SetTableCopyPrompt(TTableCopyPrompt prompt);
bool ConfirmCopyTableByFilter(TTableCopyRequest& request);

// The pairs of a mapping: target field i takes sources[i]; an empty source
// leaves the field out.
QStringList FieldMapOf(const QStringList& targets, const QStringList& sources);

class TCopyTableByFilterForm final : public QDialog {
  public:
    // Each target field starts mapped to the source field of its name.
    explicit TCopyTableByFilterForm(TTableCopyRequest& request, QWidget* parent = nullptr);
    void accept() override;

  private:
    TTableCopyRequest& FRequest;
    QTableWidget* FMap = nullptr;
    QPlainTextEdit* FFilter = nullptr;
    QCheckBox* FDeleteExisting = nullptr;
};
