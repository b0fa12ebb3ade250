#include "basekit/strutils.h"
#include "databases/eifolders.h"
#include "dropfixture.h"
#include "localres/lsection.h"

namespace {

class AliasDropTest : public DropTest {
  protected:
    void Text(const QString& section, const QString& ident, const QString& text) {
        GetLocalizatorTable(Alias()).SetSectionString(section, ident, "ENGLISH", text);
    }
    // The target's text, empty when it has none.
    QString TargetText(const QString& section, const QString& ident) {
        TLocalizatorTable& texts = GetLocalizatorTable(FTarget->Alias());
        const QString id = TLocalizatorTable::ComposeID(section, ident);
        return texts.StringExists(id, "ENGLISH") ? texts.GetString(id, "ENGLISH") : QString();
    }
    bool TargetHasTable(const QString& table) {
        return BaseMng().TableExists(table, FTarget->Alias(), QString());
    }
    bool TargetHasLanguage(const QString& id) {
        return GetLanguagesTable(FTarget->Alias()).LanguageExist(id);
    }
    // The whole source database, rows and texts, written to the file.
    void ExportSource() {
        SetCopyConfirmationPrompt([](TCopyTableConfirmation& state) {
            state.CreateDBObjectCheckbox.Checked = state.CopyTableDataCheckBox.Checked = true;
            state.CopyLocalResourceCheckBox.Checked = true;
            return true;
        });
        ASSERT_TRUE(Drop(*FFileRoot, QString(), {FRoot->SubObjects().FindBySubPath(Alias())}));
        Follow();
    }
    // The item of the (opened) file folder whose shown name is `name`.
    template <typename TItem>
    static TPelvarObject* FileItem(TPelvarObject* f, const QString& name) {
        for (int i = 0; f && i < f->SubObjects().Count(); ++i)
            if (auto* item = dynamic_cast<TItem*>(f->SubObjects().Items(i));
                item && item->Identifier() == name)
                return item;
        return nullptr;
    }
    // The message of the error the drop raises, empty when it raises none.
    static QString DropError(TPelvarObject& target, const QString& from,
                             const std::vector<TPelvarObject*>& objects) {
        try {
            Drop(target, from, objects);
        } catch (const EPelvarError& e) {
            return e.Message();
        }
        return QString();
    }
};

TEST_P(AliasDropTest, AFilesTableRowsGoInByItemOrFolderAfterTheDataQuestion) {
    PutTable("T1", 3);
    PutTable("T2", 2);
    ExportSource();
    TPelvarObject* tables = FileFolder("Tables");
    TPelvarObject* t1 = FileItem<TDOEITableItem>(tables, "T1");
    ASSERT_TRUE(tables && t1);
    const QString target = FTarget->Alias();
    TDictionary(target).CreateTableByDef(Table("T1"), QString(), false);
    TExecQuery(BaseMng().Databases().GetDatabase(target),
               "INSERT INTO T1 (ID, TITLE) VALUES (99, 'own')")
        .Execute();
    TPelvarObject* alias = Open(target);
    ASSERT_TRUE(alias);
    RecordOperations();
    bool accept = true, data = false;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation& state) {
        EXPECT_FALSE(state.CreateDBObjectCheckbox.Enabled);
        EXPECT_TRUE(state.CopyTableDataCheckBox.Enabled);
        EXPECT_FALSE(state.CopyLocalResourceCheckBox.Enabled);
        state.CopyTableDataCheckBox.Checked = data;
        return accept;
    });

    // A "no" to the rows, then a cancel: nothing runs.
    ASSERT_TRUE(Drop(*alias, FFile, {tables}, true));
    accept = false;
    data = true;
    ASSERT_TRUE(Drop(*alias, FFile, {t1}, true));
    EXPECT_TRUE(FRan.isEmpty());
    EXPECT_EQ(TargetRows("T1"), 1);

    // The item: the file's rows replace the table's own; nothing else comes.
    accept = true;
    ASSERT_TRUE(Drop(*alias, FFile, {t1}, true));
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].contains("TUOImportTableData")) << qPrintable(FRan[0]);
    EXPECT_EQ(FCaptions,
              QStringList{LString("M_Pelvar_DOAlias_ImportingDatabaseOperationCaption")});
    EXPECT_EQ(TargetRows("T1"), 3);
    EXPECT_EQ(TargetRows("T1 WHERE ID = 99"), 0);
    EXPECT_FALSE(TargetHasTable("T2"));
    EXPECT_TRUE(TargetStructures().isEmpty());

    // The folder: one import per table, the missing table created.
    ASSERT_TRUE(Drop(*alias, FFile, {tables}, true));
    EXPECT_EQ(FRan.size(), 3);
    EXPECT_EQ(TargetRows("T1"), 3);
    EXPECT_EQ(TargetRows("T2"), 2);
}

