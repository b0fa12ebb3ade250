#include "eiformat.h"

#include <algorithm>

namespace EIFormat {

QString HeaderLine(TEIEncoding encoding, bool release17) {
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(kMagic))
        .arg(release17 ? kVersion17 : kVersion)
        .arg(encoding == eeANSI ? QStringLiteral("ANSI") : QStringLiteral("UTF8"));
}

QString PadCount(qint64 count) {
    return QString::number(count).rightJustified(kCountWidth, u'0');
}

QString Escape(const QString& text, bool escapeEquals) {
    // Most names and values need nothing escaped: hand back the shared text.
    const auto special = [escapeEquals](QChar c) {
        return c == u'\\' || c == u'\n' || c == u'\r' || (escapeEquals && c == u'=');
    };
    if (std::none_of(text.cbegin(), text.cend(), special)) return text;
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                result += QLatin1String("\\\\");
                break;
            case '\n':
                result += QLatin1String("\\n");
                break;
            case '\r':
                result += QLatin1String("\\r");
                break;
            case '=':
                result += escapeEquals ? QLatin1String("\\=") : QLatin1String("=");
                break;
            default:
                result += c;
        }
    }
    return result;
}

bool Unescape(const QString& text, QString& result, QString& error, bool stopAtEquals,
              qsizetype* consumed) {
    result.clear();
    result.reserve(text.size());
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (stopAtEquals && c == u'=') break;
        if (c != u'\\') {
            result += c;
            continue;
        }
        if (++i >= text.size()) {
            error = QStringLiteral("a backslash ends the text");
            return false;
        }
        switch (text[i].unicode()) {
            case '\\':
                result += u'\\';
                break;
            case 'n':
                result += u'\n';
                break;
            case 'r':
                result += u'\r';
                break;
            case '=':
                result += u'=';
                break;
            default:
                error = QStringLiteral("unknown escape sequence \\%1").arg(text[i]);
                return false;
        }
    }
    if (consumed) *consumed = i;
    return true;
}

QString EncodeDataLine(const QString& text) {
    if (text.contains(u'\n') || text.contains(u'\r')) return u'~' + Escape(text, false);
    return u'>' + text;
}

bool DecodeDataLine(const QString& line, QString& text, QString& error) {
    if (line.startsWith(u'>')) {
        text = line.mid(1);
        return true;
    }
    if (line.startsWith(u'~')) return Unescape(line.mid(1), text, error);
    error = QStringLiteral("a data line must begin with \">\" or \"~\"");
    return false;
}

void Raise(const QString& fileName, qint64 line, const QString& what) {
    throw EEIFileError(QStringLiteral("File %1, line %2: %3").arg(fileName).arg(line).arg(what));
}

}  // namespace EIFormat
