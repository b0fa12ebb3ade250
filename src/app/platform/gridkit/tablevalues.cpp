#include "tablevalues.h"

#include "appcore/texts.h"
#include "basekit/datatypes.h"

QString TableValueText(const TQXVariant& value, int dataType) {
    if (value.IsNull()) return QString();
    switch (value.Kind()) {
        case TQXVariant::vkFloat:
            return QString::number(value.AsFloat(), 'g', 15);
        case TQXVariant::vkDateTime:
            return DateTimeToText(value.AsDateTime());
        case TQXVariant::vkDate:
            return value.AsDate().toString(Qt::ISODate);
        case TQXVariant::vkBoolean:
            return value.AsBoolean() ? QStringLiteral("1") : QStringLiteral("0");
        default:
            return dataType == dtBoolean && value.Kind() == TQXVariant::vkInteger
                       ? QString::number(value.AsInteger() != 0)
                       : value.AsString();
    }
}

TQXVariant TableTextToValue(const QString& text, int dataType, bool* ok) {
    bool good = true;
    TQXVariant v;
    const QString t = text.trimmed();
    if (IsTextDataType(dataType)) {
        v = TQXVariant(text);
    } else if (dataType == dtBoolean) {
        if (t == QLatin1String("1") || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            v = TQXVariant(true);
        else if (t == QLatin1String("0") ||
                 t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            v = TQXVariant(false);
        else
            good = false;
    } else if (IsIntegerDataType(dataType)) {
        const qlonglong n = t.toLongLong(&good);
        if (good) v = TQXVariant(n);
    } else if (dataType == dtFloat || dataType == dtCurrency) {
        const double d = t.toDouble(&good);
        if (good) v = TQXVariant(d);
    } else if (dataType == dtDate) {
        const QDate d = QDate::fromString(t, Qt::ISODate);
        good = d.isValid();
        if (good) v = TQXVariant(d);
    } else if (dataType == dtDateTime) {
        const QDateTime d = TextToDateTime(t, &good);
        if (good) v = TQXVariant(d);
    } else {
        good = false;  // BLOBs are not typed in
    }
    if (ok) *ok = good;
    return good ? v : TQXVariant();
}

QString GridDisplayText(const TQXVariant& value, int dataType) {
    if (value.IsNull()) return LString(QStringLiteral("M_Pelvar_Grid_NullText"));
    if (IsBlobDataType(dataType)) return LString(QStringLiteral("M_Pelvar_Grid_BlobText"));
    return TableValueText(value, dataType);
}
