#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "appcore/security.h"
#include "errorof.h"
#include "storefixture.h"

namespace {

class TextStoreTest : public StoreTest {};

// ---- localised texts ----

const QString kMissing = QString(QChar(0));

TEST_P(TextStoreTest, TextsAreStoredPerLanguageAndListedBySection) {
    EXPECT_EQ(Loc().GetString("ST_OK", "ENGLISH"), kMissing);
    Loc().SetString("ST_OK", "ENGLISH", "OK");
    Loc().SetString("st_cancel", "english", "Cancel");
    Loc().SetString("ST_OK", "RUSSIAN", "Да");
    Loc().SetString("M_PELVAR_FORM_TITLE", "ENGLISH", "Title");
    Loc().SetString("M_PELVAR_FORM_A_LABEL", "ENGLISH", "Label");
    Loc().SetString("M_PELVAR_FORM", "ENGLISH", "The form itself");
    Loc().SetString("C_EMPTY_TEXT_X", "ENGLISH", QString());
    Loc().SetString("ST_OK", "ENGLISH", "Okay");

    for (int pass = 0; pass < 2; ++pass) {  // from the caches, then from the database
        EXPECT_EQ(Loc().GetString("st_ok", "English"), "Okay");
        EXPECT_EQ(Loc().GetString("ST_OK", "RUSSIAN"), "Да");
        EXPECT_EQ(Loc().GetString("ST_CANCEL", "RUSSIAN"), kMissing);
        EXPECT_EQ(Loc().GetString("ST_NONE", "ENGLISH"), kMissing);
        EXPECT_EQ(Loc().GetString("C_EMPTY_TEXT_X", "ENGLISH"), QString());
        EXPECT_TRUE(Loc().StringExists("C_EMPTY_TEXT_X", "ENGLISH"));
        EXPECT_FALSE(Loc().StringExists("ST_CANCEL", "RUSSIAN"));
        EXPECT_EQ(Loc().StringLanguages("ST_OK"), (QStringList{"ENGLISH", "RUSSIAN"}));

        QStringList sections;
        Loc().FillSectionList("ENGLISH", sections);
        EXPECT_EQ(sections, (QStringList{"C_EMPTY_TEXT", "M_PELVAR_FORM", "ST"})) << pass;
        Loc().FillSectionList("russian", sections);
        EXPECT_EQ(sections, QStringList{"ST"});
        Loc().FillSectionList("GERMAN", sections);
        EXPECT_TRUE(sections.isEmpty());
        Loc().FillSectionListEx({"RUSSIAN", "GERMAN"}, sections);
        EXPECT_EQ(sections, QStringList{"ST"});

        EXPECT_TRUE(Loc().SectionExist("st", "RUSSIAN"));
        EXPECT_FALSE(Loc().SectionExist("M_PELVAR_FORM", "RUSSIAN"));
        EXPECT_TRUE(Loc().SectionExist("M_PELVAR_FORM", QString()));
        EXPECT_FALSE(Loc().SectionExist("M_PELVAR", QString()));

        QStringList idents;
        Loc().FillResNames("M_PELVAR_FORM", "ENGLISH", idents);
        EXPECT_EQ(idents, (QStringList{"", "A_LABEL", "TITLE"}));
        TLResList res;
        Loc().FillResList("st", "ENGLISH", res);
        ASSERT_EQ(res.size(), 2);
        EXPECT_EQ(res[0], qMakePair(QString("CANCEL"), QString("Cancel")));
        EXPECT_EQ(res[1], qMakePair(QString("OK"), QString("Okay")));
        Loc().FillResList("M_PELVAR_FORM", "ENGLISH", res);
        ASSERT_EQ(res.size(), 3);
        EXPECT_EQ(res[0].second, "The form itself");
        EXPECT_EQ(res[1].second, "Label");
        Loc().FillResList("ST", "GERMAN", res);
        EXPECT_TRUE(res.isEmpty());
        Loc().Refresh();
    }

    EXPECT_THROW(Loc().SetString(QString(), "ENGLISH", "x"), ELocalizatorError);
    EXPECT_THROW(Loc().SetString("ST_X", QString(), "x"), ELocalizatorError);
    EXPECT_THROW(Loc().SetString("ST_X", TLocalizatorTable::kSectionMarker, "x"),
                 ELocalizatorError);
    // The section markers never answer as texts.
    EXPECT_FALSE(Loc().StringExists("ST", TLocalizatorTable::kSectionMarker));
}

TEST_P(TextStoreTest, SplitIDGivesBackWhatComposeIDJoined) {
    const QList<QPair<QString, QString>> pairs = {
        {"C_PELVAR_LOGINFORM", "ALIASLABEL_L"},
        {"M_PELVAR_DOLRES", "ALLRESOURCESCAPTION"},
        {"M_MY_EXTRA_LONG_SECTION", "TEXT"},  // more parts than the structure says
        {"M_SHORT", "A_B"},                   // fewer parts than the structure says
        {"E_ERR", "X"},
        {"K_FORM_WITH_MORE", "LABEL_1"},
        {"RT_SITE", "PAGE_TITLE"},
        {"ST", "DELETE_ALL"},
        {"S", "1"},
        {"CUSTOM_SECTION_NAME", ""},
        {"XYZ", "A_B_C"},
        {"m_lower_case", "mixed_Ident"},
        {"M_TEST_RU", "ПРИВЕТ_МИР"},
    };
    for (const auto& [section, ident] : pairs)
        Loc().SetSectionString(section, ident, "ENGLISH", section + "|" + ident);

    auto check = [&](TLocalizatorTable& loc, const char* when) {
        for (const auto& [section, ident] : pairs) {
            const QString id = TLocalizatorTable::ComposeID(section, ident);
            QString s, i;
            loc.SplitID(id, s, i);
            EXPECT_EQ(s, section.toUpper()) << when << " " << qPrintable(id);
            EXPECT_EQ(i, ident.toUpper()) << when << " " << qPrintable(id);
            EXPECT_EQ(loc.GetString(id, "ENGLISH"), section + "|" + ident) << when;
        }
        // IDs not stored but within a known section split at that section.
        QString s, i;
        loc.SplitID("M_MY_EXTRA_LONG_SECTION_OTHER", s, i);
        EXPECT_EQ(s, "M_MY_EXTRA_LONG_SECTION") << when;
        EXPECT_EQ(i, "OTHER") << when;
        // The section must be followed by "_" or the end.
        loc.SplitID("STX_A", s, i);
        EXPECT_EQ(s, "STX") << when;
        QStringList sections;
        loc.FillSectionList("ENGLISH", sections);
        EXPECT_EQ(sections.size(), pairs.size()) << when;
    };
    check(Loc(), "at once");
    Loc().Refresh();
    check(Loc(), "after Refresh");
    TLocalizatorTable fresh(Alias());
    check(fresh, "in a new store object");
    BaseMng().Databases().CloseDatabase(Alias());
    BaseMng().Databases().OpenDataBase(Alias());
    check(Loc(), "after reconnecting");
    EXPECT_EQ(TLocalizatorTable::ComposeID("st", QString()), "ST");
}

TEST_P(TextStoreTest, UnknownIDsSplitByTheirFirstComponent) {
    const QList<std::tuple<const char*, const char*, const char*>> cases = {
        {"C_PELVAR_LOGINFORM_ALIASLABEL_L", "C_PELVAR_LOGINFORM", "ALIASLABEL_L"},
        {"m_pelvar_dolres_caption", "M_PELVAR_DOLRES", "CAPTION"},
        {"E_A_B", "E_A_B", ""},
        {"E_A", "E_A", ""},
        {"K_FORM_LABEL_X", "K_FORM", "LABEL_X"},
        {"RT_SITE_TITLE", "RT_SITE", "TITLE"},
        {"ST_OK", "ST", "OK"},
        {"ST", "ST", ""},
        {"S_5", "S", "5"},
        {"CUSTOM_A_B", "CUSTOM", "A_B"},
        {"CX_A_B", "CX", "A_B"},
        {"", "", ""},
    };
    for (const auto& [id, section, ident] : cases) {
        QString s, i;
        TLocalizatorTable::StructuralSplit(QLatin1String(id), s, i);
        EXPECT_EQ(s, QLatin1String(section)) << id;
        EXPECT_EQ(i, QLatin1String(ident)) << id;
        Loc().SplitID(QLatin1String(id), s, i);
        EXPECT_EQ(s, QLatin1String(section)) << id;
        EXPECT_EQ(i, QLatin1String(ident)) << id;
    }
    // A text stored under an unknown ID makes its structural section known.
    Loc().SetString("K_FORM_LABEL_X", "ENGLISH", "x");
    EXPECT_TRUE(Loc().KnownSections().contains("K_FORM"));
    EXPECT_TRUE(Loc().SectionExist("K_FORM", "ENGLISH"));
}

TEST_P(TextStoreTest, TextChangesAreReportedPerStringAndPerSection) {
    std::vector<TLEvent> events;
    TLocalizatorNotifier notifier([&](QString id, QString lang, bool section, int kind) {
        events.emplace_back(id, lang, section, kind);
    });
    notifier.AddTo(Loc());
    auto take = [&] {
        auto result = events;
        events.clear();
        return result;
    };
    using V = std::vector<TLEvent>;

    Loc().SetString("ST_OK", "ENGLISH", "OK");
    EXPECT_EQ(take(),
              (V{{"ST", "ENGLISH", true, lckAdded}, {"ST_OK", "ENGLISH", false, lckAdded}}));
    Loc().SetString("st_ok", "english", "Okay");
    EXPECT_EQ(take(), (V{{"ST_OK", "ENGLISH", false, lckChanged}}));
    TLocalizatorTable other(Alias().toLower());  // any store object of the database
    other.SetString("ST_CANCEL", "ENGLISH", "Cancel");
    EXPECT_EQ(take(), (V{{"ST_CANCEL", "ENGLISH", false, lckAdded}}));
    EXPECT_EQ(Loc().GetString("ST_CANCEL", "ENGLISH"), "Cancel");
    Loc().SetString("ST_OK", "RUSSIAN", "Да");
    EXPECT_EQ(take(),
              (V{{"ST", "RUSSIAN", true, lckAdded}, {"ST_OK", "RUSSIAN", false, lckAdded}}));

    Loc().DeleteString("ST_OK", "RUSSIAN");
    EXPECT_EQ(take(),
              (V{{"ST_OK", "RUSSIAN", false, lckDeleted}, {"ST", "RUSSIAN", true, lckDeleted}}));
    EXPECT_EQ(Loc().GetString("ST_OK", "RUSSIAN"), kMissing);
    EXPECT_EQ(Loc().GetString("ST_OK", "ENGLISH"), "Okay");

    // Renaming a string moves it in every language and replaces the target.
    Loc().SetString("ST_ABORT", "ENGLISH", "old");
    take();
    Loc().RenameString("ST_CANCEL", "ST_ABORT");
    EXPECT_EQ(take(), (V{{"ST_ABORT", "ENGLISH", false, lckChanged},
                         {"ST_CANCEL", "ENGLISH", false, lckDeleted}}));
    EXPECT_EQ(Loc().GetString("ST_ABORT", "ENGLISH"), "Cancel");
    EXPECT_EQ(Loc().GetString("ST_CANCEL", "ENGLISH"), kMissing);
    EXPECT_THROW(Loc().RenameString("ST_NONE", "ST_X"), ELocalizatorError);

    // Deleting a string in every language.
    Loc().SetString("M_A_B_X", "ENGLISH", "x");
    Loc().SetString("M_A_B_X", "RUSSIAN", "икс");
    Loc().SetString("M_A_B_Y", "ENGLISH", "y");
    take();
    Loc().DeleteString("M_A_B_X");
    EXPECT_EQ(take(), (V{{"M_A_B_X", "ENGLISH", false, lckDeleted},
                         {"M_A_B_X", "RUSSIAN", false, lckDeleted},
                         {"M_A_B", "RUSSIAN", true, lckDeleted}}));
    EXPECT_TRUE(Loc().StringLanguages("M_A_B_X").isEmpty());

    // Renaming a section moves its texts; the old section disappears.
    Loc().RenameSection("m_a_b", "M_C_D_E");
    EXPECT_EQ(take(), (V{{"M_C_D_E", "ENGLISH", true, lckAdded},
                         {"M_C_D_E_Y", "ENGLISH", false, lckAdded},
                         {"M_A_B", "ENGLISH", true, lckDeleted}}));
    EXPECT_EQ(Loc().GetString("M_C_D_E_Y", "ENGLISH"), "y");
    EXPECT_EQ(Loc().GetString("M_A_B_Y", "ENGLISH"), kMissing);
    EXPECT_FALSE(Loc().SectionExist("M_A_B", QString()));
    QString s, i;
    Loc().SplitID("M_C_D_E_Y", s, i);
    EXPECT_EQ(s, "M_C_D_E");
    EXPECT_THROW(Loc().RenameSection("M_A_B", "M_Z"), ELocalizatorError);

    // Deleting a section in one language, then everywhere.
    Loc().SetString("ST_OK", "RUSSIAN", "Да");
    take();
    Loc().DeleteSection("ST", "RUSSIAN");
    EXPECT_EQ(take(), (V{{"ST", "RUSSIAN", true, lckDeleted}}));
    EXPECT_TRUE(Loc().SectionExist("ST", "ENGLISH"));
    Loc().DeleteSection("ST");
    EXPECT_EQ(take(), (V{{"ST", "ENGLISH", true, lckDeleted}}));
    EXPECT_FALSE(Loc().SectionExist("ST", QString()));
    EXPECT_EQ(Loc().GetString("ST_OK", "ENGLISH"), kMissing);

    Loc().Refresh();
    EXPECT_EQ(take(), (V{{"", "", true, lckReset}}));
    // What was deleted stays deleted in the database.
    EXPECT_EQ(Loc().GetString("ST_ABORT", "ENGLISH"), kMissing);
    EXPECT_EQ(Loc().GetString("M_C_D_E_Y", "ENGLISH"), "y");

    // Other databases are not reported here.
    {
        auto db = OtherDatabase();
        take();
        GetLocalizatorTable(db->Alias()).SetString("ST_OK", "ENGLISH", "x");
    }
    EXPECT_TRUE(take().empty());
}

TEST_P(TextStoreTest, AFailedSectionWriteLeavesNoSectionBehind) {
    EXPECT_THROW(Loc().SetSectionString("M_ORPHAN_SECTION_X", "A", QString(), "text"),
                 ELocalizatorError);
    EXPECT_THROW(Loc().SetSectionString(QString(), "A", "ENGLISH", "text"), ELocalizatorError);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_FALSE(Loc().KnownSections().contains("M_ORPHAN_SECTION_X")) << pass;
        QString s, i;
        Loc().SplitID("M_ORPHAN_SECTION_X_A", s, i);
        EXPECT_EQ(s, "M_ORPHAN_SECTION") << pass;
        Loc().Refresh();
    }
}

