#include "exportconfirm.h"

#include <QDir>
#include <QFileInfo>

#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"

namespace {

const QString kKey = QStringLiteral("\\PELVAR\\Confirmations\\");
// The value names are those earlier versions wrote ("ExportLReosurces" too).
const QString kExportLResources = QStringLiteral("ExportLReosurces");
const QString kExportTableData = QStringLiteral("ExportTableData");
const QString kSeparateExport = QStringLiteral("SeparateExport");
const QString kSeparateDialogRes = QStringLiteral("SeparateExportDialogRes");
const QString kSeparateTableData = QStringLiteral("SeparateExportTableData");
const QString kFileName = QStringLiteral("ExportFileName");
const QString kDirName = QStringLiteral("ExportDirName");
const QString kRelease17 = QStringLiteral("ReleaseVersion17ExportFormat");
const QString kEncoding = QStringLiteral("ExportEncoding");

template <typename T>
T Load(const QString& name, const T& def) {
    try {
        return LoadRegistryParam(kKey + name, def);
    } catch (const EPelvarError&) {
        return def;
    }
}

// Remembering is a convenience: a store that cannot be written never stops
// the export.
template <typename Writes>
void StoreAll(Writes writes) {
    try {
        writes();
    } catch (const EPelvarError&) {
    }
}

void Save(const QString& name, const QString& value) {
    SaveRegistryParam(kKey + name, value);
}
void Save(const QString& name, bool value) {
    SaveRegistryParam(kKey + name, value);
}

// A remembered empty name lets the caller's name through.
QString LoadName(const QString& name, const QString& offered) {
    const QString stored = Load(name, QString());
    return stored.isEmpty() ? offered : stored;
}

TExportDialogPrompts& Prompts() {
    static TExportDialogPrompts prompts;
    return prompts;
}

}  // namespace

// ---- the export confirmation ----

const QStringList& ExportEncodings() {
    static const QStringList encodings{QStringLiteral("UTF8"), QStringLiteral("ANSI")};
    return encodings;
}

QString NormalizedExportEncoding(const QString& encoding) {
    for (const QString& e : ExportEncodings())
        if (e.compare(encoding, Qt::CaseInsensitive) == 0) return e;
    return ExportEncodings().first();
}

QString ExportResourcesCaptionId(int mode) {
    return mode == 2 ? QStringLiteral("M_Pelvar_ExpCnfm_ExportLResources")
                     : QStringLiteral("M_Pelvar_ExpCnfm_ExportLReource");
}

QString ExportTableDataCaptionId(int mode) {
    return mode == 2 ? QStringLiteral("M_Pelvar_ExpCnfm_ExportTablesData")
                     : QStringLiteral("M_Pelvar_ExpCnfm_ExportTableData");
}

bool ExportModeEnabled(int mode) {
    return mode == 1 || mode == 2;
}

QString ExportNameLabelId(bool separate) {
    return separate ? QStringLiteral("M_Pelvar_ExpCnfm_DirNameLabel_L")
                    : QStringLiteral("M_Pelvar_ExpCnfm_FileNameLabel_L");
}

bool ExportEncodingEnabled(bool release17) {
    return !release17;
}

bool SeparateDialogResEnabled(const TExportConfirmState& state, int resourcesMode) {
    return state.SeparateExport && ExportModeEnabled(resourcesMode) && state.ExportLResources;
}

bool SeparateTableDataEnabled(const TExportConfirmState& state, int tableDataMode) {
    return state.SeparateExport && ExportModeEnabled(tableDataMode) && state.ExportTableData;
}

TExportConfirmFault CheckExportConfirm(const TExportConfirmState& state) {
    const QString& name = state.SeparateExport ? state.DirName : state.FileName;
    if (name.trimmed().isEmpty()) return TExportConfirmFault::Name;
    if (!ExportEncodings().contains(state.Encoding)) return TExportConfirmFault::Encoding;
    return TExportConfirmFault::None;
}

TExportConfirmState LoadExportConfirmState(const QString& fileName) {
    TExportConfirmState s;
    s.ExportLResources = Load(kExportLResources, true);
    s.ExportTableData = Load(kExportTableData, true);
    s.SeparateExport = Load(kSeparateExport, false);
    s.SeparateDialogRes = Load(kSeparateDialogRes, false);
    s.SeparateTableData = Load(kSeparateTableData, false);
    s.FileName = LoadName(kFileName, fileName);
    s.DirName = Load(kDirName, QString());
    s.Release17 = Load(kRelease17, false);
    s.Encoding = NormalizedExportEncoding(Load(kEncoding, ExportEncodings().first()));
    return s;
}

void StoreExportConfirmState(const TExportConfirmState& s) {
    StoreAll([&] {
        Save(kExportLResources, s.ExportLResources);
        Save(kExportTableData, s.ExportTableData);
        Save(kSeparateExport, s.SeparateExport);
        Save(kSeparateDialogRes, s.SeparateDialogRes);
        Save(kSeparateTableData, s.SeparateTableData);
        Save(kFileName, s.FileName);
        Save(kDirName, s.DirName);
        Save(kRelease17, s.Release17);
        Save(kEncoding, s.Encoding);
    });
}

