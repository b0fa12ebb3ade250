#include "dspimport.h"

#include "appcore/structurebodies.h"
#include "dbexchange.h"
#include "dbsinks.h"
#include "dspopsupport.h"
#include "eifile.h"
#include "eiobjects.h"

namespace {

// The chosen structure sections and, when asked, the rows that the export
// wrote right after a table structure.
QList<int> WithTableData(TEIFile& file, const QList<int>& indexes, bool tableData) {
    QList<int> result;
    for (const int i : indexes) {
        const TEISection& section = *file.Sections().GetSections(i);
        if (section.ClassName() != QLatin1String("TEIDSPStructure"))
            throw EEIFileError(QStringLiteral("Section %1 of file %2 (%3) is no DSP structure")
                                   .arg(i)
                                   .arg(file.FileName(), section.ClassName()));
        result << i;
        if (!tableData || i + 1 >= file.Sections().GetCount()) continue;
        const TEISection& next = *file.Sections().GetSections(i + 1);
        const QString prefix = QStringLiteral("%1:").arg(int(otTable));
        if (next.ClassName() == QLatin1String("TEITableData") &&
            section.Name().startsWith(prefix) &&
            next.Name().compare(section.Name().mid(prefix.size()), Qt::CaseInsensitive) == 0)
            result << i + 1;
    }
    return result;
}

}  // namespace

void TUOImportDSPObjects::Execute(TOperationContext& context) {
    if (!File) throw EEIFileError(QStringLiteral("No export/import file was given"));
    if (!File->Opened()) File->Open();
    const QList<int> sections = WithTableData(*File, SectionIndexes, ImportTableData);
    const QString to = DSPOps::ResolveAlias(TargetAlias());
    DBExchange::TDatabaseSink::TOptions options;
    options.ReplaceStructures = ReplaceExisting;
    options.ReplaceTableData = ReplaceExisting;
    DSPOps::InTransaction(to, [&] {
        DBExchange::TDatabaseSink sink(to, options, context);
        DBExchange::ReadFile(*File, sections, dpStructures | dpTableData, sink, context);
        context.CheckCancel();
    });
}
