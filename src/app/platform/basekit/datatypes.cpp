#include "datatypes.h"

namespace {
const char* const kNames[kDataTypeCount] = {
    "String",    "Smallint", "Integer", "Float",    "Date",      "DateTime", "Currency",
    "FixedChar", "Memo",     "Blob",    "Word",     "Byte",      "Shortint", "Largeint",
    "AutoInc",   "Graphic",  "Boolean", "LongWord", "WideString"};
}

bool IsValidDataType(int code) {
    return code >= 0 && code < kDataTypeCount;
}
bool IsBlobDataType(int code) {
    return code == dtBlob || code == dtGraphic;
}
bool IsLongDataType(int code) {
    return code == dtMemo || IsBlobDataType(code);
}
bool IsTextDataType(int code) {
    return code == dtString || code == dtFixedChar || code == dtMemo || code == dtWideString;
}
bool IsIntegerDataType(int code) {
    switch (code) {
        case dtSmallint:
        case dtInteger:
        case dtWord:
        case dtByte:
        case dtShortint:
        case dtLargeint:
        case dtAutoInc:
        case dtLongWord:
            return true;
        default:
            return false;
    }
}

QString DataTypeName(int code) {
    return IsValidDataType(code) ? QString::fromLatin1(kNames[code]) : QString();
}

int DataTypeByName(const QString& name) {
    for (int i = 0; i < kDataTypeCount; ++i)
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0) return i;
    return -1;
}
