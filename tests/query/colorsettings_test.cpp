#include <gtest/gtest.h>

#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "basekit/registry.h"
#include "query/colorsettingsform.h"
#include "query/editorstyle.h"
#include "query/querywindows.h"
#include "queryformfixture.h"

namespace {

TEST(ColorPick, MarksOtherBoxesAndDefaultsFollowTheClicks) {
    TColorPickState pick;
    pick.Show(0x123456, kNoColor);  // a colour outside the grid, the default background
    EXPECT_EQ(pick.ForegroundMark(), -1);
    EXPECT_EQ(pick.Other(0).Text, "FG");
    EXPECT_EQ(pick.Foreground(), 0x123456);
    EXPECT_TRUE(pick.DefaultBackground());
    EXPECT_EQ(pick.Background(), kNoColor);

    pick.ClickGrid(9, false);  // red: the "FG" box empties
    EXPECT_EQ(pick.Foreground(), 0xFF0000);
    EXPECT_TRUE(pick.Other(0).Text.isEmpty());
    pick.ClickGrid(4, true);  // a background mark unticks its default
    EXPECT_FALSE(pick.DefaultBackground());
    EXPECT_EQ(pick.Background(), 0x000080);

    pick.SetDefaultForeground(true);
    EXPECT_EQ(pick.ForegroundMark(), -1);
    EXPECT_EQ(pick.Foreground(), kNoColor);
    pick.SetDefaultForeground(false);  // back on the first grid colour
    EXPECT_EQ(pick.Foreground(), 0x000000);
    pick.SetDefaultBackground(false);
    EXPECT_EQ(pick.BackgroundMark(), TColorPickState::kFirstBackground);

    // Other colours: outside the grid the clicked box shows it; a grid colour moves the mark.
    pick.ChooseOther(1, true, 0xABCDEF);
    EXPECT_EQ(pick.BackgroundMark(), -1);
    EXPECT_EQ(pick.Other(1).Text, "BG");
    EXPECT_EQ(pick.Background(), 0xABCDEF);
    pick.ChooseOther(0, true, 0xFFFF00);
    EXPECT_EQ(pick.BackgroundMark(), 11);
    EXPECT_TRUE(pick.Other(1).Text.isEmpty());
    EXPECT_TRUE(pick.Other(0).Text.isEmpty());
}

class ColorSettingsTest : public TQueryWindowTest {};

TEST_P(ColorSettingsTest, ChosenColoursReachEveryWindowAndTheNextOnes) {
    const TEditorColors before = FForm->EditorColors();
    EXPECT_EQ(FForm->Editor()->lexer()->color(QsciLexerSQL::Keyword), QColor(0x0000C0));
    EXPECT_EQ(FForm->Editor()->lexer()->color(QsciLexerSQL::Comment), QColor(0x808080));
    TQueryForm second(Alias());

    Script().AnswerModal([&](QObject* dialog) {
        auto* form = qobject_cast<TColorSettingsForm*>(dialog);
        auto* list = form->findChild<QListWidget*>("ListBox");
        EXPECT_EQ(list->item(list->count() - 1)->text(), "WhiteSpace");
        list->setCurrentItem(list->findItems("Reserved Word", Qt::MatchExactly).value(0));
        EXPECT_FALSE(form->findChild<QCheckBox*>("BoldCheckBox")->isChecked());
        EXPECT_TRUE(form->findChild<QCheckBox*>("DefaultBGCheckBox")->isChecked());
        auto* grid = form->findChild<TColorGrid*>("ColorGrid");
        const QPoint red(9 % 8 * 22 + 5, 9 / 8 * 22 + 5), navy(4 * 22 + 5, 5);
        EXPECT_EQ(grid->CellAt(red), 9);
        QTest::mouseClick(grid, Qt::LeftButton, {}, red);
        QTest::mouseClick(grid, Qt::RightButton, {}, navy);
        EXPECT_FALSE(form->findChild<QCheckBox*>("DefaultBGCheckBox")->isChecked());
        form->findChild<QCheckBox*>("BoldCheckBox")->click();
        // Plain text: a colour from the colour dialog, and another font.
        list->setCurrentRow(list->count() - 1);
        Script().AnswerModal([](QObject* colors) {
            qobject_cast<QColorDialog*>(colors)->setCurrentColor(QColor(0x102030));
            return IDOK;
        });
        QTest::mouseClick(form->findChild<TOtherColorBox*>("OtherColorEdit1"), Qt::LeftButton);
        EXPECT_EQ(form->findChild<TOtherColorBox*>("OtherColorEdit1")->text(), "FG");
        Script().AnswerModal([](QObject* fonts) {
            qobject_cast<QFontDialog*>(fonts)->setCurrentFont(QFont("Serif", 15));
            return IDOK;
        });
        form->findChild<QPushButton*>("FontButton")->click();
        if (qEnvironmentVariableIsSet("PELVAR_COLORS_SHOT"))
            form->grab().save(qEnvironmentVariable("PELVAR_COLORS_SHOT"));
        return IDOK;
    });
    FForm->Action("ColorEditAction")->trigger();
    EXPECT_TRUE(Script().AllAnswersUsed());

    for (TQueryForm* form : {FForm.data(), &second}) {
        QsciLexer* lexer = form->Editor()->lexer();
        EXPECT_EQ(lexer->color(QsciLexerSQL::Keyword), QColor(0xFF0000));
        EXPECT_EQ(lexer->paper(QsciLexerSQL::Keyword), QColor(0x000080));
        EXPECT_TRUE(lexer->font(QsciLexerSQL::Keyword).bold());
        EXPECT_FALSE(lexer->font(QsciLexerSQL::Number).bold());
        EXPECT_EQ(lexer->color(QsciLexerSQL::Default), QColor(0x102030));
        EXPECT_EQ(lexer->color(QsciLexerSQL::Identifier), QColor(0x102030));  // follows the text
        EXPECT_EQ(lexer->font(QsciLexerSQL::Default).pointSize(), 15);
    }
    // Kept: a new window starts with them, and they are in the registry's layout.
    TQueryForm third(Alias());
    EXPECT_EQ(third.EditorColors(), FForm->EditorColors());
    EXPECT_NE(third.EditorColors(), before);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(RegistryBaseKey() + kQueryEditorColorsKey));
    EXPECT_EQ(reg.ReadInteger("FontSize"), 15);
    EXPECT_EQ(reg.ReadInteger("GroundColor"), 0xFFFFFF);
    ASSERT_TRUE(reg.OpenKeyReadOnly(RegistryBaseKey() + kQueryEditorColorsKey +
                                    "\\HighLighter\\Reserved Word"));
    EXPECT_EQ(reg.ReadInteger("Foreground"), 0xFF0000);
    EXPECT_EQ(reg.ReadInteger("Style"), 1);
    ASSERT_TRUE(
        reg.OpenKeyReadOnly(RegistryBaseKey() + kQueryEditorColorsKey + "\\HighLighter\\Comment"));
    EXPECT_EQ(reg.ReadInteger("Background"), kNoColor);

    // Cancel changes nothing.
    Script().AnswerModal([](QObject* dialog) {
        dialog->findChild<QCheckBox*>("UnderlineCheckBox")->click();
        return IDCANCEL;
    });
    const TEditorColors chosen = FForm->EditorColors();
    FForm->Action("ColorEditAction")->trigger();
    EXPECT_EQ(FForm->EditorColors(), chosen);
    TRegistry().DeleteKey(RegistryBaseKey() + kQueryEditorColorsKey);
}

PELVAR_ENGINE_TESTS(ColorSettingsTest);

}  // namespace
