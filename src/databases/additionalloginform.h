#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the user name and password of a database the user connects to.
class TAdditionalLoginForm final : public QDialog {
    Q_OBJECT
  public:
    explicit TAdditionalLoginForm(const QString& databaseName, QWidget* parent = nullptr);
    QString UserName() const;
    QString Password() const;

  private:
    QLineEdit* FUser;
    QLineEdit* FPassword;
};
