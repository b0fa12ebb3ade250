#include "progressform.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/texts.h"

TProgressForm::TProgressForm(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TProgressForm"));
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(460);
    auto* layout = new QVBoxLayout(this);
    FStatus = new QLabel(caption, this);
    FStatus->setWordWrap(true);
    FBar = new QProgressBar(this);
    FBar->setRange(0, 0);
    FErrorsLabel = new QLabel(LString(QStringLiteral("C_Pelvar_ProgressForm_ErrorsLabel_L")), this);
    FErrorsView = new QPlainTextEdit(this);
    FErrorsView->setReadOnly(true);
    FErrorsLabel->hide();
    FErrorsView->hide();
    FButton =
        new QPushButton(LString(QStringLiteral("C_Pelvar_ProgressForm_CancelButton_L")), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(FButton);
    layout->addWidget(FStatus);
    layout->addWidget(FBar);
    layout->addWidget(FErrorsLabel);
    layout->addWidget(FErrorsView);
    layout->addLayout(buttons);
    connect(FButton, &QPushButton::clicked, this, [this] {
        if (FFinished) {
            accept();
            return;
        }
        FCancelled = true;
        FButton->setEnabled(false);
        FStatus->setText(LString(QStringLiteral("M_Pelvar_ProgressForm_Cancelling")));
    });
    show();
    FSinceEvents.start();
    KeepAlive(true);
}

TProgressForm::~TProgressForm() = default;

void TProgressForm::KeepAlive(bool force) {
    // Processing events costs; a few dozen times a second keeps the window live.
    if (!force && FSinceEvents.elapsed() < 30) return;
    FSinceEvents.restart();
    QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void TProgressForm::SetStatus(const QString& text) {
    if (!FCancelled) FStatus->setText(text);
    KeepAlive(false);
}

void TProgressForm::SetProgress(qint64 position, qint64 maximum) {
    // The bar counts in int: scale large totals down.
    int scale = 1;
    while (maximum / scale > 1000000)
        scale *= 10;
    FBar->setRange(0, int(maximum / scale));
    FBar->setValue(int(qBound<qint64>(0, position, maximum) / scale));
    KeepAlive(false);
}

bool TProgressForm::CancelRequested() {
    KeepAlive(false);
    return FCancelled;
}

void TProgressForm::ReportError(const QString& text) {
    ++FErrors;
    FErrorsLabel->show();
    FErrorsView->show();
    FErrorsView->appendPlainText(text);
    KeepAlive(true);
}

void TProgressForm::Finish() {
    FFinished = true;
    if (FErrors == 0) {
        hide();
        return;
    }
    // The user reads the errors before the window goes.
    FStatus->setText(LString(QStringLiteral("M_Pelvar_ProgressForm_FinishedWithErrors")));
    if (FBar->maximum() == 0) FBar->setRange(0, 1);
    FButton->setText(LString(QStringLiteral("C_Pelvar_ProgressForm_CloseButton_L")));
    FButton->setEnabled(true);
    hide();
    exec();
}
