#include <gtest/gtest.h>

#include "opkit/eifile.h"

#include <QApplication>
#include <QFile>

#include "dataviewkit/dsptreeviewdialog.h"
#include "model/exportconfirm.h"
#include "scriptedinteraction.h"
#include "structurefixture.h"
#include "structures/dspconfirmations.h"
#include "structures/dspdialogrules.h"
#include "structures/dspfolders.h"
#include "structures/dspitem.h"

namespace {

class DSPItemTest : public StructuresTest {
  protected:
    void TearDown() override {
        SetDSPPropertiesPrompt(nullptr);
        SetExportDialogPrompts({});
        StructuresTest::TearDown();
    }
    TDOCommonDSPItem* Item(const QString& below, const QString& subPath) {
        return dynamic_cast<TDOCommonDSPItem*>(Open(below)->SubObjects().FindBySubPath(subPath));
    }
    // The properties dialog answers with these values (OK), after `check` saw the request.
    void AnswerProperties(const QString& name, int type, const QString& parent,
                          const QString& remark,
                          std::function<void(const TDSPPropertiesRequest&)> check = {}) {
        SetDSPPropertiesPrompt([=](TDSPPropertiesRequest& r) {
            if (check) check(r);
            r.Name = name;
            r.ObjectType = type;
            r.ParentName = parent;
            r.Remark = remark;
            return true;
        });
    }
    QStringList Designers() {
        QStringList open;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TDSPTreeViewDialog*>(w); d && d->isVisible())
                open << QString::number(d->TreeView()->ObjectType()) + ":" +
                            d->TreeView()->DSPName();
        return open;
    }
};

TEST_P(DSPItemTest, PropertiesChangeInPlaceOrMoveTheStructureWithBodyAndChildren) {
    Put("BASE", 65, QString(), "r", "{\"body\":1}");
    Put("KID1", 65, "BASE");
    Put("KID2", 65, "BASE");
    Put("OTHER", 65);
    TDOCommonDSPItem* base = Item("Structures\\Internet\\65", "65:BASE");
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(base->HasProperties());

    // Only remark and parent: no copy, the body stays.
    AnswerProperties("BASE", 65, "OTHER", "remark 2", [](const TDSPPropertiesRequest& r) {
        EXPECT_EQ(r.Name, "BASE");
        EXPECT_EQ(r.ObjectType, 65);
        EXPECT_EQ(r.Remark, "r");
    });
    base->EditProperties();
    EXPECT_TRUE(FRan.isEmpty());
    TDSPListItem info;
    ASSERT_TRUE(Store().GetStructureProperties("BASE", 65, info));
    EXPECT_EQ(info.Remark, "remark 2");
    EXPECT_EQ(info.ParentName, "OTHER");
    EXPECT_EQ(Store().GetStructure("BASE", 65), "{\"body\":1}");

    // A failed copy keeps everything as it was.
    FFailCopy = true;
    AnswerProperties("ROOT", 65, QString(), "moved");
    base->EditProperties();
    EXPECT_EQ(FRan, QStringList{"CopyStructure 65:BASE -> 65:ROOT"});
    EXPECT_TRUE(Store().DSPStructureExist("BASE", 65));
    ASSERT_TRUE(Store().GetStructureProperties("KID1", 65, info));
    EXPECT_EQ(info.ParentName, "BASE");

    // A new name (a change of case counts): copied, children re-pointed, old one deleted.
    FFailCopy = false;
    FRan.clear();
    AnswerProperties("Base", 65, QString(), "moved");
    base->EditProperties();
    EXPECT_EQ(FRan, QStringList({"CopyStructure 65:BASE -> 65:Base", "DeleteStructure 65:BASE"}));
    EXPECT_FALSE(Store().DSPStructureExist("BASE", 65));
    EXPECT_EQ(Store().GetStructure("Base", 65), "{\"body\":1}");
    ASSERT_TRUE(Store().GetStructureProperties("Base", 65, info));
    EXPECT_EQ(info.Remark, "moved");
    EXPECT_EQ(info.ParentName, QString());
    for (const char* kid : {"KID1", "KID2"}) {
        ASSERT_TRUE(Store().GetStructureProperties(kid, 65, info));
        EXPECT_EQ(info.ParentName, "Base") << kid;
    }
    // The folder learns of both through the store.
    TDODSPFolder* folder = Folder("Structures\\Internet\\65");
    EXPECT_EQ(folder->RefreshItem("65:BASE"), ctItemDeleted);
    EXPECT_EQ(folder->RefreshItem("65:Base"), ctItemAdded);
}

