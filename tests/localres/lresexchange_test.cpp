#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QXmlStreamReader>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "localres/lcontainer.h"
#include "localres/resourcecommands.h"
#include "lresfixture.h"
#include "opkit/eifile.h"
#include "opkit/lresoperations.h"
#include "opkit/lresreader.h"
#include "opkit/lressearch.h"
#include "scriptedinteraction.h"

namespace {

class LResExchangeTest : public LResTest {
  protected:
    // Every text of the database: "ID/LANGUAGE" -> text.
    QMap<QString, QString> AllTexts(const QString& alias) {
        TLSectionReader reader(BaseMng().Databases().GetDatabase(alias));
        QMap<QString, QString> all;
        QList<TEILResText> texts;
        for (const QString& section : reader.Sections({})) {
            reader.Read(section, {}, texts);
            for (const TEILResText& t : texts)
                all.insert(TLocalizatorTable::ComposeID(section, t.Ident) + "/" + t.Language,
                           t.Text);
        }
        return all;
    }

    void PutMany(int sections, int idents) {
        TTransactionScope tx(BaseMng().Databases().GetDatabase(Alias()));
        for (int s = 0; s < sections; ++s)
            for (int i = 0; i < idents; ++i) {
                const QString section = QString("M_SEC_%1").arg(s);
                Texts().SetSectionString(section, QString("I%1").arg(i), "ENGLISH",
                                         QString("Text %1 of %2\twith tab").arg(i).arg(s));
                Texts().SetSectionString(section, QString("I%1").arg(i), "RUSSIAN",
                                         QString("Текст %1 из %2 — #%3").arg(i).arg(s).arg(i));
            }
        tx.Commit();
    }
};

TEST_P(LResExchangeTest, TenThousandStringsRoundTripInUtf8AndAnsi) {
    PutMany(100, 100);
    Put("K_WIDE", "JP", {"plain", "日本語"});  // not in Windows-1251
    const QMap<QString, QString> source = AllTexts(Alias());
    ASSERT_EQ(source.size(), 20002);
    QStringList sections;
    Texts().FillSectionListEx({"ENGLISH", "RUSSIAN"}, sections);
    for (const bool utf8 : {true, false}) {
        SCOPED_TRACE(utf8 ? "UTF8" : "ANSI");
        const QString file = TTestEnvironment::Instance().Dir() + (utf8 ? "/u.eif" : "/a.eif");
        TUOExportLSections exportOp;
        exportOp.SetSourceAlias(Alias());
        exportOp.Sections = sections;
        exportOp.Target = TEIExportTarget{nullptr, file, false, utf8 ? eeUTF8 : eeANSI, false};
        const TOperationResult exported = ExecuteUtilOperation(exportOp, QString());
        ASSERT_TRUE(exported.Completed) << qPrintable(exported.Errors.join("\n"));
        // The one text ANSI cannot hold is reported, not mangled.
        EXPECT_EQ(exported.Errors.size(), utf8 ? 0 : 1) << qPrintable(exported.Errors.join("\n"));
        if (!utf8) {
            EXPECT_TRUE(exported.Errors.value(0).contains("K_WIDE_JP"));
        }
        const QString target = AddDatabase(utf8 ? "UTF8DB" : "ANSIDB");
        TEIFile eif(file);
        eif.Open();
        EXPECT_EQ(eif.Encoding(), utf8 ? eeUTF8 : eeANSI);
        TUOImportLSections importOp;
        importOp.SetTargetAlias(target);
        importOp.File = &eif;
        for (int i = 0; i < eif.Sections().GetCount(); ++i)
            importOp.Indexes << QString::number(i);
        const TOperationResult imported = ExecuteUtilOperation(importOp, QString());
        ASSERT_TRUE(imported.Completed && imported.Errors.isEmpty())
            << qPrintable(imported.Errors.join("\n"));
        QMap<QString, QString> expected = source;
        if (!utf8) expected.remove("K_WIDE_JP/RUSSIAN");
        EXPECT_EQ(AllTexts(target), expected);
    }
}

TEST_P(LResExchangeTest, OnePassGivesEachSectionWhatItsOwnReadGives) {
    // Nested sections: "C_N_A_B" is a section of its own inside the range of "C_N_A".
    Put("C_N_A", "X", {"ax", "ах"});
    Put("C_N_A_B", "Y", {"by", "бу"});
    Put("C_N_A", "Z", {"az", "аз"});
    Put("C_N_A", "", {"bare"}, {"ENGLISH"});
    Put("C_N_AB", "Q", {"q"}, {"RUSSIAN"});
    TLSectionReader reader(BaseMng().Databases().GetDatabase(Alias()));
    QMap<QString, QList<TEILResText>> onePass, oneByOne;
    reader.ReadAll({}, {}, [&](const QString& section, const QList<TEILResText>& texts) {
        EXPECT_FALSE(onePass.contains(section)) << qPrintable(section);
        onePass.insert(section, texts);
        return true;
    });
    for (const QString& section : reader.Sections({})) {
        QList<TEILResText> texts;
        reader.Read(section, {}, texts);
        oneByOne.insert(section, texts);
    }
    EXPECT_EQ(oneByOne.keys(), QStringList({"C_N_A", "C_N_AB", "C_N_A_B"}));
    EXPECT_EQ(onePass, oneByOne);
    EXPECT_EQ(oneByOne["C_N_A"].size(), 5);
}

// IDs whose order differs between code points and a language's collation:
// punctuation, spaces and letters with marks around the "_" that bounds a section.
TEST_P(LResExchangeTest, ALocaleCollationOfTheIDsMissesNoText) {
    if (FDb->IsPostgres()) {
        TSelectQuery icu(Db(), "SELECT 1 FROM pg_collation WHERE collname = 'und-x-icu'");
        icu.Open();
        if (icu.Eof()) GTEST_SKIP() << "the server has no ICU collation";
        icu.Close();
        Db().ExecDirect(
            "ALTER TABLE text_resources ALTER COLUMN stringid "
            "TYPE VARCHAR(64) COLLATE \"und-x-icu\"");
        EXPECT_FALSE(
            Db().Dialect().CodePointCollation(Db(), "TEXT_RESOURCES", "STRINGID").isEmpty());
    }
    const QList<QStringList> ids{{"A", ""},    {"A", "X"},   {"A", "Ä"},   {"A", "A B"},
                                 {"A", "A-B"}, {"A_B", "Y"}, {"AB", "Z"},  {"A-B", "Z"},
                                 {"A B", "Z"}, {"Ä", "Z"},   {"Ä", "A_B"}, {"a_b", "lower"}};
    QMap<QString, QString> expected;
    for (const QStringList& id : ids) {
        const QString full = TLocalizatorTable::ComposeID(id[0].toUpper(), id[1].toUpper());
        Put(id[0], id[1], {"t " + full, "т " + full});
        expected.insert(full + "/ENGLISH", "t " + full);
        expected.insert(full + "/RUSSIAN", "т " + full);
    }
    EXPECT_EQ(AllTexts(Alias()), expected);

    TLSectionReader reader(Db());
    const QStringList sections = reader.Sections({});
    QMap<QString, QString> onePass;
    reader.ReadAll({}, {}, [&](const QString& section, const QList<TEILResText>& texts) {
        EXPECT_FALSE(onePass.contains(section + "/")) << qPrintable(section);
        onePass.insert(section + "/", {});
        for (const TEILResText& t : texts)
            onePass.insert(TLocalizatorTable::ComposeID(section, t.Ident) + "/" + t.Language,
                           t.Text);
        return true;
    });
    for (const QString& section : sections)
        onePass.remove(section + "/");
    EXPECT_EQ(onePass, expected);

    // The search, section by section and over all of them at once.
    const auto search = [&](const QStringList& in) {
        TLResSearchRequest request;
        request.Sections = in;
        request.Languages = {"ENGLISH", "RUSSIAN"};
        request.TextSubstr = "T ";
        QSet<QString> found;
        TLResSearchEvents events;
        events.Status = [](const QString&) {};
        events.Batch = [&](TLResBatch&& batch) {
            for (const TLResFound& f : batch) {
                EXPECT_FALSE(found.contains(f.StringID)) << qPrintable(f.StringID);
                found.insert(f.StringID);
            }
        };
        RunLResSearch(Db(), request, events);
        return found;
    };
    QSet<QString> all, oneByOne;
    for (const QString& key : expected.keys())
        all.insert(key.section('/', 0, 0));
    for (const QString& section : sections)
        oneByOne += search({section});
    EXPECT_EQ(oneByOne, all);
    EXPECT_EQ(search(sections), all);

    // The export of every section, read back from its file.
    const QString file = TTestEnvironment::Instance().Dir() + "/collation.eif";
    TUOExportLSections exportOp;
    exportOp.SetSourceAlias(Alias());
    exportOp.Sections = sections;
    exportOp.Target = TEIExportTarget{nullptr, file, false, eeUTF8, false};
    ASSERT_TRUE(ExecuteUtilOperation(exportOp, QString()).Completed);
    TEIFile eif(file);
    eif.Open();
    QMap<QString, QString> exported;
    for (int i = 0; i < eif.Sections().GetCount(); ++i) {
        auto object = eif.CreateEIObject(i);
        auto* res = dynamic_cast<TEILResource*>(object.get());
        ASSERT_NE(res, nullptr);
        for (const TEILResText& t : res->Texts())
            exported.insert(
                TLocalizatorTable::ComposeID(res->SectionID(), t.Ident) + "/" + t.Language, t.Text);
    }
    EXPECT_EQ(exported, expected);
}

TEST_P(LResExchangeTest, XmlExportIsWellFormedAndHoldsEveryText) {
    Put("C_X_Y", "A", {"<b>&amp;\"", "кавычки «»"});
    Put("C_X_Y", "B", {QString("bell\x07") + "end", "ok"});
    Put("C_X_Y", "", {"bare"}, {"ENGLISH"});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TExportXMLLResourceUtilOperation op;
    op.SetSourceAlias(Alias());
    op.Stream = &buffer;
    op.Sections = QStringList{"C_X_Y"};
    const TOperationResult result = ExecuteUtilOperation(op, QString());
    ASSERT_TRUE(result.Completed);
    EXPECT_EQ(result.Errors.size(), 1);  // the bell is left out, and said so
    QXmlStreamReader xml(buffer.data());
    QStringList strings, texts;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"String")
            strings << xml.attributes().value("ID").toString();
        if (xml.isStartElement() && xml.name() == u"Text") texts << xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    EXPECT_EQ(strings, QStringList({"C_X_Y", "C_X_Y_A", "C_X_Y_B"}));
    EXPECT_TRUE(texts.contains("<b>&amp;\""));
    EXPECT_TRUE(texts.contains("bellend"));
}

