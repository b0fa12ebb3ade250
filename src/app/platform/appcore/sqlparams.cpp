#include "sqlparams.h"

TSqlParameterText ParseSqlParameters(const QString& sql, bool maskCommentMarks) {
    const auto Comment = [maskCommentMarks](QString text) {
        return maskCommentMarks ? text.replace(QLatin1Char('?'), QChar(0xFF1F)) : text;
    };
    TSqlParameterText result;
    QStringList& names = result.Names;
    QString out;
    out.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    auto isNameStart = [](QChar c) { return c.isLetter() || c == QLatin1Char('_'); };
    auto isNameChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int start = i++;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out += sql.mid(start, i - start);
        } else if (c == QLatin1Char('$') && (i == 0 || !isNameChar(sql[i - 1]))) {
            // A dollar-quoted string ($$...$$ or $tag$...$tag$) such as a
            // procedure body; "$1" and names with "$" are no quotes.
            int j = i + 1;
            while (j < n && isNameChar(sql[j]) && (j > i + 1 || isNameStart(sql[j])))
                ++j;
            if (j < n && sql[j] == QLatin1Char('$')) {
                const QString tag = sql.mid(i, j - i + 1);
                const int end = sql.indexOf(tag, j + 1);
                const int stop = end < 0 ? n : end + int(tag.size());
                out += sql.mid(i, stop - i);
                i = stop;
            } else {
                out += c;
                ++i;
            }
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            const int start = i;
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            out += Comment(sql.mid(start, i - start));
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const int end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const int stop = end < 0 ? n : end + 2;
            out += Comment(sql.mid(i, stop - i));
            i = stop;
        } else if (c == QLatin1Char(':') && i + 1 < n && sql[i + 1] == QLatin1Char(':')) {
            out += QStringLiteral("::");
            i += 2;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql[i + 1])) {
            int j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            names << sql.mid(i + 1, j - i - 1);
            out += QLatin1Char('?');
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    result.NativeSql = out;
    return result;
}
