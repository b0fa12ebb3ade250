#include "resourcecommands.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "lcontainer.h"
#include "lresactions.h"
#include "model/exportconfirm.h"
#include "opkit/lresoperations.h"

namespace {

const QString kActiveXPrefix = QStringLiteral("M_VORNAKAXLIB_");

QStringList DefaultSections() {
    QStringList sections;
    GetLocalizatorTable(QString()).FillSectionList(BaseMng().CurrentLanguage(), sections);
    return sections;
}

// 6 rewrite, 7 add, 0 stop; a missing file is written anew.
int AskTarget(const QString& fileName) {
    if (!QFile::exists(fileName)) return IDYES;
    const int answer = ExportOverwriteConfirm(fileName);
    return answer == IDYES || answer == IDNO ? answer : 0;
}

}  // namespace

QStringList SystemResourceSections(const QStringList& sections) {
    QStringList result;
    for (const QString& s : sections)
        if (IsSystemSection(s)) result << s;
    return result;
}

QStringList ActiveXResourceSections(const QStringList& sections) {
    QStringList result;
    for (const QString& s : sections)
        if (s.toUpper().startsWith(kActiveXPrefix)) result << s;
    return result;
}

void ImportFilesCommand() {
    const QStringList files =
        Interaction().OpenFileNames(LString(QStringLiteral("M_Pelvar_Main_ImportFileAction")),
                                    QString(), QStringLiteral("Eif files (*.eif);;All files (*)"));
    if (files.isEmpty()) return;
    TUOImportFiles operation;
    operation.FileNames = files;
    RunLRes(operation, QStringLiteral("Importing files ..."));
}

void ExportSystemResourcesCommand() {
    TLExportConfirmRequest request;
    if (!LExportConfirm(request)) return;
    const int mode = AskTarget(request.FileName);
    if (!mode) return;
    QStringList languages;
    if (!LanguagesSelect(QString(), languages)) return;
    TUOExportLSections operation;
    operation.Sections = SystemResourceSections(DefaultSections());
    operation.Languages = languages;
    operation.Target = TEIExportTarget{nullptr, request.FileName, mode == IDNO,
                                       request.UTF8 ? eeUTF8 : eeANSI, !request.NewFormat};
    operation.SetWriteFlag(true);
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_ExportActionCaption")));
}

void ExportActiveXResourcesCommand() {
    const QString dir =
        Interaction().SelectDirectory(QStringLiteral("Select directory"), QString());
    if (dir.isEmpty()) return;
    QStringList languages;
    if (!LanguagesSelect(QString(), languages)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList sections = ActiveXResourceSections(DefaultSections());
    QApplication::restoreOverrideCursor();
    for (const QString& section : sections) {
        const QString file = QDir(dir).filePath(section + QStringLiteral(".dat"));
        const int mode = AskTarget(file);
        if (!mode) return;
        TUOExportSingleLResources operation;
        operation.SectionID = section;
        operation.Languages = languages;
        operation.Target = TEIExportTarget{nullptr, file, mode == IDNO, eeUTF8, false};
        RunLRes(operation,
                SafeFormat(LString(QStringLiteral("M_Pelvar_Main_ExportActiveXActionCaption")),
                           section));
    }
}
