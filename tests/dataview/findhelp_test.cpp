#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>

#include "dataview/findcolumndialog.h"
#include "designkit/helppages.h"
#include "scriptedinteraction.h"

TEST(FindColumnDialogHelp, HelpShowsTheSearchPageOrSaysItCannot) {
    Script().Reset();
    QUrl opened;
    bool opens = true;
    const THelpPageOpener previous = SetHelpPageOpener([&](const QUrl& file) {
        opened = file;
        return opens;
    });
    TFindColumnDialog dialog;
    auto* box = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    QAbstractButton* help = nullptr;
    for (QAbstractButton* b : box->buttons())
        if (box->buttonRole(b) == QDialogButtonBox::HelpRole) help = b;
    ASSERT_NE(help, nullptr);
    help->click();
    ASSERT_TRUE(opened.isLocalFile());
    QFile page(opened.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Searching a column"));
    EXPECT_TRUE(Script().Asked.isEmpty());
    opens = false;  // no browser: one message naming the page
    help->click();
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("doc_find.html"));
    SetHelpPageOpener(previous);
}
