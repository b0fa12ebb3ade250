#pragma once

#include <QString>
#include <QStringList>

// A statement's text as sent to the driver, and the names of its parameters.
struct TSqlParameterText {
    QString NativeSql;  // every ":name" replaced by "?"
    QStringList Names;  // one entry per "?", in order; a name used twice appears twice
};

// Replaces ":name" parameters with "?" outside string literals (dollar-quoted
// ones included), quoted identifiers and comments; "::" (casts) is left alone.
// A "?" inside a comment becomes a full-width "？" (U+FF1F): some drivers take
// every "?" outside literals for a marker.
TSqlParameterText ParseSqlParameters(const QString& sql);
