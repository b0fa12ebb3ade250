#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>

#include "appcore/systemtables.h"
#include "formdesignkit/wizardscenario.h"
#include "schedulerkit/shedulerschemeform.h"
#include "scriptedinteraction.h"
#include "structdesignkit/schemeeditors.h"
#include "structurefixture.h"
#include "structures/dspdialogrules.h"
#include "structures/dspfolders.h"

namespace {

class SchemesTest : public StructuresTest {
  protected:
    void TearDown() override {
        SetDSPPropertiesPrompt(nullptr);
        for (QWidget* w : Editors())
            delete w;
        FSecond.reset();
        StructuresTest::TearDown();
    }
    static std::vector<TBodyEditorWindow*> Editors() {
        std::vector<TBodyEditorWindow*> open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<TBodyEditorWindow*>(w); e && e->isVisible())
                open.push_back(e);
        return open;
    }
    template <typename T>
    T* Item(const QString& folder, const QString& subPath) {
        TPelvarObject* f = Open(folder);
        f->Refresh();
        return dynamic_cast<T*>(f->SubObjects().FindBySubPath(subPath));
    }
    static QStringList ActionNames(TPelvarObject& o) {
        QStringList names;
        for (int i = 0; i < o.Actions().Count(); ++i)
            names << o.Actions().Items(i)->Name + (o.Actions().Items(i)->Default ? "*" : "");
        return names;
    }
    QString SecondDatabase() {
        FSecond = std::make_unique<TTestDatabase>(GetParam(), "SCHEMES2", false);
        CreateMissingSystemTables(FSecond->Alias());
        return FSecond->Alias();
    }
    std::unique_ptr<TTestDatabase> FSecond;
};

TEST_P(SchemesTest, FoldersKeepTheirOrderAndOfferTheirOwnActions) {
    TPelvarObject* schemes = Open("Structures\\Schemes");
    std::vector<TPelvarObject*> folders;
    for (int i = 0; i < schemes->SubObjects().Count(); ++i)
        folders.push_back(schemes->SubObjects().Items(i));
    for (int tag : {0, 2, 3, 5, 6}) {
        std::reverse(folders.begin(), folders.end());
        std::stable_sort(folders.begin(), folders.end(),
                         [&](auto* a, auto* b) { return schemes->Compare(a, b, tag) < 0; });
        QStringList order;
        for (TPelvarObject* f : folders)
            order << f->SubPath();
        EXPECT_EQ(order, QStringList({"Simple", "Table", "Documentary", "Statuses"})) << tag;
    }
    EXPECT_EQ(ActionNames(*Open("Structures\\Schemes\\Table")),
              QStringList({"SimpleOperation_Add", "DSP_EditDSPTree", "DSP_Export", "DSP_Delete"}));
    EXPECT_EQ(ActionNames(*Open("Structures\\Schemes\\Statuses")),
              QStringList({"SimpleOperation_Add", "DSP_EditDSPTree", "DSP_Export"}));
    EXPECT_EQ(ActionNames(*Open("Structures\\WizardScenarios")),
              QStringList({"DSP_EditDSPTree", "DSP_Delete", "DSP_Export", "DSP_Add",
                           "WizardScenario_Edit*"}));
    EXPECT_EQ(
        ActionNames(*Open("Structures\\Sheduler")),
        QStringList({"Sheduler_Edit*", "DSP_Delete", "DSP_Export", "DSP_Add", "DSP_EditDSPTree"}));

    Put("FLOW", 83);
    Put("NIGHTLY", 16);
    auto* flow = Item<TDOSchemeOperation>("Structures\\Schemes\\Documentary", "83:FLOW");
    ASSERT_NE(flow, nullptr);
    EXPECT_EQ(flow->SchemeType(), 2);
    EXPECT_EQ(ActionNames(*flow), QStringList{"SimpleOperation_Edit*"});
    auto* nightly = Item<TDOSheduler>("Structures\\All", "16:NIGHTLY");
    ASSERT_NE(nightly, nullptr);
    EXPECT_EQ(ActionNames(*nightly), QStringList{"Sheduler_Edit*"});
}

