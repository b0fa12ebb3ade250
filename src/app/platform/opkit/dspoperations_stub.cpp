// TEMPORARY stand-in for the structure operations: every one of them says it
// is not there yet. Dropped when the operations land.
#include "basekit/errors.h"
#include "dspoperations.h"

namespace {

[[noreturn]] void NotYet(const char* operation) {
    throw EPelvarError(QStringLiteral("%1 is not available yet").arg(QLatin1String(operation)));
}

}  // namespace

bool ExecuteUtilOperationDirect(TUtilOperation& operation) {
    TOperationContext context;
    operation.Execute(context);
    return true;
}

void TUODeleteDSPObject::Execute(TOperationContext&) {
    NotYet("TUODeleteDSPObject");
}
void TUODeleteDSPObjects::Execute(TOperationContext&) {
    NotYet("TUODeleteDSPObjects");
}
void TUODeleteDSPStructure::Execute(TOperationContext&) {
    NotYet("TUODeleteDSPStructure");
}
void TUOCopyDSPStructure::Execute(TOperationContext&) {
    NotYet("TUOCopyDSPStructure");
}
void TUOCopyDSPObject::Execute(TOperationContext&) {
    NotYet("TUOCopyDSPObject");
}
void TUOExportDSPObjects::Execute(TOperationContext&) {
    NotYet("TUOExportDSPObjects");
}
