#pragma once

#include <QIODevice>
#include <QString>
#include <vector>

#include "eisection.h"

// What one pass over an export/import file found.
struct TEIIndex {
    bool Release17 = false;
    TEIEncoding Encoding = eeUTF8;
    std::vector<TEISectionInfo> Sections;
    qint64 LineCount = 0;         // lines in the file, the unfinished tail left out
    bool EndsWithNewline = true;  // false when the last line has no line break
    // A section at the end that never got its END (its writer was stopped):
    // where it starts, -1 for none, and the line it starts on.
    qint64 TailStart = -1;
    qint64 TailLine = 0;
};

// Indexes the sections of a file in one streaming pass. A data block whose
// byte count leads to END only has its lines counted, not decoded; any other
// block is read line by line. Raises EEIFileError "File <name>, line <n>: ..."
// for malformed input. An unfinished section at the end is no fault: it is
// left out and reported through TailStart.
TEIIndex IndexEIFile(QIODevice& device, const QString& fileName);
