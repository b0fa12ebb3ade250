// Stands in until the import of structure sections is written: the drop that
// runs it is in place, the import refuses with a clear error. The real
// TUOImportDSPObjects::Execute replaces this file.
#include "basekit/errors.h"
#include "dspimport.h"

void TUOImportDSPObjects::Execute(TOperationContext&) {
    throw EPelvarError(
        QStringLiteral("Importing structures from export/import files is not available yet"));
}
