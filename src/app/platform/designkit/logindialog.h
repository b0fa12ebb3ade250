#pragma once

#include <QDialog>

#include "appcore/login.h"

class QComboBox;
class QLineEdit;

// The platform's login: database (ODBC data source), user and password.
class TLoginDialog final : public QDialog {
    Q_OBJECT
  public:
    TLoginDialog(const TAliasList& aliases, const TLoginData& data, QWidget* parent = nullptr);
    TLoginData Data() const;

  private:
    QComboBox* FAlias;
    QLineEdit* FUser;
    QLineEdit* FPassword;
};

// The prompt of the login, through the interaction seam.
bool ExecLoginDialog(TLoginData& data, const TAliasList& aliases);
