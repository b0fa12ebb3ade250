// What a section and a string do: actions, renames and drops.
#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "lresactions.h"
#include "lsection.h"
#include "opkit/lresoperations.h"

namespace {

bool Confirmed(const char* id, int buttons = MB::YESNO | MB::ICONQUESTION) {
    return LResConfirmed(id, buttons);
}

}  // namespace

void TDOLSection::FillActions() {
    const TPelvarObjectActionOptions many = {aoSubObjects, aoPopupMenu, aoToolBar, aoMultySelection,
                                             aoSingleSelection};
    TPelvarObjectAction* edit = AddLResAction(
        *this, "LRES_Edit", LString(QStringLiteral("M_Pelvar_DOLRes_EditActionCaption")), 0, 11,
        {aoSubObjects, aoPopupMenu, aoToolBar, aoSingleSelection});
    edit->Default = true;
    edit->SetOnExecute([this](const QStringList* selected) {
        const QStringList ids = selected ? StringIDsOf(*selected) : QStringList();
        if (ids.size() == 1) OpenLResourceDialog(AliasName(), ids.front(), false);
    });
    AddLResAction(*this, "LRES_Delete", LString(QStringLiteral("ST_DELETE")), Qt::Key_Delete, 9,
                  many)
        ->SetOnExecute([this](const QStringList* selected) {
            if (selected) DeleteSelected(*selected);
        });
    AddLResAction(*this, "LRES_Export",
                  LString(QStringLiteral("M_Pelvar_DOLRes_ExportToFileActionCaption")), 0, 10, many)
        ->SetOnExecute([this](const QStringList* selected) {
            if (selected) ExportLResourcesAsked(AliasName(), FSectionID, IdentsOf(*selected));
        });
    TPelvarObjectActionOptions withNone = many;
    withNone += aoNoSelection;
    AddLResAction(*this, "LRES_Add", LString(QStringLiteral("M_Pelvar_DOLRes_AddActionCaption")),
                  Qt::Key_Insert, 8, withNone)
        ->SetOnExecute([this](const QStringList*) { AddString(); });
    AddLResAction(*this, "LRESSECTION_Search",
                  LString(QStringLiteral("M_Pelvar_DOLRes_SearchLocresActionCaption"),
                          QStringLiteral("Search lres (localize!!!)")),
                  0, 20, many)
        ->SetOnExecute([this](const QStringList* selected) {
            OpenLResSearch(AliasName(), {}, FullPath(),
                           selected ? StringIDsOf(*selected) : QStringList());
        });
    AddLResAction(*this, "LRES_CheckTranslations",
                  LString(QStringLiteral("M_Pelvar_DOLRes_CheckTranslationsActionCaption")), 0, 20,
                  {aoPopupMenu, aoToolBar, aoNoSelection, aoSingleSelection, aoMultySelection})
        ->SetOnExecute(
            [this](const QStringList*) { OpenTranslationChecks(AliasName(), {FSectionID}); });
}

