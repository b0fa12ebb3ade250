#include "treedesignwidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"

QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* captionId) {
    auto* button = new QPushButton(LString(QLatin1String(captionId)), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* SaveCloseRow(QWidget* form, QPushButton*& saveButton, QPushButton*& closeButton,
                          const std::function<void()>& save) {
    saveButton = MakeButton(form, "SaveButton", "C_Pelvar_TableStructureForm_SaveButton_L");
    closeButton = MakeButton(form, "CloseButton", "C_Pelvar_TableStructureForm_CloseButton_L");
    QObject::connect(saveButton, &QPushButton::clicked, form, save);
    QObject::connect(closeButton, &QPushButton::clicked, form, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    return buttons;
}

void AddLabelledRow(QGridLayout* grid, QWidget* parent, const char* captionId, QWidget* field) {
    auto* label = new QLabel(LString(QLatin1String(captionId)), parent);
    label->setBuddy(field);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    grid->setColumnStretch(1, 1);
}

void SetHeaders(QTableWidget* grid, const QList<const char*>& captionIds) {
    QStringList captions;
    for (const char* id : captionIds)
        captions << LString(QLatin1String(id));
    grid->setHorizontalHeaderLabels(captions);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 10);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
}

QWidget* GridPage(QWidget* page, QTableWidget* grid, const QList<QPushButton*>& buttons) {
    auto* column = new QVBoxLayout;
    for (QPushButton* b : buttons)
        column->addWidget(b);
    column->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(grid, 1);
    layout->addLayout(column);
    return page;
}

bool ConfirmClose(bool modified, const std::function<bool()>& save) {
    if (!modified) return true;
    const int answer =
        LMessageBox(QStringLiteral("M_Pelvar_TblStrForm_SaveChanges"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNOCANCEL | MB::ICONQUESTION);
    if (answer == IDYES) return save();
    return answer == IDNO;
}