// ---- languages ----

// A new dictionary starts with the standard languages; others are stored,
// read and deleted with notifications, their names checked against their columns.
TEST_P(TextStoreTest, LanguagesAreStoredReadAndDeletedWithNotifications) {
    for (const auto& [id, language] : StandardLanguages()) {
        TOneLanguage stored;
        ASSERT_TRUE(Langs().GetLanguage(id, stored)) << qPrintable(id);
        EXPECT_EQ(stored, language) << qPrintable(id);
    }
    std::vector<TLangEvent> events;
    TLanguagesNotifier notifier([&](QString id, int kind) { events.emplace_back(id, kind); });
    notifier.AddTo(Langs());

    TOneLanguage german;
    german.RussianName = "Немецкий язык";
    german.EnglishName = "German";
    german.NativeName = "Deutsch";
    german.Font.Name = "Times New Roman";
    german.Font.Charset = 238;
    german.Font.Size = 14;
    german.Font.Style = 1 | 4;
    german.Font.Color = 0xFF8040;
    german.Font.Pitch = 2;
    EXPECT_FALSE(Langs().LanguageExist("GERMAN"));
    Langs().SetLanguage("german", german);
    EXPECT_TRUE(Langs().LanguageExist("German"));
    TOneLanguage read;
    ASSERT_TRUE(Langs().GetLanguage("GERMAN", read));
    EXPECT_EQ(read, german);
    german.NativeName = "Hochdeutsch";
    TLanguagesTable(Alias()).SetLanguage("GERMAN", german);
    ASSERT_TRUE(Langs().GetLanguage("GERMAN", read));
    EXPECT_EQ(read.NativeName, "Hochdeutsch");

    Langs().Refresh();
    ASSERT_TRUE(Langs().GetLanguage("GERMAN", read));
    EXPECT_EQ(read, german);  // as the database holds it
    QStringList names;
    Langs().FillLanguageNames(names);
    EXPECT_EQ(names, (QStringList{"DESCRIPTION", "ENGLISH", "GERMAN", "RUSSIAN"}));

    Langs().DeleteLanguage("german");
    EXPECT_FALSE(Langs().LanguageExist("GERMAN"));
    EXPECT_FALSE(Langs().GetLanguage("GERMAN", read));
    Langs().DeleteLanguage("GERMAN");  // already gone: nothing to report
    Langs().Refresh();
    EXPECT_FALSE(Langs().LanguageExist("GERMAN"));

    EXPECT_EQ(events, (std::vector<TLangEvent>{{"GERMAN", lgkAdded},
                                               {"GERMAN", lgkChanged},
                                               {"", lgkAll},
                                               {"GERMAN", lgkDeleted},
                                               {"", lgkAll}}));

    EXPECT_THROW(Langs().SetLanguage("  ", german), ELocalizatorError);
    EXPECT_THROW(Langs().SetLanguage("ABCDEFGHIJKLMNOPQ", german), ELocalizatorError);
    Langs().SetLanguage("ABCDEFGHIJKLMNOP", german);  // 16 characters fit
    EXPECT_TRUE(Langs().LanguageExist("ABCDEFGHIJKLMNOP"));
    german.EnglishName = QString(41, QLatin1Char('x'));
    const QString message =
        ErrorOf<ELocalizatorError>([&] { Langs().SetLanguage("LONG", german); });
    EXPECT_TRUE(message.contains("English name") && message.contains("LONG"))
        << qPrintable(message);
    EXPECT_FALSE(Langs().LanguageExist("LONG"));
    german.EnglishName = QString(40, QLatin1Char('x'));
    Langs().SetLanguage("LONG", german);
    EXPECT_TRUE(Langs().LanguageExist("LONG"));

    events.clear();
    {
        auto db = OtherDatabase();
        GetLanguagesTable(db->Alias()).SetLanguage("GERMAN", german);
    }
    EXPECT_TRUE(events.empty());
}

