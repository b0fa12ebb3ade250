#include <gtest/gtest.h>

#include "../appcore/storefixture.h"
#include "dataviewkit/dsptreedocument.h"
#include "scriptedinteraction.h"

namespace {

class DSPTreeDocumentTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        Script().Reset();
    }
    // A document on the structure, as the structure folders open it.
    std::unique_ptr<TDSPTreeDocument> Open(const QString& name, int type) {
        auto doc = std::make_unique<TDSPTreeDocument>();
        doc->SetAliasName(Alias());
        doc->SetDSPName(name);
        doc->SetObjectType(type);
        doc->Load();
        return doc;
    }
    static QByteArray Body() {
        TDSPNode root("ORDERS");
        root.SetProperty("TableName", QString("ORDERS"));
        root.AddNode("Fields").AddNode("ID").SetProperty("Size", qlonglong(4));
        return root.ToBytes();
    }
};

TEST_P(DSPTreeDocumentTest, EditsAreSavedToTheStoreAndReadBack) {
    Dsp().PutStructure("ORDERS", 10, Body());
    Dsp().PutStructure("ORDERS", 12, QByteArray());  // same name, other type: a new, empty one
    auto doc = Open("ORDERS", 10);
    ASSERT_EQ(doc->State(), TDSPTreeDocument::dsLoaded);
    EXPECT_TRUE(Script().Asked.isEmpty());
    TDSPTreeModel& m = doc->Model();
    const QModelIndex fields = m.index(1, 0, m.index(0, 0));
    ASSERT_EQ(fields.data().toString(), "Fields");
    const QModelIndex size = m.index(0, 2, m.index(0, 0, fields));
    ASSERT_TRUE(m.SetValueText(size, "8"));
    m.AddProperty(m.index(0, 0), "Remark", "string");
    EXPECT_FALSE(doc->CanSave() && !doc->Modified());
    ASSERT_TRUE(doc->Save());
    EXPECT_FALSE(doc->Modified());

    const TDSPNode stored = TDSPNode::FromBytes(Dsp().GetStructure("ORDERS", 10));
    EXPECT_EQ(stored.FindNode("Fields")->Node(0).Property("Size").toLongLong(), 8);
    EXPECT_TRUE(stored.HasProperty("Remark"));
    EXPECT_EQ(Dsp().GetStructure("ORDERS", 12), QByteArray());  // the other type untouched
    EXPECT_EQ(doc->Bytes(), Dsp().GetStructure("ORDERS", 10));

    // The empty body of a new structure opens as a root of its name and saves as a tree.
    auto fresh = Open("ORDERS", 12);
    EXPECT_EQ(fresh->State(), TDSPTreeDocument::dsLoaded);
    EXPECT_EQ(fresh->Model().index(0, 0).data().toString(), "ORDERS");
    fresh->Model().AddNode(fresh->Model().index(0, 0), "Controls");
    ASSERT_TRUE(fresh->Save());
    EXPECT_NE(TDSPNode::FromBytes(Dsp().GetStructure("ORDERS", 12)).FindNode("Controls"), nullptr);

    // Read-only: nothing to save.
    auto readOnly = Open("ORDERS", 10);
    readOnly->SetReadOnly(true);
    EXPECT_FALSE(readOnly->Model().AddNode(readOnly->Model().index(0, 0)).isValid());
    EXPECT_FALSE(readOnly->Save());
    EXPECT_EQ(readOnly->QueryClose(), TDSPTreeDocument::cdDiscard);
    EXPECT_TRUE(Script().Asked.isEmpty());
}

