#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "appcore/texts.h"
#include "basekit/errors.h"
#include "explorer/formlookup.h"
#include "explorer/listview.h"
#include "explorer/organizeshortcutsform.h"
#include "explorer/popupmenuwokey.h"
#include "explorer/vinfoform2.h"
#include "explorerfixture.h"
#include "scriptedinteraction.h"

namespace {

class TLookupTest : public TExplorerTest {
  protected:
    void SetUp() override {
        TExplorerTest::SetUp();
        // Captions differ from names here: Tables, tables2, My tables.
        const QString folder = "\\A1\\Languages";
        World().Add(folder, {"a", false, 7, "!Tables"});
        World().Add(folder, {"b", false, 8, "!tables2"});
        World().Add(folder, {"c", false, 9, "!My tables"});
        FWindow = Window(folder);
        FWindow->SetListViewStyle(3);
        FLookup = &TFormLookUp::Shared();
        FLookup->SetListView(FWindow->ListView());
    }
    // Runs one search; the caption of the row found, or "" with the warning.
    QString Find(const QString& text) {
        FLookup->edFind->setText(text);
        Script().Reset();
        if (!FLookup->Find())
            return Script().Asked.isEmpty() ? QString() : Script().Asked.last().Text;
        return Captions(FWindow)[FWindow->ListView()->FocusedRow()];
    }
    void Focus(const QString& caption) {
        FWindow->ListView()->SetFocusedRow(Row(FWindow, caption), true);
    }

    TCommonListForm* FWindow = nullptr;
    TFormLookUp* FLookup = nullptr;
};

const QString kNotFound = QStringLiteral("Can't find search request. Try again please.");

}  // namespace

TEST_F(TLookupTest, MatchOptionsAndHowTheyDependOnEachOther) {
    EXPECT_EQ(Captions(FWindow), (QStringList{"Tables", "tables2", "My tables"}));
    EXPECT_EQ(Find("tab"), "Tables");     // from the beginning
    EXPECT_EQ(Find("tab"), "tables2");    // the next one
    EXPECT_EQ(Find("tab"), "My tables");  // anywhere
    EXPECT_EQ(FWindow->ListView()->SelCount(), 1);

    FLookup->cbFullName->setChecked(true);
    Focus("tables2");
    EXPECT_EQ(Find("tables"), "Tables");  // wrapped round
    FLookup->cbReg->setChecked(true);
    EXPECT_EQ(Find("tables"), kNotFound);
    EXPECT_EQ(Find("Tables"), "Tables");

    FLookup->cbFullName->setChecked(false);
    FLookup->cbReg->setChecked(false);
    FLookup->cbIncluded->setChecked(true);  // must start the text
    Focus("Tables");
    EXPECT_EQ(Find("TABLES"), "tables2");
    EXPECT_EQ(Find("TABLES"), "Tables");

    FLookup->rbParent->setChecked(true);  // the first sub-item: the size
    EXPECT_EQ(Find("9"), "My tables");
    FLookup->rbDescription->setChecked(true);
    EXPECT_EQ(Find("!my"), "My tables");

    // The check boxes keep each other right.
    FLookup->cbIncluded->setChecked(false);
    FLookup->cbFullName->setChecked(true);
    EXPECT_TRUE(FLookup->cbIncluded->isChecked());
    FLookup->cbIncluded->setChecked(false);
    EXPECT_FALSE(FLookup->cbFullName->isChecked());
    FLookup->cbIncluded->setChecked(true);
    EXPECT_FALSE(FLookup->cbFullName->isChecked());
}

TEST_F(TLookupTest, RegularExpressionsAndWarnings) {
    FLookup->cbRegExp->setChecked(true);
    EXPECT_FALSE(FLookup->cbFullName->isEnabled());
    EXPECT_FALSE(FLookup->cbIncluded->isEnabled());
    EXPECT_EQ(Find("^my\\s"), "My tables");
    FLookup->cbReg->setChecked(true);
    EXPECT_EQ(Find("^my\\s"), kNotFound);

    FLookup->edFind->setText("(unclosed");
    EXPECT_THROW(FLookup->Find(), EPelvarError);
    Script().Reset();
    FLookup->btFind->click();  // the button reports it
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Kind, "exception");

    FLookup->cbRegExp->setChecked(false);
    EXPECT_TRUE(FLookup->cbIncluded->isEnabled());
    EXPECT_EQ(Find(QString()), "Search request is empty. Enter request and try again please.");
    FLookup->SetListView(nullptr);
    EXPECT_EQ(Find("x"), QString());  // no list: nothing at all
}

