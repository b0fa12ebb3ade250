#include "aliasexchange.h"

#include <QFile>

#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "model/exportconfirm.h"
#include "opkit/dbexchange.h"
#include "opkit/dspoperations.h"
#include "opkit/lresoperations.h"
#include "structures/dspactions.h"

namespace {

// A file per structure: the structure operation knows how.
void ExportSeparately(const QString& alias, const TExportConfirmRequest& request) {
    TUOExportDSPObjects operation;
    operation.SetSourceAlias(alias);
    operation.SetWriteFlag(true);
    GetDSPTable(alias).FillStructuresList(0, operation.Items);
    operation.Items.Sort(dskForExport);
    operation.ExportLResources = request.ExportLResources;
    operation.ExportTableData = request.ExportTableData;
    operation.SeparateExport = true;
    operation.SeparateTableData = request.SeparateTableData;
    operation.SeparateDialogRes = request.SeparateDialogRes;
    operation.NewFormat = request.NewFormat;
    operation.UTF8 = request.UTF8;
    operation.SetFileName(request.FileName);
    RunDSPOperation(operation,
                    LString(QStringLiteral("M_Pelvar_DOAlias_ExportingDatabaseOperationCaption")));
}

}  // namespace

void ExportAliasDatabase(const QString& alias) {
    TExportConfirmRequest request;
    request.ResourcesMode = 2;
    request.TableDataMode = 2;
    if (!ExportConfirm(request)) return;
    QStringList languages;
    if (!LanguagesSelect(alias, languages)) return;
    if (request.SeparateExport) return ExportSeparately(alias, request);
    bool append = false;
    if (QFile::exists(request.FileName)) {
        const int answer = ExportOverwriteConfirm(request.FileName);
        if (answer != IDYES && answer != IDNO) return;
        append = answer == IDNO;
    }
    TUOExportDatabase operation;
    operation.SetSourceAlias(alias);
    operation.SetWriteFlag(true);
    operation.SetFileName(request.FileName);
    operation.Parts = dpStructures | dpLanguages |
                      (request.ExportLResources ? unsigned(dpResources) : 0u) |
                      (request.ExportTableData ? unsigned(dpTableData) : unsigned(dpObjects));
    operation.Languages = languages;
    operation.UTF8 = request.UTF8;
    operation.NewFormat = request.NewFormat;
    operation.Append = append;
    RunDSPOperation(operation,
                    LString(QStringLiteral("M_Pelvar_DOAlias_ExportingDatabaseOperationCaption")));
}

void ImportIntoAlias(const QString& alias) {
    const QStringList files = Interaction().OpenFileNames(
        LString(QStringLiteral("M_Pelvar_DOAlias_ImportActionCaption")), QString(),
        QStringLiteral("Export/import files (*.eif);;All files (*)"));
    if (files.isEmpty()) return;
    TUOImportFiles operation;
    operation.SetTargetAlias(alias);
    operation.SetWriteFlag(true);
    operation.FileNames = files;
    RunDSPOperation(operation, QStringLiteral("Importing files ..."));
}
