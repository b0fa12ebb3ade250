#include "vformpropertiesform.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "appcore/texts.h"
#include "vformrules.h"

TVDialogPropertyForm::TVDialogPropertyForm(QWidget* parent) : TDSPPropertiesForm(parent) {
    setObjectName(QStringLiteral("TVDialogPropertyForm"));
    TableNameEdit = new QComboBox(Panel1);
    TableNameEdit->setObjectName(QStringLiteral("TableNameEdit"));
    TableNameEdit->setEditable(true);
    TableNameEdit->setInsertPolicy(QComboBox::NoInsert);
    TableNameLabel = new QLabel(
        LString(QStringLiteral("C_Pelvar_VDialogPropertyForm_TableNameLabel_L")), Panel1);
    TableNameLabel->setObjectName(QStringLiteral("TableNameLabel"));
    TableNameLabel->setBuddy(TableNameEdit);
    auto* grid = static_cast<QGridLayout*>(Panel1->layout());
    const int row = grid->rowCount();
    grid->addWidget(TableNameLabel, row, 0);
    grid->addWidget(TableNameEdit, row, 1);
    setTabOrder(ObjectTypeEdit, TableNameEdit);
    connect(ParentNameEdit, &QComboBox::currentTextChanged, this, [this] { FillTableList(); });
}

void TVDialogPropertyForm::SetValues(const TDSPPropertiesRequest& request) {
    TDSPPropertiesForm::SetValues(request);
    const QSignalBlocker block(TableNameEdit);
    TableNameEdit->setEditText(request.TableName);
    TableNameEdit->setEnabled(request.TableNameEnabled);
    TableNameLabel->setEnabled(request.TableNameEnabled);
}

TDSPPropertiesRequest TVDialogPropertyForm::Values() const {
    TDSPPropertiesRequest values = TDSPPropertiesForm::Values();
    values.TableName = TableNameEdit->currentText();
    return values;
}

void TVDialogPropertyForm::FillParentList() {
    TDSPPropertiesForm::FillParentList();
    FillTableList();
}

void TVDialogPropertyForm::FillTableList() {
    QString baseTable;
    const QStringList tables =
        FormTableList(FDatabaseName, NameEdit->text(), ParentNameEdit->currentText(), &baseTable);
    const QSignalBlocker block(TableNameEdit);
    const QString text = baseTable.isEmpty() ? TableNameEdit->currentText() : baseTable;
    TableNameEdit->clear();
    TableNameEdit->addItems(tables);
    TableNameEdit->setEditText(text);
}

void TVDialogPropertyForm::OkButtonClick() {
    if (!IsFormName(NameEdit->text()))
        Refuse(NameEdit);
    else
        TDSPPropertiesForm::OkButtonClick();
}
