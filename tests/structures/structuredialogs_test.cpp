#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "basekit/registry.h"
#include "scriptedinteraction.h"
#include "structures/dspconfirmations.h"
#include "structures/dspconfirmforms.h"
#include "structures/dsppropertiesform.h"
#include "structures/structuredialogs.h"
#include "structures/vformpropertiesform.h"
#include "testenv.h"
#include "widgettest.h"

namespace {

// The real dialogs, shown offscreen and driven by keys and clicks; the
// scripted seam hands each one to the test instead of running its event loop.
class StructureDialogsTest : public testing::Test {
  protected:
    void SetUp() override {
        FDb = std::make_unique<TTestDatabase>("SQLite", QStringLiteral("DIALOGS"));
        CreateMissingSystemTables(FDb->Alias());
        TDSPTable& dsp = GetDSPTable(FDb->Alias());
        dsp.ChangeStructureProperties("ORDERS", 10, QString(), "ORDERS", QString());
        dsp.ChangeStructureProperties("CLIENTS", 10, QString(), "CLIENTS_T", QString());
        Script().Reset();
        InstallStructureDialogs();
    }
    void TearDown() override {
        EXPECT_TRUE(Script().AllAnswersUsed());
        EXPECT_TRUE(Script().Unexpected.isEmpty());
        FDb.reset();
    }
    std::unique_ptr<TTestDatabase> FDb;
};

TEST_F(StructureDialogsTest, PropertiesRefuseUntilTypeAndNameAreGiven) {
    Script().AnswerModal([](QObject* object) {
        auto* form = qobject_cast<TDSPPropertiesForm*>(object);
        form->show();
        // No parent allowed: "$" cannot be typed, and the parent field is off.
        EXPECT_FALSE(form->ParentNameEdit->isEnabled());
        QTest::keyClicks(form->NameEdit, "ORD$ERS");
        EXPECT_EQ(form->NameEdit->text(), "ORDERS");
        EXPECT_EQ(form->ParentNameEdit->currentText(), "CLIENTS");  // what was preset stays

        // No type chosen: OK beeps and goes to the type.
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        EXPECT_EQ(form->focusWidget(), form->ObjectTypeEdit);
        form->ObjectTypeEdit->setCurrentIndex(form->ObjectTypeEdit->findText("10 Tables"));
        EXPECT_EQ(form->GetObjectType(), 10);
        EXPECT_TRUE(form->ParentNameEdit->findText("ORDERS") < 0);  // not its own parent
        EXPECT_TRUE(form->ParentNameEdit->findText("CLIENTS") >= 0);

        form->NameEdit->clear();
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        EXPECT_EQ(form->focusWidget(), form->NameEdit);
        QTest::keyClicks(form->NameEdit, "NEW ONE");
        form->RemarkEdit->setText("note");
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        return ModalResult(form);
    });
    TDSPPropertiesRequest request;
    request.DatabaseName = FDb->Alias();
    request.ParentName = "CLIENTS";
    request.ParentEnabled = false;
    ASSERT_TRUE(EditDSPProperties(request));
    EXPECT_EQ(request.ObjectType, 10);
    EXPECT_EQ(request.Name, "NEW ONE");
    EXPECT_EQ(request.ParentName, "CLIENTS");
    EXPECT_EQ(request.Remark, "note");
}

TEST_F(StructureDialogsTest, DerivedStructuresChooseTablesAndCheckTheirNames) {
    Script().AnswerModal([](QObject* object) {
        auto* form = qobject_cast<TInheritSelectForm*>(object);
        EXPECT_NE(form, nullptr);
        form->show();
        // A type the list does not describe shows as its bare number.
        EXPECT_EQ(form->ObjectTypeEdit->currentText(), "11");
        EXPECT_FALSE(form->ObjectTypeEdit->isEnabled());
        form->SetObjectType(10);
        EXPECT_EQ(form->ParentNameEdit->count(), 2);
        EXPECT_EQ(form->ParentNameEdit->itemText(0), "CLIENTS_T");

        form->NameEdit->setText("ORDERS$1");  // derived: no parent
        EXPECT_FALSE(form->ParentNameEdit->isEnabled());
        EXPECT_TRUE(form->ParentNameEdit->currentText().isEmpty());
        form->NameEdit->setText("ORDERS$1.A");
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        EXPECT_EQ(form->focusWidget(), form->NameEdit);
        form->NameEdit->setText("SALES.ORDERS$Copy");
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        return ModalResult(form);
    });
    TDSPPropertiesRequest request;
    request.DatabaseName = FDb->Alias();
    request.ObjectType = 11;
    request.ObjectTypeEnabled = false;
    request.Name = "CLIENTS";
    request.ParentName = "ORDERS";
    request.InheritSelect = true;
    ASSERT_TRUE(EditDSPProperties(request));
    EXPECT_EQ(request.ObjectType, 10);
    EXPECT_EQ(request.Name, "SALES.ORDERS$Copy");
    EXPECT_TRUE(request.ParentName.isEmpty());
}

TEST_F(StructureDialogsTest, CopyConfirmationTiesTableDataToTheObjectBox) {
    for (const QString& p :
         {ConfirmationParams::kCreateTableOnCopy, ConfirmationParams::kCopyTableData,
          ConfirmationParams::kCopyLocalResource})
        SaveRegistryParam(p, true);
    Script().AnswerModal([](QObject* object) {
        auto* form = qobject_cast<TCopyTableConfirmationForm*>(object);
        form->show();
        ClickBox(form->CreateDBObjectCheckbox);
        EXPECT_FALSE(form->CopyTableDataCheckBox->isEnabled());
        EXPECT_FALSE(form->CopyTableDataCheckBox->isChecked());
        ClickBox(form->CreateDBObjectCheckbox);  // back on: the data box stays unchecked
        ClickBox(form->CopyLocalResourceCheckBox);
        QTest::mouseClick(form->CancelButton, Qt::LeftButton);
        return ModalResult(form);
    });
    bool create = true, data = true, local = true;
    EXPECT_FALSE(ConfirmCopyStructures(create, data, local));
    EXPECT_TRUE(create);
    EXPECT_FALSE(data);
    EXPECT_FALSE(local);
    EXPECT_FALSE(LoadRegistryParam(ConfirmationParams::kCopyTableData, true));
    EXPECT_FALSE(LoadRegistryParam(ConfirmationParams::kCopyLocalResource, true));
}

TEST_F(StructureDialogsTest, DeleteConfirmationAnswersYesOrNo) {
    for (int key : {int(Qt::Key_Escape), 0}) {
        Script().AnswerModal([key](QObject* object) {
            auto* form = qobject_cast<TDeleteTableConfirmForm*>(object);
            form->show();
            EXPECT_EQ(form->MainLabel->text(), "Delete 2 structure(s)?");
            EXPECT_FALSE(form->DeleteTableDataCheckbox->isEnabled());
            if (key)
                QTest::keyClick(form, Qt::Key(key));  // Escape answers No
            else
                QTest::mouseClick(form->YesButton, Qt::LeftButton);
            return ModalResult(form);
        });
        bool objects = false, local = true;
        EXPECT_EQ(ConfirmDeleteStructures(2, objects, local), key == 0);
    }
}

}  // namespace

