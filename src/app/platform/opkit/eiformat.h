#pragma once

#include <QString>

#include "eistream.h"

// The layout of export/import files, shared by the reader and the writer.
//
//   PELVAR-EI <version> <encoding>       version 1, or 17 for the older layout
//   SECTION <class name>
//   NAME <escaped name>
//   PARAM <escaped name>=<escaped value>  zero or more
//   DATA <lines> <bytes>                 version 17: DATA <lines>
//   >text | ~escaped text                one line per data line
//   END
//
// Counts are written zero padded to a fixed width so that they can be patched
// once the data is written. END is written last: a section at the end of the
// file without it is an append that was stopped, and readers leave it out.
namespace EIFormat {

inline constexpr char kMagic[] = "PELVAR-EI";
inline constexpr int kVersion = 1;
inline constexpr int kVersion17 = 17;
inline constexpr int kCountWidth = 20;
// A bound far above any real file that keeps line arithmetic from overflowing.
inline constexpr qint64 kMaxCount = Q_INT64_C(1) << 53;

QString HeaderLine(TEIEncoding encoding, bool release17);
QString PadCount(qint64 count);

// Backslash escapes: \\ \n \r, and \= where a "=" would end a parameter name.
QString Escape(const QString& text, bool escapeEquals);
// False, with `error` set, for a malformed sequence. `stopAtEquals` ends the
// text at the first unescaped "=" and reports where through `consumed`.
bool Unescape(const QString& text, QString& result, QString& error, bool stopAtEquals = false,
              qsizetype* consumed = nullptr);

// Data lines: ">" + text when it holds no line break, else "~" + escaped text.
QString EncodeDataLine(const QString& text);
bool DecodeDataLine(const QString& line, QString& text, QString& error);

[[noreturn]] void Raise(const QString& fileName, qint64 line, const QString& what);

}  // namespace EIFormat