void TDOLSection::DeleteSelected(const QStringList& SubObjects) {
    const QStringList ids = StringIDsOf(SubObjects);
    if (ids.isEmpty()) return;
    if (ids.size() == 1) {
        if (!Confirmed("M_Pelvar_DOLRes_DeleteLResConfirm")) return;
        TUODeleteLResource operation;
        operation.SetSourceAlias(AliasName());
        operation.StringID = ids.front();
        RunLResDirect(operation);
        return;
    }
    const QString text = SafeFormat(
        LString(QStringLiteral("M_Pelvar_DOLRes_MultiDeleteLResConfirm")), int(ids.size()));
    if (Interaction().MessageBox(text, LString(QStringLiteral("ST_CONFIRMATION")),
                                 MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    TUODeleteLResources operation;
    operation.SetSourceAlias(AliasName());
    operation.SetWriteFlag(true);
    operation.StringIDs = ids;
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_DeleteLResourcesProgress")));
}

void TDOLSection::AddString() {
    QString id = FSectionID + QLatin1Char('_');
    if (!AskLName(id, true)) return;
    QString section, ident;
    GetLocalizatorTable(AliasName()).SplitID(id, section, ident);
    if (section.toUpper() != FSectionID.toUpper() &&
        !Confirmed("M_Pelvar_DOLRes_InsertInAnotherSectionConfirm"))
        return;
    CheckNewStringID(id);
    OpenLResourceDialog(AliasName(), id, false);
}

void TDOLSection::EditProperties() {
    QString id = FSectionID;
    if (!AskLName(id, false) || id.toUpper() == FSectionID.toUpper()) return;
    if (!Confirmed("M_PELVAR_DOLRes_ChangeSectionIDConfirm", MB::YESNO)) return;
    TLocalizatorTable& table = GetLocalizatorTable(AliasName());
    QStringList languages;
    GetLanguagesTable(AliasName()).FillLanguageNames(languages);
    bool exists = false;
    for (const QString& l : languages)
        exists = exists || table.SectionExist(id, l);
    if (exists && !Confirmed("M_PELVAR_DOLRES_OverwriteSectionConfirm", MB::YESNO)) return;
    // Every ident of any language moves, each with all its texts.
    QStringList idents;
    for (const QString& l : table.SectionLanguages(FSectionID)) {
        QStringList names;
        table.FillResNames(FSectionID, l, names);
        for (const QString& n : names)
            if (!idents.contains(n.toUpper())) idents << n.toUpper();
    }
    for (const QString& ident : idents)
        CheckNewStringID(TLocalizatorTable::ComposeID(id, ident));
    TTransactionScope tx(BaseMng().Databases().GetDatabase(AliasName()));
    for (const QString& ident : idents)
        table.RenameString(TLocalizatorTable::ComposeID(FSectionID, ident),
                           TLocalizatorTable::ComposeID(id, ident));
    tx.Commit();
}

void TDOLResource::EditProperties() {
    QString id = FStringID;
    if (!AskLName(id, false) || id.toUpper() == FStringID.toUpper()) return;
    CheckNewStringID(id);
    TLocalizatorTable& table = GetLocalizatorTable(AliasName());
    if (table.StringExists(id, BaseMng().CurrentLanguage()) &&
        LMessageBox(QStringLiteral("M_PELVAR_DOLRES_OverwriteConfirm"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNO) != IDYES)
        return;
    table.RenameString(FStringID, id);
}

// ---- drops onto a section ----

bool TDOLSection::InternalAcceptDragObject(const QStringList& ParsedPath,
                                           const TPelvarObjectList& SubItems) {
    const bool sameAlias = !ParsedPath.isEmpty() && ParsedPath.first() == AliasName();
    if (SubItems.Count() == 1)
        if (auto* s = dynamic_cast<const TDOLSection*>(SubItems.Items(0)))
            return !sameAlias || s->SectionID() != FSectionID;
    for (int i = 0; i < SubItems.Count(); ++i) {
        auto* r = dynamic_cast<const TDOLResource*>(SubItems.Items(i));
        if (!r || (sameAlias && r->SectionID().toUpper() == FSectionID.toUpper())) return false;
    }
    return SubItems.Count() > 0;
}

void TDOLSection::InternalDragObjectDropped(const QStringList& ParsedPath,
                                            const TPelvarObjectList& SubItems) {
    if (SubItems.Count() == 0 || ParsedPath.isEmpty()) return;
    TUOCopyLResources operation;
    operation.SetWriteFlag(true);
    operation.SetTargetAlias(AliasName());
    operation.SetSourceAlias(ParsedPath.first());
    operation.TargetSection = FSectionID;
    if (auto* s = dynamic_cast<const TDOLSection*>(SubItems.Items(0))) {
        if (SubItems.Count() != 1) return;
        operation.SetSourceAlias(s->AliasName().isEmpty() ? ParsedPath.first() : s->AliasName());
        operation.SourceSection = s->SectionID();
        GetLocalizatorTable(operation.SourceAlias())
            .FillResNames(s->SectionID(), BaseMng().CurrentLanguage(), operation.Idents);
    } else if (auto* first = dynamic_cast<const TDOLResource*>(SubItems.Items(0))) {
        operation.SourceSection = first->SectionID();
        for (int i = 0; i < SubItems.Count(); ++i) {
            auto* r = dynamic_cast<const TDOLResource*>(SubItems.Items(i));
            if (!r)
                InvalidDropSource(QStringLiteral("copy local resources action"),
                                  *SubItems.Items(i));
            if (r->SectionID() != first->SectionID())
                throw EPelvarError(QStringLiteral(
                    "Invalid SectionID in drop source in copy local resources action"));
            operation.Idents << r->Ident();
        }
    } else {
        return;
    }
    if (operation.SourceSection != FSectionID &&
        !Confirmed("M_Pelvar_DOLRes_ChangeSectionIDOnCopyConfirm", MB::OKCANCEL | MB::ICONQUESTION))
        return;
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_CopyLSectionsActionCaption")));
}
