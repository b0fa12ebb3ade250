#include "strutils.h"

#include <QDateTime>
#include <QLocale>

QStringList SplitString(const QString& text, const QString& delimiters, bool skipEmpty) {
    QStringList result;
    QString piece;
    for (const QChar c : text) {
        if (delimiters.contains(c)) {
            if (!skipEmpty || !piece.isEmpty()) result << piece;
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!skipEmpty || !piece.isEmpty()) result << piece;
    return result;
}

namespace {

bool IsNumber(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

QString AsText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QString();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (v.metaType().id() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

bool ToInteger(const QVariant& v, qlonglong& out) {
    if (IsNumber(v)) {
        out = v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float
                  ? qlonglong(v.toDouble())
                  : v.toLongLong();
        return true;
    }
    bool ok = false;
    out = AsText(v).trimmed().toLongLong(&ok);
    return ok;
}

bool ToDouble(const QVariant& v, double& out) {
    if (IsNumber(v)) {
        out = v.toDouble();
        return true;
    }
    bool ok = false;
    out = AsText(v).trimmed().toDouble(&ok);
    return ok;
}

QString Pad(const QString& s, int width, bool left) {
    if (width <= s.size()) return s;
    return left ? s.leftJustified(width) : s.rightJustified(width);
}

}  // namespace

QString SafeFormatList(const QString& format, const QVariantList& args) {
    QString out;
    int next = 0;
    const int n = format.size();
    int i = 0;
    while (i < n) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            ++i;
            continue;
        }
        const int start = i++;
        if (i < n && format[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // [index ":"] ["-"] [width] ["." prec] type
        auto readNumber = [&](int& value) -> bool {
            if (i < n && format[i] == QLatin1Char('*')) {
                ++i;
                qlonglong v = 0;
                if (next < args.size() && ToInteger(args[next], v)) value = int(v);
                ++next;
                return true;
            }
            const int s = i;
            while (i < n && format[i].isDigit())
                ++i;
            if (i == s) return false;
            value = format.mid(s, i - s).toInt();
            return true;
        };
        int index = -1, width = 0, prec = -1;
        bool left = false;
        // An index is digits and ":"; only digits are probed, since reading a "*"
        // would take an argument.
        int digitsEnd = i;
        while (digitsEnd < n && format[digitsEnd].isDigit())
            ++digitsEnd;
        if (digitsEnd > i && digitsEnd < n && format[digitsEnd] == QLatin1Char(':')) {
            index = format.mid(i, digitsEnd - i).toInt();
            i = digitsEnd + 1;
        }
        if (i < n && format[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        readNumber(width);
        if (i < n && format[i] == QLatin1Char('.')) {
            ++i;
            if (!readNumber(prec)) prec = 0;
        }
        if (i >= n) {
            out += format.mid(start);
            break;
        }
        const QChar type = format[i].toLower();
        ++i;
        if (index >= 0) next = index;
        if (next >= args.size() || !QStringLiteral("dusefgnmxp").contains(type)) {
            out += format.mid(start, i - start);  // leave what cannot be filled
            if (next < args.size()) ++next;
            continue;
        }
        const QVariant& arg = args[next++];
        QString text;
        qlonglong iv = 0;
        double dv = 0;
        switch (type.unicode()) {
            case 'd':
            case 'u':
                if (ToInteger(arg, iv)) {
                    text = QString::number(iv);
                    if (prec > 0 && text.size() < prec) {
                        const bool neg = text.startsWith(QLatin1Char('-'));
                        QString digits = neg ? text.mid(1) : text;
                        text = (neg ? QStringLiteral("-") : QString()) +
                               digits.rightJustified(prec, QLatin1Char('0'));
                    }
                } else {
                    text = AsText(arg);
                }
                break;
            case 'x':
            case 'p':
                if (ToInteger(arg, iv)) {
                    text = QString::number(quint64(iv), 16).toUpper();
                    if (prec > 0) text = text.rightJustified(prec, QLatin1Char('0'));
                } else {
                    text = AsText(arg);
                }
                break;
            case 'e':
            case 'f':
            case 'g':
            case 'n':
            case 'm':
                if (ToDouble(arg, dv)) {
                    const int p = prec >= 0 ? prec : (type == QLatin1Char('g') ? 15 : 2);
                    const char fmt = type == QLatin1Char('e')   ? 'e'
                                     : type == QLatin1Char('g') ? 'g'
                                                                : 'f';
                    text = QString::number(dv, fmt, p);
                    if (type == QLatin1Char('n') || type == QLatin1Char('m'))
                        text = QLocale::c().toString(dv, 'f', p);
                } else {
                    text = AsText(arg);
                }
                break;
            default:  // 's'
                text = AsText(arg);
                if (prec >= 0) text = text.left(prec);
                break;
        }
        out += Pad(text, width, left);
    }
    return out;
}
