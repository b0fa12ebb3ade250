#pragma once

#include <QDialog>

#include "appcore/additionallogin.h"

class QLineEdit;

// Asks for the user name and password of a database the user connects to
// besides the login database; the database's name is the title.
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

// The prompt of the additional login, through the interaction seam.
bool ExecAdditionalLoginForm(TAdditionalLoginRequest& request);