TEST_P(DSPTreeDocumentTest, ADamagedBodyIsKeptUnlessTheUserChoosesToReplaceIt) {
    const QByteArray damaged("{\"name\":\"PAY\",\"props\":[{\"name\":\"A\"");
    Dsp().PutStructure("PAY$IN", 14, damaged);
    auto doc = Open("PAY$IN", 14);
    EXPECT_EQ(doc->State(), TDSPTreeDocument::dsDamaged);
    ASSERT_EQ(Script().Asked.size(), 1);
    const QString told = Script().Asked.at(0).Text;
    EXPECT_TRUE(told.contains("PAY$IN")) << qPrintable(told);
    EXPECT_TRUE(told.contains(doc->LoadError()) && !doc->LoadError().isEmpty());
    EXPECT_EQ(doc->Model().rowCount(), 0);  // shown empty
    EXPECT_FALSE(doc->Editable());
    EXPECT_FALSE(doc->Model().AddNode({}).isValid());
    EXPECT_FALSE(doc->Save());
    EXPECT_EQ(doc->Bytes(), damaged);  // a memory caller gets back what it gave

    // The question defaults to No; No keeps everything.
    Script().Reset();
    Script().AnswerMessage(IDNO);
    EXPECT_FALSE(doc->ReplaceDamagedBody());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked.at(0).Flags & MB::DEFBUTTON2);
    EXPECT_EQ(Script().Asked.at(0).Flags & MB::ButtonMask, MB::YESNO);
    EXPECT_EQ(doc->State(), TDSPTreeDocument::dsDamaged);
    EXPECT_EQ(Dsp().GetStructure("PAY$IN", 14), damaged);

    // Closing a damaged document asks nothing and writes nothing.
    EXPECT_EQ(doc->QueryClose(), TDSPTreeDocument::cdDiscard);

    // Yes replaces it in the editor; only a save writes it.
    Script().AnswerMessage(IDYES);
    EXPECT_TRUE(doc->ReplaceDamagedBody());
    EXPECT_TRUE(doc->Editable());
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(Dsp().GetStructure("PAY$IN", 14), damaged);
    ASSERT_TRUE(doc->Save());
    EXPECT_EQ(TDSPNode::FromBytes(Dsp().GetStructure("PAY$IN", 14)).Name(), "PAY$IN");
    EXPECT_TRUE(Script().AllAnswersUsed());

    // A body of the wrong shape (valid JSON) is damage too; read-only forbids replacing.
    Dsp().PutStructure(
        "WRONG", 14,
        "{\"name\":\"W\",\"props\":[{\"name\":\"N\",\"type\":\"integer\",\"value\":\"x\"}]}");
    Script().Reset();
    auto wrong = Open("WRONG", 14);
    EXPECT_EQ(wrong->State(), TDSPTreeDocument::dsDamaged);
    EXPECT_TRUE(wrong->LoadError().contains("N"));
    wrong->SetReadOnly(true);
    EXPECT_FALSE(wrong->ReplaceDamagedBody());
    EXPECT_EQ(Script().Asked.size(), 1);  // only the load message; no question
}

TEST_P(DSPTreeDocumentTest, ASaveOfAVanishedStructureOrDatabaseFailsOnceAndChangesNothing) {
    Dsp().PutStructure("ORDERS", 10, Body());
    auto doc = Open("ORDERS", 10);
    TDSPTreeModel& m = doc->Model();
    m.AddNode(m.index(0, 0), "Indexes");
    const QByteArray edited = m.Bytes();

    // Deleted by someone else while open: not recreated behind the user's back.
    Dsp().DeleteStructure("ORDERS", 10);
    EXPECT_FALSE(doc->Save());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("ORDERS"));
    EXPECT_TRUE(Script().Asked.at(0).Flags & MB::ICONERROR);
    EXPECT_FALSE(Dsp().DSPStructureExist("ORDERS", 10));
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(m.Bytes(), edited);

    // The database went away.
    Dsp().PutStructure("ORDERS", 10, Body());
    Script().Reset();
    BaseMng().Databases().CloseDatabase(Alias());
    EXPECT_FALSE(doc->Save());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("ORDERS"));
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(m.Bytes(), edited);
    EXPECT_TRUE(doc->Editable());

    // A structure that cannot be opened at all is shown empty and read-only.
    Script().Reset();
    auto missing = Open("NEVER", 10);
    EXPECT_EQ(missing->State(), TDSPTreeDocument::dsUnavailable);
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("NEVER"));
    EXPECT_FALSE(missing->Editable());
}

PELVAR_ENGINE_TESTS(DSPTreeDocumentTest);

}  // namespace
