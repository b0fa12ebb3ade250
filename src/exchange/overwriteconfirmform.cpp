#include "overwriteconfirmform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"

TExportOverwriteConfirmForm::TExportOverwriteConfirmForm(const QString& fileName, QWidget* parent)
    : TExportOverwriteConfirmForm(fileName, true, parent) {}

TExportOverwriteConfirmForm::TExportOverwriteConfirmForm(const QString& fileName, bool canAppend,
                                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(canAppend ? QStringLiteral("TExportOverwriteConfirmForm")
                            : QStringLiteral("TExportOverwriteXMLConfirmForm"));
    setWindowTitle(LString(QStringLiteral("ST_CONFIRMATION")));

    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    auto* label = new QLabel(
        SafeFormat(LString(QStringLiteral("M_Pelvar_ExpOvCf_MainLabelCaption")), fileName), this);
    label->setObjectName(QStringLiteral("MainLabel"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    auto add = [&](const QString& name, const QString& captionId, int result,
                   QDialogButtonBox::ButtonRole role) {
        auto* button = buttons->addButton(LString(captionId), role);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, [this, result] {
            if (result == IDCANCEL)
                reject();
            else
                done(result);
        });
        return button;
    };
    add(QStringLiteral("YesButton"),
        QStringLiteral("C_Pelvar_ExportOverwriteConfirmForm_YesButton_L"), IDYES,
        QDialogButtonBox::YesRole)
        ->setDefault(true);
    if (canAppend)
        add(QStringLiteral("NoButton"),
            QStringLiteral("C_Pelvar_ExportOverwriteConfirmForm_NoButton_L"), IDNO,
            QDialogButtonBox::NoRole);
    add(QStringLiteral("CancelButton"), QStringLiteral("ST_CANCEL"), IDCANCEL,
        QDialogButtonBox::RejectRole);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addWidget(label, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

TExportOverwriteXMLConfirmForm::TExportOverwriteXMLConfirmForm(const QString& fileName,
                                                               QWidget* parent)
    : TExportOverwriteConfirmForm(fileName, false, parent) {}
