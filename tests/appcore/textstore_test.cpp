#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "appcore/security.h"
#include "storefixture.h"

namespace {

class TextStoreTest : public StoreTest {};

// ---- localised texts ----

const QString kMissing = QString(QChar(0));

TEST_P(TextStoreTest, TextsAreStoredPerLanguageAndListedBySection) {
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH")), kMissing);
    Loc().SetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH"), QStringLiteral("OK"));
    Loc().SetString(QStringLiteral("st_cancel"), QStringLiteral("english"),
                    QStringLiteral("Cancel"));
    Loc().SetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN"), QStringLiteral("Да"));
    Loc().SetString(QStringLiteral("M_PELVAR_FORM_TITLE"), QStringLiteral("ENGLISH"),
                    QStringLiteral("Title"));
    Loc().SetString(QStringLiteral("M_PELVAR_FORM_A_LABEL"), QStringLiteral("ENGLISH"),
                    QStringLiteral("Label"));
    Loc().SetString(QStringLiteral("M_PELVAR_FORM"), QStringLiteral("ENGLISH"),
                    QStringLiteral("The form itself"));
    Loc().SetString(QStringLiteral("C_EMPTY_TEXT_X"), QStringLiteral("ENGLISH"), QString());
    Loc().SetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH"), QStringLiteral("Okay"));

    for (int pass = 0; pass < 2; ++pass) {  // from the caches, then from the database
        EXPECT_EQ(Loc().GetString(QStringLiteral("st_ok"), QStringLiteral("English")),
                  QStringLiteral("Okay"));
        EXPECT_EQ(Loc().GetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN")),
                  QStringLiteral("Да"));
        EXPECT_EQ(Loc().GetString(QStringLiteral("ST_CANCEL"), QStringLiteral("RUSSIAN")),
                  kMissing);
        EXPECT_EQ(Loc().GetString(QStringLiteral("ST_NONE"), QStringLiteral("ENGLISH")), kMissing);
        EXPECT_EQ(Loc().GetString(QStringLiteral("C_EMPTY_TEXT_X"), QStringLiteral("ENGLISH")),
                  QString());
        EXPECT_TRUE(
            Loc().StringExists(QStringLiteral("C_EMPTY_TEXT_X"), QStringLiteral("ENGLISH")));
        EXPECT_FALSE(Loc().StringExists(QStringLiteral("ST_CANCEL"), QStringLiteral("RUSSIAN")));
        EXPECT_EQ(Loc().StringLanguages(QStringLiteral("ST_OK")),
                  (QStringList{"ENGLISH", "RUSSIAN"}));

        QStringList sections;
        Loc().FillSectionList(QStringLiteral("ENGLISH"), sections);
        EXPECT_EQ(sections, (QStringList{"C_EMPTY_TEXT", "M_PELVAR_FORM", "ST"})) << pass;
        Loc().FillSectionList(QStringLiteral("russian"), sections);
        EXPECT_EQ(sections, QStringList{"ST"});
        Loc().FillSectionList(QStringLiteral("GERMAN"), sections);
        EXPECT_TRUE(sections.isEmpty());
        Loc().FillSectionListEx({QStringLiteral("RUSSIAN"), QStringLiteral("GERMAN")}, sections);
        EXPECT_EQ(sections, QStringList{"ST"});

        EXPECT_TRUE(Loc().SectionExist(QStringLiteral("st"), QStringLiteral("RUSSIAN")));
        EXPECT_FALSE(
            Loc().SectionExist(QStringLiteral("M_PELVAR_FORM"), QStringLiteral("RUSSIAN")));
        EXPECT_TRUE(Loc().SectionExist(QStringLiteral("M_PELVAR_FORM"), QString()));
        EXPECT_FALSE(Loc().SectionExist(QStringLiteral("M_PELVAR"), QString()));

        QStringList idents;
        Loc().FillResNames(QStringLiteral("M_PELVAR_FORM"), QStringLiteral("ENGLISH"), idents);
        EXPECT_EQ(idents, (QStringList{"", "A_LABEL", "TITLE"}));
        TLResList res;
        Loc().FillResList(QStringLiteral("st"), QStringLiteral("ENGLISH"), res);
        ASSERT_EQ(res.size(), 2);
        EXPECT_EQ(res[0], qMakePair(QStringLiteral("CANCEL"), QStringLiteral("Cancel")));
        EXPECT_EQ(res[1], qMakePair(QStringLiteral("OK"), QStringLiteral("Okay")));
        Loc().FillResList(QStringLiteral("M_PELVAR_FORM"), QStringLiteral("ENGLISH"), res);
        ASSERT_EQ(res.size(), 3);
        EXPECT_EQ(res[0].second, QStringLiteral("The form itself"));
        EXPECT_EQ(res[1].second, QStringLiteral("Label"));
        Loc().FillResList(QStringLiteral("ST"), QStringLiteral("GERMAN"), res);
        EXPECT_TRUE(res.isEmpty());
        Loc().Refresh();
    }

    EXPECT_THROW(Loc().SetString(QString(), QStringLiteral("ENGLISH"), "x"), ELocalizatorError);
    EXPECT_THROW(Loc().SetString(QStringLiteral("ST_X"), QString(), "x"), ELocalizatorError);
    EXPECT_THROW(Loc().SetString(QStringLiteral("ST_X"), TLocalizatorTable::kSectionMarker, "x"),
                 ELocalizatorError);
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
        Loc().SetSectionString(section, ident, QStringLiteral("ENGLISH"), section + "|" + ident);

    auto check = [&](TLocalizatorTable& loc, const char* when) {
        for (const auto& [section, ident] : pairs) {
            const QString id = TLocalizatorTable::ComposeID(section, ident);
            QString s, i;
            loc.SplitID(id, s, i);
            EXPECT_EQ(s, section.toUpper()) << when << " " << qPrintable(id);
            EXPECT_EQ(i, ident.toUpper()) << when << " " << qPrintable(id);
            EXPECT_EQ(loc.GetString(id, QStringLiteral("ENGLISH")), section + "|" + ident) << when;
        }
        // IDs not stored but within a known section split at that section.
        QString s, i;
        loc.SplitID(QStringLiteral("M_MY_EXTRA_LONG_SECTION_OTHER"), s, i);
        EXPECT_EQ(s, QStringLiteral("M_MY_EXTRA_LONG_SECTION")) << when;
        EXPECT_EQ(i, QStringLiteral("OTHER")) << when;
        // The section must be followed by "_" or the end.
        loc.SplitID(QStringLiteral("STX_A"), s, i);
        EXPECT_EQ(s, QStringLiteral("STX")) << when;
        QStringList sections;
        loc.FillSectionList(QStringLiteral("ENGLISH"), sections);
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
    EXPECT_EQ(TLocalizatorTable::ComposeID(QStringLiteral("st"), QString()), QStringLiteral("ST"));
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
    Loc().SetString(QStringLiteral("K_FORM_LABEL_X"), QStringLiteral("ENGLISH"), "x");
    EXPECT_TRUE(Loc().KnownSections().contains(QStringLiteral("K_FORM")));
    EXPECT_TRUE(Loc().SectionExist(QStringLiteral("K_FORM"), QStringLiteral("ENGLISH")));
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

    Loc().SetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH"), QStringLiteral("OK"));
    EXPECT_EQ(take(),
              (V{{"ST", "ENGLISH", true, lckAdded}, {"ST_OK", "ENGLISH", false, lckAdded}}));
    Loc().SetString(QStringLiteral("st_ok"), QStringLiteral("english"), QStringLiteral("Okay"));
    EXPECT_EQ(take(), (V{{"ST_OK", "ENGLISH", false, lckChanged}}));
    TLocalizatorTable other(Alias().toLower());  // any store object of the database
    other.SetString(QStringLiteral("ST_CANCEL"), QStringLiteral("ENGLISH"),
                    QStringLiteral("Cancel"));
    EXPECT_EQ(take(), (V{{"ST_CANCEL", "ENGLISH", false, lckAdded}}));
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_CANCEL"), QStringLiteral("ENGLISH")),
              QStringLiteral("Cancel"));
    Loc().SetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN"), QStringLiteral("Да"));
    EXPECT_EQ(take(),
              (V{{"ST", "RUSSIAN", true, lckAdded}, {"ST_OK", "RUSSIAN", false, lckAdded}}));

    Loc().DeleteString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN"));
    EXPECT_EQ(take(),
              (V{{"ST_OK", "RUSSIAN", false, lckDeleted}, {"ST", "RUSSIAN", true, lckDeleted}}));
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN")), kMissing);
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH")),
              QStringLiteral("Okay"));

