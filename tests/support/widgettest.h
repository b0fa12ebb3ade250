#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QTest>

#include "basekit/interaction.h"

// Helpers of the tests that drive real windows (widget executables only).

// Waits, boundedly, until `condition` holds; whether it does.
template <typename F>
bool WaitFor(F&& condition) {
    for (int i = 0; i < 400 && !condition(); ++i)
        QTest::qWait(5);
    return condition();
}

// Shows the form the script was handed, so clicks and focus behave as on screen.
inline QDialog* Shown(QObject* form) {
    auto* dialog = qobject_cast<QDialog*>(form);
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    return dialog;
}

// Clicks on the box itself: a check box wider than its text ignores clicks past it.
inline void ClickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// The modal result the real seam would return; -1 while the form is still
// open (it refused to close).
inline int ModalResult(QObject* form) {
    auto* dialog = qobject_cast<QDialog*>(form);
    if (dialog->isVisible()) return -1;
    const int r = dialog->result();
    return r == QDialog::Accepted ? IDOK : r == QDialog::Rejected ? IDCANCEL : r;
}
