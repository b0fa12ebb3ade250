#include "listcolumnsselectform.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "imagelists.h"

TListColumnsSelectForm::TListColumnsSelectForm(const TListColumns& shown,
                                               const TListColumns& available, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ListColumnsSelectForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_ListColumnsSelectForm_LFormModifier_L")));
    CheckList = new QListWidget(this);
    CheckList->setObjectName(QStringLiteral("CheckList"));
    UpButton =
        new QPushButton(LString(QStringLiteral("C_Pelvar_ListColumnsSelectForm_UpButton_L")), this);
    UpButton->setObjectName(QStringLiteral("UpButton"));
    DownButton = new QPushButton(
        LString(QStringLiteral("C_Pelvar_ListColumnsSelectForm_DownButton_L")), this);
    DownButton->setObjectName(QStringLiteral("DownButton"));
    OkButton = new QPushButton(LString(QStringLiteral("ST_OK")), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(LString(QStringLiteral("ST_CANCEL")), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    const auto add = [this](const TListColumn& column, bool checked) {
        auto* item = new QListWidgetItem(column.Caption, CheckList);
        item->setData(Qt::UserRole, FColumns.Count());
        FColumns.Add(column);
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        if (column.Tag == 0) {
            // The first column cannot be hidden; it can still be moved.
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        }
    };
    for (const TListColumn& column : shown)
        add(column, true);
    for (const TListColumn& column : available)
        if (shown.IndexOfTag(column.Tag) < 0) add(column, false);
    if (CheckList->count() > 0) CheckList->setCurrentRow(0);

    auto* side = new QVBoxLayout();
    side->addWidget(UpButton);
    side->addWidget(DownButton);
    side->addStretch();
    auto* top = new QHBoxLayout();
    top->addWidget(CheckList, 1);
    top->addLayout(side);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    resize(320, 300);

    connect(UpButton, &QPushButton::clicked, this, &TListColumnsSelectForm::MoveUp);
    connect(DownButton, &QPushButton::clicked, this, &TListColumnsSelectForm::MoveDown);
    connect(OkButton, &QPushButton::clicked, this, [this] { done(IDOK); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(IDCANCEL); });
}

void TListColumnsSelectForm::reject() {
    done(IDCANCEL);
}

bool TListColumnsSelectForm::Execute() {
    return Interaction().ExecModal(this) == IDOK;
}

TListColumns TListColumnsSelectForm::SelectedColumns() const {
    TListColumns result;
    for (int i = 0; i < CheckList->count(); ++i) {
        const QListWidgetItem* item = CheckList->item(i);
        if (item->checkState() == Qt::Checked)
            result.Add(FColumns[item->data(Qt::UserRole).toInt()]);
    }
    return result;
}

void TListColumnsSelectForm::MoveUp() {
    Move(-1);
}

void TListColumnsSelectForm::MoveDown() {
    Move(1);
}

void TListColumnsSelectForm::Move(int delta) {
    const int row = CheckList->currentRow();
    const int target = row + delta;
    if (row < 0 || target < 0 || target >= CheckList->count()) return;
    QListWidgetItem* item = CheckList->takeItem(row);
    CheckList->insertItem(target, item);
    CheckList->setCurrentRow(target);
}
