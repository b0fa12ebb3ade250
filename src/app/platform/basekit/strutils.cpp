#include "strutils.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

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

bool IsFloat(const QVariant& v) {
    return v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float;
}

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
        case QMetaType::Bool:
            return true;
        default:
            return IsFloat(v);
    }
}

QString AsText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QString();
    if (v.metaType().id() == QMetaType::QDateTime) return FormatStamp(v.toDateTime());
    if (v.metaType().id() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

// A whole number as sign and magnitude, so that every signed and unsigned
// 64-bit value fits without overflow.
struct TWhole {
    bool Negative = false;
    quint64 Magnitude = 0;
};

TWhole FromSigned(qlonglong v) {
    // Unsigned negation is defined for the smallest value too.
    return {v < 0, v < 0 ? 0 - quint64(v) : quint64(v)};
}

// The argument as a whole number, or nothing when it is not one: a text that
// does not read as one, a fraction, NaN, an infinity or a float beyond 64 bits.
std::optional<TWhole> ToWhole(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::ULong:
        case QMetaType::UShort:
            return TWhole{false, v.toULongLong()};
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (!std::isfinite(d) || d != std::trunc(d) || std::fabs(d) >= 0x1p64)
                return std::nullopt;
            return TWhole{d < 0, quint64(std::fabs(d))};
        }
        default:
            if (IsNumber(v)) return FromSigned(v.toLongLong());
            break;
    }
    const QString text = AsText(v).trimmed();
    bool ok = false;
    if (const qlonglong s = text.toLongLong(&ok); ok) return FromSigned(s);
    if (const qulonglong u = text.toULongLong(&ok); ok) return TWhole{false, u};
    return std::nullopt;
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

QString ZeroPadded(QString digits, int prec) {
    return digits.size() < prec ? digits.rightJustified(prec, QLatin1Char('0')) : digits;
}

// "%d" and "%u": the precision is the least number of digits.
QString Decimal(const QVariant& arg, int prec) {
    const std::optional<TWhole> w = ToWhole(arg);
    if (!w) return AsText(arg);  // a fraction keeps its fraction rather than losing it
    const QString digits = ZeroPadded(QString::number(w->Magnitude), prec);
    return w->Negative ? QLatin1Char('-') + digits : digits;
}

// "%x" and "%p": a negative number shows its 64-bit two's complement.
QString Hex(const QVariant& arg, int prec) {
    const std::optional<TWhole> w = ToWhole(arg);
    if (!w || (w->Negative && w->Magnitude > (quint64(1) << 63))) return AsText(arg);
    const quint64 bits = w->Negative ? 0 - w->Magnitude : w->Magnitude;
    return ZeroPadded(QString::number(bits, 16).toUpper(), prec);
}

QString Floating(const QVariant& arg, QChar type, int prec) {
    double dv = 0;
    if (!ToDouble(arg, dv)) return AsText(arg);
    const int p = prec >= 0 ? prec : (type == QLatin1Char('g') ? 15 : 2);
    if (type == QLatin1Char('n') || type == QLatin1Char('m'))
        return QLocale::c().toString(dv, 'f', p);
    const char fmt = type == QLatin1Char('e') ? 'e' : type == QLatin1Char('g') ? 'g' : 'f';
    return QString::number(dv, fmt, p);
}

// A width or precision passed by "*": whole numbers only, cut to the cap; a
// negative one means none given.
void BoundFromArgument(const QVariant& arg, int& value) {
    std::optional<TWhole> w = ToWhole(arg);
    const double d = IsFloat(arg) ? arg.toDouble() : 0;
    if (!w && std::isfinite(d) && std::fabs(d) >= 0x1p64) w = TWhole{d < 0, ~quint64(0)};
    if (w) value = w->Negative ? -1 : int(std::min<quint64>(w->Magnitude, kSafeFormatMaxWidth));
}

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads the digits at `i`, saturating at `limit`.
int ReadDigits(const QString& format, int& i, int limit) {
    qint64 value = 0;
    for (; i < format.size() && IsDigit(format[i]); ++i)
        value = std::min<qint64>(value * 10 + (format[i].unicode() - '0'), limit);
    return int(value);
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
                // Only a whole number counts; a negative one means none given.
                if (next < args.size()) BoundFromArgument(args[next++], value);
                return true;
            }
            const int s = i;
            value = ReadDigits(format, i, kSafeFormatMaxWidth);
            return i > s;
        };
        int index = -1, width = 0, prec = -1;
        bool left = false;
        // An index is digits and ":"; only digits are probed, since reading a "*"
        // would take an argument.
        int digitsEnd = i;
        const int probed = ReadDigits(format, digitsEnd, std::numeric_limits<int>::max());
        if (digitsEnd > i && digitsEnd < n && format[digitsEnd] == QLatin1Char(':')) {
            index = probed;
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
        switch (type.unicode()) {
            case 'd':
            case 'u':
                text = Decimal(arg, prec);
                break;
            case 'x':
            case 'p':
                text = Hex(arg, prec);
                break;
            case 's':
                text = AsText(arg);
                if (prec >= 0) text = text.left(prec);
                break;
            default:
                text = Floating(arg, type, prec);
                break;
        }
        out += Pad(text, width, left);
    }
    return out;
}

QString FormatStamp(const QDateTime& stamp, QChar separator, bool withMs) {
    const QDate d = stamp.date();
    const QTime t = stamp.time();
    // One calendar conversion: year(), month() and day() would make one each.
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (!stamp.isValid() || stamp.timeSpec() != Qt::LocalTime || year < 0 || year > 9999)
        return stamp.toString(withMs ? QStringLiteral("yyyy-MM-dd'%1'hh:mm:ss.zzz").arg(separator)
                                     : QStringLiteral("yyyy-MM-dd'%1'hh:mm:ss").arg(separator));
    QString text(withMs ? 23 : 19, Qt::Uninitialized);
    QChar* out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[i] = QChar(u'0' + value % 10);
        out += digits;
    };
    put(year, 4);
    *out++ = u'-';
    put(month, 2);
    *out++ = u'-';
    put(day, 2);
    *out++ = separator;
    put(t.hour(), 2);
    *out++ = u':';
    put(t.minute(), 2);
    *out++ = u':';
    put(t.second(), 2);
    if (withMs) {
        *out++ = u'.';
        put(t.msec(), 3);
    }
    return text;
}
