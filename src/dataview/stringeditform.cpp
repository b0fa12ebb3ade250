#include "stringeditform.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"

TStringEditForm::TStringEditForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TStringEditForm"));
    setMinimumSize(234, 125);
    resize(520, 360);
    auto* layout = new QVBoxLayout(this);
    FMemo = new QPlainTextEdit(this);
    FMemo->setObjectName(QStringLiteral("Memo"));
    FMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(FMemo);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(LString(QStringLiteral("ST_OK")));
    buttons->button(QDialogButtonBox::Cancel)->setText(LString(QStringLiteral("ST_CANCEL")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TStringEditForm::SetText(const QString& text) {
    FMemo->setPlainText(text);
}

QString TStringEditForm::Text() const {
    return FMemo->toPlainText();
}
