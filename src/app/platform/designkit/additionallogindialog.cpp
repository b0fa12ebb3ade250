#include "additionallogindialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "appcore/texts.h"
#include "basekit/interaction.h"

TAdditionalLoginForm::TAdditionalLoginForm(const QString& databaseName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TAdditionalLoginForm"));
    setWindowTitle(databaseName);
    FUser = new QLineEdit(this);
    FUser->setObjectName(QStringLiteral("UserNameEdit"));
    FPassword = new QLineEdit(this);
    FPassword->setObjectName(QStringLiteral("PasswordEdit"));
    FPassword->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(this);
    form->addRow(LString(QStringLiteral("C_Pelvar_AdditionalLoginForm_UserNameLabel_L")), FUser);
    form->addRow(LString(QStringLiteral("C_Pelvar_AdditionalLoginForm_PasswordLabel_L")),
                 FPassword);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    buttons->addButton(LString(QStringLiteral("ST_CANCEL")), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setMinimumWidth(320);
}

QString TAdditionalLoginForm::UserName() const {
    return FUser->text().trimmed();
}
QString TAdditionalLoginForm::Password() const {
    return FPassword->text();
}

bool ExecAdditionalLoginForm(TAdditionalLoginRequest& request) {
    TAdditionalLoginForm form(request.DatabaseName);
    if (Interaction().ExecModal(&form) != IDOK) return false;
    request.User = form.UserName();
    request.Password = form.Password();
    return true;
}
