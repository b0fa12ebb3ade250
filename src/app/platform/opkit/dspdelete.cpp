#include "appcore/platform.h"
#include "dspoperations.h"
#include "dspopsupport.h"

using namespace DSPOps;

bool ExecuteUtilOperationDirect(TUtilOperation& operation) {
    const TOperationResult result = ExecuteUtilOperation(operation, QString());
    return result.Completed && result.Errors.isEmpty();
}

void TUODeleteDSPObject::Execute(TOperationContext& context) {
    Q_UNUSED(context);
    const QString alias = ResolveAlias(SourceAlias());
    InTransaction(alias, [&] {
        DeleteStructure(alias, Name, ObjectType, DeleteDBObject, DeleteLocalResources);
    });
}

void TUODeleteDSPObjects::Execute(TOperationContext& context) {
    const QString alias = ResolveAlias(SourceAlias());
    const int total = Items.Count();
    InTransaction(alias, [&] {
        for (int i = 0; i < total; ++i) {
            context.CheckCancel();
            const TDSPListItem& item = Items.Items(i);
            context.Status(QStringLiteral("Deleting DSP structure %1")
                               .arg(Describe(item.Name, item.ObjectType)));
            DeleteStructure(alias, item.Name, item.ObjectType, DeleteDBObjects,
                            DeleteLocalResources);
            context.Progress(i + 1, total);
        }
        // The last chance to stop before the deletions become final.
        context.CheckCancel();
    });
}

void TUODeleteDSPStructure::Execute(TOperationContext& context) {
    Q_UNUSED(context);
    const QString alias = ResolveAlias(SourceAlias());
    InTransaction(alias, [&] { DeleteStructure(alias, Name, ObjectType, false, false); });
}
