#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include "errors.h"

PELVAR_DECLARE_ERROR(EConvertError, EPelvarError);

// A field or parameter value: NULL or one typed value. Conversions that cannot
// be made raise EConvertError naming the value.
class TQXVariant {
  public:
    enum TKind { vkNull, vkInteger, vkFloat, vkBoolean, vkString, vkDate, vkDateTime, vkBinary };

    TQXVariant() = default;
    TQXVariant(int v) : FKind(vkInteger), FValue(qlonglong(v)) {}
    TQXVariant(qlonglong v) : FKind(vkInteger), FValue(v) {}
    TQXVariant(long v) : FKind(vkInteger), FValue(qlonglong(v)) {}  // int64_t on Linux
    TQXVariant(double v) : FKind(vkFloat), FValue(v) {}
    TQXVariant(bool v) : FKind(vkBoolean), FValue(v) {}
    TQXVariant(const QString& v) : FKind(vkString), FValue(v) {}
    TQXVariant(const char* v) : FKind(vkString), FValue(QString::fromUtf8(v)) {}
    TQXVariant(const QDate& v) : FKind(vkDate), FValue(v) {}
    TQXVariant(const QDateTime& v) : FKind(vkDateTime), FValue(v) {}
    TQXVariant(const QByteArray& v) : FKind(vkBinary), FValue(v) {}

    static TQXVariant Null() { return TQXVariant(); }
    static TQXVariant FromQVariant(const QVariant& v);

    TKind Kind() const { return FKind; }
    bool IsNull() const { return FKind == vkNull; }

    qlonglong AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QString AsString() const;  // NULL gives the empty text
    QDate AsDate() const;
    QDateTime AsDateTime() const;
    QByteArray AsBinary() const;
    QVariant ToQVariant() const { return FValue; }

    bool operator==(const TQXVariant& other) const;
    bool operator!=(const TQXVariant& other) const { return !(*this == other); }

  private:
    TKind FKind = vkNull;
    QVariant FValue;
};

// Date and time texts as the program shows and reads them.
QString DateTimeToText(const QDateTime& value);
QDateTime TextToDateTime(const QString& text, bool* ok = nullptr);
