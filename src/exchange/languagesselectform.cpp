#include "languagesselectform.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "exportformparts.h"

TLanguagesSelectForm::TLanguagesSelectForm(const QStringList& languages, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TLanguagesSelectForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_LanguagesSelectForm_LFormModifier_L")));
    FList = new QListWidget(this);
    FList->setObjectName(QStringLiteral("LanguagesListBox"));
    // A click toggles one entry: the user starts from all and drops some.
    FList->setSelectionMode(QAbstractItemView::MultiSelection);
    FList->addItems(languages);
    FList->selectAll();
    auto* buttons = NewOkCancelButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FList, 1);
    layout->addWidget(buttons);
    setMinimumSize(300, 280);
}

QStringList TLanguagesSelectForm::Selected() const {
    QStringList chosen;
    for (int i = 0; i < FList->count(); ++i)
        if (FList->item(i)->isSelected()) chosen << FList->item(i)->text();
    return chosen;
}
