#include "dspvalues.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

#include "appcore/texts.h"
#include "basekit/strutils.h"

namespace {

const QString kString = QStringLiteral("string");
const QString kInteger = QStringLiteral("integer");
const QString kFloat = QStringLiteral("float");
const QString kBoolean = QStringLiteral("boolean");
const QString kDateTime = QStringLiteral("datetime");
const QString kBinary = QStringLiteral("binary");

// How many bytes of a binary value the tree shows.
constexpr int kBinaryPreview = 16;

QString DateTimeText(const QDateTime& dt) {
    QString text = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (dt.time().msec() != 0) text += dt.toString(QStringLiteral(".zzz"));
    if (dt.timeSpec() == Qt::UTC)
        text += QLatin1Char('Z');
    else if (dt.timeSpec() == Qt::OffsetFromUTC)
        text += dt.toString(QStringLiteral("t"));
    return text;
}

QString HexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}

bool ParseHex(const QString& text, QByteArray& bytes) {
    QString digits = text;
    digits.remove(QRegularExpression(QStringLiteral("\\s")));
    static const QRegularExpression hex(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    if (!hex.match(digits).hasMatch()) return false;
    bytes = QByteArray::fromHex(digits.toLatin1());
    return true;
}

}  // namespace

QStringList DSPTypeNames() {
    return {kString, kInteger, kFloat, kBoolean, kDateTime, kBinary};
}

QString DSPTypeOf(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::Bool:
            return kBoolean;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return kInteger;
        case QMetaType::Double:
            return kFloat;
        case QMetaType::QDateTime:
            return kDateTime;
        case QMetaType::QByteArray:
            return kBinary;
        default:
            return kString;
    }
}

QString DSPTypeCaption(const QString& type) {
    if (type == kString) return LString(QStringLiteral("M_Pelvar_DSPTree_TypeString"));
    if (type == kInteger) return LString(QStringLiteral("M_Pelvar_DSPTree_TypeInteger"));
    if (type == kFloat) return LString(QStringLiteral("M_Pelvar_DSPTree_TypeFloat"));
    if (type == kBoolean) return LString(QStringLiteral("M_Pelvar_DSPTree_TypeBoolean"));
    if (type == kDateTime) return LString(QStringLiteral("M_Pelvar_DSPTree_TypeDateTime"));
    if (type == kBinary) return LString(QStringLiteral("M_Pelvar_DSPTree_TypeBinary"));
    return LString(QStringLiteral("M_Pelvar_DSPTree_TypeNode"));
}

QVariant DSPDefaultValue(const QString& type) {
    if (type == kInteger) return QVariant(qlonglong(0));
    if (type == kFloat) return QVariant(0.0);
    if (type == kBoolean) return QVariant(false);
    if (type == kDateTime) return QVariant(QDateTime(QDate::currentDate(), QTime(0, 0)));
    if (type == kBinary) return QVariant(QByteArray());
    return QVariant(QString());
}

QString DSPDisplayText(const QVariant& value) {
    const QString type = DSPTypeOf(value);
    if (type == kBinary) {
        const QByteArray bytes = value.toByteArray();
        QString text =
            SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_BinarySize")), bytes.size());
        if (bytes.isEmpty()) return text;
        text += QStringLiteral(": ") + HexText(bytes.left(kBinaryPreview));
        if (bytes.size() > kBinaryPreview) text += QStringLiteral(" …");
        return text;
    }
    return DSPEditText(value);
}

QString DSPEditText(const QVariant& value) {
    const QString type = DSPTypeOf(value);
    if (type == kBoolean) return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (type == kInteger) return QString::number(value.toLongLong());
    if (type == kFloat)
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (type == kDateTime) return DateTimeText(value.toDateTime());
    if (type == kBinary) return HexText(value.toByteArray());
    return value.toString();
}

bool DSPParseValue(const QString& type, const QString& text, QVariant& value) {
    const QString t = text.trimmed();
    bool ok = false;
    if (type == kString) {
        value = text;  // spaces are part of a text
        return true;
    }
    if (type == kInteger) {
        const qlonglong v = t.toLongLong(&ok);
        if (ok) value = v;
        return ok;
    }
    if (type == kFloat) {
        const double v = t.toDouble(&ok);
        // The stored body cannot hold infinities or NaN.
        if (!ok || !std::isfinite(v)) return false;
        value = v;
        return true;
    }
    if (type == kBoolean) {
        const QString l = t.toLower();
        if (l == QLatin1String("true") || l == QLatin1String("1") || l == QLatin1String("yes"))
            value = true;
        else if (l == QLatin1String("false") || l == QLatin1String("0") || l == QLatin1String("no"))
            value = false;
        else
            return false;
        return true;
    }
    if (type == kDateTime) {
        QString iso = t;
        if (iso.size() > 10 && iso.at(10) == QLatin1Char(' ')) iso[10] = QLatin1Char('T');
        QDateTime dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
        if (!dt.isValid() && iso.size() == 10)
            dt = QDateTime(QDate::fromString(iso, Qt::ISODate), QTime(0, 0));
        if (!dt.isValid()) return false;
        value = dt;
        return true;
    }
    if (type == kBinary) {
        QByteArray bytes;
        if (!ParseHex(t, bytes)) return false;
        value = bytes;
        return true;
    }
    return false;
}