    // Renaming a string moves it in every language and replaces the target.
    Loc().SetString(QStringLiteral("ST_ABORT"), QStringLiteral("ENGLISH"), QStringLiteral("old"));
    take();
    Loc().RenameString(QStringLiteral("ST_CANCEL"), QStringLiteral("ST_ABORT"));
    EXPECT_EQ(take(), (V{{"ST_ABORT", "ENGLISH", false, lckChanged},
                         {"ST_CANCEL", "ENGLISH", false, lckDeleted}}));
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_ABORT"), QStringLiteral("ENGLISH")),
              QStringLiteral("Cancel"));
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_CANCEL"), QStringLiteral("ENGLISH")), kMissing);
    EXPECT_THROW(Loc().RenameString(QStringLiteral("ST_NONE"), QStringLiteral("ST_X")),
                 ELocalizatorError);

    // Deleting a string in every language.
    Loc().SetString(QStringLiteral("M_A_B_X"), QStringLiteral("ENGLISH"), "x");
    Loc().SetString(QStringLiteral("M_A_B_X"), QStringLiteral("RUSSIAN"), "икс");
    Loc().SetString(QStringLiteral("M_A_B_Y"), QStringLiteral("ENGLISH"), "y");
    take();
    Loc().DeleteString(QStringLiteral("M_A_B_X"));
    EXPECT_EQ(take(), (V{{"M_A_B_X", "ENGLISH", false, lckDeleted},
                         {"M_A_B_X", "RUSSIAN", false, lckDeleted},
                         {"M_A_B", "RUSSIAN", true, lckDeleted}}));
    EXPECT_TRUE(Loc().StringLanguages(QStringLiteral("M_A_B_X")).isEmpty());

    // Renaming a section moves its texts; the old section disappears.
    Loc().RenameSection(QStringLiteral("m_a_b"), QStringLiteral("M_C_D_E"));
    EXPECT_EQ(take(), (V{{"M_C_D_E", "ENGLISH", true, lckAdded},
                         {"M_C_D_E_Y", "ENGLISH", false, lckAdded},
                         {"M_A_B", "ENGLISH", true, lckDeleted}}));
    EXPECT_EQ(Loc().GetString(QStringLiteral("M_C_D_E_Y"), QStringLiteral("ENGLISH")), "y");
    EXPECT_EQ(Loc().GetString(QStringLiteral("M_A_B_Y"), QStringLiteral("ENGLISH")), kMissing);
    EXPECT_FALSE(Loc().SectionExist(QStringLiteral("M_A_B"), QString()));
    QString s, i;
    Loc().SplitID(QStringLiteral("M_C_D_E_Y"), s, i);
    EXPECT_EQ(s, QStringLiteral("M_C_D_E"));
    EXPECT_THROW(Loc().RenameSection(QStringLiteral("M_A_B"), QStringLiteral("M_Z")),
                 ELocalizatorError);

    // Deleting a section in one language, then everywhere.
    Loc().SetString(QStringLiteral("ST_OK"), QStringLiteral("RUSSIAN"), QStringLiteral("Да"));
    take();
    Loc().DeleteSection(QStringLiteral("ST"), QStringLiteral("RUSSIAN"));
    EXPECT_EQ(take(), (V{{"ST", "RUSSIAN", true, lckDeleted}}));
    EXPECT_TRUE(Loc().SectionExist(QStringLiteral("ST"), QStringLiteral("ENGLISH")));
    Loc().DeleteSection(QStringLiteral("ST"));
    EXPECT_EQ(take(), (V{{"ST", "ENGLISH", true, lckDeleted}}));
    EXPECT_FALSE(Loc().SectionExist(QStringLiteral("ST"), QString()));
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_OK"), QStringLiteral("ENGLISH")), kMissing);

    Loc().Refresh();
    EXPECT_EQ(take(), (V{{"", "", true, lckReset}}));
    // What was deleted stays deleted in the database.
    EXPECT_EQ(Loc().GetString(QStringLiteral("ST_ABORT"), QStringLiteral("ENGLISH")), kMissing);
    EXPECT_EQ(Loc().GetString(QStringLiteral("M_C_D_E_Y"), QStringLiteral("ENGLISH")), "y");

    // Other databases are not reported here.
    {
        auto db = OtherDatabase();
        take();
        GetLocalizatorTable(db->Alias()).SetString(QStringLiteral("ST_OK"), "ENGLISH", "x");
    }
    EXPECT_TRUE(take().empty());
}

