#include <gtest/gtest.h>

#include <QLineEdit>

#include "appcore/languages.h"
#include "appcore/platform.h"
#include "localres/languagesfolder.h"
#include "localres/lcontainer.h"
#include "localres/lresdialogs.h"
#include "localres/lsection.h"
#include "lresfixture.h"
#include "model/dragobject.h"
#include "opkit/lresoperations.h"
#include "scriptedinteraction.h"

namespace {

class LResFoldersTest : public LResTest {};

// Answers the next ID entry with `id` (OK), as a user typing it would.
void AnswerID(const QString& id) {
    Script().AnswerModal([id](QObject* form) {
        auto* f = qobject_cast<TLNameSelectForm*>(form);
        f->IDEdit()->setText(id);
        f->TryAccept();
        return f->result() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
}

TEST(LResClassification, EveryPrefixGoesToItsFolders) {
    const struct {
        const char* Section;
        const char* Folder;  // the typed folder, or "" for Unknown
        bool System, Custom;
    } cases[] = {
        {"C_MAIN_FORM", "TDOLSystemForms", true, false},
        {"c_lower_form", "TDOLSystemForms", true, false},
        {"M_PELVAR_X", "TDOLMessages", true, false},
        {"E_DB_ERR", "TDOLErrors", true, false},
        {"ST", "TDOLStandardResources", true, false},
        {"ST_MORE", "", false, false},
        {"K_MYFORM", "TDOLCustomForms", false, true},
        {"S", "TDOLStatuses", false, true},
        {"S_X", "", false, false},
        {"RT_PAGE", "TDOLInternet", false, true},
        {"RTX", "", false, false},
        {"XC_A", "", false, false},
        {"C", "", false, false},
    };
    std::vector<std::unique_ptr<TDOLContainer>> folders;
    folders.push_back(std::make_unique<TDOLSystemForms>());
    folders.push_back(std::make_unique<TDOLMessages>());
    folders.push_back(std::make_unique<TDOLErrors>());
    folders.push_back(std::make_unique<TDOLStandardResources>());
    folders.push_back(std::make_unique<TDOLCustomForms>());
    folders.push_back(std::make_unique<TDOLStatuses>());
    folders.push_back(std::make_unique<TDOLInternet>());
    TDOLUnknownResources unknown;
    TDOSystemLocalResources system;
    TDOCustomLocalResources custom;
    TDOLAllResources all;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Section);
        for (const auto& f : folders)
            EXPECT_EQ(f->AcceptSection(c.Section), f->ClassName() == c.Folder)
                << qPrintable(f->ClassName());
        EXPECT_EQ(unknown.AcceptSection(c.Section), QString(c.Folder).isEmpty());
        EXPECT_EQ(system.AcceptSection(c.Section), c.System);
        EXPECT_EQ(custom.AcceptSection(c.Section), c.Custom);
        EXPECT_TRUE(all.AcceptSection(c.Section));
    }
    EXPECT_TRUE(system.IsLContainerAccepted("TDOLErrors"));
    EXPECT_FALSE(system.IsLContainerAccepted("TDOLStatuses"));
    EXPECT_TRUE(custom.IsLContainerAccepted("TDOLInternet"));
    EXPECT_FALSE(unknown.IsLContainerAccepted("TDOLMessages"));
    EXPECT_TRUE(all.IsLContainerAccepted("TDOLMessages"));
    EXPECT_EQ(folders[0]->GetIDPrefix(), "C");
    EXPECT_EQ(unknown.GetIDPrefix(), "");
}

TEST(LResClassification, IDEntryTakesLettersDigitsAndUnderscoreOnly) {
    EXPECT_TRUE(IsValidLName("C_Main_2"));
    for (const char* bad : {"", "A B", "A-B", "ÄB", "A.B"})
        EXPECT_FALSE(IsValidLName(QString::fromUtf8(bad))) << bad;
}

TEST_P(LResFoldersTest, StringsAddedRenamedAndDeletedAreSeenLiveInASecondTree) {
    Put("C_MAIN_FORM", "OK", {"OK", "Да"});
    TPelvarObject* forms = Open("LocalResources\\System\\Forms");
    ASSERT_NE(forms, nullptr);
    EXPECT_EQ(SubPaths(forms), QStringList({"C_MAIN_FORM"}));
    auto* section = dynamic_cast<TDOLSection*>(Open("LocalResources\\System\\Forms\\C_MAIN_FORM"));
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(SubPaths(section), QStringList({"OK"}));
    EXPECT_EQ(SubPaths(Open("LocalResources\\Unknown")), QStringList());

    // A second tree over the same database hears every write.
    TDORoot second;
    QStringList heard;
    second.SetOnDataChanged([&](const QString& path) { heard << path; });
    ASSERT_TRUE(second.Open());
    TPelvarObject* node = &second;
    for (const QString& part : QString(Alias() + "\\LocalResources\\All").split('\\')) {
        node = node->SubObjects().FindBySubPath(part);
        ASSERT_NE(node, nullptr);
        node->Open();
    }
    Put("M_NEW_SECTION", "TEXT", {"Hello"}, {BaseMng().CurrentLanguage()});
    EXPECT_TRUE(heard.contains(PathOf("LocalResources\\All\\M_NEW_SECTION")))
        << qPrintable(heard.join(" | "));
    EXPECT_EQ(node->RefreshItem("M_NEW_SECTION"), ctItemAdded);

    // The section node reports its own path for a string of it.
    FChanges.clear();
    Texts().SetString("C_MAIN_FORM_CANCEL", BaseMng().CurrentLanguage(), "Cancel");
    EXPECT_TRUE(FChanges.contains(section->FullPath()));
    EXPECT_EQ(section->RefreshItem("CANCEL"), ctItemChanged);
    EXPECT_EQ(SubPaths(section), QStringList({"OK", "CANCEL"}));

    // Rename a string through its properties.
    auto* ok = dynamic_cast<TDOLResource*>(section->SubObjects().FindBySubPath("OK"));
    ASSERT_NE(ok, nullptr);
    AnswerID("C_MAIN_FORM_YES");
    ok->EditProperties();
    EXPECT_EQ(Texts().GetString("C_MAIN_FORM_YES", "RUSSIAN"), "Да");
    EXPECT_FALSE(Texts().StringExists("C_MAIN_FORM_OK", "ENGLISH"));
    section->Refresh();
    EXPECT_EQ(SubPaths(section), QStringList({"CANCEL", "YES"}));

    // Delete one (no progress window) after the question; then the section goes.
    Script().AnswerMessage(IDYES);
    const QStringList selected{"YES"};
    section->Actions().FindByName("LRES_Delete")->Execute(&selected);
    EXPECT_EQ(FRan, QStringList({"TUODeleteLResource"}));
    EXPECT_FALSE(Texts().StringExists("C_MAIN_FORM_YES", "RUSSIAN"));
}

TEST_P(LResFoldersTest, SectionsAreDeletedAfterTheQuestionThatCountsThem) {
    Put("M_A_B", "X", {"x", "х"});
    Put("M_C_D", "Y", {"y", "у"});
    Put("M_E_F", "Z", {"z", "з"});
    auto* folder = dynamic_cast<TDOLFolder*>(Open("LocalResources\\System\\Messages"));
    ASSERT_NE(folder, nullptr);
    Script().AnswerMessage(IDNO);
    folder->DeleteSelected({"M_A_B", "M_C_D"});
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("2")) << qPrintable(Script().Asked[0].Text);
    EXPECT_TRUE(FRan.isEmpty());
    Script().AnswerMessage(IDYES);
    folder->DeleteSelected({"M_A_B", "M_C_D"});
    EXPECT_EQ(FRan, QStringList({"TUODeleteLSections"}));
    QStringList left;
    Texts().FillSectionListEx({"ENGLISH", "RUSSIAN"}, left);
    EXPECT_EQ(left, QStringList({"M_E_F"}));
}

