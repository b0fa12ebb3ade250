#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "appcore/texts.h"

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

}  // namespace
