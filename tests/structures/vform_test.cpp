#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>

#include "appcore/systemtables.h"
#include "appcore/texts.h"
#include "formdesignkit/designerform.h"
#include "formdesignkit/formpreview.h"
#include "scriptedinteraction.h"
#include "structurefixture.h"
#include "structures/dspdialogrules.h"
#include "structures/vformfolder.h"
#include "structures/vformrules.h"

namespace {

class VFormTest : public StructuresTest {
  protected:
    void TearDown() override {
        SetDSPPropertiesPrompt(nullptr);
        for (TDesignerForm* d : Designers())
            delete d;
        FSecond.reset();
        StructuresTest::TearDown();
    }
    static std::vector<TDesignerForm*> Designers() {
        std::vector<TDesignerForm*> open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TDesignerForm*>(w); d && d->isVisible()) open.push_back(d);
        return open;
    }
    // The properties dialog: `check` sees the request, then `fill` answers OK.
    void Answer(std::function<void(TDSPPropertiesRequest&)> fill) {
        SetDSPPropertiesPrompt([fill](TDSPPropertiesRequest& r) {
            fill(r);
            return true;
        });
    }
    // The form as its folder lists it now.
    TDOVForm* Form(const QString& name) {
        TPelvarObject* forms = Open("Structures\\Forms");
        forms->Refresh();
        return dynamic_cast<TDOVForm*>(forms->SubObjects().FindBySubPath("12:" + name));
    }
    QStringList ActionNames(TPelvarObject& o) {
        QStringList names;
        for (int i = 0; i < o.Actions().Count(); ++i)
            names << o.Actions().Items(i)->Name;
        return names;
    }
    std::unique_ptr<TTestDatabase> FSecond;
};

TEST_P(VFormTest, AddSavesANewRootFormOnceAtItsFirstPlaceAndOpensTheDesigner) {
    TPelvarObject* forms = Open("Structures\\Forms");
    EXPECT_EQ(ActionNames(*forms), QStringList({"VForm_Edit", "DSP_Delete", "DSP_Export", "DSP_Add",
                                                "DSP_EditDSPTree", "VForm_CopyForm"}));
    Answer([](TDSPPropertiesRequest& r) {
        EXPECT_TRUE(r.FormVariant);
        EXPECT_EQ(r.ObjectType, 12);
        EXPECT_FALSE(r.ObjectTypeEnabled);
        r.Name = "ORDERS";
        r.TableName = "ORDERS";
    });
    forms->Actions().FindByName("DSP_Add")->Execute(nullptr);
    ASSERT_EQ(Designers().size(), 1u);
    EXPECT_TRUE(Designers()[0]->isVisible());
    TFormDocument check;
    check.LoadChain({{"ORDERS", Store().GetStructure("ORDERS", 12)}});
    EXPECT_EQ(check.Form().Bounds, QRect(100, 100, 400, 300));
    EXPECT_EQ(check.TableName(), "ORDERS");

    // A derived form is not saved before the user does.
    Answer([](TDSPPropertiesRequest& r) { r.Name = "ORDERS$SHORT"; });
    forms->Actions().FindByName("DSP_Add")->Execute(nullptr);
    EXPECT_EQ(Designers().size(), 2u);
    EXPECT_TRUE(Store().GetStructure("ORDERS$SHORT", 12).isEmpty());
    // Both are forms wherever they are listed.
    TDOVForm* listed = Form("ORDERS");
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(ActionNames(*listed), QStringList({"VForm_Edit", "VForm_CopyForm"}));
    TPelvarObject* all = Open("Structures\\All");
    all->Refresh();
    EXPECT_NE(dynamic_cast<TDOVForm*>(all->SubObjects().FindBySubPath("12:ORDERS")), nullptr);
}

TEST_P(VFormTest, EditOpensOneDesignerPerFormAndDatabaseAndRestoresAMinimisedOne) {
    Put("CARDS", 12);
    Form("CARDS")->Edit();
    ASSERT_EQ(Designers().size(), 1u);
    TDesignerForm* first = Designers()[0];
    first->showMinimized();
    Form("CARDS")->Edit();
    ASSERT_EQ(Designers().size(), 1u);
    EXPECT_FALSE(first->isMinimized());

    FSecond = std::make_unique<TTestDatabase>(GetParam(), "FORMS2", false);
    const QString second = FSecond->Alias();
    CreateMissingSystemTables(second);
    GetDSPTable(second).PutStructure("CARDS", 12, QByteArray());
    TDOVForm other;
    other.SetAliasName(second);
    other.Info().Name = "CARDS";
    other.Info().ObjectType = 12;
    other.Edit();
    ASSERT_EQ(Designers().size(), 2u);
    EXPECT_NE(FindDesignerForm(second, "CARDS"), first);
}

