#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "basekit/datatypes.h"
#include "scriptedinteraction.h"
#include "testenv.h"
#include "treedesignkit/generatorform.h"
#include "treedesignkit/recreaterules.h"
#include "treedesignkit/sqleditforms.h"
#include "treedesignkit/sqleditrules.h"
#include "treedesignkit/tablestructureform.h"

namespace {

class TreeDesignTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
        Script().Reset();
    }
    TDSPTable& Dsp() { return GetDSPTable(Alias()); }
    void PutTable(const QString& name, const QString& parent, const TDicTableDescription& t) {
        Dsp().PutStructure(name, otTable, MakeTableStructure(name, t).ToBytes());
        Dsp().ChangeStructureProperties(name, otTable, parent, name, QString());
    }
    static TDicTableDescription Table(const QStringList& fields) {
        TDicTableDescription t;
        for (const QString& f : fields)
            t.AddField(f, dtString, 20);
        return t;
    }
};

TEST_P(TreeDesignTest, RulesInheritCheckAndSave) {
    PutTable("BASE", {}, Table({"ID", "NAME"}));
    PutTable("BASE$1", "BASE", Table({"EXTRA"}));
    TTableStructureRules rules;
    rules.Load(Alias(), "BASE$2", "BASE$2", "BASE$1", false);
    QStringList inherited;
    for (const auto& f : rules.InheritedFields())
        inherited << f.Name;
    EXPECT_EQ(inherited, QStringList({"ID", "NAME", "EXTRA"}));  // root first
    EXPECT_TRUE(rules.Table().Fields.isEmpty());

    // Each fault found and named; a name clashing with an inherited field too.
    auto fault = [&](const std::function<void(TDicTableDescription&)>& change) {
        TDicTableDescription saved = rules.Table();
        change(rules.Table());
        const QString message = rules.Check();
        rules.Table() = saved;
        return message;
    };
    EXPECT_TRUE(fault([](auto&) {}).isEmpty());
    EXPECT_TRUE(fault([](auto& t) { t.AddField("name", dtInteger, 0); }).contains("\"name\""));
    EXPECT_TRUE(fault([](auto& t) { t.AddField("A B", dtInteger, 0); }).contains("A B"));
    EXPECT_TRUE(fault([](auto& t) { t.AddField("S", dtString, 0); }).contains("size"));
    EXPECT_TRUE(fault([](auto& t) {
                    t.AddField("K", dtInteger, 0);
                    t.AddIndex("I1", {"K"}, false, true);
                    t.AddIndex("I2", {"K"}, false, true);
                }).contains("second primary"));
    EXPECT_TRUE(fault([](auto& t) {
                    t.AddField("K", dtInteger, 0);
                    t.AddIndex("I1", {"NOPE"});
                }).contains("NOPE"));

    rules.Table().AddField("OWN", dtCurrency, 12).Precision = 3;
    rules.Table().Fields[0].Default = "1.5";
    rules.Save("remark");
    TDSPListItem info;
    ASSERT_TRUE(Dsp().GetStructureProperties("BASE$2", otTable, info));
    EXPECT_EQ(info.ParentName, "BASE$1");
    EXPECT_EQ(info.Remark, "remark");
    const TDicTableDescription back =
        TableFromStructure(TDSPNode::FromBytes(Dsp().GetStructure("BASE$2", otTable)), QString());
    ASSERT_EQ(back.Fields.size(), 1);
    EXPECT_EQ(back.Fields[0].Precision, 3);
    EXPECT_EQ(back.Fields[0].Default, "1.5");

    // A new structure starts with a key; a faulty one is refused unsaved.
    TTableStructureRules fresh;
    fresh.Load(Alias(), "NEW", "New", QString(), true);
    ASSERT_EQ(fresh.Table().Fields.size(), 1);
    EXPECT_EQ(fresh.Table().Fields[0].DataType, dtAutoInc);
    EXPECT_TRUE(fresh.Table().PrimaryIndex());
    fresh.Table().AddField("id", dtInteger, 0);
    EXPECT_THROW(fresh.Save(QString()), EDSPError);
    EXPECT_FALSE(Dsp().DSPStructureExist("NEW", otTable));
}

TEST_P(TreeDesignTest, RecreateMappingAndSqlBodies) {
    TDicTableDescription old = Table({"ID", "TITLE", "GONE", "PIC"});
    old.Fields[3].DataType = dtBlob;
    TDicTableDescription now = Table({"ID", "NAME", "PIC", "NEW"});
    now.Fields[2].DataType = dtBlob;
    TRecreateTableConfirmation state("T", Alias(), old, now, true);
    EXPECT_EQ(state.Added(), QStringList({"NAME", "NEW"}));
    EXPECT_EQ(state.Dropped(), QStringList({"TITLE", "GONE"}));
    state.SetSource(1, "TITLE");
    state.SetSource(3, "ID");  // ID now feeds NEW only
    EXPECT_EQ(state.Renamed(), QStringList({"TITLE -> NAME", "ID -> NEW"}));
    EXPECT_EQ(state.Added(), QStringList{"ID"});
    TRecreateFieldPairs pairs, blobs;
    QStringList fields;
    state.Result(pairs, blobs, fields);
    EXPECT_EQ(pairs, (TRecreateFieldPairs{{"TITLE", "NAME"}, {"ID", "NEW"}}));
    EXPECT_EQ(blobs, (TRecreateFieldPairs{{"PIC", "PIC"}}));
    EXPECT_EQ(fields, QStringList({"ID", "NAME", "PIC", "NEW"}));

    // The SQL editors keep the rest of a body and start a new one from a template.
    TSqlStructureRules view;
    view.Init("V1", Alias(), otView);
    EXPECT_TRUE(view.Load().startsWith("SELECT"));
    TDSPNode body("V1");
    body.SetProperty("Keep", "me");
    Dsp().PutStructure("V1", otView, body.ToBytes());
    view.Save("SELECT 2");
    const TDSPNode saved = TDSPNode::FromBytes(Dsp().GetStructure("V1", otView));
    EXPECT_EQ(StructureSql(saved), "SELECT 2");
    EXPECT_EQ(saved.Property("Keep").toString(), "me");
    TSqlStructureRules proc;
    proc.Init("P_X", Alias(), otExecStoredProc);
    EXPECT_TRUE(proc.Load().contains("p_x()"));
}