TEST_P(LResExchangeTest, AFileOfTheWrongKindIsRefusedWithoutChanges) {
    const QString name = TTestEnvironment::Instance().Dir() + "/notes.txt";
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some notes\nnot an export file\n");
    f.close();
    TUOImportFiles op;
    op.FileNames = QStringList{name};
    const TOperationResult result = ExecuteUtilOperation(op, QString());
    EXPECT_FALSE(result.Completed && result.Errors.isEmpty());
    ASSERT_FALSE(result.Errors.isEmpty());
    EXPECT_TRUE(result.Errors.first().contains("notes.txt")) << qPrintable(result.Errors.first());
    EXPECT_TRUE(AllTexts(Alias()).isEmpty());
}

TEST_P(LResExchangeTest, FolderExportAsksAndAppendsOrRewrites) {
    Put("E_ONE_TWO", "X", {"x", "икс"});
    Put("E_ONE_TWO", "Y", {"y", "игрек"});
    auto* errors = dynamic_cast<TDOLFolder*>(Open("LocalResources\\System\\Errors"));
    ASSERT_NE(errors, nullptr);
    FExportAnswer.FileName = TTestEnvironment::Instance().Dir() + "/errors.eif";
    FLanguagesAnswer = {"RUSSIAN"};
    const QStringList selected{"E_ONE_TWO"};
    errors->Actions().FindByName("LRESSECTION_Export")->Execute(&selected);
    FOverwriteAnswer = IDNO;  // the file exists now: add to it
    errors->Actions().FindByName("LRESSECTION_Export")->Execute(&selected);
    TEIFile file(FExportAnswer.FileName);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 2);
    auto res = file.CreateEIObject(1);
    auto* texts = dynamic_cast<TEILResource*>(res.get());
    ASSERT_NE(texts, nullptr);
    ASSERT_EQ(texts->Texts().size(), 2);
    EXPECT_EQ(texts->Texts()[0], (TEILResText{"RUSSIAN", "X", "икс"}));
    FOverwriteAnswer = IDCANCEL;
    errors->Actions().FindByName("LRESSECTION_Export")->Execute(&selected);
    EXPECT_EQ(FRan.size(), 2);
}

