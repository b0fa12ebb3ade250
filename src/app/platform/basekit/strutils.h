#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

// Splits `text` at every character of `delimiters`. Empty pieces are kept unless
// `skipEmpty` is set; pieces are not trimmed.
QStringList SplitString(const QString& text, const QString& delimiters, bool skipEmpty = false);

// Format texts come from dictionaries, which can be imported: widths and
// precisions, written or taken by "*", are cut to this many characters.
constexpr int kSafeFormatMaxWidth = 4096;

// Delphi-style format ("%s", "%d", "%5.2f", "%-10s", "%2:s", "%x", "%%", "*" widths)
// that never fails: a missing argument leaves its specifier in the text, and an
// argument of the wrong kind is shown as best it can be (a text given to "%d" is
// printed as text; a fraction, NaN or infinity given to "%d", "%u" or "%x" is
// printed as the number rather than cut to an integer; a whole float is printed
// as the integer it is, up to 2^64). A "*" takes only a whole number, and a
// negative one counts as none given.
QString SafeFormatList(const QString& format, const QVariantList& args);

template <typename... Args>
QString SafeFormat(const QString& format, Args&&... args) {
    return SafeFormatList(format, QVariantList{QVariant(std::forward<Args>(args))...});
}

// True when both texts are equal ignoring case.
inline bool SameText(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "yyyy-MM-dd hh:mm:ss" (with `separator` between date and time, and
// ".zzz" when `withMs`), as QDateTime::toString gives it for a local stamp,
// without its format parsing: lists and exports write thousands of stamps.
QString FormatStamp(const QDateTime& stamp, QChar separator = u' ', bool withMs = false);
