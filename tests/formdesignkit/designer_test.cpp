#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTest>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "formdesignkit/designerform.h"
#include "formdesignkit/designerpanels.h"
#include "formdesignkit/formpreview.h"
#include "formdesignkit/formstore.h"
#include "scriptedinteraction.h"
#include "testenv.h"
#include "widgettest.h"

namespace {

// Drags the widget's point `from` by `by`, as a mouse would.
void Drag(QWidget* w, QPoint from, QPoint by) {
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    const QPointF to = from + by;
    QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to.toPoint());
}

class DesignerTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
        Script().Reset();
    }
    TDSPTable& Store() { return GetDSPTable(Alias()); }
    void PutForm(const QString& name, const QString& parent, const QByteArray& body) {
        Store().PutStructure(name, 12, body);
        Store().ChangeStructureProperties(name, 12, parent, QString(), QString());
    }
    // A designer on the form, its document saved as `parts` say (see Body).
    QByteArray Designed(const QString& name, const std::function<void(TDesignerForm&)>& edit) {
        TDesignerForm d(Alias());
        d.LoadForm(name);
        edit(d);
        d.SaveForm(false);
        return Store().GetStructure(name, 12);
    }
};

TEST_P(DesignerTest, AFormSavedAndReopenedShowsTheSameComponentsAtTheSamePlaces) {
    auto designer = std::make_unique<TDesignerForm>(Alias());
    designer->LoadForm("CLIENTS");
    designer->SetTableName("CLIENTS");
    designer->SetFormBounds(QRect(100, 100, 400, 300));
    designer->ClassBox()->setCurrentText("TGroupBox");
    designer->AddAction()->trigger();  // onto the form, selected
    designer->ClassBox()->setCurrentText("TButton");
    designer->AddAction()->trigger();  // into the selected group box
    TFormDocument& doc = designer->Document();
    ASSERT_EQ(doc.Count(), 3);
    EXPECT_EQ(doc.Component(2).Parent, "GroupBox1");
    designer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(designer.get()));

    // The property editor moves the box; a drag in the preview moves the button.
    doc.Select("GroupBox1");
    designer->PropertyEditor()->Edit("Left", "40");
    QWidget* button = designer->Preview()->WidgetOf("Button1");
    ASSERT_NE(button, nullptr);
    Drag(button, {5, 5}, {20, 30});
    EXPECT_EQ(doc.Selected(), "Button1");
    EXPECT_EQ(designer->ComponentTree()->currentItem()->text(0), "Button1");
    EXPECT_EQ(doc.Find("Button1")->Bounds.topLeft(), QPoint(28, 50));  // from below the title
    EXPECT_EQ(
        designer->PropertyEditor()->item(designer->PropertyEditor()->RowOf("Left"), 1)->text(),
        "28");
    // Selecting in the tree selects in the preview.
    designer->ComponentTree()->setCurrentItem(designer->ComponentTree()->ItemOf("GroupBox1"));
    EXPECT_EQ(doc.Selected(), "GroupBox1");
    designer->SaveAction()->trigger();
    EXPECT_FALSE(doc.Modified());
    EXPECT_TRUE(Script().Asked.isEmpty());

    TDesignerForm reopened(Alias());
    reopened.LoadForm("CLIENTS");
    EXPECT_EQ(reopened.Document().TableName(), "CLIENTS");
    EXPECT_EQ(reopened.Document().Form().Bounds, QRect(100, 100, 400, 300));
    for (const QString name : {"GroupBox1", "Button1"}) {
        QWidget* before = designer->Preview()->WidgetOf(name);
        QWidget* after = reopened.Preview()->WidgetOf(name);
        ASSERT_NE(after, nullptr) << name.toStdString();
        EXPECT_EQ(after->geometry(), before->geometry()) << name.toStdString();
        EXPECT_EQ(reopened.Preview()->ComponentOf(after->parentWidget()),
                  designer->Preview()->ComponentOf(before->parentWidget()));
        EXPECT_EQ(after->metaObject(), before->metaObject());
    }
}