TEST_P(SchemesTest, EditOpensOneEditorPerStructureAndDatabaseAndRestoresAMinimisedOne) {
    Put("FLOW", 82);
    auto* flow = Item<TDOSchemeOperation>("Structures\\Schemes\\Table", "82:FLOW");
    flow->Actions().FindByName("SimpleOperation_Edit")->Execute(nullptr);
    ASSERT_EQ(Editors().size(), 1u);
    auto* editor = qobject_cast<TOperationSchemeEditForm*>(Editors()[0]);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->SchemeType(), 1);
    editor->showMinimized();
    flow->Edit();
    ASSERT_EQ(Editors().size(), 1u);
    EXPECT_FALSE(editor->isMinimized());

    const QString second = SecondDatabase();
    GetDSPTable(second).PutStructure("FLOW", 82, QByteArray());
    TDOSchemeOperation other;
    other.SetAliasName(second);
    other.SetSchemeType(1);
    other.Info().Name = "FLOW";
    other.Edit();
    EXPECT_EQ(Editors().size(), 2u);

    // Scheduler entries and wizard scenarios likewise.
    Put("NIGHTLY", 16);
    Put("WIZ", 30);
    auto* nightly = Item<TDOSheduler>("Structures\\Sheduler", "16:NIGHTLY");
    nightly->Edit();
    nightly->Edit();
    auto* wiz = Item<TDOWizardScenario>("Structures\\WizardScenarios", "30:WIZ");
    wiz->Edit();
    wiz->Edit();
    EXPECT_EQ(Editors().size(), 4u);
    EXPECT_NE(FindShedulerSchemeForm("NIGHTLY", Alias()), nullptr);
    EXPECT_NE(FindWizardScenarioForm("WIZ", Alias()), nullptr);
}

TEST_P(SchemesTest, OnlyTheDocumentAndMailStatusListsHaveAnEditorWhateverTheDatabase) {
    Put("DocStatuses", 84);
    Put("MAILSTATUSES", 84);
    Put("OtherStatuses", 84);
    Item<TDOStatuses>("Structures\\Schemes\\Statuses", "84:OtherStatuses")->Edit();
    EXPECT_TRUE(Editors().empty());
    Item<TDOStatuses>("Structures\\Schemes\\Statuses", "84:MAILSTATUSES")->Edit();
    Item<TDOStatuses>("Structures\\Schemes\\Statuses", "84:DocStatuses")->Edit();
    ASSERT_EQ(Editors().size(), 2u);
    EXPECT_EQ(FindDocumentaryStatusEditor(true)->StructureName(), "MailStatuses");

    // The document status editor is one, whichever database asks.
    const QString second = SecondDatabase();
    TDOStatuses other;
    other.SetAliasName(second);
    other.Info().Name = "DocStatuses";
    other.Edit();
    EXPECT_EQ(Editors().size(), 2u);
    EXPECT_EQ(FindDocumentaryStatusEditor(false)->AliasName(), Alias());
}

TEST_P(SchemesTest, AddStoresTheStructureAndOpensANewEditorOnIt) {
    SetDSPPropertiesPrompt([](TDSPPropertiesRequest& r) {
        EXPECT_FALSE(r.ObjectTypeEnabled);
        r.Name = r.ObjectType == 81 ? "SIMPLE1" : r.ObjectType == 30 ? "WIZ1" : "SHED1";
        r.Remark = "new";
        return true;
    });
    Open("Structures\\Schemes\\Simple")
        ->Actions()
        .FindByName("SimpleOperation_Add")
        ->Execute(nullptr);
    Open("Structures\\WizardScenarios")->Actions().FindByName("DSP_Add")->Execute(nullptr);
    Open("Structures\\Sheduler")->Actions().FindByName("DSP_Add")->Execute(nullptr);
    ASSERT_EQ(Editors().size(), 3u);
    auto* scheme = FindOperationSchemeEditor("SIMPLE1", 0, Alias());
    ASSERT_NE(scheme, nullptr);
    EXPECT_TRUE(scheme->Modified());  // a new scheme is worth saving as it is
    TDSPListItem info;
    ASSERT_TRUE(Store().GetStructureProperties("WIZ1", 30, info));
    EXPECT_EQ(info.TableName, "WIZ1");
    ASSERT_TRUE(Store().GetStructureProperties("SHED1", 16, info));
    EXPECT_EQ(info.TableName, "");
    EXPECT_EQ(info.Remark, "new");

    // Adding one that exists asks first; No changes nothing.
    Script().AnswerMessage(IDNO);
    Open("Structures\\Sheduler")->Actions().FindByName("DSP_Add")->Execute(nullptr);
    EXPECT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Editors().size(), 3u);
}

PELVAR_ENGINE_TESTS(SchemesTest);

}  // namespace
