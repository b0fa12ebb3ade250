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
    qint64 LineCount = 0;         // lines in the file
    bool EndsWithNewline = true;  // false when the last line has no line break
};

// Indexes the sections of a file in one streaming pass. A data block whose
// byte count leads to END only has its lines counted, not decoded; any other
// block is read line by line. Raises EEIFileError "File <name>, line <n>: ..."
// for malformed input.
TEIIndex IndexEIFile(QIODevice& device, const QString& fileName);
