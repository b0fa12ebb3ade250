// The actions of local resource containers and folders.
#include "appcore/languages.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "lcontainer.h"
#include "lresactions.h"
#include "lsection.h"
#include "opkit/lresoperations.h"

namespace {

// The message ID is this very text, quote included.
constexpr char kDeleteSectionID[] =
    "M_Pelvar_DOLRes_DeleteLSectionConfirm'M_Pelvar_DOLRes_DeleteLSectionConfirm";

QString SearchCaption() {
    return LString(QStringLiteral("M_Pelvar_DOLRes_SearchLocresActionCaption"),
                   QStringLiteral("Search lres (localize!!!)"));
}

QString ExportCaption() {
    return LString(QStringLiteral("M_Pelvar_DOLRes_ExportToFileActionCaption"));
}

QString XMLCaption() {
    return LString(QStringLiteral("M_Pelvar_DOLRes_ExportToXMLActionCaption"));
}

QString AddCaption() {
    return LString(QStringLiteral("M_Pelvar_DOLRes_AddActionCaption"));
}

void AddCheckAction(TDOLContainer& owner, const std::function<QStringList()>& sections) {
    AddLResAction(owner, "LRES_CheckTranslations",
                  LString(QStringLiteral("M_Pelvar_DOLRes_CheckTranslationsActionCaption")), 0, 20,
                  {aoPopupMenu, aoToolBar, aoNoSelection, aoSingleSelection, aoMultySelection})
        ->SetOnExecute([&owner, sections](const QStringList*) {
            OpenTranslationChecks(owner.AliasName(), sections());
        });
}

}  // namespace

void TDOLContainer::FillActions() {
    const TPelvarObjectActionOptions listed = {aoListItem, aoSubObjects, aoPopupMenu,
                                               aoMultySelection, aoSingleSelection};
    TPelvarObjectActionOptions withToolBar = listed;
    withToolBar += aoToolBar;
    AddLResAction(*this, "LRES_Export", ExportCaption(), 0, 10, withToolBar)
        ->SetOnExecute([this](const QStringList* selected) {
            const QStringList sections = SelectedSections(selected);
            if (!sections.isEmpty()) ExportLSectionsAsked(AliasName(), sections, true);
        });
    AddLResAction(
        *this, "LRES_Add", AddCaption(), Qt::Key_Insert, 8,
        {aoSubObjects, aoPopupMenu, aoToolBar, aoMultySelection, aoSingleSelection, aoNoSelection})
        ->SetOnExecute([this](const QStringList*) { AddString(); });
    AddLResAction(*this, "LRES_XMLExport", XMLCaption(), 0, 10, listed)
        ->SetOnExecute([this](const QStringList* selected) {
            const QStringList sections = SelectedSections(selected);
            if (!sections.isEmpty()) ExportXMLAsked(AliasName(), sections);
        });
    AddLResAction(*this, "LRESSECTION_Search", SearchCaption(), 0, 20, listed)
        ->SetOnExecute([this](const QStringList* selected) {
            QStringList languages;
            GetLanguagesTable(AliasName()).FillLanguageNames(languages);
            OpenLResSearch(AliasName(), SelectedSections(selected, languages), FullPath(), {});
        });
    AddCheckAction(*this, [this] { return SelectedSections(nullptr); });
}