TEST_P(TreeDesignTest, TableEditorWindowEditsAndRefusesFaults) {
    PutTable("BASE", {}, Table({"ID"}));
    auto* form = new TTableStructureForm;
    form->SetAliasName(Alias());
    form->SetStructureName("ORD$1");
    form->SetTableName("Ord$1");
    form->SetParentName("BASE");
    form->SetRemark("first");
    form->setWindowTitle(TTableStructureForm::BaseCaption() + " - Ord$1");
    form->Load();
    form->show();
    ASSERT_EQ(form->FieldsGrid->rowCount(), 1);  // the inherited ID, read-only
    EXPECT_FALSE(form->FieldsGrid->item(0, 0)->flags() & Qt::ItemIsEditable);
    QTest::mouseClick(form->AddFieldButton, Qt::LeftButton);
    ASSERT_EQ(form->FieldsGrid->rowCount(), 2);
    form->FieldsGrid->item(1, 0)->setText("AMOUNT");
    qobject_cast<QComboBox*>(form->FieldsGrid->cellWidget(1, 1))->setCurrentIndex(dtCurrency);
    EXPECT_TRUE(form->Modified());
    form->grab().save(QDir::temp().filePath("pelvar-table-structure-form.png"));

    // A field named like an inherited one: told, nothing saved.
    form->FieldsGrid->item(1, 0)->setText("id");
    Script().AnswerMessage(IDOK);
    QTest::mouseClick(form->SaveButton, Qt::LeftButton);
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("named twice"));
    EXPECT_FALSE(Dsp().DSPStructureExist("ORD$1", otTable));

    form->FieldsGrid->item(1, 0)->setText("AMOUNT");
    QTest::mouseClick(form->SaveButton, Qt::LeftButton);
    EXPECT_FALSE(form->Modified());
    const TDicTableDescription saved =
        TableFromStructure(TDSPNode::FromBytes(Dsp().GetStructure("ORD$1", otTable)), QString());
    ASSERT_EQ(saved.Fields.size(), 1);
    EXPECT_EQ(saved.Fields[0].Name, "AMOUNT");
    EXPECT_EQ(saved.Fields[0].DataType, dtCurrency);
    TDSPListItem info;
    Dsp().GetStructureProperties("ORD$1", otTable, info);
    EXPECT_EQ(info.Remark, "first");
    EXPECT_EQ(info.TableName, "Ord$1");
    delete form;
}

TEST_P(TreeDesignTest, GeneratorEditorRefusesBadValuesAndKeepsTheBody) {
    for (const char* bad : {"", "1.5", "x1", "9223372036854775808"})
        EXPECT_TRUE(TGeneratorRules::Check(bad, "1").contains("start value")) << bad;
    for (const char* bad : {"0", " ", "-0", "one"})
        EXPECT_TRUE(TGeneratorRules::Check("1", bad).contains("increment")) << bad;
    EXPECT_EQ(TGeneratorRules::Check(" -9223372036854775808 ", "-3"), QString());

    TDSPNode body("G1");
    body.SetProperty("StartValue", 7);
    body.SetProperty("Keep", "me");
    Dsp().PutStructure("G1", otGenerator, body.ToBytes());
    auto* form = OpenGeneratorEditor("g1", Alias());
    EXPECT_EQ(form->NameEdit->text(), "G1");
    EXPECT_EQ(form->StartValueEdit->text(), "7");
    EXPECT_EQ(form->IncrementEdit->text(), "1");
    EXPECT_FALSE(form->Modified());
    form->IncrementEdit->setText("0");
    Script().AnswerMessage(IDOK);
    QTest::mouseClick(form->SaveButton, Qt::LeftButton);
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("increment"));
    EXPECT_EQ(GeneratorIncrement(TDSPNode::FromBytes(Dsp().GetStructure("G1", otGenerator))), 1);

    form->StartValueEdit->setText(" 100 ");
    form->IncrementEdit->setText("-5");
    QTest::mouseClick(form->SaveButton, Qt::LeftButton);
    EXPECT_FALSE(form->Modified());
    const TDSPNode saved = TDSPNode::FromBytes(Dsp().GetStructure("G1", otGenerator));
    EXPECT_EQ(GeneratorStartValue(saved), 100);
    EXPECT_EQ(GeneratorIncrement(saved), -5);
    EXPECT_EQ(saved.Property("Keep").toString(), "me");

    // Closing with changes asks; Cancel keeps the window, No drops them.
    form->StartValueEdit->setText("1");
    Script().AnswerMessage(IDCANCEL);
    EXPECT_FALSE(form->close());
    Script().AnswerMessage(IDNO);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(GeneratorStartValue(TDSPNode::FromBytes(Dsp().GetStructure("G1", otGenerator))), 100);
}

PELVAR_ENGINE_TESTS(TreeDesignTest);

}  // namespace