TEST_P(DSPItemTest, SingleDeleteAsksThePlainQuestionOrTheConfirmationForForms) {
    Put("CFG", 14);
    Put("DLG", 12);
    TDOCommonDSPItem* cfg = Item("Structures\\All", "14:CFG");
    Script().AnswerMessage(IDNO);
    cfg->DeleteDSPObject();
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked[0].Text, "Delete the structure?");
    EXPECT_EQ(Script().Asked[0].Caption, "Confirmation");
    EXPECT_TRUE(FRan.isEmpty());
    Script().AnswerMessage(IDYES);
    cfg->DeleteDSPObject();
    EXPECT_EQ(FRan, QStringList{"DeleteObject 14:CFG db=0 res=0"});

    // A form asks the delete confirmation even without a database object.
    FRan.clear();
    Script().Reset();
    bool asked = false;
    SetDeleteConfirmationPrompt([&](TDeleteTableConfirmation& state) {
        asked = true;
        EXPECT_FALSE(state.DeleteTableDataCheckbox.Enabled);
        state.DeleteLocalResourceCheckBox.Checked = false;
        return true;
    });
    Item("Structures\\All", "12:DLG")->DeleteDSPObject();
    SetDeleteConfirmationPrompt(nullptr);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(Script().Asked.isEmpty());
    EXPECT_EQ(FRan, QStringList{"DeleteObject 12:DLG db=0 res=0"});
}

TEST_P(DSPItemTest, AddStoresAnEmptyStructureOfTheFoldersTypeAndOpensItsDesigner) {
    TDODSPFolder* internet = Folder("Structures\\Internet\\65");
    AnswerProperties("NET", 65, QString(), "new one", [](const TDSPPropertiesRequest& r) {
        EXPECT_EQ(r.ObjectType, 65);
        EXPECT_FALSE(r.ObjectTypeEnabled);
        EXPECT_TRUE(r.Name.isEmpty());
    });
    internet->AddStructure();
    TDSPListItem info;
    ASSERT_TRUE(Store().GetStructureProperties("NET", 65, info));
    EXPECT_EQ(info.Remark, "new one");
    EXPECT_EQ(Store().GetStructure("NET", 65), QByteArray());
    EXPECT_EQ(Designers(), QStringList{"65:NET"});

    // An existing name: Yes replaces it, after its deletion, No leaves it.
    Put("CFG", 14, QString(), "old");
    AnswerProperties("CFG", 14, QString(), "new");
    Script().AnswerMessage(IDNO);
    Folder("Structures\\Params")->AddStructure();
    EXPECT_TRUE(FRan.isEmpty());
    ASSERT_TRUE(Store().GetStructureProperties("CFG", 14, info));
    EXPECT_EQ(info.Remark, "old");
    Script().AnswerMessage(IDYES);
    Folder("Structures\\Params")->AddStructure();
    EXPECT_EQ(FRan, QStringList{"DeleteObject 14:CFG db=0 res=1"});
    ASSERT_TRUE(Store().GetStructureProperties("CFG", 14, info));
    EXPECT_EQ(info.Remark, "new");
    EXPECT_EQ(Script().Asked.last().Text, "A structure of this name and type exists. Replace it?");
}

int SectionCount(const QString& file) {
    TEIFile ei;
    ei.SetFileName(file);
    ei.Open();
    return ei.Sections().GetCount();
}

TEST_P(DSPItemTest, ExportAsksWhereAndHandsTheChoicesToTheOperation) {
    Put("T2", 10);
    Put("T1", 10);
    Put("F1", 12);
    Put("U1", 21);
    const QString file = TTestEnvironment::Instance().Dir() + "/structures.eif";
    QFile::remove(file);
    std::vector<std::pair<int, int>> modes;
    int overwriteAnswer = 0;
    TExportDialogPrompts prompts;
    prompts.ExportConfirm = [&](TExportConfirmState& s, int resources, int tableData) {
        modes.emplace_back(resources, tableData);
        s.FileName = file;
        s.SeparateExport = false;
        return true;
    };
    prompts.Overwrite = [&](const QString&, bool) { return overwriteAnswer; };
    SetExportDialogPrompts(prompts);

    TDODSPFolder* all = Folder("Structures\\All");
    all->ExportSelected({"12:F1", "10:T2", "10:T1"});
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0], std::make_pair(1, 2));  // one form, several tables
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_EQ(FRan[0], "Export 10:T1,10:T2,12:F1 file=" + file +
                           " open=0 append=0 separate=0 (Exporting structures)");
    EXPECT_EQ(SectionCount(file), 3);

    // The file exists now: cancel stops, "add" appends.
    FRan.clear();
    overwriteAnswer = 2;
    all->ExportSelected({"21:U1"});
    EXPECT_TRUE(FRan.isEmpty());
    EXPECT_EQ(SectionCount(file), 3);
    overwriteAnswer = 7;
    all->ExportSelected({"21:U1"});
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].contains("Export 21:U1 ") && FRan[0].contains("append=1"))
        << qPrintable(FRan[0]);
    EXPECT_EQ(SectionCount(file), 4);

    // A container exports what its selected folders hold.
    FRan.clear();
    overwriteAnswer = 6;
    const QStringList folders{"Security", "Forms"};
    Open("Structures")->Actions().FindByName("DSP_Export")->Execute(&folders);
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].startsWith("Export 12:F1,21:U1 ")) << qPrintable(FRan[0]);
    EXPECT_EQ(modes.back(), std::make_pair(1, 0));
    EXPECT_EQ(SectionCount(file), 2);  // rewritten, not added to
}

PELVAR_ENGINE_TESTS(DSPItemTest);

}  // namespace
