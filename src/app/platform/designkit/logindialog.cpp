#include "logindialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "appcore/texts.h"
#include "basekit/interaction.h"

TLoginDialog::TLoginDialog(const TAliasList& aliases, const TLoginData& data, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TLoginDialog"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_LoginForm_LFormModifier_L")));
    FAlias = new QComboBox(this);
    FAlias->setObjectName(QStringLiteral("AliasComboBox"));
    FAlias->setEditable(true);
    FAlias->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& [name, description] : aliases)
        FAlias->addItem(name.toUpper(), description);
    const int current = FAlias->findText(data.Alias.toUpper());
    if (current >= 0)
        FAlias->setCurrentIndex(current);
    else
        FAlias->setEditText(data.Alias.toUpper());
    auto* description = new QLabel(this);
    description->setObjectName(QStringLiteral("AliasDescriptionLabel"));
    auto updateDescription = [this, description] {
        description->setText(FAlias->currentData().toString());
    };
    connect(FAlias, &QComboBox::currentIndexChanged, this, updateDescription);
    updateDescription();
    FUser = new QLineEdit(data.User, this);
    FUser->setObjectName(QStringLiteral("UserNameEdit"));
    FPassword = new QLineEdit(this);
    FPassword->setObjectName(QStringLiteral("PasswordEdit"));
    FPassword->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(this);
    form->addRow(LString(QStringLiteral("C_Pelvar_LoginForm_AliasLabel_L")), FAlias);
    form->addRow(QString(), description);
    form->addRow(LString(QStringLiteral("C_Pelvar_LoginForm_UserNameLabel_L")), FUser);
    form->addRow(LString(QStringLiteral("C_Pelvar_LoginForm_PasswordLabel_L")), FPassword);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(LString(QStringLiteral("ST_OK")));
    buttons->button(QDialogButtonBox::Cancel)->setText(LString(QStringLiteral("ST_CANCEL")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setMinimumWidth(380);
    (data.User.isEmpty() ? static_cast<QWidget*>(FUser) : FPassword)->setFocus();
}

TLoginData TLoginDialog::Data() const {
    return TLoginData{FAlias->currentText().trimmed().toUpper(), FUser->text().trimmed(),
                      FPassword->text()};
}

bool ExecLoginDialog(TLoginData& data, const TAliasList& aliases) {
    TLoginDialog dialog(aliases, data);
    if (Interaction().ExecModal(&dialog) != IDOK) return false;
    data = dialog.Data();
    return true;
}
