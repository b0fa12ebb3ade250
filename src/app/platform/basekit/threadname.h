#pragma once

#include <QString>

// Names the calling thread for diagnostics (debuggers see at most 15 characters;
// CurrentThreadName keeps the whole name).
void SetCurrentThreadName(const QString& name);
QString CurrentThreadName();