TEST_P(TextStoreTest, AFailedSectionWriteLeavesNoSectionBehind) {
    EXPECT_THROW(Loc().SetSectionString(QStringLiteral("M_ORPHAN_SECTION_X"), QStringLiteral("A"),
                                        QString(), QStringLiteral("text")),
                 ELocalizatorError);
    EXPECT_THROW(Loc().SetSectionString(QString(), QStringLiteral("A"), QStringLiteral("ENGLISH"),
                                        QStringLiteral("text")),
                 ELocalizatorError);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_FALSE(Loc().KnownSections().contains(QStringLiteral("M_ORPHAN_SECTION_X"))) << pass;
        QString s, i;
        Loc().SplitID(QStringLiteral("M_ORPHAN_SECTION_X_A"), s, i);
        EXPECT_EQ(s, QStringLiteral("M_ORPHAN_SECTION")) << pass;
        Loc().Refresh();
    }
}

// ---- languages ----

TEST_P(TextStoreTest, NewDictionariesStartWithTheStandardLanguages) {
    for (int pass = 0; pass < 2; ++pass) {
        QStringList names;
        Langs().FillLanguageNames(names);
        EXPECT_EQ(names, (QStringList{"DESCRIPTION", "ENGLISH", "RUSSIAN"}));
        TLanguageStrings info;
        Langs().FillLanguageInfo(info);
        const TLanguageStrings standard = StandardLanguages();
        ASSERT_EQ(info.size(), standard.size());
        for (const auto& [id, language] : standard) {
            TOneLanguage stored;
            ASSERT_TRUE(Langs().GetLanguage(id, stored)) << qPrintable(id);
            EXPECT_EQ(stored, language) << qPrintable(id);
        }
        Langs().Refresh();
    }
}