TEST_P(LResExchangeTest, MainWindowCommandsExportSystemSectionsAndImportFiles) {
    EXPECT_EQ(SystemResourceSections({"C_A_B", "K_F", "ST", "ST_X", "m_x_y", "E_1_2", "S"}),
              QStringList({"C_A_B", "ST", "m_x_y", "E_1_2"}));
    EXPECT_EQ(ActiveXResourceSections({"M_VORNAKAXLIB_GRID", "M_VORNAKAX_X", "m_vornakaxlib_a"}),
              QStringList({"M_VORNAKAXLIB_GRID", "m_vornakaxlib_a"}));
    Put("C_SYS_FORM", "OK", {"OK", "Да"});
    Put("K_CUSTOM", "X", {"x", "х"});
    FExportAnswer.FileName = TTestEnvironment::Instance().Dir() + "/system.eif";
    ExportSystemResourcesCommand();
    TEIFile file(FExportAnswer.FileName);
    file.Open();
    ASSERT_EQ(file.Sections().GetCount(), 1);
    EXPECT_EQ(file.Sections().GetSections(0)->Name(), "C_SYS_FORM");

    // Imported whole into the default database, over what it had.
    Texts().SetString("C_SYS_FORM_OK", "ENGLISH", "changed");
    Texts().DeleteString("C_SYS_FORM_OK", "RUSSIAN");
    Script().AnswerFiles({FExportAnswer.FileName});
    ImportFilesCommand();
    EXPECT_EQ(FRan.last(), "TUOImportFiles");
    EXPECT_EQ(Texts().GetString("C_SYS_FORM_OK", "ENGLISH"), "OK");
    EXPECT_EQ(Texts().GetString("C_SYS_FORM_OK", "RUSSIAN"), "Да");
}

INSTANTIATE_TEST_SUITE_P(Engines, LResExchangeTest, testing::ValuesIn(TestEngines()),
                         [](const auto& info) { return info.param; });

}  // namespace
