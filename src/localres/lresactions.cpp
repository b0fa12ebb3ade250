#include "lresactions.h"

#include <QFile>
#include <memory>
#include <utility>

#include "appcore/texts.h"
#include "basekit/errors.h"
#include "model/exportconfirm.h"
#include "model/pelvarobject.h"
#include "opkit/lresoperations.h"

namespace {

TLResOperationRunner& Runner() {
    static TLResOperationRunner runner;
    return runner;
}

// 6 new file, 7 append, 0 cancel; a missing file is new.
int TargetMode(const QString& fileName) {
    if (!QFile::exists(fileName)) return IDYES;
    const int answer = ExportOverwriteConfirm(fileName);
    return answer == IDYES || answer == IDNO ? answer : 0;
}

TEIExportTarget TargetOf(const TLExportConfirmRequest& request, bool append) {
    return TEIExportTarget{nullptr, request.FileName, append, request.UTF8 ? eeUTF8 : eeANSI,
                           !request.NewFormat};
}

}  // namespace

TLResOperationRunner SetLResOperationRunner(TLResOperationRunner runner) {
    return std::exchange(Runner(), std::move(runner));
}

bool RunLResDirect(TUtilOperation& operation) {
    if (Runner().Direct) return Runner().Direct(operation);
    const TOperationResult result = ExecuteUtilOperation(operation, QString());
    return result.Completed && result.Errors.isEmpty();
}

TOperationResult RunLRes(TUtilOperation& operation, const QString& caption) {
    if (Runner().WithProgress) return Runner().WithProgress(operation, caption);
    return ExecuteUtilOperation(operation, caption);
}

void ExportLSectionsAsked(const QString& alias, const QStringList& sections, bool extended) {
    TLExportConfirmRequest request;
    if (!(extended ? LExportConfirmEx(request) : LExportConfirm(request))) return;
    const bool separate = extended && request.SeparateExport;
    int mode = IDYES;
    if (!separate && !(mode = TargetMode(request.FileName))) return;
    QStringList languages;
    if (!LanguagesSelect(alias, languages)) return;
    TUOExportLSections operation;
    operation.SetSourceAlias(alias);
    operation.Sections = sections;
    operation.Languages = languages;
    operation.Target = TargetOf(request, mode == IDNO);
    operation.SeparateExport = separate;
    if (separate) operation.Target.FileName = request.DirName;
    operation.SetWriteFlag(true);
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_ExportActionCaption")));
}

void ExportLResourcesAsked(const QString& alias, const QString& section,
                           const QStringList& idents) {
    TLExportConfirmRequest request;
    if (!LExportConfirm(request)) return;
    const int mode = TargetMode(request.FileName);
    if (!mode) return;
    QStringList languages;
    if (!LanguagesSelect(alias, languages)) return;
    TUOExportLResource operation;
    operation.SetSourceAlias(alias);
    operation.SectionID = section;
    operation.Idents = idents;
    operation.Languages = languages;
    operation.Target = TargetOf(request, mode == IDNO);
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_ExportActionCaption")));
}

void ExportXMLAsked(const QString& alias, const QStringList& sections) {
    TLExportConfirmRequest request;
    if (!LExportConfirm(request)) return;
    if (QFile::exists(request.FileName) && ExportOverwriteXMLConfirm(request.FileName) != IDYES)
        return;
    QStringList languages;
    if (!LanguagesSelect(alias, languages)) return;
    // Written beside the file and renamed into place: a failed export leaves
    // an existing file as it was.
    const QString temporary = request.FileName + QStringLiteral(".part");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EPelvarError(
            QStringLiteral("Can not create file %1: %2").arg(temporary, file.errorString()));
    TExportXMLLResourceUtilOperation operation;
    operation.SetSourceAlias(alias);
    operation.Stream = &file;
    operation.Sections = sections;
    operation.Languages = languages;
    const TOperationResult result =
        RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_ExportActionCaption")));
    const bool flushed = file.flush();
    file.close();
    if (!result.Completed || result.Cancelled || !flushed) {
        QFile::remove(temporary);
        return;
    }
    QFile::remove(request.FileName);
    if (!QFile::rename(temporary, request.FileName))
        throw EPelvarError(
            QStringLiteral("Can not rename %1 to %2").arg(temporary, request.FileName));
}

void InvalidDropSource(const QString& what, const TPelvarObject& object) {
    throw EPelvarError(
        QStringLiteral("Invalid drop source in %1 (ClassName:'%2')").arg(what, object.ClassName()));
}

TPelvarObjectAction* AddLResAction(TPelvarObject& owner, const char* name, const QString& caption,
                                   int shortcut, int image, TPelvarObjectActionOptions options) {
    TPelvarObjectAction* a = owner.Actions().Add();
    a->Name = QLatin1String(name);
    a->Caption = a->Hint = caption;
    a->Category = QStringLiteral("Edit");
    a->Shortcut = shortcut;
    a->ImageIndex = image;
    a->Options = options;
    return a;
}

bool LResConfirmed(const char* id, int buttons) {
    const int answer = LMessageBox(QLatin1String(id), QStringLiteral("ST_CONFIRMATION"), buttons);
    return answer == IDYES || answer == IDOK;
}