TEST_P(LResFoldersTest, RenamingASectionMovesTheIdentsOfEveryLanguage) {
    Put("K_OLD", "A", {"a"}, {"ENGLISH"});
    Put("K_OLD", "B", {"b"}, {"RUSSIAN"});
    auto* section = dynamic_cast<TDOLSection*>(Open("LocalResources\\Custom\\Forms\\K_OLD"));
    ASSERT_NE(section, nullptr);
    AnswerID("k_old");  // the same ID in other letters: nothing to do
    section->EditProperties();
    EXPECT_TRUE(Script().Asked.size() == 1 && Script().Asked[0].Kind == "modal");
    AnswerID("K_NEW");
    Script().AnswerMessage(IDYES);
    section->EditProperties();
    EXPECT_EQ(Texts().GetString("K_NEW_A", "ENGLISH"), "a");
    EXPECT_EQ(Texts().GetString("K_NEW_B", "RUSSIAN"), "b");
    EXPECT_FALSE(Texts().SectionExist("K_OLD", QString()));
}

TEST_P(LResFoldersTest, ASectionIsCopiedToAnotherDatabaseWithAllItsLanguages) {
    const QString other = AddDatabase("OTHERDB");
    Put("C_COPY_ME", "ONE", {"one", "один"});
    Put("C_COPY_ME", "TWO", {"two", "два"});
    Put("C_COPY_ME", "ONE", {"old"}, {"ENGLISH"}, other);
    Put("C_COPY_ME", "KEEP", {"kept"}, {"ENGLISH"}, other);
    auto* source = dynamic_cast<TDOLSection*>(Open("LocalResources\\All\\C_COPY_ME"));
    ASSERT_NE(source, nullptr);
    TPelvarObjectList dragged;
    dragged.AddCopyOf(*source);
    TDORoot target;
    ASSERT_TRUE(target.Open());
    TPelvarObject* node = &target;
    for (const QString& part : QString(other + "\\LocalResources\\System").split('\\')) {
        node = node->SubObjects().FindBySubPath(part);
        ASSERT_NE(node, nullptr);
        node->Open();
    }
    auto* system = dynamic_cast<TDOLContainer*>(node);
    ASSERT_NE(system, nullptr);
    // From the same database a drop is refused.
    EXPECT_FALSE(system->InternalAcceptDragObject({other, "LocalResources"}, dragged));
    ASSERT_TRUE(system->InternalAcceptDragObject({Alias(), "LocalResources", "All"}, dragged));
    system->InternalDragObjectDropped({Alias(), "LocalResources", "All"}, dragged);
    EXPECT_EQ(FRan, QStringList({"TUOCopyLSections"}));
    TLocalizatorTable& copy = Texts(other);
    EXPECT_EQ(copy.GetString("C_COPY_ME_ONE", "ENGLISH"), "one");
    EXPECT_EQ(copy.GetString("C_COPY_ME_ONE", "RUSSIAN"), "один");
    EXPECT_EQ(copy.GetString("C_COPY_ME_TWO", "RUSSIAN"), "два");
    EXPECT_EQ(copy.GetString("C_COPY_ME_KEEP", "ENGLISH"), "kept");
}