void WriteExportConfirmOutputs(const TExportConfirmState& s, TExportConfirmRequest& r) {
    r.ExportLResources = s.ExportLResources;
    r.ExportTableData = s.ExportTableData;
    r.SeparateExport = s.SeparateExport;
    r.SeparateTableData = s.SeparateExport && s.SeparateTableData;
    r.SeparateDialogRes = s.SeparateExport && s.SeparateDialogRes;
    r.NewFormat = !s.Release17;
    r.UTF8 = s.Encoding == ExportEncodings().first();
    r.FileName = s.SeparateExport ? s.DirName : s.FileName;
}

// ---- the local resource export confirmations ----

QString LExportNameLabelId(bool separate) {
    return separate ? QStringLiteral("M_pelvar_lexpcnex_ExportDirName")
                    : QStringLiteral("M_pelvar_lexpcnex_ExportFileName");
}

TExportConfirmFault CheckLExportConfirm(const TLExportConfirmState& state, bool extended) {
    const QString& name = extended && state.SeparateExport ? state.DirName : state.FileName;
    if (name.trimmed().isEmpty()) return TExportConfirmFault::Name;
    if (!ExportEncodings().contains(state.Encoding)) return TExportConfirmFault::Encoding;
    return TExportConfirmFault::None;
}

QString LExportTargetDirectory(const TLExportConfirmState& state, bool extended) {
    if (extended && state.SeparateExport) return state.DirName.trimmed();
    return QFileInfo(state.FileName.trimmed()).absolutePath();
}

bool ConfirmExportDirectory(const QString& dir) {
    if (QFileInfo(dir).isDir()) return true;
    const QString question =
        SafeFormat(LString(QStringLiteral("M_pelvar_lexpcnex_DirNotExistsCreate"),
                           QStringLiteral("Directory \"%s\" does not exist. Create?")),
                   dir);
    if (Interaction().MessageBox(question, LString(QStringLiteral("ST_CONFIRMATION")),
                                 MB::YESNO | MB::ICONQUESTION) != IDYES)
        return false;
    if (QDir().mkpath(dir)) return true;
    Interaction().MessageBox(
        SafeFormat(LString(QStringLiteral("M_pelvar_lexpcnex_DirNotCreated")), dir),
        LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONWARNING);
    return false;
}

TLExportConfirmState LoadLExportConfirmState(bool extended, const QString& fileName,
                                             const QString& dirName) {
    TLExportConfirmState s;
    s.FileName = LoadName(kFileName, fileName);
    if (extended) {
        s.SeparateExport = Load(kSeparateExport, false);
        s.DirName = LoadName(kDirName, dirName);
    }
    s.Release17 = Load(kRelease17, false);
    s.Encoding = NormalizedExportEncoding(Load(kEncoding, ExportEncodings().first()));
    return s;
}

void StoreLExportConfirmState(const TLExportConfirmState& s, bool extended) {
    StoreAll([&] {
        if (extended) {
            Save(kSeparateExport, s.SeparateExport);
            Save(kDirName, s.DirName);
        }
        Save(kFileName, s.FileName);
        Save(kRelease17, s.Release17);
        Save(kEncoding, s.Encoding);
    });
}

// ---- prompts and what the exports call ----

TExportDialogPrompts SetExportDialogPrompts(TExportDialogPrompts prompts) {
    std::swap(Prompts(), prompts);
    return prompts;
}

bool ExportConfirm(TExportConfirmRequest& request) {
    if (!Prompts().ExportConfirm) return false;
    TExportConfirmState state = LoadExportConfirmState(request.FileName);
    const bool ok = Prompts().ExportConfirm(state, request.ResourcesMode, request.TableDataMode);
    WriteExportConfirmOutputs(state, request);
    StoreExportConfirmState(state);
    return ok;
}

int ExportOverwriteConfirm(const QString& fileName) {
    if (!Prompts().Overwrite) return IDCANCEL;
    return Prompts().Overwrite(fileName, true);
}

int ExportOverwriteXMLConfirm(const QString& fileName) {
    if (!Prompts().Overwrite) return IDCANCEL;
    const int answer = Prompts().Overwrite(fileName, false);
    return answer == IDYES ? IDYES : IDCANCEL;
}

bool LanguagesSelect(const QString& database, QStringList& languages) {
    if (!Prompts().LanguagesSelect) return false;
    languages.clear();
    GetLanguagesTable(database).FillLanguageNames(languages);
    return Prompts().LanguagesSelect(database, languages);
}

namespace {

bool RunLExportConfirm(TLExportConfirmRequest& request, bool extended) {
    if (!Prompts().LExportConfirm) return false;
    TLExportConfirmState state =
        LoadLExportConfirmState(extended, request.FileName, request.DirName);
    const bool ok = Prompts().LExportConfirm(state, extended);
    StoreLExportConfirmState(state, extended);
    request.FileName = state.FileName;
    if (extended) {
        request.DirName = state.DirName;
        request.SeparateExport = state.SeparateExport;
    }
    request.NewFormat = !state.Release17;
    request.UTF8 = state.Encoding == ExportEncodings().first();
    return ok;
}

}  // namespace

bool LExportConfirm(TLExportConfirmRequest& request) {
    return RunLExportConfirm(request, false);
}
bool LExportConfirmEx(TLExportConfirmRequest& request) {
    return RunLExportConfirm(request, true);
}