TEST_P(TextStoreTest, LanguagesAreStoredReadAndDeletedWithNotifications) {
    std::vector<TLangEvent> events;
    TLanguagesNotifier notifier([&](QString id, int kind) { events.emplace_back(id, kind); });
    notifier.AddTo(Langs());

    TOneLanguage german;
    german.RussianName = QStringLiteral("Немецкий язык");
    german.EnglishName = QStringLiteral("German");
    german.NativeName = QStringLiteral("Deutsch");
    german.Font.Name = QStringLiteral("Times New Roman");
    german.Font.Charset = 238;
    german.Font.Size = 14;
    german.Font.Style = 1 | 4;
    german.Font.Color = 0xFF8040;
    german.Font.Pitch = 2;
    EXPECT_FALSE(Langs().LanguageExist(QStringLiteral("GERMAN")));
    Langs().SetLanguage(QStringLiteral("german"), german);
    EXPECT_TRUE(Langs().LanguageExist(QStringLiteral("German")));
    TOneLanguage read;
    ASSERT_TRUE(Langs().GetLanguage(QStringLiteral("GERMAN"), read));
    EXPECT_EQ(read, german);
    german.NativeName = QStringLiteral("Hochdeutsch");
    TLanguagesTable(Alias()).SetLanguage(QStringLiteral("GERMAN"), german);
    ASSERT_TRUE(Langs().GetLanguage(QStringLiteral("GERMAN"), read));
    EXPECT_EQ(read.NativeName, QStringLiteral("Hochdeutsch"));

    Langs().Refresh();
    ASSERT_TRUE(Langs().GetLanguage(QStringLiteral("GERMAN"), read));
    EXPECT_EQ(read, german);  // as the database holds it
    QStringList names;
    Langs().FillLanguageNames(names);
    EXPECT_EQ(names, (QStringList{"DESCRIPTION", "ENGLISH", "GERMAN", "RUSSIAN"}));

    Langs().DeleteLanguage(QStringLiteral("german"));
    EXPECT_FALSE(Langs().LanguageExist(QStringLiteral("GERMAN")));
    EXPECT_FALSE(Langs().GetLanguage(QStringLiteral("GERMAN"), read));
    Langs().DeleteLanguage(QStringLiteral("GERMAN"));  // already gone: nothing to report
    Langs().Refresh();
    EXPECT_FALSE(Langs().LanguageExist(QStringLiteral("GERMAN")));

    EXPECT_EQ(events, (std::vector<TLangEvent>{{"GERMAN", lgkAdded},
                                               {"GERMAN", lgkChanged},
                                               {"", lgkAll},
                                               {"GERMAN", lgkDeleted},
                                               {"", lgkAll}}));

    EXPECT_THROW(Langs().SetLanguage(QStringLiteral("  "), german), ELocalizatorError);
    EXPECT_THROW(Langs().SetLanguage(QStringLiteral("ABCDEFGHIJKLMNOPQ"), german),
                 ELocalizatorError);
    Langs().SetLanguage(QStringLiteral("ABCDEFGHIJKLMNOP"), german);  // 16 characters fit
    EXPECT_TRUE(Langs().LanguageExist(QStringLiteral("ABCDEFGHIJKLMNOP")));

    events.clear();
    {
        auto db = OtherDatabase();
        GetLanguagesTable(db->Alias()).SetLanguage(QStringLiteral("GERMAN"), german);
    }
    EXPECT_TRUE(events.empty());
}

