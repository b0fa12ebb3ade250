#include "organizeshortcutsform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"

TOrganizeShortcutsForm::TOrganizeShortcutsForm(const TPelvarObjectShortcutList& shortcuts,
                                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("OrganizeShortcutsForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_OrganizeShortcutsForm_LFormModifier_L")));
    ObjectShortcuts.Assign(shortcuts);

    ListView = new QTreeWidget(this);
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setHeaderHidden(true);
    ListView->setRootIsDecorated(false);
    ListView->setColumnCount(1);
    ListView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int i = 0; i < ObjectShortcuts.Count(); ++i) {
        const TPelvarObjectShortcut* s = ObjectShortcuts.Items(i);
        // A caption ID names the text; the literal caption is the fallback.
        auto* row = new QTreeWidgetItem(ListView);
        row->setText(0, s->CaptionID.isEmpty() ? s->Caption : LString(s->CaptionID));
    }

    const auto button = [this](const QString& id, const char* name) {
        auto* b = new QPushButton(LString(id), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    UpButton = button(QStringLiteral("C_Pelvar_OrganizeShortcutsForm_UpButton_L"), "UpButton");
    DownButton =
        button(QStringLiteral("C_Pelvar_OrganizeShortcutsForm_DownButton_L"), "DownButton");
    DeleteButton =
        button(QStringLiteral("C_Pelvar_OrganizeShortcutsForm_DeleteButton_L"), "DeleteButton");
    OkButton = button(QStringLiteral("ST_OK"), "OkButton");
    OkButton->setDefault(true);
    CancelButton = button(QStringLiteral("ST_CANCEL"), "CancelButton");
    HelpButton = button(QStringLiteral("ST_HELP"), "HelpButton");
    HelpButton->setEnabled(false);  // the program has no help file

    auto* side = new QVBoxLayout();
    side->addWidget(UpButton);
    side->addWidget(DownButton);
    side->addWidget(DeleteButton);
    side->addStretch();
    auto* top = new QHBoxLayout();
    top->addWidget(ListView, 1);
    top->addLayout(side);
    auto* bottom = new QHBoxLayout();
    bottom->addStretch();
    bottom->addWidget(OkButton);
    bottom->addWidget(CancelButton);
    bottom->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    resize(400, 300);

    connect(UpButton, &QPushButton::clicked, this, &TOrganizeShortcutsForm::MoveUp);
    connect(DownButton, &QPushButton::clicked, this, &TOrganizeShortcutsForm::MoveDown);
    connect(DeleteButton, &QPushButton::clicked, this, &TOrganizeShortcutsForm::DeleteSelected);
    connect(OkButton, &QPushButton::clicked, this, [this] { done(IDOK); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(IDCANCEL); });
}

bool TOrganizeShortcutsForm::Execute(TShortcutHost& host, QWidget* parent) {
    TOrganizeShortcutsForm form(host.ObjectShortcuts(), parent);
    if (Interaction().ExecModal(&form) != IDOK) return false;
    host.ObjectShortcuts().Assign(form.ObjectShortcuts);
    host.FillShortcuts();
    return true;
}

void TOrganizeShortcutsForm::reject() {
    done(IDCANCEL);
}

void TOrganizeShortcutsForm::MoveUp() {
    Move(-1);
}

void TOrganizeShortcutsForm::MoveDown() {
    Move(1);
}

void TOrganizeShortcutsForm::Move(int delta) {
    QTreeWidgetItem* row = ListView->currentItem();
    if (!row) return;
    const int index = ListView->indexOfTopLevelItem(row);
    const int target = index + delta;
    if (target < 0 || target >= ListView->topLevelItemCount()) return;
    // The shortcut moves as the list does: a copy at the new place, the old one deleted.
    TPelvarObjectShortcut* moving = ObjectShortcuts.Items(index);
    TPelvarObjectShortcut* copy = ObjectShortcuts.Insert(delta < 0 ? target : target + 1);
    copy->Assign(*moving);
    ObjectShortcuts.Delete(ObjectShortcuts.IndexOf(moving));
    ListView->takeTopLevelItem(index);
    ListView->insertTopLevelItem(target, row);
    ListView->setCurrentItem(row);
    row->setSelected(true);
    ListView->setFocus();
}

void TOrganizeShortcutsForm::DeleteSelected() {
    QTreeWidgetItem* row = ListView->currentItem();
    if (!row) return;
    const int index = ListView->indexOfTopLevelItem(row);
    ObjectShortcuts.Delete(index);
    std::unique_ptr<QTreeWidgetItem> gone(ListView->takeTopLevelItem(index));
}
