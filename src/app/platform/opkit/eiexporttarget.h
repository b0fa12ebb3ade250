#pragma once

#include <QString>
#include <functional>

#include "eistream.h"

class TEIFile;
class TOperationContext;

// Where an export goes, and how it stays safe:
// - `file` set: appended to that file (opened for it when it is not open yet);
// - `append`: appended to the existing file `fileName`;
// - otherwise `fileName` is written anew under a temporary name and renamed
//   over the old file once complete; a read-only file is refused.
// An append that fails or is cancelled removes what it added (a failure to
// do so is reported through the context), so the file holds what it held.
struct TEIExportTarget {
    TEIFile* File = nullptr;
    QString FileName;
    bool Append = false;
    TEIEncoding Encoding = eeUTF8;
    bool Release17 = false;
};
void WriteExport(const TEIExportTarget& target, TOperationContext& context,
                 const std::function<void(TEIFile&)>& writes);
