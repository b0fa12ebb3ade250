#include "dspconfirmforms.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"

namespace {

QCheckBox* MakeBox(QWidget* parent, const char* name, const char* captionId,
                   const TConfirmBox& state) {
    auto* box = new QCheckBox(LString(QString::fromLatin1(captionId)), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEnabled(state.Enabled);
    box->setChecked(state.Checked);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* captionId) {
    auto* button = new QPushButton(LString(QString::fromLatin1(captionId)), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* QuestionImage(QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
    image->setPixmap(
        parent->style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, parent).pixmap(size));
    image->setAlignment(Qt::AlignTop);
    return image;
}

// The picture on the left, the question on the right, the buttons below; the
// window keeps the size its contents need.
void LayOut(QDialog* form, QLabel* image, const QList<QWidget*>& question, QPushButton* first,
            QPushButton* second) {
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    for (QWidget* w : question)
        right->addWidget(w);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(image);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(first);
    buttons->addWidget(second);
    auto* layout = new QVBoxLayout(form);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    form->setWindowTitle(LString(QStringLiteral("ST_CONFIRMATION")));
}

}  // namespace

TCopyTableConfirmationForm::TCopyTableConfirmationForm(TCopyTableConfirmation& state,
                                                       QWidget* parent)
    : QDialog(parent), FState(state) {
    setObjectName(QStringLiteral("TCopyTableConfirmationForm"));
    Image1 = QuestionImage(this);
    CreateDBObjectCheckbox =
        MakeBox(this, "CreateDBObjectCheckbox", "M_Pelvar_CpyTblCf_CreateTables",
                state.CreateDBObjectCheckbox);
    CopyTableDataCheckBox =
        MakeBox(this, "CopyTableDataCheckBox", "M_Pelvar_CpyTblCf_CopyTablesData",
                state.CopyTableDataCheckBox);
    CopyLocalResourceCheckBox =
        MakeBox(this, "CopyLocalResourceCheckBox", "M_Pelvar_CpyTblCf_CopyLocalResource",
                state.CopyLocalResourceCheckBox);
    OkButton = MakeButton(this, "OkButton", "ST_OK");
    OkButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "ST_CANCEL");
    LayOut(this, Image1, {CreateDBObjectCheckbox, CopyTableDataCheckBox, CopyLocalResourceCheckBox},
           OkButton, CancelButton);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(CreateDBObjectCheckbox, &QCheckBox::toggled, this, [this](bool checked) {
        FState.ClickCreateDBObjects(checked);
        ShowState();
    });
    connect(CopyTableDataCheckBox, &QCheckBox::toggled, this,
            [this](bool checked) { FState.CopyTableDataCheckBox.Checked = checked; });
    connect(CopyLocalResourceCheckBox, &QCheckBox::toggled, this,
            [this](bool checked) { FState.CopyLocalResourceCheckBox.Checked = checked; });
}

void TCopyTableConfirmationForm::ShowState() {
    const QSignalBlocker block(CopyTableDataCheckBox);
    CopyTableDataCheckBox->setEnabled(FState.CopyTableDataCheckBox.Enabled);
    CopyTableDataCheckBox->setChecked(FState.CopyTableDataCheckBox.Checked);
}

TDeleteTableConfirmForm::TDeleteTableConfirmForm(TDeleteTableConfirmation& state, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TDeleteTableConfirmForm"));
    MainLabel = new QLabel(state.MainLabel, this);
    MainLabel->setObjectName(QStringLiteral("MainLabel"));
    MainLabel->setWordWrap(true);
    MainLabel->setMinimumWidth(280);
    Image1 = QuestionImage(this);
    DeleteTableDataCheckbox =
        MakeBox(this, "DeleteTableDataCheckbox", "M_Pelvar_CrTblCf_DeleteTablesDataConfirm",
                state.DeleteTableDataCheckbox);
    DeleteLocalResourceCheckBox =
        MakeBox(this, "DeleteLocalResourceCheckBox", "M_Pelvar_CrTblCf_DeleteLocalResourceConfirm",
                state.DeleteLocalResourceCheckBox);
    YesButton = MakeButton(this, "YesButton", "ST_YES");
    YesButton->setDefault(true);
    NoButton = MakeButton(this, "NoButton", "ST_NO");
    LayOut(this, Image1, {MainLabel, DeleteTableDataCheckbox, DeleteLocalResourceCheckBox},
           YesButton, NoButton);
    connect(YesButton, &QPushButton::clicked, this, [this] { done(IDYES); });
    connect(NoButton, &QPushButton::clicked, this, [this] { done(IDNO); });
    connect(DeleteTableDataCheckbox, &QCheckBox::toggled, this,
            [&state](bool checked) { state.DeleteTableDataCheckbox.Checked = checked; });
    connect(DeleteLocalResourceCheckBox, &QCheckBox::toggled, this,
            [&state](bool checked) { state.DeleteLocalResourceCheckBox.Checked = checked; });
}

void TDeleteTableConfirmForm::reject() {
    done(IDNO);
}