TEST_F(TLookupTest, KeysOfTheListBindTheForm) {
    TCommonListForm* other = Window(kTables);
    FLookup->edFind->setText("T3");
    QTest::keyClick(other->ListView()->CurrentView(), Qt::Key_F3);
    EXPECT_EQ(FLookup->ListView(), other->ListView());
    EXPECT_EQ(other->ListView()->FocusedRow(), Row(other, "T3"));
    QTest::keyClick(FWindow->ListView()->CurrentView(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(FLookup->ListView(), FWindow->ListView());
    EXPECT_TRUE(FLookup->isVisible());
    QTest::keyClick(FLookup->edFind, Qt::Key_Escape);
    EXPECT_FALSE(FLookup->isVisible());
}

TEST_F(TExplorerTest, InspectionWindowIsSingle) {
    TCommonListForm* w = Window();
    TVInfoForm2* info = TVInfoForm2::ShowInfoForm();
    info->move(w->width() + 10, 0);  // beside the window, not over it
    EXPECT_EQ(TVInfoForm2::ShowInfoForm(), info);
    QWidget* label = w->statusBar()->findChild<QWidget*>("StatusPathLabel");
    ASSERT_NE(label, nullptr);
    info->InspectAt(label->mapToGlobal(label->rect().center()));
    EXPECT_EQ(info->Edit1->text(), "StatusPathLabel (QLabel)");
    EXPECT_EQ(info->Edit2->text(), "QStatusBar");
    info->AutoInfoButton->click();
    EXPECT_TRUE(info->AutoInfo());
    info->AutoInfoButton->click();
    EXPECT_FALSE(info->AutoInfo());
    info->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TVInfoForm2::Instance(), nullptr);
}

TEST_F(TExplorerTest, OrganizeShortcuts) {
    TTestShortcutHost host;
    for (const char* caption : {"A", "B", "C"})
        host.List.Add()->Caption = QString::fromLatin1(caption);
    host.List.Items(2)->CaptionID = "ST_HELP";
    const auto rows = [](TOrganizeShortcutsForm* f) {
        QStringList texts;
        for (int i = 0; i < f->ListView->topLevelItemCount(); ++i)
            texts << f->ListView->topLevelItem(i)->text(0);
        return texts;
    };
    const auto order = [](const TPelvarObjectShortcutList& list) {
        QStringList captions;
        for (int i = 0; i < list.Count(); ++i)
            captions << list.Items(i)->Caption;
        return captions;
    };
    Script().AnswerModal([&](QObject* form) {
        auto* f = qobject_cast<TOrganizeShortcutsForm*>(form);
        EXPECT_EQ(rows(f), (QStringList{"A", "B", LString("ST_HELP")}));
        f->ListView->setCurrentItem(f->ListView->topLevelItem(0));
        f->MoveUp();  // the first row stays
        f->ListView->setCurrentItem(f->ListView->topLevelItem(2));
        f->MoveDown();  // so does the last
        EXPECT_EQ(order(f->ObjectShortcuts), (QStringList{"A", "B", "C"}));
        f->ListView->setCurrentItem(f->ListView->topLevelItem(2));
        f->MoveUp();
        EXPECT_EQ(f->ListView->currentItem(), f->ListView->topLevelItem(1));
        f->ListView->setCurrentItem(f->ListView->topLevelItem(0));
        f->MoveDown();
        f->DeleteSelected();                    // A, now second
        EXPECT_EQ(order(host.List).size(), 3);  // the host's list is untouched until OK
        return IDOK;
    });
    EXPECT_TRUE(TOrganizeShortcutsForm::Execute(host));
    EXPECT_EQ(order(host.List), (QStringList{"C", "B"}));
    EXPECT_EQ(host.Rebuilt, 1);
    Script().AnswerModal([](QObject* form) {
        qobject_cast<TOrganizeShortcutsForm*>(form)->DeleteSelected();
        return IDCANCEL;
    });
    EXPECT_FALSE(TOrganizeShortcutsForm::Execute(host));
    EXPECT_EQ(host.List.Count(), 2);
}

TEST(TPopupMenuWOKeyTest, ItemsNeverTakeKeys) {
    TPopupMenuWOKey menu;
    EXPECT_FALSE(menu.IsShortCut(QKeyCombination(Qt::CTRL | Qt::Key_Return).toCombined()));
    int runs = 0;
    QAction* item = menu.addAction("Run");
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QObject::connect(item, &QAction::triggered, [&] { ++runs; });
    QShortcutEvent shortcut(item->shortcut(), false);
    QCoreApplication::sendEvent(item, &shortcut);
    EXPECT_EQ(runs, 0);
    item->trigger();  // a click still runs it
    EXPECT_EQ(runs, 1);
}
