#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Typed property values of a DSP tree as the user reads and types them.
// Types are named as the stored body names them: "string", "integer", "float",
// "boolean", "datetime", "binary".

// Every property type, in the order the editor offers them.
QStringList DSPTypeNames();
// The stored type of a value.
QString DSPTypeOf(const QVariant& value);
// The type as the user reads it (localised); "node" for an empty type.
QString DSPTypeCaption(const QString& type);
// The value of a new property of the type.
QVariant DSPDefaultValue(const QString& type);
// Short text for the tree (a binary value shows its size and its first bytes).
QString DSPDisplayText(const QVariant& value);
// The whole value as the user edits it (a binary value as hex digits).
QString DSPEditText(const QVariant& value);
// Reads text typed for a property of the type; false when the text is not a
// value of that type.
bool DSPParseValue(const QString& type, const QString& text, QVariant& value);
