#include "basekit/strutils.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <limits>

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
        {"%q %s", {QStringLiteral("a"), QStringLiteral("b")}, "%q b"},
        {"%:s", {QStringLiteral("a")}, "%:s"},
        {"%s %s %s", {1, QStringLiteral("b")}, "1 b %s"},
    });
}

// Numbers beyond 64 bits, NaN and infinities have no integer form: each gives a
// defined text, and a fraction given to "%d" keeps its fraction.
TEST(SafeFormatTest, NumbersWithoutAnIntegerFormAreShownAsNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const quint64 max64 = std::numeric_limits<quint64>::max();
    ExpectFormats({
        {"%d", {nan}, "nan"},
        {"%d", {inf}, "inf"},
        {"%u", {-inf}, "-inf"},
        {"%x", {nan}, "nan"},
        {"%p", {inf}, "inf"},
        {"%f", {nan}, "nan"},
        {"%d", {1e19}, "10000000000000000000"},
        {"%d", {-9223372036854775808.0}, "-9223372036854775808"},
        {"%d", {1e20}, "1e+20"},
        {"%d", {qlonglong(std::numeric_limits<qlonglong>::min())}, "-9223372036854775808"},
        {"%d", {max64}, "18446744073709551615"},
        {"%u", {max64}, "18446744073709551615"},
        {"%d", {QStringLiteral("18446744073709551615")}, "18446744073709551615"},
        {"%x", {max64}, "FFFFFFFFFFFFFFFF"},
        {"%x", {-1}, "FFFFFFFFFFFFFFFF"},
        {"%x", {1e19}, "8AC7230489E80000"},
        {"%x", {-1e19}, "-1e+19"},
        {"%d", {2.0}, "2"},
        {"%d", {-0.0}, "0"},
        {"%d", {2.5}, "2.5"},
        {"%d", {-2.7}, "-2.7"},
        {"%u", {1234567.5}, "1234567.5"},
        {"%x", {0.5}, "0.5"},
        {"%.3d|", {2.5}, "2.5|"},
        {"%5d|", {2.5}, "  2.5|"},
        {"%.3d", {7.0f}, "007"},
        // A "*" takes whole numbers only.
        {"%*d|", {nan, 42}, "42|"},
        {"%*d|", {5.5, 1}, "1|"},
        {"%.*f", {inf, 1.0}, "1.00"},
        {"%*d|", {3.0, 1}, "  1|"},
    });
}

// A width or precision of any size, written or passed, costs at most the cap,
// and an index too large for an int is an index past the arguments.
TEST(SafeFormatTest, WidthsPrecisionsAndIndexesAreBounded) {
    const QString spaces(kSafeFormatMaxWidth - 1, QLatin1Char(' '));
    ExpectFormats({
        {"%.99999999999s|", {QStringLiteral("abc")}, "abc|"},
        {"%99999999999:s", {QStringLiteral("a")}, "%99999999999:s"},
        {"%2147483647:s%*s", {QStringLiteral("a")}, "%2147483647:s%*s"},
        {"%-*s|", {-1e300, QStringLiteral("a")}, "a|"},
    });
    const QString bounded[] = {
        SafeFormat(QStringLiteral("%2147483647s"), QStringLiteral("a")),
        SafeFormat(QStringLiteral("%99999999999d"), QStringLiteral("a")),
        SafeFormat(QStringLiteral("%*s"), 1000000000, QStringLiteral("a")),
        SafeFormat(QStringLiteral("%*s"), qulonglong(1) << 63, QStringLiteral("a")),
        SafeFormat(QStringLiteral("%*s"), 1e300, QStringLiteral("a")),
    };
    for (const QString& text : bounded)
        EXPECT_EQ(text, spaces + QLatin1Char('a'));
    EXPECT_EQ(SafeFormat(QStringLiteral("%.*d"), 1000000000, 1),
              QString(kSafeFormatMaxWidth - 1, QLatin1Char('0')) + QLatin1Char('1'));
    EXPECT_EQ(SafeFormat(QStringLiteral("%.9999x"), 255).size(), kSafeFormatMaxWidth);
    const QString fixed = SafeFormat(QStringLiteral("%.2147483647f"), 0.5);
    EXPECT_EQ(fixed.size(), kSafeFormatMaxWidth + 2);
    EXPECT_TRUE(fixed.startsWith(QStringLiteral("0.5000")));
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

TEST(FormatStampTest, WritesWhatQtWritesForEveryStamp) {
    const QList<QDateTime> stamps = {
        QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 6)),
        QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999)),
        QDateTime(QDate(7, 3, 9), QTime(0, 0)),  // a year of one digit is padded
        QDateTime(QDate(12345, 1, 1), QTime(1, 2, 3)),
        QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC),
    };
    for (const QDateTime& s : stamps) {
        EXPECT_EQ(FormatStamp(s), s.toString("yyyy-MM-dd hh:mm:ss")) << qPrintable(s.toString());
        EXPECT_EQ(FormatStamp(s, u'T', true), s.toString("yyyy-MM-dd'T'hh:mm:ss.zzz"));
    }
    // What export files have always held for a local stamp reads back the same.
    const QDateTime local(QDate(2024, 1, 2), QTime(3, 4, 5, 60));
    EXPECT_EQ(FormatStamp(local, u'T', true), local.toString(Qt::ISODateWithMs));
    EXPECT_EQ(FormatStamp(QDateTime()), QString());
}
