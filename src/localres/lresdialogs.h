#pragma once

#include <QDialog>

class QLineEdit;
class TLocalizatorGrid;

// A section ID or string ID as the ID entry takes it: not empty, only the
// letters A-Z and a-z, digits and "_".
bool IsValidLName(const QString& name);

// The ID entry.
class TLNameSelectForm : public QDialog {
    Q_OBJECT
  public:
    explicit TLNameSelectForm(QWidget* parent = nullptr);
    QLineEdit* IDEdit() const { return FIDEdit; }
    // OK: closes only on a valid ID, else beeps and keeps the focus on the edit.
    void TryAccept();

  private:
    QLineEdit* FIDEdit;
};

// All texts of one string ID, side by side by language. OK stores them.
class TLocalResourceDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TLocalResourceDialog(QWidget* parent = nullptr);
    ~TLocalResourceDialog() override;
    TLocalizatorGrid* LocalizatorGrid() const { return FGrid; }
    void SetAlias(const QString& alias);
    void Load(const QString& stringID);
    // Stores the texts and closes; an error leaves the dialog open.
    void StoreAndClose();

  private:
    TLocalizatorGrid* FGrid;
    QString FAlias;
};
