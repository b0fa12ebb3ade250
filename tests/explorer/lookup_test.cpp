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

const QString kTables = QStringLiteral("\\A1\\Structures\\Tables");

class TLookupTest : public TExplorerTest {
  protected:
    void SetUp() override {
        TExplorerTest::SetUp();
        // Captions differ from names here: Tables, tables2, My tables.
        const QString folder = QStringLiteral("\\A1\\Languages");
        World().Add(folder, {QStringLiteral("a"), false, 7, QStringLiteral("!Tables")});
        World().Add(folder, {QStringLiteral("b"), false, 8, QStringLiteral("!tables2")});
        World().Add(folder, {QStringLiteral("c"), false, 9, QStringLiteral("!My tables")});
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

TEST_F(TLookupTest, MatchOptions) {
    EXPECT_EQ(Captions(FWindow), (QStringList{QStringLiteral("Tables"), QStringLiteral("tables2"),
                                              QStringLiteral("My tables")}));
    EXPECT_EQ(Find(QStringLiteral("tab")), QStringLiteral("Tables"));     // from the beginning
    EXPECT_EQ(Find(QStringLiteral("tab")), QStringLiteral("tables2"));    // the next one
    EXPECT_EQ(Find(QStringLiteral("tab")), QStringLiteral("My tables"));  // anywhere
    EXPECT_EQ(FWindow->ListView()->SelCount(), 1);

    FLookup->cbFullName->setChecked(true);
    Focus(QStringLiteral("tables2"));
    EXPECT_EQ(Find(QStringLiteral("tables")), QStringLiteral("Tables"));  // wrapped round
    FLookup->cbReg->setChecked(true);
    EXPECT_EQ(Find(QStringLiteral("tables")), kNotFound);
    EXPECT_EQ(Find(QStringLiteral("Tables")), QStringLiteral("Tables"));

    FLookup->cbFullName->setChecked(false);
    FLookup->cbReg->setChecked(false);
    FLookup->cbIncluded->setChecked(true);  // must start the text
    Focus(QStringLiteral("Tables"));
    EXPECT_EQ(Find(QStringLiteral("TABLES")), QStringLiteral("tables2"));
    EXPECT_EQ(Find(QStringLiteral("TABLES")), QStringLiteral("Tables"));

    FLookup->rbParent->setChecked(true);  // the first sub-item: the size
    EXPECT_EQ(Find(QStringLiteral("9")), QStringLiteral("My tables"));
    FLookup->rbDescription->setChecked(true);
    EXPECT_EQ(Find(QStringLiteral("!my")), QStringLiteral("My tables"));
}

TEST_F(TLookupTest, RegularExpressionsAndWarnings) {
    FLookup->cbRegExp->setChecked(true);
    EXPECT_FALSE(FLookup->cbFullName->isEnabled());
    EXPECT_FALSE(FLookup->cbIncluded->isEnabled());
    EXPECT_EQ(Find(QStringLiteral("^my\\s")), QStringLiteral("My tables"));
    FLookup->cbReg->setChecked(true);
    EXPECT_EQ(Find(QStringLiteral("^my\\s")), kNotFound);
    EXPECT_EQ(Script().Asked.last().Caption, LString(QStringLiteral("ST_WARNING")));

    FLookup->edFind->setText(QStringLiteral("(unclosed"));
    EXPECT_THROW(FLookup->Find(), EPelvarError);
    Script().Reset();
    FLookup->btFind->click();  // the button reports it
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Kind, QStringLiteral("exception"));

    FLookup->cbRegExp->setChecked(false);
    EXPECT_TRUE(FLookup->cbIncluded->isEnabled());
    EXPECT_EQ(Find(QString()),
              QStringLiteral("Search request is empty. Enter request and try again please."));
    FLookup->SetListView(nullptr);
    EXPECT_EQ(Find(QStringLiteral("x")), QString());  // no list: nothing at all
}

TEST_F(TLookupTest, CheckBoxesKeepEachOtherRight) {
    FLookup->cbFullName->setChecked(true);
    EXPECT_TRUE(FLookup->cbIncluded->isChecked());
    FLookup->cbIncluded->setChecked(false);
    EXPECT_FALSE(FLookup->cbFullName->isChecked());
    FLookup->cbIncluded->setChecked(true);
    EXPECT_FALSE(FLookup->cbFullName->isChecked());
}

TEST_F(TLookupTest, KeysOfTheListBindTheForm) {
    TCommonListForm* other = Window(kTables);
    FLookup->edFind->setText(QStringLiteral("T3"));
    QTest::keyClick(other->ListView()->CurrentView(), Qt::Key_F3);
    EXPECT_EQ(FLookup->ListView(), other->ListView());
    EXPECT_EQ(other->ListView()->FocusedRow(), Row(other, QStringLiteral("T3")));
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
    QWidget* label = w->statusBar()->findChild<QWidget*>(QStringLiteral("StatusPathLabel"));
    ASSERT_NE(label, nullptr);
    info->InspectAt(label->mapToGlobal(label->rect().center()));
    EXPECT_EQ(info->Edit1->text(), QStringLiteral("StatusPathLabel (QLabel)"));
    EXPECT_EQ(info->Edit2->text(), QStringLiteral("QStatusBar"));
    info->AutoInfoButton->click();
    EXPECT_TRUE(info->AutoInfo());
    info->AutoInfoButton->click();
    EXPECT_FALSE(info->AutoInfo());
    info->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TVInfoForm2::Instance(), nullptr);
}

TEST_F(TExplorerTest, OrganizeShortcuts) {
    struct THost : TShortcutHost {
        TPelvarObjectShortcutList& ObjectShortcuts() override { return List; }
        void FillShortcuts() override { ++Rebuilt; }
        TPelvarObjectShortcutList List;
        int Rebuilt = 0;
    } host;
    for (const char* caption : {"A", "B", "C"})
        host.List.Add()->Caption = QString::fromLatin1(caption);
    host.List.Items(2)->CaptionID = QStringLiteral("ST_HELP");
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
        EXPECT_EQ(rows(f), (QStringList{QStringLiteral("A"), QStringLiteral("B"),
                                        LString(QStringLiteral("ST_HELP"))}));
        f->ListView->setCurrentItem(f->ListView->topLevelItem(0));
        f->MoveUp();  // the first row stays
        f->ListView->setCurrentItem(f->ListView->topLevelItem(2));
        f->MoveDown();  // so does the last
        EXPECT_EQ(order(f->ObjectShortcuts),
                  (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
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
    EXPECT_EQ(order(host.List), (QStringList{QStringLiteral("C"), QStringLiteral("B")}));
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
    EXPECT_EQ(menu.Tag(), 0);
    menu.SetTag(1);
    EXPECT_EQ(menu.Tag(), 1);
    int runs = 0;
    QAction* item = menu.addAction(QStringLiteral("Run"));
    item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QObject::connect(item, &QAction::triggered, [&] { ++runs; });
    QShortcutEvent shortcut(item->shortcut(), false);
    QCoreApplication::sendEvent(item, &shortcut);
    EXPECT_EQ(runs, 0);
    item->trigger();  // a click still runs it
    EXPECT_EQ(runs, 1);
}
