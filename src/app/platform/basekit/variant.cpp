#include "variant.h"

#include <QLocale>

#include <QTimeZone>

#include "strutils.h"

namespace {

[[noreturn]] void Fail(const QString& text, const char* kind) {
    throw EConvertError(
        QStringLiteral("'%1' is not a valid %2 value").arg(text, QLatin1String(kind)));
}

}  // namespace

QString DateTimeToText(const QDateTime& value) {
    if (!value.isValid()) return QString();
    return FormatStamp(value, u' ', value.time().msec() != 0);
}

QDateTime TextToDateTime(const QString& text, bool* ok) {
    const QString t = text.trimmed();
    QDateTime result;
    for (const char* fmt : {"yyyy-MM-dd hh:mm:ss.zzz", "yyyy-MM-dd hh:mm:ss",
                            "yyyy-MM-ddThh:mm:ss.zzz", "yyyy-MM-ddThh:mm:ss", "yyyy-MM-dd hh:mm",
                            "yyyy-MM-dd", "dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy"}) {
        result = QDateTime::fromString(t, QLatin1String(fmt));
        if (result.isValid()) break;
    }
    if (ok) *ok = result.isValid();
    return result;
}

TQXVariant TQXVariant::FromQVariant(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return TQXVariant();
    switch (v.metaType().id()) {
        case QMetaType::Bool:
            return TQXVariant(v.toBool());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            return TQXVariant(v.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return TQXVariant(v.toDouble());
        case QMetaType::QDate:
            return TQXVariant(v.toDate());
        case QMetaType::QDateTime:
            return TQXVariant(v.toDateTime());
        case QMetaType::QByteArray:
            return TQXVariant(v.toByteArray());
        default:
            return TQXVariant(v.toString());
    }
}

qlonglong TQXVariant::AsInteger() const {
    switch (FKind) {
        case vkNull:
            return 0;
        case vkInteger:
            return FValue.toLongLong();
        case vkFloat: {
            // Out of range (or NaN) would wrap to a wrong number without a word.
            const double d = FValue.toDouble();
            if (!(d >= -0x1p63 && d < 0x1p63)) Fail(AsString(), "integer");
            return qlonglong(d);
        }
        case vkBoolean:
            return FValue.toBool() ? 1 : 0;
        case vkString: {
            bool ok = false;
            const qlonglong r = FValue.toString().trimmed().toLongLong(&ok);
            if (!ok) Fail(FValue.toString(), "integer");
            return r;
        }
        default:
            Fail(AsString(), "integer");
    }
}

double TQXVariant::AsFloat() const {
    switch (FKind) {
        case vkNull:
            return 0;
        case vkInteger:
            return double(FValue.toLongLong());
        case vkFloat:
            return FValue.toDouble();
        case vkBoolean:
            return FValue.toBool() ? 1 : 0;
        case vkString: {
            bool ok = false;
            const double r = FValue.toString().trimmed().toDouble(&ok);
            if (!ok) Fail(FValue.toString(), "floating point");
            return r;
        }
        default:
            Fail(AsString(), "floating point");
    }
}

bool TQXVariant::AsBoolean() const {
    switch (FKind) {
        case vkNull:
            return false;
        case vkBoolean:
            return FValue.toBool();
        case vkInteger:
            return FValue.toLongLong() != 0;
        case vkFloat:
            return FValue.toDouble() != 0;
        case vkString: {
            const QString s = FValue.toString().trimmed().toUpper();
            if (s == QLatin1String("TRUE") || s == QLatin1String("1")) return true;
            if (s == QLatin1String("FALSE") || s == QLatin1String("0")) return false;
            Fail(FValue.toString(), "boolean");
        }
        default:
            Fail(AsString(), "boolean");
    }
}

QString TQXVariant::AsString() const {
    switch (FKind) {
        case vkNull:
            return QString();
        case vkBoolean:
            return FValue.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        case vkFloat:
            // The shortest text that reads back as the same number.
            return QString::number(FValue.toDouble(), 'g', QLocale::FloatingPointShortest);
        case vkDate:
            return FValue.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        case vkDateTime:
            return DateTimeToText(FValue.toDateTime());
        case vkBinary:
            return QString::fromUtf8(FValue.toByteArray());
        default:
            return FValue.toString();
    }
}

QDate TQXVariant::AsDate() const {
    if (FKind == vkDate) return FValue.toDate();
    return AsDateTime().date();
}

QDateTime TQXVariant::AsDateTime() const {
    switch (FKind) {
        case vkNull:
            return QDateTime();
        case vkDateTime:
            return FValue.toDateTime();
        case vkDate:
            return FValue.toDate().startOfDay();
        case vkString: {
            bool ok = false;
            const QDateTime r = TextToDateTime(FValue.toString(), &ok);
            if (!ok) Fail(FValue.toString(), "date and time");
            return r;
        }
        default:
            Fail(AsString(), "date and time");
    }
}

QByteArray TQXVariant::AsBinary() const {
    if (FKind == vkBinary) return FValue.toByteArray();
    if (FKind == vkNull) return QByteArray();
    return AsString().toUtf8();
}

bool TQXVariant::operator==(const TQXVariant& other) const {
    if (FKind != other.FKind) return false;
    return FKind == vkNull || FValue == other.FValue;
}
