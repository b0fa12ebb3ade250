#include "widgetinteraction.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "progressform.h"

namespace {

QWidget* Owner() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w;
}

QString Caption(const QString& caption) {
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}

}  // namespace

QString QtFileFilter(const QString& filter) {
    if (filter.isEmpty() || !filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        result << QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return result.join(QStringLiteral(";;"));
}

int TWidgetInteraction::MessageBox(const QString& text, const QString& caption, int flags) {
    QMessageBox box(Owner());
    box.setWindowTitle(Caption(caption));
    box.setText(text);
    switch (flags & MB::IconMask) {
        case MB::ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB::ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB::ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB::ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    // Button sets of the platform's message box and the codes they answer.
    QList<QPair<QMessageBox::StandardButton, int>> buttons;
    switch (flags & MB::ButtonMask) {
        case MB::OKCANCEL:
            buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case 0x2:
            buttons = {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
            break;
        case MB::YESNOCANCEL:
            buttons = {{QMessageBox::Yes, IDYES},
                       {QMessageBox::No, IDNO},
                       {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB::YESNO:
            buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
            break;
        case 0x5:
            buttons = {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        default:
            buttons = {{QMessageBox::Ok, IDOK}};
            break;
    }
    QMessageBox::StandardButtons set;
    for (const auto& b : buttons)
        set |= b.first;
    box.setStandardButtons(set);
    const int defaultIndex = (flags & 0xF00) >> 8;
    if (defaultIndex < buttons.size()) box.setDefaultButton(buttons[defaultIndex].first);
    if (flags & MB::TASKMODAL) box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& b : buttons)
        if (b.first == clicked) return b.second;
    // Closed with the window's close box: the platform answers Cancel, or the
    // only button there is.
    return buttons.size() == 1 ? buttons.first().second : IDCANCEL;
}

QString TWidgetInteraction::OpenFileName(const QString& caption, const QString& dir,
                                         const QString& filter) {
    return QFileDialog::getOpenFileName(Owner(), caption, dir, QtFileFilter(filter));
}

QStringList TWidgetInteraction::OpenFileNames(const QString& caption, const QString& dir,
                                              const QString& filter) {
    return QFileDialog::getOpenFileNames(Owner(), caption, dir, QtFileFilter(filter));
}

QString TWidgetInteraction::SaveFileName(const QString& caption, const QString& dir,
                                         const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(Owner(), caption, dir, QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // The caller asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString TWidgetInteraction::SelectDirectory(const QString& caption, const QString& dir) {
    return QFileDialog::getExistingDirectory(Owner(), caption, dir);
}

int TWidgetInteraction::ExecModal(QObject* form) {
    auto* dialog = qobject_cast<QDialog*>(form);
    if (!dialog) return IDCANCEL;
    const int result = dialog->exec();
    if (result == QDialog::Accepted) return IDOK;
    if (result == QDialog::Rejected) return IDCANCEL;
    return result;
}

void TWidgetInteraction::ShowException(const QString& className, const QString& message,
                                       const QStringList& stack) {
    QMessageBox box(Owner());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Critical);
    box.setText(message);
    QString details = className;
    if (!stack.isEmpty()) details += QStringLiteral("\n\n") + stack.join(QLatin1Char('\n'));
    box.setDetailedText(details);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

std::unique_ptr<TProgressSink> TWidgetInteraction::BeginProgress(const QString& caption) {
    return std::make_unique<TProgressForm>(caption, Owner());
}
