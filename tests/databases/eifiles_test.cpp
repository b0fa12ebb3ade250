#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPointer>

#include "appcore/texts.h"
#include "databases/eifilerules.h"
#include "databases/eifolders.h"
#include "databases/filecounter.h"
#include "databases/fileroot.h"
#include "databases/root.h"
#include "explorer/commonlistform.h"
#include "opkit/eifile.h"
#include "opkit/eiobjects.h"
#include "scriptedinteraction.h"
#include "structures/dspconfirmations.h"
#include "testenv.h"

namespace {

QString FilePath(const QString& name) {
    return TTestEnvironment::Instance().Dir() + "/" + name;
}

// Table data, two structures of one name, an unknown section, a language, a
// form's texts and the form: every folder, in a mixed order.
QString MakeMixedFile(const QString& name) {
    const QString path = FilePath(name);
    QFile::remove(path);
    TEIFile file(path);
    file.Create();
    TEITableData data;
    data.SetTableName("CLIENTS");
    file.AddObject(data);
    TEIDSPStructure table, proc;
    table.Item() = {"CLIENTS", 10, "CLIENTS", "", "the clients", TQXVariant()};
    proc.Item() = {"CLIENTS", 16, "",
                   "",        "", TQXVariant(QDateTime(QDate(2024, 1, 2), QTime(3, 4)))};
    file.AddObject(table);
    file.AddObject(proc);
    TEIUnknownObject odd("TEIStrange");
    odd.SetName("ODD");
    file.AddObject(odd);
    TEILanguage language;
    language.SetLanguageID("ENGLISH");
    file.AddObject(language);
    TEILResource texts;
    texts.SetSectionID("K_FORM1");
    texts.AddText("ENGLISH", "A", "a");
    file.AddObject(texts);
    TEIDSPStructure form;
    form.Item() = {"FORM1", 12, "", "", "", TQXVariant()};
    file.AddObject(form);
    return path;
}

QStringList SubPaths(const TPelvarObject* node) {
    QStringList paths;
    for (int i = 0; node && i < node->SubObjects().Count(); ++i)
        paths << node->SubObjects().Items(i)->SubPath();
    return paths;
}

QStringList SectionNames(const QString& path) {
    TEIFile file(path);
    file.Open();
    QStringList names;
    for (int i = 0; i < file.Sections().GetCount(); ++i)
        names << file.Sections().GetSections(i)->Name();
    return names;
}

class EIFileTest : public testing::Test {
  protected:
    void SetUp() override { Script().Reset(); }
    void TearDown() override {
        SetDeleteConfirmationPrompt(nullptr);
        EXPECT_EQ(FileCounter().Count(), 0);
    }
    std::unique_ptr<TDOFileRoot> OpenRoot(const QString& path) {
        auto root = std::make_unique<TDOFileRoot>(path);
        root->SetOnDataChanged([this](const QString& p) { FChanges << p; });
        EXPECT_TRUE(root->Open());
        return root;
    }
    QStringList FChanges;
};

TEST_F(EIFileTest, FoldersFollowTheFileAndTwoWindowsShareIt) {
    const QString path = MakeMixedFile("mixed.eif");
    auto first = OpenRoot(path);
    EXPECT_EQ(SubPaths(first.get()),
              QStringList({"Tables", "Structures", "Unknown", "Languages", "Resources"}));
    TPelvarObject* structures = first->SubObjects().FindBySubPath("Structures");
    // The window sorts the folders by the root's order: the file's, not the names'.
    EXPECT_LT(first->Compare(first->SubObjects().Items(0), structures, 0), 0);  // Tables first
    ASSERT_TRUE(structures->Open());
    EXPECT_EQ(SubPaths(structures), QStringList({"10:CLIENTS", "16:CLIENTS", "12:FORM1"}));
    TPelvarObject* unknown = first->SubObjects().FindBySubPath("Unknown");
    ASSERT_TRUE(unknown->Open());
    EXPECT_EQ(SubPaths(unknown), QStringList({"ODD"}));

    // The structure rows and their order by last change: a missing one last.
    auto* table = dynamic_cast<TDOEIDSPStrItem*>(structures->SubObjects().Items(0));
    auto* proc = dynamic_cast<TDOEIDSPStrItem*>(structures->SubObjects().Items(1));
    ASSERT_TRUE(table && proc);
    TListColumns columns;
    structures->CreateColumns(columns);
    TListRow row;
    table->FillListViewItem(row, columns);
    EXPECT_EQ(row.Caption, "CLIENTS");
    EXPECT_EQ(row.ImageIndex, 3);
    EXPECT_EQ(row.SubItems, QStringList({"", "the clients", "", "10"}));
    EXPECT_GT(structures->Compare(table, proc, 2), 0);
    EXPECT_LT(structures->Compare(table, proc, 6), 0);
    TDSPListItem none1, none2;
    EXPECT_EQ(EICompareStructures(none1, none2, 2), 0);

    // A second window on the file shares the file object; each close gives one use back.
    auto second = OpenRoot(path);
    EXPECT_EQ(second->EIFile, first->EIFile);
    EXPECT_EQ(FileCounter().GetUsed(path), 2);
    first->Close();
    EXPECT_EQ(FileCounter().GetUsed(path), 1);
    EXPECT_TRUE(second->Refresh());
    EXPECT_EQ(second->SubObjects().Count(), 5);
    second.reset();
    EXPECT_EQ(FileCounter().GetUsed(path), 0);
    first.reset();

    // A name that does not exist makes an empty file that shows no folders.
    const QString fresh = FilePath("fresh.eif");
    QFile::remove(fresh);
    auto empty = OpenRoot(fresh);
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_EQ(empty->SubObjects().Count(), 0);
}

TEST_F(EIFileTest, DeletesAskAndTakeRelatedSectionsAlong) {
    const QString path = MakeMixedFile("deletes.eif");
    auto root = OpenRoot(path);
    TPelvarObject* structures = root->SubObjects().FindBySubPath("Structures");
    ASSERT_TRUE(structures->Open());

    // A table structure whose data is in the file: the delete confirmation
    // offers the data; refusing it changes nothing.
    int asked = 0;
    SetDeleteConfirmationPrompt([&](TDeleteTableConfirmation& state) {
        ++asked;
        state.DeleteTableDataCheckbox.Checked = true;
        return asked > 1;
    });
    const QStringList selected{"10:CLIENTS"};
    structures->Actions().FindByName("DSP_Delete")->Execute(&selected);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(SectionNames(path).size(), 7);
    structures->Actions().FindByName("DSP_Delete")->Execute(&selected);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(SectionNames(path).contains("10:CLIENTS"));
    EXPECT_FALSE(SectionNames(path).contains("CLIENTS"));  // the table data went along
    EXPECT_TRUE(FChanges.contains("\\Tables"));
    EXPECT_EQ(root->RefreshItem("Tables"), ctItemDeleted);
    EXPECT_EQ(structures->RefreshItem("10:CLIENTS"), ctItemDeleted);
    EXPECT_EQ(SubPaths(structures), QStringList({"16:CLIENTS", "12:FORM1"}));

    // Two folders at once: one question for both, then their sections go.
    Script().AnswerMessage(IDNO);
    Script().AnswerMessage(IDYES);
    const QStringList folders{"Unknown", "Languages"};
    root->DeleteFolders(folders);
    EXPECT_EQ(SectionNames(path).size(), 5);
    root->DeleteFolders(folders);
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_EQ(Script().Asked[1].Text, LString("M_Pelvar_DORoot_MultiDeleteConfirm"));
    EXPECT_EQ(SectionNames(path), QStringList({"16:CLIENTS", "K_FORM1", "12:FORM1"}));
    EXPECT_EQ(root->RefreshItem("Unknown"), ctItemDeleted);
    EXPECT_TRUE(root->Refresh());
    EXPECT_EQ(SubPaths(root.get()), QStringList({"Structures", "Resources"}));
}

TEST_F(EIFileTest, CorruptFileGivesOneErrorAndNoWindowReadOnlyRefusesDrops) {
    TCommonListForm::SetRootFactory([](const QString& file) -> std::unique_ptr<TPelvarObject> {
        if (file.isEmpty()) return std::make_unique<TDORoot>();
        return std::make_unique<TDOFileRoot>(file);
    });
    const QString path = MakeMixedFile("corrupt.eif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    lines[3] = "this is not what a section holds";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join('\n'));
    file.close();
    Script().AnswerFile(path);
    QString error;
    try {
        TCommonListForm::OpenImportFileWindow();
    } catch (const EPelvarError& e) {
        error = e.Message();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(error.contains(path)) << qPrintable(error);
    EXPECT_TRUE(error.contains("line 4")) << qPrintable(error);
    EXPECT_TRUE(TCommonListForm::Windows().isEmpty());
    EXPECT_EQ(FileCounter().Count(), 0);

    // A new export file opens a window on it; a section cut off while it was
    // written is left out and reported once.
    const QString created = FilePath("created.eif");
    QFile::remove(created);
    Script().AnswerFile(created);
    QPointer<TCommonListForm> window = TCommonListForm::CreateExportFileWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->IsFileRoot());
    EXPECT_EQ(window->RootObject()->SubObjects().Count(), 0);
    delete window.data();
    const QString cut = MakeMixedFile("cut.eif");
    QFile tail(cut);
    ASSERT_TRUE(tail.open(QIODevice::ReadOnly));
    QList<QByteArray> all = tail.readAll().split('\n');
    tail.close();
    qsizetype last = all.size() - 1;
    while (last > 0 && !all[last].startsWith("SECTION"))
        --last;
    ASSERT_TRUE(tail.open(QIODevice::Append));
    tail.write(all.mid(last, all.size() - last - 2).join('\n') + '\n');  // no END
    tail.close();
    Script().AnswerMessage(IDOK);
    {
        auto root = OpenRoot(cut);
        EXPECT_EQ(SectionNames(cut).size(), 7);
    }
    ASSERT_FALSE(Script().Asked.isEmpty());
    EXPECT_TRUE(Script().Asked.last().Text.contains(cut)) << qPrintable(Script().Asked.last().Text);

    // A file we may not write: marked in the tree, and nothing is dropped on it.
    auto root = OpenRoot(MakeMixedFile("readonly.eif"));
    root->EIFile->SetReadOnly(true);
    TTreeNodeItem node;
    root->FillTreeViewItem(node);
    EXPECT_EQ(node.Text, "readonly.eif " + LString("M_Pelvar_DOEIObj_ReadOnlyMark"));
    TPelvarObjectList none;
    EXPECT_FALSE(root->InternalAcceptDragObject({"DB"}, none));
}

}  // namespace
