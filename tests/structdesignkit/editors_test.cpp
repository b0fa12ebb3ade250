#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "designkit/recordtable.h"
#include "formdesignkit/wizardscenario.h"
#include "schedulerkit/shedulerschemeform.h"
#include "scriptedinteraction.h"
#include "structdesignkit/schemeeditors.h"
#include "testenv.h"

namespace {

class BodyEditorTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
        Script().Reset();
    }
    TDSPTable& Store() { return GetDSPTable(Alias()); }
    // Types into a cell of the table as the user would.
    static void Type(TRecordTable* t, int row, int column, const QString& text) {
        t->Table()->item(row, column)->setText(text);
    }
};

TEST_P(BodyEditorTest, EachEditorSavesWhatWasEditedAndReadsItBack) {
    TOperationSchemeEditForm scheme;
    scheme.SetSchemeName("FLOW");
    scheme.SetSchemeType(1);
    scheme.SetAliasName(Alias());
    scheme.Load();
    scheme.Operations()->AddRow();
    Type(scheme.Operations(), 0, 0, "Approve");
    scheme.Operations()->SetCurrentRow(0);
    scheme.Steps()->AddRow();
    Type(scheme.Operations(), 0, 0, "Accept");  // the steps follow their operation
    EXPECT_EQ(scheme.Steps()->Rows().value(0).value(0), "Accept");
    ASSERT_TRUE(scheme.SaveButton()->isEnabled());
    scheme.SaveButton()->click();
    EXPECT_FALSE(scheme.Modified());
    TOperationSchemeEditForm again;
    again.SetSchemeName("FLOW");
    again.SetSchemeType(1);
    again.SetAliasName(Alias());
    again.Load();
    EXPECT_EQ(again.Steps()->Rows(), QList<QStringList>({{"Accept", "Step1", "SetStatus", ""}}));
    EXPECT_TRUE(Store().DSPStructureExist("FLOW", 82));

    TDocumentaryStatusEditForm statuses;
    statuses.SetAliasName(Alias());
    statuses.SetMail(true);
    statuses.Load();
    statuses.Statuses()->AddRow();
    statuses.Statuses()->Table()->item(0, 2)->setCheckState(Qt::Checked);
    statuses.Statuses()->AddRow();
    statuses.Transitions()->AddRow();
    Type(statuses.Transitions(), 0, 0, "Status1");
    Type(statuses.Transitions(), 0, 1, "Status2");
    ASSERT_TRUE(statuses.Save());
    TDocumentaryStatusEditForm statusesAgain;
    statusesAgain.SetAliasName(Alias());
    statusesAgain.SetMail(true);
    statusesAgain.Load();
    EXPECT_EQ(statusesAgain.Statuses()->Rows(), statuses.Statuses()->Rows());
    EXPECT_EQ(statusesAgain.Transitions()->Rows(), statuses.Transitions()->Rows());
    EXPECT_EQ(statusesAgain.StructureName(), "MailStatuses");

    TWizardScenarioForm wizard;
    wizard.SetScenarioName("WIZ");
    wizard.SetAliasName(Alias());
    wizard.Load();
    wizard.Pages()->AddRow();
    wizard.Pages()->AddRow();
    wizard.Pages()->SetCurrentRow(1);
    wizard.Pages()->UpButton()->click();  // the second page goes first
    ASSERT_TRUE(wizard.Save());
    TWizardScenarioForm wizardAgain;
    wizardAgain.SetScenarioName("WIZ");
    wizardAgain.SetAliasName(Alias());
    wizardAgain.Load();
    EXPECT_EQ(wizardAgain.Pages()->Rows().value(0).value(0), "Page2");
    EXPECT_TRUE(Script().Asked.isEmpty()) << Script().Asked.value(0).Text.toStdString();
}

TEST_P(BodyEditorTest, AnImpossibleTimingOrAnUnreadableBodyLeavesTheStoreAlone) {
    TShedulerSchemeForm form;
    form.SetSchemeName("NIGHTLY");
    form.SetDatabaseName(Alias());
    form.Load();
    form.Entries()->AddRow();
    Type(form.Entries(), 0, 1, "backup");
    Type(form.Entries(), 0, 4, "02:30");
    ASSERT_TRUE(form.Save());
    const QByteArray saved = Store().GetStructure("NIGHTLY", 16);

    Type(form.Entries(), 0, 4, "25:61");
    Script().AnswerMessage(IDOK);
    EXPECT_FALSE(form.Save());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("\"25:61\", which is no time"))
        << Script().Asked[0].Text.toStdString();
    EXPECT_TRUE(form.Modified());
    EXPECT_EQ(Store().GetStructure("NIGHTLY", 16), saved);

    Store().PutStructure("BROKEN", 16, "{\"name\":");
    TShedulerSchemeForm broken;
    broken.SetSchemeName("BROKEN");
    broken.SetDatabaseName(Alias());
    EXPECT_THROW(broken.Load(), EDSPError);
    EXPECT_EQ(Store().GetStructure("BROKEN", 16), "{\"name\":");
}

PELVAR_ENGINE_TESTS(BodyEditorTest);

}  // namespace