// ---- security ----

TEST_P(TextStoreTest, PrivilegesComeFromTheUsersOwnInformationStructure) {
    const QString savedUser = BaseMng().UserName();
    BaseMng().SetUserName(QStringLiteral("designer"));
    // A fresh dictionary lets its first designer work.
    EXPECT_TRUE(SecurityManager().HavePrivilege(QStringLiteral("DESIGNER")));
    // Structures of other types do not count as users.
    Dsp().PutStructure(QStringLiteral("DESIGNER"), kRoleStructureType, QByteArray());
    EXPECT_TRUE(SecurityManager().HavePrivilege(QStringLiteral("DESIGNER")));

    // Only another user is described: this user holds nothing.
    Dsp().PutStructure(
        QStringLiteral("OTHER"), kUserInfoStructureType,
        MakeUserInfo(QStringLiteral("other"), {QStringLiteral("DESIGNER")}).ToBytes());
    EXPECT_FALSE(SecurityManager().HavePrivilege(QStringLiteral("DESIGNER")));

    // The user's own structure without, then with the role.
    Dsp().PutStructure(
        QStringLiteral("DESIGNER"), kUserInfoStructureType,
        MakeUserInfo(QStringLiteral("designer"), {QStringLiteral("Reader")}).ToBytes());
    EXPECT_FALSE(SecurityManager().HavePrivilege(QStringLiteral("DESIGNER")));
    EXPECT_TRUE(SecurityManager().HavePrivilege(QStringLiteral("reader")));
    Dsp().PutStructure(QStringLiteral("DESIGNER"), kUserInfoStructureType,
                       MakeUserInfo(QStringLiteral("designer"),
                                    {QStringLiteral("Reader"), QStringLiteral("designer")})
                           .ToBytes());
    EXPECT_TRUE(SecurityManager().HavePrivilege(QStringLiteral("Designer")));
    EXPECT_FALSE(SecurityManager().HavePrivilege(QStringLiteral("ADMIN")));

    // A role switched off is not held.
    TDSPNode info = MakeUserInfo(QStringLiteral("designer"), {QStringLiteral("DESIGNER")});
    info.FindNode(QStringLiteral("Roles"))->SetProperty(QStringLiteral("DESIGNER"), false);
    Dsp().PutStructure(QStringLiteral("DESIGNER"), kUserInfoStructureType, info.ToBytes());
    EXPECT_FALSE(SecurityManager().HavePrivilege(QStringLiteral("DESIGNER")));
    BaseMng().SetUserName(savedUser);
}

TEST_P(TextStoreTest, LanguageNamesAreCheckedAgainstTheirColumnsOnEveryEngine) {
    TLanguagesTable& langs = GetLanguagesTable(Alias());
    TOneLanguage l;
    l.EnglishName = QString(41, QLatin1Char('x'));
    try {
        langs.SetLanguage(QStringLiteral("LONGNAME"), l);
        FAIL() << "a 41-character name was stored";
    } catch (const ELocalizatorError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("English name")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("LONGNAME")));
    }
    EXPECT_FALSE(langs.LanguageExist(QStringLiteral("LONGNAME")));
    l.EnglishName = QString(40, QLatin1Char('x'));
    langs.SetLanguage(QStringLiteral("LONGNAME"), l);
    EXPECT_TRUE(langs.LanguageExist(QStringLiteral("LONGNAME")));
    // The section markers never answer as texts.
    GetLocalizatorTable(Alias()).SetString(QStringLiteral("K_X_Y"), QStringLiteral("ENGLISH"),
                                           QStringLiteral("t"));
    EXPECT_FALSE(GetLocalizatorTable(Alias()).StringExists(QStringLiteral("K_X"),
                                                           QStringLiteral("#SECTION")));
}

PELVAR_ENGINE_TESTS(TextStoreTest);

}  // namespace