TEST_P(VFormTest, CopyFormOpensNoDesignerAndRefusesItsOwnName) {
    Put("BASE", 12);
    TDesignerForm base(Alias());
    base.LoadForm("BASE");
    base.Document().AddComponent("TButton");
    base.SaveForm(false);
    Put("CARD", 12, "BASE", "a card");
    {
        TDesignerForm card(Alias());
        card.LoadForm("CARD");
        card.Document().AddComponent("TEdit");
        card.SaveForm(false);
    }
    Answer([](TDSPPropertiesRequest& r) {
        EXPECT_FALSE(r.ParentEnabled);
        EXPECT_FALSE(r.TableNameEnabled);
        EXPECT_EQ(r.ParentName, "BASE");
    });
    Form("CARD")->CopyForm();
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, LString("M_Pelvar_VisForms_NoDuplicateToItself"));
    EXPECT_FALSE(Store().DSPStructureExist("CARD2", 12));

    Answer([](TDSPPropertiesRequest& r) { r.Name = "CARD2"; });
    Form("CARD")->CopyForm();
    EXPECT_TRUE(Designers().empty());
    TDSPListItem info;
    ASSERT_TRUE(Store().GetStructureProperties("CARD2", 12, info));
    EXPECT_EQ(info.ParentName, "BASE");
    EXPECT_EQ(info.Remark, "a card");
    TDesignerForm copy(Alias());
    copy.LoadForm("CARD2");
    EXPECT_TRUE(copy.Document().Find("Button1")->Inherited);
    EXPECT_FALSE(copy.Document().Find("Edit1")->Inherited);
}

TEST_P(VFormTest, PropertiesRenameThroughTheDesignerAndRefuseAnAncestorLoop) {
    Put("A", 12);
    Put("B", 12, "A");
    Put("C", 12, "B");
    const QByteArray body = Store().GetStructure("A", 12);

    // A made the child of its grandchild: refused, nothing changes.
    Answer([](TDSPPropertiesRequest& r) { r.ParentName = "C"; });
    Form("A")->EditProperties();
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, LString("M_PELVAR_DOVForm_ErrorChangeAncestor"));
    TDSPListItem info;
    ASSERT_TRUE(Store().GetStructureProperties("A", 12, info));
    EXPECT_EQ(info.ParentName, "");
    EXPECT_EQ(Store().GetStructure("A", 12), body);

    // A remark alone touches no body.
    Answer([](TDSPPropertiesRequest& r) { r.Remark = "note"; });
    Form("B")->EditProperties();
    EXPECT_TRUE(Store().GetStructure("B", 12).isEmpty());

    // A rename writes the body under the new name; the children follow.
    Answer([](TDSPPropertiesRequest& r) { r.Name = "B2"; });
    Form("B")->EditProperties();
    EXPECT_FALSE(Store().DSPStructureExist("B", 12));
    ASSERT_TRUE(Store().GetStructureProperties("B2", 12, info));
    EXPECT_EQ(info.ParentName, "A");
    EXPECT_EQ(info.Remark, "note");
    TFormDocument renamed;
    renamed.LoadChain({{"B2", Store().GetStructure("B2", 12)}});
    EXPECT_EQ(renamed.Form().Name, "A");  // named after the root ancestor
    ASSERT_TRUE(Store().GetStructureProperties("C", 12, info));
    EXPECT_EQ(info.ParentName, "B2");

    // A root form with a component of its own put under A: its top node takes
    // A's name and A's components come with the chain.
    {
        TDesignerForm a(Alias());
        a.LoadForm("A");
        a.Document().AddComponent("TLabel");
        a.SaveForm(false);
    }
    Put("D", 12);
    {
        TDesignerForm d(Alias());
        d.LoadForm("D");
        d.Document().AddComponent("TButton");
        d.SaveForm(false);
    }
    Answer([](TDSPPropertiesRequest& r) { r.ParentName = "A"; });
    Form("D")->EditProperties();
    EXPECT_EQ(Script().Asked.size(), 1);  // only the refusal above
    EXPECT_EQ(TDSPNode::FromBytes(Store().GetStructure("D", 12)).Node(0).Name(), "A");
    TDesignerForm moved(Alias());
    moved.LoadForm("D");
    EXPECT_EQ(moved.Document().Form().Name, "A");
    EXPECT_TRUE(moved.Document().Find("Label1")->Inherited);
    EXPECT_FALSE(moved.Document().Find("Button1")->Inherited);
}

TEST_P(VFormTest, TheTableListKeepsTablesDerivedFromTheBaseFormsTable) {
    Put("DOCS", 10);
    Put("INVOICES", 10, "DOCS");
    Put("CLIENTS", 10);
    Store().ChangeStructureProperties("DOCFORM", 12, QString(), "DOCS", QString());
    QString base;
    EXPECT_EQ(FormTableList(Alias(), "DOCFORM$X", QString(), &base),
              QStringList({"DOCS", "INVOICES"}));
    EXPECT_EQ(base, "DOCS");
    EXPECT_EQ(FormTableList(Alias(), "NEW", "DOCFORM", &base), QStringList({"DOCS", "INVOICES"}));
    EXPECT_EQ(FormTableList(Alias(), "NEW", QString(), &base).size(), 3);
    EXPECT_TRUE(base.isEmpty());
    EXPECT_TRUE(IsFormName("Cards$Short"));
    EXPECT_FALSE(IsFormName("Cards$Short$More"));
    EXPECT_FALSE(IsFormName("$Short"));
}

PELVAR_ENGINE_TESTS(VFormTest);

}  // namespace
