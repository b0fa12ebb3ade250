#include "expqueryconfform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "appcore/texts.h"
#include "basekit/interaction.h"

TExpQueryConfForm::TExpQueryConfForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExpQueryConfForm"));
    setWindowTitle(LString(QStringLiteral("ST_CONFIRMATION")));
    auto* grid = new QGridLayout(this);
    FFileName = new QComboBox;
    FFileName->setObjectName(QStringLiteral("FileNameEComboBox"));
    FFileName->setEditable(true);
    FFileName->setMinimumWidth(320);
    auto* browse = new QToolButton;
    browse->setText(QStringLiteral("..."));
    connect(browse, &QToolButton::clicked, this, &TExpQueryConfForm::Browse);
    grid->addWidget(FFileName, 0, 0, 1, 2);
    grid->addWidget(browse, 0, 2);
    auto box = [&](const char* name, const QString& text, int row) {
        auto* b = new QCheckBox(text);
        b->setObjectName(QLatin1String(name));
        grid->addWidget(b, row, 0, 1, 3);
        return b;
    };
    FSort = box("SortFieldsLCheckBox",
                LString(QStringLiteral("C_pelvar_ExpQueryConfForm_SortFieldsLCheckBox_L")), 1);
    FTableFormat =
        box("TableFormatLCheckBox",
            LString(QStringLiteral("C_pelvar_ExpQueryConfForm_TableFormatLCheckBox_L")), 2);
    FRelease17 = box("ReleaseVersion17CheckBox",
                     LString(QStringLiteral("M_pelvar_ExpQueryConfForm_Release17")), 3);
    FEncodingLabel = new QLabel(LString(QStringLiteral("M_pelvar_ExpQueryConfForm_Encoding")));
    FEncoding = new QComboBox;
    FEncoding->setObjectName(QStringLiteral("EncodingEdit"));
    FEncoding->addItems({QStringLiteral("UTF8"), QStringLiteral("ANSI")});
    grid->addWidget(FEncodingLabel, 4, 0);
    grid->addWidget(FEncoding, 4, 1, 1, 2);
    FByteOrderMark = box("ByteOrderMarkCheckBox",
                         LString(QStringLiteral("M_pelvar_ExpQueryConfForm_ByteOrderMark")), 5);
    FByteOrderMark->setChecked(true);
    FByteOrderMark->setVisible(false);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    buttons->addButton(LString(QStringLiteral("ST_CANCEL")), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 6, 0, 1, 3);
    connect(FRelease17, &QCheckBox::toggled, this, &TExpQueryConfForm::UpdateEncoding);
    connect(FEncoding, &QComboBox::currentIndexChanged, this, &TExpQueryConfForm::UpdateEncoding);
}

QString TExpQueryConfForm::FileName() const {
    return FFileName->currentText().trimmed();
}
void TExpQueryConfForm::SetFileName(const QString& name) {
    FFileName->setEditText(name);
}
void TExpQueryConfForm::SetFilter(const QString& filter, const QString& defaultExtension) {
    FFilter = filter;
    FExtension = defaultExtension;
}
bool TExpQueryConfForm::SortFields() const {
    return FSort->isChecked();
}
void TExpQueryConfForm::SetSortFields(bool on, bool enabled) {
    FSort->setChecked(on);
    FSort->setEnabled(enabled);
}
bool TExpQueryConfForm::TableFormat() const {
    return FTableFormat->isChecked();
}
void TExpQueryConfForm::SetTableFormatEnabled(bool enabled) {
    FTableFormat->setEnabled(enabled);
}
bool TExpQueryConfForm::ReleaseVersion17() const {
    return FRelease17->isChecked();
}
bool TExpQueryConfForm::Utf8() const {
    return FEncoding->currentIndex() == 0;
}
bool TExpQueryConfForm::ByteOrderMark() const {
    return Utf8() && FByteOrderMark->isChecked();
}
void TExpQueryConfForm::SetByteOrderMarkVisible(bool visible) {
    FByteOrderMark->setVisible(visible);
}

void TExpQueryConfForm::UpdateEncoding() {
    const bool encodingFree = !FRelease17->isChecked();
    FEncoding->setEnabled(encodingFree);
    FEncodingLabel->setEnabled(encodingFree);
    FByteOrderMark->setEnabled(encodingFree && Utf8());
}

void TExpQueryConfForm::Browse() {
    QString start = FileName();
    if (start.isEmpty()) start = QStringLiteral("QueryExp.") + FExtension;
    // "eif|*.eif|all|*.*": pairs of a name and a pattern.
    const QStringList parts = FFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    const QString name = Interaction().SaveFileName(windowTitle(), start,
                                                    filters.join(QStringLiteral(";;")), FExtension);
    if (!name.isEmpty()) SetFileName(name);
}
