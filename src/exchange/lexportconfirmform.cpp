#include "lexportconfirmform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "ellipsisedit.h"
#include "exportformparts.h"

TLExportConfirmForm::TLExportConfirmForm(const TLExportConfirmState& state, QWidget* parent)
    : TLExportConfirmForm(state, false, parent) {}

TLExportConfirmForm::TLExportConfirmForm(const TLExportConfirmState& state, bool extended,
                                         QWidget* parent)
    : QDialog(parent), FExtended(extended) {
    setObjectName(extended ? QStringLiteral("TLExportConfirmFormEx")
                           : QStringLiteral("TLExportConfirmForm"));
    setWindowTitle(LString(QStringLiteral("ST_CONFIRMATION")));

    FFileNameLabel = new QLabel(this);
    FFileNameLabel->setObjectName(QStringLiteral("FileNameLabel"));
    FFileNameEdit = NewSaveFileEdit(this, QStringLiteral("FileNameEdit"),
                                    QStringLiteral("Eif files (*.eif)|*.eif|All files (*.*)|*.*"));
    FFileNameEdit->SetText(state.FileName);
    auto* grid = new QGridLayout;
    grid->addWidget(FFileNameLabel, 0, 0);
    grid->addWidget(FFileNameEdit, 0, 1);
    if (extended) {
        FExportDirLocEdit = NewDirectoryEdit(this, QStringLiteral("ExportDirLocEdit"));
        FExportDirLocEdit->SetText(state.DirName);
        grid->addWidget(FExportDirLocEdit, 0, 1);
        FSeparateExport = new QCheckBox(
            LString(QStringLiteral("C_pelvar_LExportConfirmFormEx_SeparateExportLCheckBox_L")),
            this);
        FSeparateExport->setObjectName(QStringLiteral("SeparateExportLCheckBox"));
        FSeparateExport->setChecked(state.SeparateExport);
        connect(FSeparateExport, &QCheckBox::toggled, this, &TLExportConfirmForm::UpdateControls);
    }
    FEncodingLabel =
        new QLabel(LString(QStringLiteral("C_pelvar_LExportConfirmForm_EncodingLabel_L")), this);
    FEncodingLabel->setObjectName(QStringLiteral("EncodingLabel"));
    FEncodingEdit = NewEncodingEdit(this, state.Encoding);
    FEncodingLabel->setBuddy(FEncodingEdit);
    grid->addWidget(FEncodingLabel, 1, 0);
    grid->addWidget(FEncodingEdit, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    FRelease17 = new QCheckBox(
        LString(QStringLiteral("C_pelvar_LExportConfirmForm_ReleaseVersion17CheckBox_L")), this);
    FRelease17->setObjectName(QStringLiteral("ReleaseVersion17CheckBox"));
    FRelease17->setChecked(state.Release17);
    connect(FRelease17, &QCheckBox::toggled, this, &TLExportConfirmForm::UpdateControls);

    auto* buttons = NewOkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLExportConfirmForm::TryAccept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    if (FSeparateExport) layout->addWidget(FSeparateExport);
    layout->addWidget(FRelease17);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(440);
    UpdateControls();
    FFileNameLabel->buddy()->setFocus();
}

TLExportConfirmState TLExportConfirmForm::State() const {
    TLExportConfirmState s;
    s.SeparateExport = FSeparateExport && FSeparateExport->isChecked();
    s.FileName = FFileNameEdit->Text();
    if (FExportDirLocEdit) s.DirName = FExportDirLocEdit->Text();
    s.Release17 = FRelease17->isChecked();
    s.Encoding = ChosenEncoding(FEncodingEdit);
    return s;
}

void TLExportConfirmForm::UpdateControls() {
    const TLExportConfirmState s = State();
    FFileNameLabel->setText(LString(LExportNameLabelId(s.SeparateExport)));
    if (FExportDirLocEdit) {
        FFileNameEdit->setVisible(!s.SeparateExport);
        FExportDirLocEdit->setVisible(s.SeparateExport);
    }
    FFileNameLabel->setBuddy(s.SeparateExport ? FExportDirLocEdit : FFileNameEdit);
    // The release 17 format takes no encoding choice, as in the structure export.
    const bool encoding = ExportEncodingEnabled(s.Release17);
    FEncodingEdit->setEnabled(encoding);
    FEncodingLabel->setEnabled(encoding);
}

void TLExportConfirmForm::TryAccept() {
    const TLExportConfirmState s = State();
    QWidget* nameEdit = FFileNameLabel->buddy();
    switch (CheckLExportConfirm(s, FExtended)) {
        case TExportConfirmFault::Name:
            RefuseOk(nameEdit);
            return;
        case TExportConfirmFault::Encoding:
            RefuseOk(FEncodingEdit);
            return;
        case TExportConfirmFault::None:
            break;
    }
    if (FExtended && !ConfirmExportDirectory(LExportTargetDirectory(s, true))) {
        nameEdit->setFocus();
        return;
    }
    accept();
}

TLExportConfirmFormEx::TLExportConfirmFormEx(const TLExportConfirmState& state, QWidget* parent)
    : TLExportConfirmForm(state, true, parent) {}
