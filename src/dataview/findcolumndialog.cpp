#include "findcolumndialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "designkit/helppages.h"
#include "gridkit/tablevalues.h"

TFindColumnDialog::TFindColumnDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFindColumnDialog"));
    setWindowTitle(LString(QStringLiteral("C_pelvar_FindColumnDialog_LFormModifier_L")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(LString(QStringLiteral("C_pelvar_FindColumnDialog_ValueLabel_L"))));
    FValueEdit = new QLineEdit(this);
    FValueEdit->setObjectName(QStringLiteral("ValueEdit"));
    layout->addWidget(FValueEdit);
    auto* group =
        new QGroupBox(LString(QStringLiteral("C_pelvar_FindColumnDialog_DirectionLGroupBox_L"),
                              QStringLiteral("Direction")),
                      this);
    auto* g = new QVBoxLayout(group);
    FForward =
        new QRadioButton(LString(QStringLiteral("C_pelvar_FindColumnDialog_ForwardLRadioButton_L"),
                                 QStringLiteral("Forward")));
    FBack = new QRadioButton(LString(QStringLiteral("C_pelvar_FindColumnDialog_BackLRadioButton_L"),
                                     QStringLiteral("Back")));
    FFromBeginning = new QRadioButton(
        LString(QStringLiteral("C_pelvar_FindColumnDialog_FromBeginningLRadioButton_L"),
                QStringLiteral("From beginning")));
    for (QRadioButton* b : {FForward, FBack, FFromBeginning})
        g->addWidget(b);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(LString(QStringLiteral("ST_CANCEL")), QDialogButtonBox::RejectRole);
    buttons->addButton(LString(QStringLiteral("ST_HELP")), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { ShowHelpPage(QStringLiteral("doc_find.html")); });
    connect(ok, &QPushButton::clicked, this, &TFindColumnDialog::TryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    SetDirection(TSearchDirection(LoadRegistryParam(SearchDirectionParam(), 0)));
    FLastValue = LoadRegistryParam(SearchValueParam(), QString());
}

TFindColumnDialog::~TFindColumnDialog() {
    try {
        SaveRegistryParam(SearchDirectionParam(), int(Direction()));
        if (result() == QDialog::Accepted) SaveRegistryParam(SearchValueParam(), FLastValue);
    } catch (const EPelvarError&) {
        // Settings that cannot be written are reported by the store itself.
    }
}

void TFindColumnDialog::SetFieldName(const QString& name) {
    FFieldName = name;
}

void TFindColumnDialog::SetLastValue(const QString& text) {
    FLastValue = text;
    FValueEdit->setText(text);
}

TQXVariant TFindColumnDialog::Value() const {
    return TableTextToValue(FValueEdit->text(), FFieldType, nullptr);
}

TSearchDirection TFindColumnDialog::Direction() const {
    if (FBack->isChecked()) return dsBack;
    if (FFromBeginning->isChecked()) return dsFirst;
    return dsForward;
}

void TFindColumnDialog::SetDirection(TSearchDirection direction) {
    (direction == dsBack    ? FBack
     : direction == dsFirst ? FFromBeginning
                            : FForward)
        ->setChecked(true);
}

void TFindColumnDialog::TryAccept() {
    bool ok = false;
    TableTextToValue(FValueEdit->text(), FFieldType, &ok);
    if (!ok || FValueEdit->text().isEmpty()) {
        QApplication::beep();
        Interaction().MessageBox(LString(QStringLiteral("ST_INCORRECTVALUE")),
                                 LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONWARNING);
        FValueEdit->setFocus();
        return;
    }
    FLastValue = FValueEdit->text();
    accept();
}

void TFindColumnDialog::showEvent(QShowEvent* event) {
    FValueEdit->setText(FLastValue);
    FValueEdit->setFocus();
    QDialog::showEvent(event);
}
