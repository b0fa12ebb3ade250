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
// With `maskCommentMarks` a "?" inside a comment becomes a full-width "？"
// (U+FF1F), for drivers that take every "?" outside literals for a marker;
// otherwise comments reach the driver unchanged.
TSqlParameterText ParseSqlParameters(const QString& sql, bool maskCommentMarks = false);