TEST_P(AliasDropTest, AFilesFoldersGoInOneImportAndOneSectionWithoutAWindow) {
    PutTable("T1", 2);
    GetDSPTable(Alias()).PutStructure("F1", 12, QByteArray());
    Text("M_HELLO", "GREETING", "Hello");
    Text("M_BYE", "WORD", "Bye");
    Text("K_F1", "CAPTION", "Form");
    ExportSource();
    TPelvarObject* alias = Open(FTarget->Alias());
    TPelvarObject* structures = FileFolder("Structures");
    TPelvarObject* resources = FileFolder("Resources");
    TPelvarObject* hello = FileItem<TDOEILResItem>(resources, "M_HELLO");
    TPelvarObject* bye = FileItem<TDOEILResItem>(resources, "M_BYE");
    ASSERT_TRUE(alias && structures && resources && hello && bye);
    RecordOperations();

    // Structure items offer all three choices; a cancel imports nothing.
    TPelvarObject* f1 = structures->SubObjects().FindBySubPath("12:F1");
    ASSERT_TRUE(f1);
    SetCopyConfirmationPrompt([](TCopyTableConfirmation& state) {
        EXPECT_TRUE(state.CreateDBObjectCheckbox.Enabled);
        EXPECT_TRUE(state.CopyLocalResourceCheckBox.Enabled);
        return false;
    });
    ASSERT_TRUE(Drop(*alias, FFile, {f1}, true));
    EXPECT_TRUE(FRan.isEmpty());
    EXPECT_TRUE(TargetStructures().isEmpty());

    // The structures folder alone: the forms' texts are offered and come with
    // the rows of the tables; other sections stay in the file.
    int asked = 0;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation& state) {
        ++asked;
        EXPECT_TRUE(state.CreateDBObjectCheckbox.Enabled);
        EXPECT_EQ(state.CopyLocalResourceCheckBox.Enabled, asked == 1);
        state.CreateDBObjectCheckbox.Checked = state.CopyTableDataCheckBox.Checked = true;
        state.CopyLocalResourceCheckBox.Checked = state.CopyLocalResourceCheckBox.Enabled;
        return true;
    });
    ASSERT_TRUE(Drop(*alias, FFile, {structures}, true));
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].contains("TUOImportDatabase")) << qPrintable(FRan[0]);
    EXPECT_EQ(TargetStructures(), QStringList({"10:T1", "12:F1"}));
    EXPECT_EQ(TargetRows("T1"), 2);
    EXPECT_EQ(TargetText("K_F1", "CAPTION"), "Form");
    EXPECT_TRUE(TargetText("M_HELLO", "GREETING").isEmpty());

    // One section goes without a progress window, two with one.
    ASSERT_TRUE(Drop(*alias, FFile, {hello}, true));
    ASSERT_EQ(FRan.size(), 2);
    EXPECT_TRUE(FRan[1].startsWith("direct")) << qPrintable(FRan[1]);
    EXPECT_EQ(TargetText("M_HELLO", "GREETING"), "Hello");
    ASSERT_TRUE(Drop(*alias, FFile, {hello, bye}, true));
    ASSERT_EQ(FRan.size(), 3);
    EXPECT_TRUE(FRan[2].startsWith("progress")) << qPrintable(FRan[2]);
    EXPECT_EQ(FCaptions.last(), LString("M_Pelvar_DOLRes_ImportLSectionsActionCaption"));
    EXPECT_EQ(TargetText("M_BYE", "WORD"), "Bye");

    // The resources folder alone asks nothing.
    GetLocalizatorTable(FTarget->Alias()).DeleteSection("M_BYE");
    ASSERT_TRUE(Drop(*alias, FFile, {resources}, true));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(TargetText("M_BYE", "WORD"), "Bye");
}

