#pragma once

#include <QString>

// Reads one value of an ini file ("[Section]" headers, "Key=Value" lines, ";" or
// "#" comments). Section and key names are matched without regard to case; the
// value is trimmed. A missing file, section or key gives `defaultValue`.
QString QX_GetIniStrParamValue(const QString& fileName, const QString& section, const QString& key,
                               const QString& defaultValue);
