#pragma once

#include <QString>

// Field data type codes of the platform, as stored in table descriptions and
// table structures.
enum TDataType : int {
    dtString = 0,    // character string, size = declared length
    dtSmallint = 1,  // 16-bit integer
    dtInteger = 2,   // 32-bit integer
    dtFloat = 3,     // 64-bit floating point
    dtDate = 4,
    dtDateTime = 5,
    dtCurrency = 6,
    dtFixedChar = 7,  // fixed-length character string
    dtMemo = 8,       // long text
    dtBlob = 9,       // binary large object
    dtWord = 10,      // 16-bit unsigned
    dtByte = 11,      // 8-bit unsigned
    dtShortint = 12,  // 8-bit signed
    dtLargeint = 13,  // 64-bit integer
    dtAutoInc = 14,   // auto-increment integer
    dtGraphic = 15,   // second BLOB kind (pictures)
    dtBoolean = 16,
    dtLongWord = 17,  // 32-bit unsigned
    dtWideString = 18,
};

constexpr int kDataTypeCount = 19;

bool IsValidDataType(int code);
bool IsBlobDataType(int code);     // 9, 15
bool IsLongDataType(int code);     // 8, 9, 15: not sortable, read in chunks
bool IsTextDataType(int code);     // 0, 7, 8, 18
bool IsIntegerDataType(int code);  // 1, 2, 10..14, 17
inline bool IsSortableDataType(int code) {
    return !IsLongDataType(code);
}
QString DataTypeName(int code);           // "String", "Integer", ...; empty for an unknown code
int DataTypeByName(const QString& name);  // -1 when unknown (case-insensitive)
