#include "languagesfolder.h"

#include <QFile>

#include "appcore/configuration.h"
#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "languagesdialog.h"
#include "lresactions.h"
#include "model/exportconfirm.h"
#include "model/shortcuts.h"
#include "opkit/eifile.h"
#include "opkit/lresoperations.h"

namespace {

QString SortKey(const QString& id) {
    return id == QLatin1String("DESCRIPTION") ? QString() : id;
}

// Runs the dialog on the entry; true on OK with the entry and ID read back.
bool EditEntry(QString& id, TOneLanguage& language) {
    TLanguagesDialog dialog;
    dialog.SetEntry(id, language);
    if (Interaction().ExecModal(&dialog) != IDOK) return false;
    id = dialog.ID();
    language = dialog.Entry();
    const QString fault = CheckLanguageEntry(id, language);
    if (!fault.isEmpty()) throw EPelvarError(fault);
    return true;
}

}  // namespace

TDOLanguages::TDOLanguages() : FNotifier(std::make_unique<TLanguagesNotifier>()) {
    FNotifier->SetOwner(this);
    FNotifier->SetCallback([this](const QString& id, int kind) { LanguagesChanged(id, kind); });
}

TDOLanguages::~TDOLanguages() {
    FNotifier.reset();
}

QString TDOLanguages::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolders_LanguagesCaption"));
}

void TDOLanguages::FillTreeViewItem(TTreeNodeItem& Item) {
    TDOCommonFolder::FillTreeViewItem(Item);
    Item.HasChildren = false;  // languages are list rows, never tree nodes
}

void TDOLanguages::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    ShortCut.CaptionID = ShortCut.HintID = QStringLiteral("M_Pelvar_DOLangs_ShortcutCaption");
    ShortCut.ImageIndex = 6;
}

void TDOLanguages::CreateColumns(TListColumns& Columns) {
    Columns.Clear();
    Columns.Add(LString(QStringLiteral("M_Pelvar_DOLangs_MainColumnCaption")), 300, 0);
}

QString TDOLanguages::GetSortMenuItemCaption(int) {
    return LString(QStringLiteral("M_Pelvar_DOLangs_SortCaption"));
}

int TDOLanguages::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) {
    const auto* a = dynamic_cast<const TDOLanguage*>(Item1);
    const auto* b = dynamic_cast<const TDOLanguage*>(Item2);
    if (!a || !b) return TDOCommonFolder::Compare(Item1, Item2, CompareType);
    return QString::compare(SortKey(a->LanguageID()), SortKey(b->LanguageID()), Qt::CaseSensitive);
}

void TDOLanguages::AddItem(const QString& id) {
    auto item = std::make_unique<TDOLanguage>();
    item->SetAliasName(AliasName());
    item->SetLanguageID(id);
    AddSubObject(std::move(item), id);
}

void TDOLanguages::ListLanguages() {
    // A database without the dictionary's system tables simply has none.
    if (!BaseMng().Databases().GetDatabase(AliasName()).TableExists(TLanguagesTable::kTableName))
        return;
    QStringList ids;
    GetLanguagesTable(AliasName()).FillLanguageNames(ids);
    for (const QString& id : ids)
        AddItem(id);
}

bool TDOLanguages::InternalOpen() {
    FNotifier->AddTo(GetLanguagesTable(AliasName()));
    try {
        ListLanguages();
    } catch (...) {
        FNotifier->Remove();
        SubObjects().Clear();
        throw;
    }
    return true;
}

void TDOLanguages::Close() {
    FNotifier->Remove();
    TDOCommonFolder::Close();
}

bool TDOLanguages::Refresh() {
    SubObjects().Clear();
    ListLanguages();
    return true;
}

TPelvarChangeType TDOLanguages::RefreshItem(const QString& SubPath) {
    TPelvarObject* existing = SubObjects().FindBySubPath(SubPath);
    if (!GetLanguagesTable(AliasName()).LanguageExist(SubPath)) {
        if (!existing) return ctItemChanged;
        SubObjects().Delete(SubObjects().IndexOf(existing));
        return ctItemDeleted;
    }
    if (existing) return ctItemChanged;
    AddItem(SubPath);
    return ctItemAdded;
}

