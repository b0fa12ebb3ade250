#include "dspimport.h"

#include <algorithm>

#include "appcore/structurebodies.h"
#include "dbexchange.h"
#include "dbsinks.h"
#include "dspopsupport.h"
#include "eifile.h"
#include "eiobjects.h"

void TUOImportDSPObjects::Execute(TOperationContext& context) {
    if (!File) throw EEIFileError(QStringLiteral("No export/import file was given"));
    if (!File->Opened()) File->Open();
    for (const int i : SectionIndexes) {
        const TEISection& section = *File->Sections().GetSections(i);
        if (section.ClassName() != QLatin1String("TEIDSPStructure"))
            throw EEIFileError(QStringLiteral("Section %1 of file %2 (%3) is no DSP structure")
                                   .arg(i)
                                   .arg(File->FileName(), section.ClassName()));
    }
    QList<int> sections = SectionIndexes;
    sections += RelatedSections(*File, SectionIndexes,
                                {CreateDBObjects, ImportTableData, ImportLResources});
    std::sort(sections.begin(), sections.end());  // structures before the rows of their tables
    const QString to = DSPOps::ResolveAlias(TargetAlias());
    DBExchange::TDatabaseSink::TOptions options;
    options.ReplaceStructures = ReplaceExisting;
    options.ReplaceTableData = ReplaceExisting;
    options.CreateObjects = CreateDBObjects;
    const unsigned parts = dpStructures | (ImportTableData ? unsigned(dpTableData) : 0u) |
                           (ImportLResources ? unsigned(dpResources) : 0u);
    DSPOps::InTransaction(to, [&] {
        DBExchange::TDatabaseSink sink(to, options, context);
        sink.ExpectParts(parts & DBExchange::FileParts(*File, sections));
        DBExchange::ReadFile(*File, sections, parts, sink, context);
        sink.Finish();
        context.CheckCancel();
    });
}