void TDOLFolder::FillActions() {
    const TPelvarObjectActionOptions many = {aoSubObjects, aoPopupMenu, aoToolBar, aoMultySelection,
                                             aoSingleSelection};
    const TPelvarObjectActionOptions noBar = {aoSubObjects, aoPopupMenu, aoMultySelection,
                                              aoSingleSelection};
    AddLResAction(*this, "LRESSECTION_Delete", LString(QStringLiteral("ST_DELETE")), Qt::Key_Delete,
                  9, many)
        ->SetOnExecute([this](const QStringList* selected) {
            if (selected) DeleteSelected(*selected);
        });
    AddLResAction(*this, "LRESSECTION_Export", ExportCaption(), 0, 10, many)
        ->SetOnExecute([this](const QStringList* selected) {
            const QStringList sections = selected ? SectionsOf(*selected) : QStringList();
            if (!sections.isEmpty()) ExportLSectionsAsked(AliasName(), sections, true);
        });
    TPelvarObjectActionOptions withNone = many;
    withNone += aoNoSelection;
    AddLResAction(*this, "LRESSECTION_Add", AddCaption(), Qt::Key_Insert, 8, withNone)
        ->SetOnExecute([this](const QStringList*) { AddString(); });
    AddLResAction(*this, "LRESSECTION_XMLExport", XMLCaption(), 0, 10, noBar)
        ->SetOnExecute([this](const QStringList* selected) {
            const QStringList sections = selected ? SectionsOf(*selected) : QStringList();
            if (!sections.isEmpty()) ExportXMLAsked(AliasName(), sections);
        });
    AddLResAction(*this, "LRESSECTION_Search", SearchCaption(), 0, 20, noBar)
        ->SetOnExecute([this](const QStringList* selected) {
            OpenLResSearch(AliasName(), selected ? SectionsOf(*selected) : QStringList(),
                           FullPath(), {});
        });
    AddCheckAction(*this, [this] { return SelectedSections(nullptr); });
}

QStringList TDOLContainer::SelectedSections(const QStringList* SubObjects,
                                            const QStringList& languages) {
    std::vector<const TDOLContainer*> takers;
    QSet<QString> sections;
    const bool selection = SubObjects && !SubObjects->isEmpty();
    if (selection) {
        for (const QString& subPath : *SubObjects) {
            TPelvarObject* child = this->SubObjects().FindBySubPath(subPath);
            if (auto* c = dynamic_cast<const TDOLContainer*>(child)) takers.push_back(c);
            if (auto* s = dynamic_cast<const TDOLSection*>(child))
                sections.insert(s->SectionID().toUpper());
        }
    } else {
        takers.push_back(this);
    }
    QStringList all;
    TLocalizatorTable& table = GetLocalizatorTable(AliasName());
    if (languages.isEmpty())
        table.FillSectionList(BaseMng().CurrentLanguage(), all);
    else
        table.FillSectionListEx(languages, all);
    QStringList result;
    for (const QString& s : all) {
        bool taken = sections.contains(s.toUpper());
        for (const TDOLContainer* c : takers)
            taken = taken || c->AcceptSection(s);
        if (taken) result << s;
    }
    return result;
}

void TDOLContainer::AddString() {
    const QString prefix = GetIDPrefix();
    QString id = prefix.isEmpty() ? QString() : prefix + QLatin1Char('_');
    if (!AskLName(id, true)) return;
    CheckNewStringID(id);
    OpenLResourceDialog(AliasName(), id, false);
}

void TDOLFolder::DeleteSelected(const QStringList& SubObjects) {
    const QStringList sections = SectionsOf(SubObjects);
    if (sections.isEmpty()) return;
    if (sections.size() == 1) {
        if (LMessageBox(QLatin1String(kDeleteSectionID), QStringLiteral("ST_CONFIRMATION"),
                        MB::YESNO | MB::ICONQUESTION) != IDYES)
            return;
        TUODeleteLSection operation;
        operation.SetSourceAlias(AliasName());
        operation.SectionID = sections.front();
        RunLResDirect(operation);
        return;
    }
    const QString text =
        SafeFormat(LString(QStringLiteral("M_Pelvar_DOLRes_MultiDeleteLSectionConfirm")),
                   int(sections.size()));
    if (Interaction().MessageBox(text, LString(QStringLiteral("ST_CONFIRMATION")),
                                 MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    TUODeleteLSections operation;
    operation.SetSourceAlias(AliasName());
    operation.SetWriteFlag(true);
    operation.Sections = sections;
    RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_DeleteLSectionsProgress")));
}
