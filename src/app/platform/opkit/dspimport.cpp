#include "dspimport.h"

#include "dbexchange.h"
#include "dbsinks.h"
#include "dspopsupport.h"
#include "eifile.h"

void TUOImportDSPObjects::Execute(TOperationContext& context) {
    if (!File) throw EEIFileError(QStringLiteral("No export/import file was given"));
    if (!File->Opened()) File->Open();
    const QString to = DSPOps::ResolveAlias(TargetAlias);
    DBExchange::TDatabaseSink::TOptions options;
    options.ReplaceStructures = ReplaceExisting;
    options.ReplaceTableData = ReplaceExisting;
    const unsigned parts = ImportTableData ? dpAll : dpAll & ~dpTableData;
    DSPOps::InTransaction(to, [&] {
        DBExchange::TDatabaseSink sink(to, options, context);
        DBExchange::ReadFile(*File, SectionIndexes, parts, sink, context);
        context.CheckCancel();
    });
}
