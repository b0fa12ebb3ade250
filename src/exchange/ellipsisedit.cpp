#include "ellipsisedit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

TEllipsisEdit::TEllipsisEdit(TBrowse browse, QWidget* parent) : QWidget(parent) {
    FEdit = new QLineEdit(this);
    FEdit->setObjectName(QStringLiteral("Edit"));
    FButton = new QToolButton(this);
    FButton->setObjectName(QStringLiteral("EllipsisButton"));
    FButton->setText(QStringLiteral("..."));
    FButton->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(FEdit, 1);
    layout->addWidget(FButton);
    setFocusProxy(FEdit);
    connect(FButton, &QToolButton::clicked, this, [this, browse = std::move(browse)] {
        const QString chosen = browse ? browse(FEdit->text()) : QString();
        if (chosen.isEmpty()) return;
        FEdit->setText(chosen);
        FEdit->setFocus();
    });
}

QString TEllipsisEdit::Text() const {
    return FEdit->text();
}

void TEllipsisEdit::SetText(const QString& text) {
    FEdit->setText(text);
}
