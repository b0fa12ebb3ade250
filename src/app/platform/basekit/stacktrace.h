#pragma once

#include <QString>
#include <QStringList>

// Exception stack traces, switched on at start-up from "debug.ini".
// With a symbol map, addresses inside the executable are named from a map file
// ("<program>.map", lines "<hex address> <type> <symbol>" as `nm -C` prints them).
void SetStackTraceSupport(bool enabled, bool useMapFile, const QString& mapFileName = QString());
bool StackTraceEnabled();
bool StackTraceUsesMap();

// The current call stack, one frame per line, skipping `skipFrames` innermost frames;
// empty when stack tracing is off.
QStringList CaptureStackIfEnabled(int skipFrames = 0);
QStringList CaptureStack(int skipFrames = 0);
