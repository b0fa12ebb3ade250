#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The questions asked before anything is written to an export/import file:
// where it goes, in which encoding and format, whether each object gets a file
// of its own, whether an existing file is rewritten, which languages go with
// it. Every answer is remembered under "\PELVAR\Confirmations\" and offered
// again. This part holds the rules and the memory; the dialogs are installed
// as prompts by the user interface (InstallExportDialogs), and without them
// every question answers Cancel.

// ---- the export confirmation (structures, whole databases) ----

// What the export confirmation shows and edits: the raw state of its boxes,
// exactly as it is remembered.
struct TExportConfirmState {
    bool ExportLResources = true;
    bool ExportTableData = true;
    bool SeparateExport = false;
    bool SeparateDialogRes = false;
    bool SeparateTableData = false;
    QString FileName;
    QString DirName;
    bool Release17 = false;
    QString Encoding = QStringLiteral("UTF8");  // empty: none chosen
};

// The caller's view. Modes (resources and table data): 0 nothing of the kind
// to export (the box is shown disabled), 1 one object, 2 several.
struct TExportConfirmRequest {
    int ResourcesMode = 0;
    int TableDataMode = 0;
    // In: offered when no name is remembered. Out: the file, or the directory
    // when each object goes to a file of its own.
    QString FileName;
    bool ExportLResources = false;
    bool ExportTableData = false;
    bool SeparateExport = false;
    // Both are false unless SeparateExport is true.
    bool SeparateTableData = false;
    bool SeparateDialogRes = false;
    bool NewFormat = true;  // false: the release 17 layout
    bool UTF8 = true;       // false: "ANSI"
};

// Which control refuses OK.
enum class TExportConfirmFault { None, Name, Encoding };

// Encodings offered, in this order; an unknown one falls back to the first.
const QStringList& ExportEncodings();
QString NormalizedExportEncoding(const QString& encoding);

QString ExportResourcesCaptionId(int mode);
QString ExportTableDataCaptionId(int mode);
bool ExportModeEnabled(int mode);
// The file-or-directory label of the export confirmation.
QString ExportNameLabelId(bool separate);
bool ExportEncodingEnabled(bool release17);
bool SeparateDialogResEnabled(const TExportConfirmState& state, int resourcesMode);
bool SeparateTableDataEnabled(const TExportConfirmState& state, int tableDataMode);
TExportConfirmFault CheckExportConfirm(const TExportConfirmState& state);

// Reads the remembered answers; `fileName` is offered when none is remembered.
// A value of the wrong type counts as missing.
TExportConfirmState LoadExportConfirmState(const QString& fileName = QString());
// Remembers every answer; a settings store that cannot be written is not the
// export's problem and is ignored.
void StoreExportConfirmState(const TExportConfirmState& state);
void WriteExportConfirmOutputs(const TExportConfirmState& state, TExportConfirmRequest& request);

// ---- the local resource export confirmations ----

struct TLExportConfirmState {
    bool SeparateExport = false;  // the extended form only
    QString FileName;
    QString DirName;  // the extended form only
    bool Release17 = false;
    QString Encoding = QStringLiteral("UTF8");
};

struct TLExportConfirmRequest {
    QString FileName;             // in/out; in: offered when none is remembered
    QString DirName;              // the extended form only, in/out
    bool SeparateExport = false;  // the extended form only
    bool NewFormat = true;
    bool UTF8 = true;
};

QString LExportNameLabelId(bool separate);
TExportConfirmFault CheckLExportConfirm(const TLExportConfirmState& state, bool extended);
// The directory that must exist before the export: the directory itself for a
// separate export, else the file's directory.
QString LExportTargetDirectory(const TLExportConfirmState& state, bool extended);
// True when `dir` exists or the user agreed to create it and it was created.
bool ConfirmExportDirectory(const QString& dir);
TLExportConfirmState LoadLExportConfirmState(bool extended, const QString& fileName = QString(),
                                             const QString& dirName = QString());
void StoreLExportConfirmState(const TLExportConfirmState& state, bool extended);

// ---- the prompts the user interface installs ----

struct TExportDialogPrompts {
    // Edits the state; true on OK.
    std::function<bool(TExportConfirmState& state, int resourcesMode, int tableDataMode)>
        ExportConfirm;
    // Returns 6 (rewrite), 7 (add to the file, only when `canAppend`) or 2 (cancel).
    std::function<int(const QString& fileName, bool canAppend)> Overwrite;
    // `languages` holds every language; on OK it keeps only those chosen.
    std::function<bool(const QString& database, QStringList& languages)> LanguagesSelect;
    std::function<bool(TLExportConfirmState& state, bool extended)> LExportConfirm;
};
// Returns the prompts installed before.
TExportDialogPrompts SetExportDialogPrompts(TExportDialogPrompts prompts);

// ---- what the exports call ----

// The export confirmation; true on OK. Whatever the answer, the choices made
// are remembered and the outputs written.
bool ExportConfirm(TExportConfirmRequest& request);
// An existing export file: 6 rewrite it, 7 add to it, 2 cancel.
int ExportOverwriteConfirm(const QString& fileName);
// An existing XML file, which cannot be added to: 6 rewrite it, 2 cancel.
int ExportOverwriteXMLConfirm(const QString& fileName);
// Fills `languages` with every language of the database and lets the user
// narrow it; true on OK.
bool LanguagesSelect(const QString& database, QStringList& languages);
// The local resource export confirmations; true on OK. Choices are remembered
// whatever the answer.
bool LExportConfirm(TLExportConfirmRequest& request);
bool LExportConfirmEx(TLExportConfirmRequest& request);