TEST_P(AliasDropTest, AMixOfAnotherDatabaseBringsExactlyWhatWasDraggedOrNothing) {
    PutTable("T1", 2);
    PutTable("T2", 1);
    PutTable("T3", 1);
    GetDSPTable(Alias()).PutStructure("F1", 12, QByteArray());
    Text("M_HELLO", "GREETING", "Hello");
    Text("M_OTHER", "WORD", "Other");
    Text("K_F1", "CAPTION", "Form");
    TOneLanguage klingon;
    klingon.EnglishName = "Klingon";
    GetLanguagesTable(Alias()).SetLanguage("KLINGON", klingon);
    const QString messages = Alias() + "\\LocalResources\\System\\Messages";
    TPelvarObject* all = Open(Alias() + "\\Structures\\All");
    TPelvarObject* hello = Open(messages + "\\M_HELLO");
    TPelvarObject* other = Open(messages + "\\M_OTHER");
    TPelvarObject* languages = Open(Alias() + "\\Languages");
    TPelvarObject* alias = Open(FTarget->Alias());
    ASSERT_TRUE(all && hello && other && languages && alias);
    TPelvarObject* t1 = all->SubObjects().FindBySubPath("10:T1");
    TPelvarObject* t2 = all->SubObjects().FindBySubPath("10:T2");
    TPelvarObject* f1 = all->SubObjects().FindBySubPath("12:F1");
    ASSERT_TRUE(t1 && t2 && f1 && hello->SubObjects().Count() == 1);
    RecordOperations();

    // Objects no copy takes are named before anything is asked.
    TPelvarObject* string = hello->SubObjects().Items(0);
    EXPECT_EQ(DropError(*alias, messages, {t1, string}),
              "Invalid drop source in copy local resource action (ClassName:'TDOLResource')");
    EXPECT_EQ(
        DropError(*alias, Alias() + "\\Languages", {t1, Open(Alias() + "\\Languages\\KLINGON")}),
        "Invalid drop source in copy database action (ClassName:'TDOLanguage')");
    EXPECT_TRUE(FRan.isEmpty());

    int asked = 0;
    SetCopyConfirmationPrompt([&](TCopyTableConfirmation& state) {
        ++asked;
        EXPECT_TRUE(state.CreateDBObjectCheckbox.Enabled);
        EXPECT_FALSE(state.CopyLocalResourceCheckBox.Enabled);  // sections come too
        state.CreateDBObjectCheckbox.Checked = state.CopyTableDataCheckBox.Checked = true;
        return true;
    });
    ASSERT_TRUE(Drop(*alias, Alias(), {t1, f1, hello, languages}));
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].contains("TUOCopyDatabase")) << qPrintable(FRan[0]);
    EXPECT_EQ(FCaptions, QStringList{SafeFormat(
                             LString("M_Pelvar_DOAlias_CopyDatabaseActionCaption"), Alias())});
    EXPECT_EQ(TargetStructures(), QStringList({"10:T1", "12:F1"}));
    EXPECT_EQ(TargetRows("T1"), 2);
    EXPECT_FALSE(TargetHasTable("T2"));
    EXPECT_FALSE(TargetHasTable("T3"));
    EXPECT_EQ(TargetText("M_HELLO", "GREETING"), "Hello");
    EXPECT_TRUE(TargetText("M_OTHER", "WORD").isEmpty());
    EXPECT_TRUE(TargetText("K_F1", "CAPTION").isEmpty());
    EXPECT_TRUE(TargetHasLanguage("KLINGON"));

    // A table whose rows the target's table can not take fails the copy after
    // the language, the texts and a structure went in: none of them stays.
    TDicTableDescription narrow;
    narrow.Name = "T2";
    narrow.AddField("ID", dtInteger, 0);
    TDictionary(FTarget->Alias()).CreateTableByDef(narrow, QString(), false);
    TOneLanguage vulcan;
    vulcan.EnglishName = "Vulcan";
    GetLanguagesTable(Alias()).SetLanguage("VULCAN", vulcan);
    ASSERT_TRUE(Drop(*alias, Alias(), {f1, t2, other, languages}));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(TargetHasLanguage("VULCAN"));
    EXPECT_TRUE(TargetText("M_OTHER", "WORD").isEmpty());
    EXPECT_EQ(TargetStructures(), QStringList({"10:T1", "12:F1"}));
    EXPECT_EQ(TargetRows("T2"), 0);

    // A language the target has already is replaced only after a yes.
    klingon.EnglishName = "Klingon II";
    GetLanguagesTable(Alias()).SetLanguage("KLINGON", klingon);
    Script().AnswerMessage(IDNO);
    ASSERT_TRUE(Drop(*alias, Alias() + "\\Languages", {Open(Alias() + "\\Languages\\KLINGON")}));
    ASSERT_EQ(Script().Asked.size(), 1);
    TOneLanguage kept;
    ASSERT_TRUE(GetLanguagesTable(FTarget->Alias()).GetLanguage("KLINGON", kept));
    EXPECT_EQ(kept.EnglishName, "Klingon");
}

TEST_P(AliasDropTest, TheImportActionBringsTableDataOfTheChosenFiles) {
    PutTable("T1", 4);
    Text("M_HELLO", "GREETING", "Hello");
    ExportSource();
    TPelvarObject* alias = Open(FTarget->Alias());
    ASSERT_TRUE(alias);
    RecordOperations();
    Script().AnswerFiles({FFile});
    alias->Actions().FindByName("ImportAction")->Execute(nullptr);
    ASSERT_EQ(FRan.size(), 1);
    EXPECT_TRUE(FRan[0].contains("TUOImportFiles")) << qPrintable(FRan[0]);
    EXPECT_EQ(FCaptions, QStringList{"Importing files ..."});
    EXPECT_EQ(TargetStructures(), QStringList({"10:T1"}));
    EXPECT_EQ(TargetRows("T1"), 4);
    EXPECT_EQ(TargetText("M_HELLO", "GREETING"), "Hello");
}

INSTANTIATE_TEST_SUITE_P(Engines, AliasDropTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