// ---- security ----

TEST_P(TextStoreTest, PrivilegesComeFromTheUsersOwnInformationStructure) {
    const QString savedUser = BaseMng().UserName();
    BaseMng().SetUserName("designer");
    // A fresh dictionary lets its first designer work.
    EXPECT_TRUE(SecurityManager().HavePrivilege("DESIGNER"));
    // Structures of other types do not count as users.
    Dsp().PutStructure("DESIGNER", kRoleStructureType, QByteArray());
    EXPECT_TRUE(SecurityManager().HavePrivilege("DESIGNER"));

    // Only another user is described: this user holds nothing.
    Dsp().PutStructure("OTHER", kUserInfoStructureType,
                       MakeUserInfo("other", {"DESIGNER"}).ToBytes());
    EXPECT_FALSE(SecurityManager().HavePrivilege("DESIGNER"));

    // The user's own structure without, then with the role.
    Dsp().PutStructure("DESIGNER", kUserInfoStructureType,
                       MakeUserInfo("designer", {"Reader"}).ToBytes());
    EXPECT_FALSE(SecurityManager().HavePrivilege("DESIGNER"));
    EXPECT_TRUE(SecurityManager().HavePrivilege("reader"));
    Dsp().PutStructure("DESIGNER", kUserInfoStructureType,
                       MakeUserInfo("designer", {"Reader", "designer"}).ToBytes());
    EXPECT_TRUE(SecurityManager().HavePrivilege("Designer"));
    EXPECT_FALSE(SecurityManager().HavePrivilege("ADMIN"));

    // A role switched off is not held.
    TDSPNode info = MakeUserInfo("designer", {"DESIGNER"});
    info.FindNode("Roles")->SetProperty("DESIGNER", false);
    Dsp().PutStructure("DESIGNER", kUserInfoStructureType, info.ToBytes());
    EXPECT_FALSE(SecurityManager().HavePrivilege("DESIGNER"));
    BaseMng().SetUserName(savedUser);
}

PELVAR_ENGINE_TESTS(TextStoreTest);

}  // namespace
