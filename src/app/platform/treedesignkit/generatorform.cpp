#include "generatorform.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "treedesignwidgets.h"

TGeneratorEditForm::TGeneratorEditForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TGeneratorEditForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LString(QStringLiteral("C_Pelvar_GeneratorEditForm_LFormModifier_L")));
    NameEdit = MakeReadOnlyEdit(this, "NameEdit");
    StartValueEdit = new QLineEdit(this);
    StartValueEdit->setObjectName(QStringLiteral("StartValueEdit"));
    IncrementEdit = new QLineEdit(this);
    IncrementEdit->setObjectName(QStringLiteral("IncrementEdit"));
    auto* grid = new QGridLayout;
    AddLabelledRow(grid, this, "C_Pelvar_GeneratorEditForm_NameLabel_L", NameEdit);
    AddLabelledRow(grid, this, "C_Pelvar_GeneratorEditForm_StartValueLabel_L", StartValueEdit);
    AddLabelledRow(grid, this, "C_Pelvar_GeneratorEditForm_IncrementLabel_L", IncrementEdit);
    auto* buttons = SaveCloseRow(this, SaveButton, CloseButton, [this] { Save(); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(420, 160);
}

void TGeneratorEditForm::Init(const QString& name, const QString& alias) {
    FRules.Init(name, alias);
    FRules.Load();
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + name);
    NameEdit->setText(name);
    StartValueEdit->setText(FRules.StartValue());
    IncrementEdit->setText(FRules.Increment());
    StartValueEdit->setModified(false);
    IncrementEdit->setModified(false);
}

bool TGeneratorEditForm::Modified() const {
    return StartValueEdit->text() != FRules.StartValue() ||
           IncrementEdit->text() != FRules.Increment();
}

bool TGeneratorEditForm::Save() {
    const QString fault = TGeneratorRules::Check(StartValueEdit->text(), IncrementEdit->text());
    if (!fault.isEmpty()) {
        Interaction().MessageBox(fault, LString(QStringLiteral("ST_INCORRECTVALUE")),
                                 MB::OK | MB::ICONWARNING);
        return false;
    }
    FRules.Save(StartValueEdit->text(), IncrementEdit->text());
    StartValueEdit->setText(FRules.StartValue());
    IncrementEdit->setText(FRules.Increment());
    return true;
}

void TGeneratorEditForm::closeEvent(QCloseEvent* event) {
    if (!ConfirmClose(Modified(), [this] { return Save(); })) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

TGeneratorEditForm* OpenGeneratorEditor(const QString& name, const QString& alias) {
    auto* form = new TGeneratorEditForm;
    try {
        form->Init(name.toUpper(), alias);
    } catch (...) {
        delete form;
        throw;
    }
    form->show();
    return form;
}
