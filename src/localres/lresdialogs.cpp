#include "lresdialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "gridkit/localizatorgrid.h"
#include "lresactions.h"
#include "opkit/lresoperations.h"

bool IsValidLName(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        const bool ok =
            (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_';
        if (!ok) return false;
    }
    return true;
}

namespace {

QDialogButtonBox* Buttons(QDialog* dialog, bool help) {
    auto* box = new QDialogButtonBox(dialog);
    QPushButton* ok =
        box->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    box->addButton(LString(QStringLiteral("ST_CANCEL")), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    if (help) box->addButton(LString(QStringLiteral("ST_HELP")), QDialogButtonBox::HelpRole);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

}  // namespace

TLNameSelectForm::TLNameSelectForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TLNameSelectForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_LNameSelectForm_LFormModifier_L")));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(LString(QStringLiteral("C_Pelvar_LNameSelectForm_IDLabel_L")), this);
    label->setObjectName(QStringLiteral("IDLabel"));
    FIDEdit = new QLineEdit(this);
    FIDEdit->setObjectName(QStringLiteral("IDEdit"));
    FIDEdit->setMaxLength(kMaxStringIDLength);
    FIDEdit->setMinimumWidth(320);
    label->setBuddy(FIDEdit);
    layout->addWidget(label);
    layout->addWidget(FIDEdit);
    QDialogButtonBox* box = Buttons(this, false);
    connect(box, &QDialogButtonBox::accepted, this, &TLNameSelectForm::TryAccept);
    layout->addWidget(box);
}

void TLNameSelectForm::TryAccept() {
    if (!IsValidLName(FIDEdit->text())) {
        QApplication::beep();
        FIDEdit->setFocus();
        return;
    }
    accept();
}

TLocalResourceDialog::TLocalResourceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TLocalResourceDialog"));
    auto* layout = new QVBoxLayout(this);
    FGrid = new TLocalizatorGrid(this);
    FGrid->setObjectName(QStringLiteral("LocalizatorGrid"));
    layout->addWidget(FGrid);
    QDialogButtonBox* box = Buttons(this, true);
    connect(box, &QDialogButtonBox::accepted, this, &TLocalResourceDialog::StoreAndClose);
    layout->addWidget(box);
    resize(540, 300);
}

TLocalResourceDialog::~TLocalResourceDialog() = default;

void TLocalResourceDialog::SetAlias(const QString& alias) {
    FAlias = alias;
    FGrid->SetLocalizator(&GetLocalizatorTable(alias));
    QStringList languages;
    GetLanguagesTable(alias).FillLanguageNames(languages);
    languages.removeAll(QStringLiteral("DESCRIPTION"));
    FGrid->SetLanguages(languages);
}

void TLocalResourceDialog::Load(const QString& stringID) {
    FGrid->SetStringID(stringID);
    FGrid->LoadTexts();
}

void TLocalResourceDialog::StoreAndClose() {
    try {
        CheckNewStringID(FGrid->StringID());
        FGrid->StoreTexts();
    } catch (const std::exception& e) {
        Interaction().MessageBox(ExceptionMessage(e), LString(QStringLiteral("ST_ERROR")),
                                 MB::OK | MB::ICONERROR);
        return;
    }
    accept();
}

// ---- what the nodes call ----

bool AskLName(QString& id, bool newID) {
    TLNameSelectForm form;
    form.IDEdit()->setText(id);
    if (newID)
        form.IDEdit()->setCursorPosition(int(id.size()));
    else
        form.IDEdit()->selectAll();
    if (Interaction().ExecModal(&form) != IDOK) return false;
    id = form.IDEdit()->text();
    return true;
}

void OpenLResourceDialog(const QString& alias, const QString& stringID, bool modal) {
    const auto prepare = [&](TLocalResourceDialog& dialog) {
        dialog.setWindowTitle(stringID);
        dialog.SetAlias(alias);
        dialog.Load(stringID);
    };
    if (modal) {
        TLocalResourceDialog dialog;
        prepare(dialog);
        Interaction().ExecModal(&dialog);
        return;
    }
    // Modeless: owned by the application and freed when closed.
    auto* dialog = new TLocalResourceDialog();
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    prepare(*dialog);
    dialog->show();
}