void TDOLanguages::LanguagesChanged(const QString& ID, int Kind) {
    if (Kind == lgkAll || ID.isEmpty())
        DataChanged(FullPath());
    else
        DataChanged(FullPath() + QLatin1Char('\\') + ID);
}

void TDOLanguages::FillActions() {
    const TPelvarObjectActionOptions many = {aoSubObjects, aoPopupMenu, aoToolBar, aoMultySelection,
                                             aoSingleSelection};
    AddLResAction(*this, "Lang_Delete", LString(QStringLiteral("ST_DELETE")), Qt::Key_Delete, 9,
                  many)
        ->SetOnExecute([this](const QStringList* selected) {
            if (selected) DeleteSelected(*selected);
        });
    TPelvarObjectActionOptions withNone = many;
    withNone += aoNoSelection;
    AddLResAction(*this, "Lang_Add", LString(QStringLiteral("M_Pelvar_DOLangs_AddActionCaption")),
                  Qt::Key_Insert, 8, withNone)
        ->SetOnExecute([this](const QStringList*) { AddLanguage(); });
    TPelvarObjectActionOptions listed = many;
    listed += aoListItem;
    AddLResAction(*this, "Lang_Export",
                  LString(QStringLiteral("M_Pelvar_DOLangs_ExportToFileActionCaption")), 0, 10,
                  listed)
        ->SetOnExecute([this](const QStringList*) { ExportLanguages(); });
}

void TDOLanguages::AddLanguage() {
    QString id;
    TOneLanguage language;
    language.Font =
        LanguageFontOf(QFont(Configuration().DefaultFontName(), Configuration().DefaultFontSize()));
    if (!EditEntry(id, language)) return;
    GetLanguagesTable(AliasName()).SetLanguage(id, language);
}