TEST_P(DesignerTest, InheritedComponentsRefuseEditsAndBadBodiesLeaveTheStoreAlone) {
    PutForm("BASE", QString(),
            Designed("BASE", [](TDesignerForm& d) { d.Document().AddComponent("TEdit"); }));
    PutForm("BASE$KID", QString(), QByteArray());
    TDesignerForm kid(Alias());
    kid.LoadForm("BASE$KID");
    ASSERT_TRUE(kid.Document().Find("Edit1") && kid.Document().Find("Edit1")->Inherited);
    kid.Document().Select("Edit1");
    Script().AnswerMessage(IDOK);
    kid.PropertyEditor()->Edit("Caption", "changed");
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("inherited from the form BASE"));
    EXPECT_EQ(kid.Document().Find("Edit1")->Caption, "Edit1");
    EXPECT_FALSE(kid.DeleteAction()->isEnabled());

    Store().PutStructure("BROKEN", 12, "{oops");
    TDesignerForm broken(Alias());
    EXPECT_THROW(broken.LoadForm("BROKEN"), EDSPError);
    EXPECT_EQ(Store().GetStructure("BROKEN", 12), "{oops");
}

TEST_P(DesignerTest, AnAncestorChangeThatLoopsOrClashesConflicts) {
    auto withEdit = [&](const QString& name) {
        return Designed(name, [](TDesignerForm& d) { d.Document().AddComponent("TEdit"); });
    };
    PutForm("A", QString(), withEdit("A"));
    PutForm("B", "A", QByteArray());
    PutForm("C", "B", QByteArray());
    PutForm("D", QString(), QByteArray());
    PutForm("E", QString(), withEdit("E"));
    QString report;
    EXPECT_TRUE(
        AncestorChangeConflicts(Alias(), "A", QString(), "C", &report));  // A under its grandchild
    EXPECT_EQ(report, "A:B:C");
    EXPECT_TRUE(AncestorChangeConflicts(Alias(), "D", QString(), "D", &report));
    EXPECT_TRUE(AncestorChangeConflicts(Alias(), "D", QString(), "NOWHERE", &report));
    // E declares Edit1, which A already declares.
    EXPECT_TRUE(AncestorChangeConflicts(Alias(), "E", QString(), "B", &report));
    EXPECT_EQ(report, "A:Edit1;E:Edit1");
    EXPECT_FALSE(AncestorChangeConflicts(Alias(), "D", QString(), "C", &report));
    EXPECT_FALSE(AncestorChangeConflicts(Alias(), "C", "B", QString(), &report));
    EXPECT_EQ(FormChain(Alias(), "C"), QStringList({"A", "B", "C"}));
}

PELVAR_ENGINE_TESTS(DesignerTest);

TEST(Designer, DragsStayInsideTheContainerResizeByTheCornerAndUndoStepByStep) {
    Script().Reset();
    TDesignerForm designer("NOWHERE");
    TFormDocument& doc = designer.Document();
    doc.LoadChain({{"F", QByteArray()}});
    const QString panel = doc.AddComponent("TPanel");
    const QString edit = doc.AddComponent("TEdit", panel);
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));

    // Far to the right: stops at the panel's edge.
    Drag(designer.Preview()->WidgetOf(edit), {5, 5}, {500, 0});
    const QRect panelBox = doc.Find(panel)->Bounds;
    EXPECT_EQ(doc.Find(edit)->Bounds.right(), panelBox.width() - 1);
    // The lower right corner resizes.
    QWidget* w = designer.Preview()->WidgetOf(panel);
    Drag(w, {w->width() - 2, w->height() - 2}, {40, 30});
    EXPECT_EQ(doc.Find(panel)->Bounds.size(), panelBox.size() + QSize(40, 30));
    EXPECT_EQ(designer.Preview()->WidgetOf(panel)->size(), doc.Find(panel)->Bounds.size());

    designer.UndoAction()->trigger();
    EXPECT_EQ(doc.Find(panel)->Bounds, panelBox);
    EXPECT_EQ(designer.Preview()->WidgetOf(panel)->geometry(), panelBox);
    doc.Select(panel);
    designer.DeleteAction()->trigger();
    EXPECT_EQ(doc.Count(), 1);
    EXPECT_EQ(designer.Preview()->WidgetOf(edit), nullptr);
    designer.UndoAction()->trigger();
    designer.UndoAction()->trigger();
    EXPECT_EQ(doc.Find(edit)->Bounds.topLeft(), QPoint(8, 8));
    EXPECT_TRUE(Script().Asked.isEmpty());
}

}  // namespace
