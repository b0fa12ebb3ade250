#pragma once

#include <QWidget>

#include "generatorrules.h"

class QLineEdit;
class QPushButton;

// The editor of one generator structure: its name (renamed through the
// structure's properties, so shown only), start value and increment, Save,
// and a question when closed with changes.
class TGeneratorEditForm : public QWidget {
    Q_OBJECT
  public:
    explicit TGeneratorEditForm(QWidget* parent = nullptr);
    // Reads the structure `name` (upper case) of the alias.
    void Init(const QString& name, const QString& alias);
    // Checks and saves; a fault is told and nothing is written.
    bool Save();
    bool Modified() const;

    QLineEdit* NameEdit;
    QLineEdit* StartValueEdit;
    QLineEdit* IncrementEdit;
    QPushButton* SaveButton;
    QPushButton* CloseButton;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    TGeneratorRules FRules;
};

// The generator editor on the structure, shown without waiting.
TGeneratorEditForm* OpenGeneratorEditor(const QString& name, const QString& alias);
