#include "dspactions.h"

#include <QFile>
#include <memory>
#include <utility>

#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "model/exportconfirm.h"
#include "opkit/dspoperations.h"
#include "opkit/eifile.h"

namespace {

TDSPOperationRunner& Runner() {
    static TDSPOperationRunner runner;
    return runner;
}

}  // namespace

TDSPOperationRunner SetDSPOperationRunner(TDSPOperationRunner runner) {
    return std::exchange(Runner(), std::move(runner));
}

bool RunDSPOperationDirect(TUtilOperation& operation) {
    if (Runner().Direct) return Runner().Direct(operation);
    return ExecuteUtilOperationDirect(operation);
}

TOperationResult RunDSPOperation(TUtilOperation& operation, const QString& caption) {
    if (Runner().WithProgress) return Runner().WithProgress(operation, caption);
    return ExecuteUtilOperation(operation, caption);
}

bool DSPDatabaseObjectExists(const QString& alias, const QString& name, int objectType) {
    switch (objectType) {
        case 10:
            return BaseMng().TableExists(name, alias, QString());
        case 71:
            return DicDBContainer().GetDicDatabase(alias).GeneratorExists(name);
        case 72:
            return DicDBContainer().GetDicDatabase(alias).ViewExists(name);
        case 73:
            return DicDBContainer().GetDicDatabase(alias).ExecStoredProcExists(name);
        case 74:
            return DicDBContainer().GetDicDatabase(alias).SelectStoredProcExists(name);
        default:
            return false;
    }
}

namespace {

// The dialog's mode: no object of the kind, one, or several.
int ExportMode(int count) {
    return qMin(count, 2);
}

}  // namespace

void ExportDSPRecords(const QString& alias, const TDSPList& records) {
    int forms = 0, tables = 0;
    for (int i = 0; i < records.Count(); ++i) {
        forms += records.Items(i).ObjectType == 12 ? 1 : 0;
        tables += records.Items(i).ObjectType == 10 ? 1 : 0;
    }
    TExportConfirmRequest request;
    request.ResourcesMode = ExportMode(forms);
    request.TableDataMode = ExportMode(tables);
    if (!ExportConfirm(request)) return;

    // A separate export writes a file per structure into the directory chosen.
    // The operation writes a new file under a temporary name and renames it
    // into place, or appends and takes its sections back on failure: an
    // existing file is never emptied before the export has succeeded.
    bool append = false;
    if (!request.SeparateExport && QFile::exists(request.FileName)) {
        switch (ExportOverwriteConfirm(request.FileName)) {
            case 6:
                break;
            case 7:
                append = true;
                break;
            default:
                return;
        }
    }

    TUOExportDSPObjects operation;
    operation.SetSourceAlias(alias);
    operation.ExportLResources = request.ExportLResources;
    operation.ExportTableData = request.ExportTableData;
    operation.SeparateExport = request.SeparateExport;
    operation.SeparateTableData = request.SeparateTableData;
    operation.SeparateDialogRes = request.SeparateDialogRes;
    operation.SetFileName(request.FileName);
    operation.NewFormat = request.NewFormat;
    operation.UTF8 = request.UTF8;
    operation.Append = append;
    operation.SetWriteFlag(true);
    operation.Items.Assign(records);
    operation.Items.Sort(dskForExport);
    RunDSPOperation(
        operation,
        LString(QStringLiteral("M_Pelvar_DODSPStr_ExportDSPStructuresOperationCaption")));
}
