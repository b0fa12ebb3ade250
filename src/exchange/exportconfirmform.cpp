#include "exportconfirmform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "ellipsisedit.h"
#include "exportformparts.h"

namespace {

// The sub-options sit under the separate-export box they depend on.
constexpr int kSubOptionIndent = 20;

}  // namespace

TExportConfirmForm::TExportConfirmForm(const TExportConfirmState& state, int resourcesMode,
                                       int tableDataMode, QWidget* parent)
    : QDialog(parent), FResourcesMode(resourcesMode), FTableDataMode(tableDataMode) {
    setObjectName(QStringLiteral("TExportConfirmForm"));
    setWindowTitle(LString(QStringLiteral("ST_CONFIRMATION")));

    FFileNameLabel = new QLabel(this);
    FFileNameLabel->setObjectName(QStringLiteral("FileNameLabel"));
    FFileNameEdit = NewSaveFileEdit(this, QStringLiteral("FileNameEdit"),
                                    QStringLiteral("Text files (*.eif)|*.eif|All files (*.*)|*.*"));
    FFileNameEdit->SetText(state.FileName);
    FDirNameEdit = NewDirectoryEdit(this, QStringLiteral("DirNameEdit"));
    FDirNameEdit->SetText(state.DirName);

    FExportLResources =
        NewCheckBox(QStringLiteral("ExportLResourcesCheckBox"),
                    ExportResourcesCaptionId(resourcesMode), state.ExportLResources);
    FExportLResources->setEnabled(ExportModeEnabled(resourcesMode));
    FExportTableData = NewCheckBox(QStringLiteral("ExportTableDataCheckBox"),
                                   ExportTableDataCaptionId(tableDataMode), state.ExportTableData);
    FExportTableData->setEnabled(ExportModeEnabled(tableDataMode));
    FSeparateExport =
        NewCheckBox(QStringLiteral("SeparateExportLCheckBox"),
                    QStringLiteral("M_Pelvar_ExpCnfm_SeparateExport"), state.SeparateExport);
    FSeparateDialogRes = NewCheckBox(QStringLiteral("SeparateExportDialogResLCheckBox"),
                                     QStringLiteral("M_Pelvar_ExpCnfm_SeparateExportDialogRes"),
                                     state.SeparateDialogRes);
    FSeparateTableData = NewCheckBox(QStringLiteral("SeparateExportTableDataLCheckBox"),
                                     QStringLiteral("M_Pelvar_ExpCnfm_SeparateExportTableData"),
                                     state.SeparateTableData);
    FRelease17 = NewCheckBox(
        QStringLiteral("ReleaseVersion17CheckBox"),
        QStringLiteral("C_pelvar_ExportConfirmForm_ReleaseVersion17CheckBox_L"), state.Release17);
    FEncodingLabel =
        new QLabel(LString(QStringLiteral("C_pelvar_ExportConfirmForm_EncodingLabel_L")), this);
    FEncodingLabel->setObjectName(QStringLiteral("EncodingLabel"));
    FEncodingEdit = NewEncodingEdit(this, state.Encoding);
    FEncodingLabel->setBuddy(FEncodingEdit);

    // Name and encoding rows share one grid so their edits line up.
    auto* grid = new QGridLayout;
    grid->addWidget(FFileNameLabel, 0, 0);
    grid->addWidget(FFileNameEdit, 0, 1);
    grid->addWidget(FDirNameEdit, 0, 1);
    grid->addWidget(FEncodingLabel, 1, 0);
    grid->addWidget(FEncodingEdit, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    auto* boxes = new QVBoxLayout;
    boxes->addWidget(FExportLResources);
    boxes->addWidget(FExportTableData);
    boxes->addWidget(FSeparateExport);
    for (QCheckBox* sub : {FSeparateDialogRes, FSeparateTableData}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(kSubOptionIndent);
        row->addWidget(sub);
        boxes->addLayout(row);
    }
    boxes->addWidget(FRelease17);

    auto* buttons = NewOkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TExportConfirmForm::TryAccept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(boxes);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(460);

    for (QCheckBox* box :
         {FExportLResources, FExportTableData, FSeparateExport, FSeparateTableData, FRelease17})
        connect(box, &QCheckBox::toggled, this, &TExportConfirmForm::UpdateControls);
    UpdateControls();
    (state.SeparateExport ? FDirNameEdit : FFileNameEdit)->setFocus();
}

QCheckBox* TExportConfirmForm::NewCheckBox(const QString& name, const QString& captionId,
                                           bool checked) {
    auto* box = new QCheckBox(LString(captionId), this);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

TExportConfirmState TExportConfirmForm::State() const {
    TExportConfirmState s;
    s.ExportLResources = FExportLResources->isChecked();
    s.ExportTableData = FExportTableData->isChecked();
    s.SeparateExport = FSeparateExport->isChecked();
    s.SeparateDialogRes = FSeparateDialogRes->isChecked();
    s.SeparateTableData = FSeparateTableData->isChecked();
    s.FileName = FFileNameEdit->Text();
    s.DirName = FDirNameEdit->Text();
    s.Release17 = FRelease17->isChecked();
    s.Encoding = ChosenEncoding(FEncodingEdit);
    return s;
}

void TExportConfirmForm::UpdateControls() {
    const TExportConfirmState s = State();
    FFileNameLabel->setText(LString(ExportNameLabelId(s.SeparateExport)));
    FFileNameEdit->setVisible(!s.SeparateExport);
    FDirNameEdit->setVisible(s.SeparateExport);
    FFileNameLabel->setBuddy(s.SeparateExport ? FDirNameEdit : FFileNameEdit);
    FSeparateDialogRes->setEnabled(SeparateDialogResEnabled(s, FResourcesMode));
    FSeparateTableData->setEnabled(SeparateTableDataEnabled(s, FTableDataMode));
    const bool encoding = ExportEncodingEnabled(s.Release17);
    FEncodingEdit->setEnabled(encoding);
    FEncodingLabel->setEnabled(encoding);
}

void TExportConfirmForm::TryAccept() {
    const TExportConfirmState s = State();
    switch (CheckExportConfirm(s)) {
        case TExportConfirmFault::Name:
            RefuseOk(s.SeparateExport ? FDirNameEdit : FFileNameEdit);
            return;
        case TExportConfirmFault::Encoding:
            RefuseOk(FEncodingEdit);
            return;
        case TExportConfirmFault::None:
            accept();
    }
}