TEST_P(LResFoldersTest, LanguagesAreCopiedWithTheOverwriteQuestion) {
    const QString other = AddDatabase("LANGDB");
    TOneLanguage german;
    german.EnglishName = "German";
    GetLanguagesTable(Alias()).SetLanguage("GERMAN", german);
    TOneLanguage english;
    english.EnglishName = "English (source)";
    GetLanguagesTable(Alias()).SetLanguage("ENGLISH", english);
    TOneLanguage mine;
    mine.EnglishName = "English (target)";
    GetLanguagesTable(other).SetLanguage("ENGLISH", mine);
    auto* languages = dynamic_cast<TDOLanguages*>(Open("Languages"));
    ASSERT_NE(languages, nullptr);
    TPelvarObjectList dragged;
    for (const char* id : {"ENGLISH", "GERMAN"})
        dragged.AddCopyOf(*languages->SubObjects().FindBySubPath(id));
    TDORoot target;
    ASSERT_TRUE(target.Open());
    TPelvarObject* alias = target.SubObjects().FindBySubPath(other);
    ASSERT_NE(alias, nullptr);
    alias->Open();
    auto* folder = dynamic_cast<TDOLanguages*>(alias->SubObjects().FindBySubPath("Languages"));
    ASSERT_NE(folder, nullptr);
    EXPECT_FALSE(folder->InternalAcceptDragObject({other, "Languages"}, dragged));
    ASSERT_TRUE(folder->InternalAcceptDragObject({Alias(), "Languages"}, dragged));
    Script().AnswerMessage(IDNO);  // keep the target's English
    folder->InternalDragObjectDropped({Alias(), "Languages"}, dragged);
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked[0].Text.contains("ENGLISH"));
    TOneLanguage read;
    ASSERT_TRUE(GetLanguagesTable(other).GetLanguage("ENGLISH", read));
    EXPECT_EQ(read.EnglishName, "English (target)");
    ASSERT_TRUE(GetLanguagesTable(other).GetLanguage("GERMAN", read));
    EXPECT_EQ(read.EnglishName, "German");
    Script().AnswerMessage(IDYES);
    folder->InternalDragObjectDropped({Alias(), "Languages"}, dragged);
    ASSERT_TRUE(GetLanguagesTable(other).GetLanguage("ENGLISH", read));
    EXPECT_EQ(read.EnglishName, "English (source)");
}

TEST_P(LResFoldersTest, DescriptionSortsFirstAndBadInputChangesNothing) {
    auto* languages = dynamic_cast<TDOLanguages*>(Open("Languages"));
    ASSERT_NE(languages, nullptr);
    TDOLanguage a, d;
    a.SetLanguageID("AAA");
    d.SetLanguageID("DESCRIPTION");
    EXPECT_LT(languages->Compare(&d, &a, 0), 0);

    // A string ID of 1,000 characters and one without a section are refused.
    EXPECT_THROW(CheckNewStringID(QString(1000, 'A')), EPelvarError);
    auto* all = dynamic_cast<TDOLContainer*>(Open("LocalResources\\All"));
    ASSERT_NE(all, nullptr);
    AnswerID("_NOSECTION");
    EXPECT_THROW(all->AddString(), EPelvarError);
    // A language name that is too long is refused before anything is stored.
    Script().AnswerModal([](QObject* form) {
        auto* f = form->findChild<QLineEdit*>("IDEdit");
        f->setText("KLINGON");
        form->findChild<QLineEdit*>("EnglishNameEdit")->setMaxLength(1000);
        form->findChild<QLineEdit*>("EnglishNameEdit")->setText(QString(41, 'k'));
        return IDOK;
    });
    EXPECT_THROW(languages->AddLanguage(), EPelvarError);
    EXPECT_FALSE(GetLanguagesTable(Alias()).LanguageExist("KLINGON"));
    QStringList sections;
    Texts().FillSectionListEx({"ENGLISH", "RUSSIAN"}, sections);
    EXPECT_TRUE(sections.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, LResFoldersTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
