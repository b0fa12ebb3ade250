#include "vinfoform2.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "imagelists.h"

namespace {

QPointer<TVInfoForm2>& Single() {
    static QPointer<TVInfoForm2> form;
    return form;
}

}  // namespace

TVInfoForm2::TVInfoForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("VInfoForm2"));
    setAttribute(Qt::WA_DeleteOnClose);  // closing frees it; the reference clears itself
    QString title = LString(QStringLiteral("M_Pelvar_Pelvar_ApplicationTitle"));
    if (!QCoreApplication::applicationVersion().isEmpty())
        title += QLatin1Char(' ') + QCoreApplication::applicationVersion();
    setWindowTitle(title);

    auto* bar = new QToolBar(this);
    AutoInfoButton = new QToolButton(bar);
    AutoInfoButton->setObjectName(QStringLiteral("AutoInfoButton"));
    AutoInfoButton->setCheckable(true);
    AutoInfoButton->setIcon(TImageLists::ActionIcon(ActionImage::Search));
    AutoInfoButton->setText(LString(QStringLiteral("C_Pelvar_VInfoForm2_AutoInfoButton_L")));
    AutoInfoButton->setToolTip(AutoInfoButton->text());
    AutoInfoButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addWidget(AutoInfoButton);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setPlaceholderText(LString(QStringLiteral("C_Pelvar_VInfoForm2_Edit1_L")));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setPlaceholderText(LString(QStringLiteral("C_Pelvar_VInfoForm2_Edit2_L")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(Edit1);
    layout->addWidget(Edit2);
    resize(380, 110);

    FTimer = new QTimer(this);
    FTimer->setInterval(100);
    connect(FTimer, &QTimer::timeout, this, [this] { InspectAt(QCursor::pos()); });
    connect(AutoInfoButton, &QToolButton::toggled, this, [this](bool on) { SetAutoInfo(on); });
}

TVInfoForm2* TVInfoForm2::ShowInfoForm() {
    if (!Single()) Single() = new TVInfoForm2();  // frees itself when closed
    Single()->show();
    Single()->raise();
    Single()->activateWindow();
    return Single();
}

TVInfoForm2* TVInfoForm2::Instance() {
    return Single();
}

void TVInfoForm2::SetAutoInfo(bool on) {
    if (AutoInfoButton->isChecked() != on) AutoInfoButton->setChecked(on);
    if (on)
        FTimer->start();
    else
        FTimer->stop();
}

bool TVInfoForm2::AutoInfo() const {
    return FTimer->isActive();
}

void TVInfoForm2::InspectAt(const QPoint& globalPos) {
    QWidget* control = QApplication::widgetAt(globalPos);
    if (!control || !control->parentWidget()) return;
    Edit1->setText(control->objectName() + QStringLiteral(" (") +
                   QString::fromLatin1(control->metaObject()->className()) + QLatin1Char(')'));
    Edit2->setText(QString::fromLatin1(control->parentWidget()->metaObject()->className()));
}
