#include "exportformparts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "ellipsisedit.h"
#include "model/exportconfirm.h"

QComboBox* NewEncodingEdit(QWidget* parent, const QString& encoding) {
    auto* edit = new QComboBox(parent);
    edit->setObjectName(QStringLiteral("EncodingEdit"));
    edit->addItems(ExportEncodings());
    edit->setCurrentIndex(int(ExportEncodings().indexOf(NormalizedExportEncoding(encoding))));
    return edit;
}

QString ChosenEncoding(const QComboBox* edit) {
    return edit->currentIndex() < 0 ? QString() : edit->currentText();
}

TEllipsisEdit* NewSaveFileEdit(QWidget* parent, const QString& objectName, const QString& filter) {
    auto* edit = new TEllipsisEdit(
        [filter](const QString& current) {
            return Interaction().SaveFileName(
                LString(QStringLiteral("M_Pelvar_ExpCnfm_SelectFileCaption")), current, filter,
                QStringLiteral("eif"));
        },
        parent);
    edit->setObjectName(objectName);
    return edit;
}

TEllipsisEdit* NewDirectoryEdit(QWidget* parent, const QString& objectName) {
    auto* edit = new TEllipsisEdit(
        [](const QString& current) {
            return Interaction().SelectDirectory(
                LString(QStringLiteral("M_Pelvar_ExpCnfm_SelectDirCaption")), current);
        },
        parent);
    edit->setObjectName(objectName);
    return edit;
}

QDialogButtonBox* NewOkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    auto* ok = buttons->addButton(LString(QStringLiteral("ST_OK")), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel =
        buttons->addButton(LString(QStringLiteral("ST_CANCEL")), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void RefuseOk(QWidget* offending) {
    QApplication::beep();
    offending->setFocus();
}
