#include <gtest/gtest.h>

#include "dspfixture.h"
#include "opkit/dbexchange.h"
#include "opkit/dbsinks.h"
#include "opkit/eifile.h"

namespace {

using DBImportCheckTest = DSPOpTest;

// A file whose texts or languages the target's tables can not hold stops the
// whole import with one error, as importing the files one by one does.
TEST_P(DBImportCheckTest, TextsAndLanguagesThatCanNotBeStoredStopTheImport) {
    QTemporaryDir dir;
    const QString good = "GOOD_TEXT";
    TOneLanguage english;
    english.EnglishName = english.NativeName = "English";
    TOneLanguage longName = english;
    longName.NativeName = QString(41, u'x');
    const QList<TEILResText> bad = {{"ENGLISH", "BAD ID", "t"}};
    for (int kind = 0; kind < 4; ++kind) {  // the last file is sound
        SCOPED_TRACE(kind);
        const QString name = dir.filePath(QStringLiteral("f%1.eif").arg(kind));
        TEIFile file(name);
        file.Create();
        {
            DBExchange::TFileSink sink(file);
            sink.Texts("K_OK", {{"ENGLISH", good, "fine"}});
            if (kind == 0) sink.Texts("K_BAD", bad);
            if (kind == 1) sink.Language(QString(17, u'L'), english);
            if (kind == 2) sink.Language("ENGLISH", longName);
        }
        file.Close();
        TUOImportDatabase imp;
        imp.SetFileName(name);
        imp.SetTargetAlias(Alias());
        const bool sound = kind == 3;
        EXPECT_EQ(ExecuteUtilOperationDirect(imp), sound);
        EXPECT_EQ(imp.Errors().size(), sound ? 0 : 1);
        EXPECT_EQ(Loc().SectionExist("K_OK", "ENGLISH"), sound);
    }
}

PELVAR_ENGINE_TESTS(DBImportCheckTest);

}  // namespace
