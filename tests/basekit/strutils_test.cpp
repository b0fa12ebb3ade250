#include "basekit/strutils.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "printers.h"

namespace {

struct TFormatCase {
    const char* Format;
    QVariantList Args;
    const char* Expected;
};

void ExpectFormats(const QList<TFormatCase>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(SafeFormatList(QString::fromUtf8(c.Format), c.Args),
                  QString::fromUtf8(c.Expected))
            << c.Format;
}

TEST(SafeFormatTest, FormatsEverySpecifierKind) {
    ExpectFormats({
        {"%s and %s", {QStringLiteral("one"), QStringLiteral("two")}, "one and two"},
        {"%d items", {42}, "42 items"},
        {"%d", {-7}, "-7"},
        {"%d", {qlonglong(9000000000LL)}, "9000000000"},
        {"%u", {3}, "3"},
        {"%x", {255}, "FF"},
        {"%X", {4096}, "1000"},
        {"%.4x", {10}, "000A"},
        {"%f", {3.14159}, "3.14"},  // two decimals unless told
        {"%.2f", {2.0}, "2.00"},
        {"%.0f", {2.4}, "2"},
        {"%.3f", {-1.0006}, "-1.001"},
        {"%8.3f|", {3.14159}, "   3.142|"},
        {"%e", {1500.0}, "1.50e+03"},
        {"%g", {0.5}, "0.5"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%-5s|", {QStringLiteral("ab")}, "ab   |"},
        {"%5s|", {QStringLiteral("ab")}, "   ab|"},
        {"%2s|", {QStringLiteral("longer")}, "longer|"},  // width never cuts
        {"%.3s|", {QStringLiteral("longer")}, "lon|"},    // precision does
        {"%.5d", {42}, "00042"},
        {"%.5d", {-42}, "-00042"},
        {"%*d|", {6, 42}, "    42|"},
        {"%-*s|", {4, QStringLiteral("a")}, "a   |"},
        {"%.*f", {3, 1.0}, "1.000"},
        {"%2:s %0:s %1:s",
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
         "c a b"},
        {"%1:s %s", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, "b c"},
        {"%0:s-%0:s", {QStringLiteral("x")}, "x-x"},
        {"100%% sure", {}, "100% sure"},
        {"%%s", {QStringLiteral("x")}, "%s"},
        {"%s", {QStringLiteral("Привет")}, "Привет"},
        {"%s", {QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30))}, "2024-03-01 10:20:30"},
        {"%s", {QByteArray("bytes")}, "bytes"},
        {"no specifiers", {1, 2}, "no specifiers"},
        {"", {1}, ""},
    });
    // The variadic form wraps its arguments the same way.
    EXPECT_EQ(SafeFormat(QStringLiteral("%s=%d (%.1f)"), "x", 5, 0.26),
              QStringLiteral("x=5 (0.3)"));
}

TEST(SafeFormatTest, MissingArgumentsLeaveTheirSpecifiers) {
    ExpectFormats({
        {"%s", {}, "%s"},
        {"%s and %d", {QStringLiteral("one")}, "one and %d"},
        {"%5.2f|", {}, "%5.2f|"},
        {"%-10s|", {}, "%-10s|"},
        {"%3:s %0:s", {QStringLiteral("a")}, "%3:s a"},
        {"%*d", {5}, "%*d"},  // the width used the only argument
        {"ends with %", {1}, "ends with %"},
        {"ends with %5", {1}, "ends with %5"},
        {"ends with %-", {1}, "ends with %-"},
        {"ends with %.", {1}, "ends with %."},
        {"%", {}, "%"},
    });
}

// Texts come from translators and databases: a format that does not fit its
// arguments must still give a readable result, never a crash.
TEST(SafeFormatTest, ArgumentsOfTheWrongKindNeverBreakTheText) {
    ExpectFormats({
        {"%d", {QStringLiteral("abc")}, "abc"},
        {"%d", {QStringLiteral(" 12 ")}, "12"},
        {"%5d|", {QStringLiteral("ab")}, "   ab|"},
        {"%x", {QStringLiteral("zz")}, "zz"},
        {"%f", {QStringLiteral("n/a")}, "n/a"},
        {"%.2f", {QStringLiteral("1.5")}, "1.50"},
        {"%f", {7}, "7.00"},
        {"%d", {true}, "1"},
        {"%s", {12}, "12"},
        {"%s", {1.5}, "1.5"},
        {"%s", {true}, "true"},
        {"%d", {QVariant()}, ""},
        {"%s|", {QVariant()}, "|"},
        {"%f", {QVariant()}, ""},
        {"%d", {QByteArray("\xff\xfe")}, "\xef\xbf\xbd\xef\xbf\xbd"},
        {"%*d|", {QStringLiteral("wide"), 3}, "3|"},
        {"%-*s|", {-3, QStringLiteral("a")}, "a|"},
        {"%99999999999d|", {1}, "1|"},
        {"%q %s", {QStringLiteral("a"), QStringLiteral("b")}, "%q b"},
        {"%:s", {QStringLiteral("a")}, "%:s"},
        {"%s %s %s", {1, QStringLiteral("b")}, "1 b %s"},
    });
}

TEST(SplitStringTest, SplitsAtEveryDelimiterAndKeepsEmptyPiecesUnlessTold) {
    const QList<std::tuple<QString, QString, bool, QStringList>> cases = {
        {"a,b,c", ",", false, {"a", "b", "c"}},
        {"a;b,c", ",;", false, {"a", "b", "c"}},
        {",a,,b,", ",", false, {"", "a", "", "b", ""}},
        {",a,,b,", ",", true, {"a", "b"}},
        {QString(), ",", false, {""}},
        {QString(), ",", true, {}},
        {",,,", ",", true, {}},
        {",,", ",", false, {"", "", ""}},
        // No delimiters: the whole text, untouched (pieces are never trimmed).
        {" a,b ", "", false, {" a,b "}},
        {" a , b ", ",", false, {" a ", " b "}},
        {"строка\tвторая", "\t", false, {"строка", "вторая"}},
    };
    for (const auto& [text, delimiters, skipEmpty, expected] : cases)
        EXPECT_EQ(SplitString(text, delimiters, skipEmpty), expected) << qPrintable(text);
}

}  // namespace