namespace {

TEST_F(StructureDialogsTest, TheFormDialogChecksFormNamesAndOffersTheBaseFormsTables) {
    TDSPTable& dsp = GetDSPTable(FDb->Alias());
    dsp.ChangeStructureProperties("INVOICES", 10, "ORDERS", "INVOICES", QString());
    dsp.ChangeStructureProperties("ORDERFORM", 12, QString(), "ORDERS", QString());
    Script().AnswerModal([](QObject* object) {
        auto* form = qobject_cast<TVDialogPropertyForm*>(object);
        EXPECT_NE(form, nullptr);
        if (!form) return IDCANCEL;
        form->show();
        EXPECT_FALSE(form->ObjectTypeEdit->isEnabled());
        EXPECT_EQ(form->TableNameEdit->count(), 3);  // no base: every table
        // Derived from ORDERFORM: its table shows, the list keeps its descendants.
        QTest::keyClicks(form->NameEdit, "ORDERFORM$SHORT$X");
        EXPECT_EQ(form->TableNameEdit->currentText(), "ORDERS");
        QStringList tables;
        for (int i = 0; i < form->TableNameEdit->count(); ++i)
            tables << form->TableNameEdit->itemText(i);
        EXPECT_EQ(tables, QStringList({"INVOICES", "ORDERS"}));
        QTest::mouseClick(form->OkButton, Qt::LeftButton);  // two "$": refused
        EXPECT_EQ(ModalResult(form), -1);
        EXPECT_EQ(form->focusWidget(), form->NameEdit);
        QTest::keyClick(form->NameEdit, Qt::Key_Backspace);
        QTest::keyClick(form->NameEdit, Qt::Key_Backspace);
        form->TableNameEdit->setCurrentText("INVOICES");
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
        return ModalResult(form);
    });
    TDSPPropertiesRequest request;
    request.DatabaseName = FDb->Alias();
    request.FormVariant = true;
    request.ObjectType = 12;
    request.ObjectTypeEnabled = false;
    ASSERT_TRUE(EditDSPProperties(request));
    EXPECT_EQ(request.Name, "ORDERFORM$SHORT");
    EXPECT_EQ(request.TableName, "INVOICES");
}

}  // namespace