void TDOLanguages::DeleteSelected(const QStringList& SubObjects) {
    QStringList ids;
    for (const QString& subPath : SubObjects)
        if (auto* l = dynamic_cast<TDOLanguage*>(this->SubObjects().FindBySubPath(subPath)))
            ids << l->LanguageID();
    if (ids.isEmpty()) return;
    if (ids.size() == 1) {
        if (LMessageBox(QStringLiteral("M_Pelvar_LangForm_DeleteConfirm"),
                        QStringLiteral("ST_WARNING"), MB::YESNO | MB::ICONWARNING) != IDYES)
            return;
    } else {
        const QString text = SafeFormat(
            LString(QStringLiteral("M_Pelvar_LangForm_MultyDeleteConfirm")), int(ids.size()));
        if (Interaction().MessageBox(text, LString(QStringLiteral("ST_CONFIRMATION")),
                                     MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
    }
    for (const QString& id : ids)
        GetLanguagesTable(AliasName()).DeleteLanguage(id);
}

void TDOLanguages::ExportLanguages() {
    TLExportConfirmRequest request;
    if (!LExportConfirm(request)) return;
    bool append = false;
    if (QFile::exists(request.FileName)) {
        const int answer = ExportOverwriteConfirm(request.FileName);
        if (answer != IDYES && answer != IDNO) return;
        append = answer == IDNO;
    }
    TUOExportLanguages operation;
    operation.SetSourceAlias(AliasName());
    GetLanguagesTable(AliasName()).FillLanguageNames(operation.Languages);
    operation.Target = TEIExportTarget{nullptr, request.FileName, append,
                                       request.UTF8 ? eeUTF8 : eeANSI, !request.NewFormat};
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLang_ExportActionCaption")));
}

// ---- drops ----

namespace {

bool IsEILanguage(const TPelvarObject& o) {
    return o.ClassName() == QLatin1String("TDOEILanguageFolder") ||
           o.ClassName() == QLatin1String("TDOEILanguageItem");
}

}  // namespace

bool TDOLanguages::InternalAcceptDragObject(const QStringList& ParsedPath,
                                            const TPelvarObjectList& SubItems) {
    if (ParsedPath.isEmpty() || ParsedPath.first().toUpper() == AliasName()) return false;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        if (!dynamic_cast<const TDOLanguages*>(&o) && !dynamic_cast<const TDOLanguage*>(&o) &&
            !IsEILanguage(o))
            return false;
    }
    return SubItems.Count() > 0;
}

void TDOLanguages::InternalDragObjectDropped(const QStringList& ParsedPath,
                                             const TPelvarObjectList& SubItems) {
    if (SubItems.Count() == 0 || ParsedPath.isEmpty()) return;
    const TPelvarObject& first = *SubItems.Items(0);
    TLanguageStrings gathered;
    if (auto* folder = dynamic_cast<const TDOLanguages*>(&first)) {
        GetLanguagesTable(folder->AliasName().isEmpty() ? ParsedPath.first() : folder->AliasName())
            .FillLanguageInfo(gathered);
    } else if (dynamic_cast<const TDOLanguage*>(&first)) {
        for (int i = 0; i < SubItems.Count(); ++i)
            if (auto* l = dynamic_cast<const TDOLanguage*>(SubItems.Items(i))) {
                TOneLanguage record;
                const QString alias =
                    l->AliasName().isEmpty() ? ParsedPath.first() : l->AliasName();
                if (GetLanguagesTable(alias).GetLanguage(l->LanguageID(), record))
                    gathered.append({l->LanguageID(), record});
            }
    } else if (IsEILanguage(first)) {
        TUOImportLanguages operation;
        operation.SetWriteFlag(true);
        operation.SetTargetAlias(AliasName());
        for (int i = 0; i < SubItems.Count(); ++i) {
            const TPelvarObject& o = *SubItems.Items(i);
            if (auto* role = dynamic_cast<const TEISectionRole*>(&o)) {
                operation.File = operation.File ? operation.File : role->SectionFile();
                operation.Indexes << QString::number(
                    role->SectionFile()->Sections().IndexOf(role->FileSection()));
            } else if (auto* file = dynamic_cast<const TDOCommonFileObject*>(&o);
                       file && file->EIFile) {
                operation.File = operation.File ? operation.File : file->EIFile;
                for (int s = 0; s < file->EIFile->Sections().GetCount(); ++s)
                    if (file->EIFile->Sections().GetSections(s)->ClassName() ==
                        QLatin1String("TEILanguage"))
                        operation.Indexes << QString::number(s);
            }
        }
        if (!operation.Indexes.isEmpty() && operation.File)
            RunLRes(operation,
                    LString(QStringLiteral("M_Pelvar_DOLangs_ImportLanguageActionCaption")));
        return;
    } else {
        return;
    }
    TLanguagesTable& target = GetLanguagesTable(AliasName());
    for (const auto& [id, record] : gathered) {
        if (target.LanguageExist(id)) {
            const QString text =
                SafeFormat(LString(QStringLiteral("M_pelvar_DOLangs_LanguageExists")), id);
            if (Interaction().MessageBox(text, QString(), MB::YESNO | MB::ICONWARNING) != IDYES)
                continue;
        }
        target.SetLanguage(id, record);
    }
}

// ---- TDOLanguage ----

void TDOLanguage::Assign(const TPelvarObject& Source) {
    TDOCommonAliasObject::Assign(Source);
    if (auto* l = dynamic_cast<const TDOLanguage*>(&Source)) FID = l->FID;
}

void TDOLanguage::FillListViewItem(TListRow& Item, const TListColumns&) {
    Item.Caption = FID;
    Item.SubItems.clear();
    Item.ImageIndex = 10;
}

void TDOLanguage::EditProperties() {
    TLanguagesTable& table = GetLanguagesTable(AliasName());
    TOneLanguage record;
    if (!table.GetLanguage(FID, record))
        throw EPelvarError(QStringLiteral("Can not find language"));
    QString id = FID;
    if (!EditEntry(id, record)) return;
    if (id != FID) {
        if (table.LanguageExist(id) &&
            LMessageBox(QStringLiteral("M_Pelvar_LangForm_OverwriteConfirm"),
                        QStringLiteral("ST_WARNING"), MB::YESNO | MB::ICONWARNING) != IDYES)
            return;
    }
    // The new record and the old one's removal stand or fall together.
    TTransactionScope tx(BaseMng().Databases().GetDatabase(AliasName()));
    table.SetLanguage(id, record);
    if (id != FID) table.DeleteLanguage(FID);
    tx.Commit();
}
