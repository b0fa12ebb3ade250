#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "designkit/progressform.h"
#include "designkit/widgetinteraction.h"

namespace {

// Clicks the button of the next modal window with the given text, once it shows.
void ClickLater(const QString& text) {
    QTimer::singleShot(0, [text] {
        QWidget* w = QApplication::activeModalWidget();
        for (int i = 0; !w && i < 200; ++i) {
            QTest::qWait(5);
            w = QApplication::activeModalWidget();
        }
        if (!w) return;
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text().remove(QLatin1Char('&')) == text) {
                b->click();
                return;
            }
    });
}

TEST(Widgets, ProgressWindowCancelsAndKeepsErrorsUntilClosed) {
    TProgressForm form("Copying", nullptr);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Copying");
    form.SetStatus("Table CLIENTS");
    form.SetProgress(5'000'000'000LL, 10'000'000'000LL);  // larger than int
    auto* bar = form.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(double(bar->value()) / bar->maximum(), 0.5);
    EXPECT_FALSE(form.CancelRequested());
    auto* button = form.findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(form.CancelRequested());
    EXPECT_FALSE(button->isEnabled());

    form.ReportError("Table ORDERS: duplicate key");
    auto* errors = form.findChild<QPlainTextEdit*>();
    ASSERT_NE(errors, nullptr);
    EXPECT_TRUE(errors->toPlainText().contains("duplicate key"));
    // With errors, the window waits for the user to close it.
    ClickLater("Close");
    form.Finish();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.ErrorCount(), 1);
}

TEST(Widgets, ProgressWindowWithoutErrorsGoesAwayAtTheEnd) {
    TWidgetInteraction seam;
    auto sink = seam.BeginProgress("Export");
    sink->SetStatus("step");
    sink->Finish();
    auto* form = dynamic_cast<TProgressForm*>(sink.get());
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());
}

TEST(Widgets, MessageBoxesAnswerWithTheirButtonCodes) {
    TWidgetInteraction seam;
    ClickLater("No");
    EXPECT_EQ(seam.MessageBox("Replace?", "Confirm", MB::YESNO | MB::ICONQUESTION), IDNO);
    ClickLater("Yes");
    EXPECT_EQ(seam.MessageBox("Replace?", QString(), MB::YESNOCANCEL), IDYES);
    ClickLater("Cancel");
    EXPECT_EQ(seam.MessageBox("Go on?", QString(), MB::OKCANCEL), IDCANCEL);
    ClickLater("OK");
    EXPECT_EQ(seam.MessageBox("Done", QString(), MB::OK | MB::ICONINFORMATION), IDOK);
}

TEST(Widgets, FileFiltersTakeThePlatformForm) {
    EXPECT_EQ(QtFileFilter("eif|*.eif|all|*.*"), "eif (*.eif);;all (*.*)");
    EXPECT_EQ(QtFileFilter("Data|*.dat;*.eif"), "Data (*.dat *.eif)");
    EXPECT_EQ(QtFileFilter("Text (*.txt)"), "Text (*.txt)");
    EXPECT_EQ(QtFileFilter(QString()), QString());
}

}  // namespace
