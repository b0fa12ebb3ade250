#include "dsppropertiesform.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "appcore/texts.h"

namespace {

QLabel* AddRow(QGridLayout* grid, QFrame* panel, const char* name, const char* captionId,
               QWidget* field) {
    auto* label = new QLabel(LString(QString::fromLatin1(captionId)), panel);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(field);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* captionId) {
    auto* button = new QPushButton(LString(QString::fromLatin1(captionId)), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TDSPPropertiesForm::TDSPPropertiesForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TDSPPropertiesForm"));
    setWindowTitle(LString(QStringLiteral("C_Pelvar_DSPPropertiesForm_LFormModifier_L")));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(Panel1);
    grid->setColumnStretch(1, 1);

    NameEdit = new QLineEdit(Panel1);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->installEventFilter(this);
    ParentNameEdit = new QComboBox(Panel1);
    ParentNameEdit->setObjectName(QStringLiteral("ParentNameEdit"));
    ParentNameEdit->setEditable(true);
    ParentNameEdit->setInsertPolicy(QComboBox::NoInsert);
    RemarkEdit = new QLineEdit(Panel1);
    RemarkEdit->setObjectName(QStringLiteral("RemarkEdit"));
    ObjectTypeEdit = new QComboBox(Panel1);
    ObjectTypeEdit->setObjectName(QStringLiteral("ObjectTypeEdit"));
    ObjectTypeEdit->addItems(ObjectTypeEntries());
    ObjectTypeEdit->setCurrentIndex(-1);

    NameLabel =
        AddRow(grid, Panel1, "NameLabel", "C_Pelvar_DSPPropertiesForm_NameLabel_L", NameEdit);
    ParentNameLabel = AddRow(grid, Panel1, "ParentNameLabel",
                             "C_Pelvar_DSPPropertiesForm_ParentNameLabel_L", ParentNameEdit);
    RemarkLabel =
        AddRow(grid, Panel1, "RemarkLabel", "C_Pelvar_DSPPropertiesForm_RemarkLabel_L", RemarkEdit);
    ObjectTypeLabel = AddRow(grid, Panel1, "ObjectTypeLabel",
                             "C_Pelvar_DSPPropertiesForm_ObjectTypeLabel_L", ObjectTypeEdit);

    OkButton = MakeButton(this, "OkButton", "ST_OK");
    OkButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "ST_CANCEL");
    HelpButton = MakeButton(this, "HelpButton", "ST_HELP");  // no help behind it yet
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    setTabOrder(NameEdit, ParentNameEdit);
    setTabOrder(ParentNameEdit, RemarkEdit);
    setTabOrder(RemarkEdit, ObjectTypeEdit);
    setTabOrder(ObjectTypeEdit, OkButton);
    setTabOrder(OkButton, CancelButton);
    setTabOrder(CancelButton, HelpButton);

    connect(OkButton, &QPushButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(NameEdit, &QLineEdit::textChanged, this, [this] { FillParentList(); });
    connect(ObjectTypeEdit, &QComboBox::currentIndexChanged, this, [this] { FillParentList(); });
    NameEdit->setFocus();
}

void TDSPPropertiesForm::SetValues(const TDSPPropertiesRequest& request) {
    FRequest = request;
    FDatabaseName = request.DatabaseName;
    FParentEnabled = request.ParentEnabled;
    // The caller fills the parent list once everything is set.
    const QSignalBlocker blockName(NameEdit);
    const QSignalBlocker blockType(ObjectTypeEdit);
    if (request.ObjectType > 0)
        SetObjectType(request.ObjectType);
    else
        ObjectTypeEdit->setCurrentIndex(-1);
    ObjectTypeEdit->setEnabled(request.ObjectTypeEnabled);
    ObjectTypeLabel->setEnabled(request.ObjectTypeEnabled);
    NameEdit->setText(request.Name);
    ParentNameEdit->setEditText(request.ParentName);
    RemarkEdit->setText(request.Remark);
}

TDSPPropertiesRequest TDSPPropertiesForm::Values() const {
    TDSPPropertiesRequest values = FRequest;
    values.ObjectType = GetObjectType();
    values.Name = NameEdit->text();
    values.ParentName = ParentNameEdit->currentText();
    values.Remark = RemarkEdit->text();
    return values;
}

int TDSPPropertiesForm::GetObjectType() const {
    return ObjectTypeOfText(ObjectTypeEdit->currentText());
}

void TDSPPropertiesForm::SetObjectType(int objectType) {
    QStringList entries;
    for (int i = 0; i < ObjectTypeEdit->count(); ++i)
        entries << ObjectTypeEdit->itemText(i);
    int index = FindObjectTypeEntry(entries, objectType);
    if (index < 0) {
        // A type the list does not describe still shows, as its bare number.
        ObjectTypeEdit->addItem(QString::number(objectType));
        index = ObjectTypeEdit->count() - 1;
    }
    ObjectTypeEdit->setCurrentIndex(index);
}

void TDSPPropertiesForm::FillParentList() {
    ShowParentList(
        ::FillParentList(FDatabaseName, GetObjectType(), NameEdit->text(), FParentEnabled, false));
}

void TDSPPropertiesForm::ShowParentList(const TParentList& list) {
    const QString text = list.ClearText ? QString() : ParentNameEdit->currentText();
    QStringList names = list.Names;
    names.sort(Qt::CaseInsensitive);
    ParentNameEdit->clear();
    ParentNameEdit->addItems(names);
    ParentNameEdit->setEditText(text);
    ParentNameEdit->setEnabled(list.Enabled);
    ParentNameLabel->setEnabled(list.Enabled);
}

void TDSPPropertiesForm::OkButtonClick() {
    switch (CheckDSPProperties(GetObjectType(), NameEdit->text())) {
        case TDSPPropertiesFault::ObjectType:
            Refuse(ObjectTypeEdit);
            break;
        case TDSPPropertiesFault::Name:
            Refuse(NameEdit);
            break;
        case TDSPPropertiesFault::None:
            accept();
            break;
    }
}

void TDSPPropertiesForm::Refuse(QWidget* field) {
    QApplication::beep();
    field->setFocus();
}

bool TDSPPropertiesForm::eventFilter(QObject* watched, QEvent* event) {
    // Without a parent there is nothing to derive from, so "$" (which names a
    // derived structure) cannot be typed.
    if (watched == NameEdit && event->type() == QEvent::KeyPress && !FParentEnabled &&
        static_cast<QKeyEvent*>(event)->text() == QStringLiteral("$"))
        return true;
    return QDialog::eventFilter(watched, event);
}

TInheritSelectForm::TInheritSelectForm(QWidget* parent) : TDSPPropertiesForm(parent) {
    setObjectName(QStringLiteral("TInheritSelectForm"));
}

void TInheritSelectForm::FillParentList() {
    ShowParentList(
        ::FillParentList(FDatabaseName, GetObjectType(), NameEdit->text(), FParentEnabled, true));
}

void TInheritSelectForm::OkButtonClick() {
    if (!IsInheritName(NameEdit->text(), FParentEnabled))
        Refuse(NameEdit);
    else
        TDSPPropertiesForm::OkButtonClick();
}
