#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "explorer/formlookup.h"

namespace {

// Every message ID written in the program's sources has a built-in English
// text, so no caption or message ever shows empty or as its ID.
TEST(Catalogue, EveryMessageIdInTheSourcesHasAText) {
    const QRegularExpression id(
        QStringLiteral("\"((?:[MCE]_[A-Za-z][A-Za-z0-9]*_[A-Za-z0-9_']+)|(?:ST_[A-Z]+))\""));
    QStringList missing;
    int seen = 0;
    QDirIterator it(QStringLiteral(PELVAR_SOURCE_DIR "/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = id.globalMatch(text); m.hasNext();) {
            const QString name = m.next().captured(1);
            ++seen;
            if (!TMessageCatalogue::Builtin().Contains(name))
                missing << name + QStringLiteral(" (") + it.fileName() + ')';
        }
    }
    missing.removeDuplicates();
    EXPECT_GT(seen, 10);
    EXPECT_TRUE(missing.isEmpty()) << qPrintable(missing.join(QLatin1Char('\n')));
}

// Captions designed into a form in Russian read in English in an English
// program, and as designed in a Russian one.
TEST(Catalogue, CaptionsDesignedInRussianShowInTheProgramsLanguage) {
    const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    const auto captions = [](const QWidget& form) {
        QStringList texts{form.windowTitle()};
        for (const QAbstractButton* b : form.findChildren<QAbstractButton*>())
            texts << b->text();
        return texts;
    };
    const QStringList english = captions(TFormLookUp());
    EXPECT_EQ(english.size(), 10);
    for (const QString& text : english) {
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(text.contains(cyrillic)) << qPrintable(text);
    }
    EXPECT_TRUE(english.contains("Search"));
    BaseMng().SetCurrentLanguage("RUSSIAN");
    const QStringList russian = captions(TFormLookUp());
    BaseMng().SetCurrentLanguage("ENGLISH");
    EXPECT_TRUE(russian.contains(QStringLiteral("Поиск")));
    EXPECT_TRUE(russian.contains(QStringLiteral("Использовать регулярные выражения")));
}

}  // namespace
