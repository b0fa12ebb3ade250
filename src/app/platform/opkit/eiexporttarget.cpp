#include "eiexporttarget.h"

#include <QFile>

#include "dspexportwriter.h"
#include "eifile.h"
#include "utiloperation.h"

namespace {

void RemoveAddedSections(TEIFile& file, int before, TOperationContext& context) {
    QStringList added;
    for (int i = before; i < file.Sections().GetCount(); ++i)
        added << QString::number(i);
    if (added.isEmpty()) return;
    try {
        file.DeleteSections(added);
    } catch (const std::exception& e) {
        context.Error(
            QStringLiteral("The %1 sections added to file %2 could not be removed again: %3")
                .arg(added.size())
                .arg(file.FileName(), ExceptionMessage(e)));
    }
}

void AppendTo(TEIFile& file, TOperationContext& context,
              const std::function<void(TEIFile&)>& writes) {
    // Writing to a file that vanished would make a new one without a header.
    if (!QFile::exists(file.FileName()))
        throw EEIFileError(QStringLiteral("File %1 not found").arg(file.FileName()));
    if (!file.Opened()) file.OpenForAppend();
    file.CheckWritable();
    const int before = file.Sections().GetCount();
    try {
        writes(file);
    } catch (...) {
        RemoveAddedSections(file, before, context);
        throw;
    }
}

}  // namespace

void WriteExport(const TEIExportTarget& target, TOperationContext& context,
                 const std::function<void(TEIFile&)>& writes) {
    if (target.File) {
        AppendTo(*target.File, context, writes);
    } else if (target.FileName.isEmpty()) {
        throw EEIFileError(QStringLiteral("No export file was given"));
    } else if (target.Append) {
        TEIFile file(target.FileName);
        AppendTo(file, context, writes);
    } else {
        DSPExport::TNewFile file(target.FileName, target.Encoding, target.Release17);
        file.Write(writes);
        file.Commit();
    }
}
