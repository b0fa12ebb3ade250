#include "eiexport.h"

#include "alias.h"
#include "appcore/dsptable.h"
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "eifilerules.h"
#include "localres/languagesfolder.h"
#include "localres/lcontainer.h"
#include "localres/lresactions.h"
#include "localres/lsection.h"
#include "model/exportconfirm.h"
#include "opkit/dbexchange.h"
#include "opkit/dspoperations.h"
#include "opkit/eifile.h"
#include "opkit/lresoperations.h"
#include "structures/dspactions.h"
#include "structures/dspconfirmations.h"
#include "structures/dspcontainer.h"
#include "structures/dspitem.h"

namespace {

// The database the dragged objects come from: their own alias, else the
// drag's source path.
QString SourceAlias(const QStringList& ParsedPath, const TPelvarObjectList& SubItems) {
    if (SubItems.Count() > 0)
        if (auto* o = dynamic_cast<const TDOCommonAliasObject*>(SubItems.Items(0));
            o && !o->AliasName().isEmpty())
            return o->AliasName();
    return ParsedPath.isEmpty() ? QString() : ParsedPath.first();
}

// Only plain tables can have their rows exported.
bool HasExportableTable(const QString& alias, const TDSPList& list) {
    for (int i = 0; i < list.Count(); ++i) {
        const TDSPListItem& item = list.Items(i);
        if (item.ObjectType == 10 && !item.Name.contains(QLatin1Char('.')) &&
            !item.Name.contains(QLatin1Char('$')) && DSPDatabaseObjectExists(alias, item.Name, 10))
            return true;
    }
    return false;
}

}  // namespace

bool EIIsStructureSource(const TPelvarObject& object) {
    return dynamic_cast<const TDOCommonDSPItem*>(&object) ||
           dynamic_cast<const TDODSPContainer*>(&object);
}

bool EIIsDatabaseSource(const TPelvarObject& object) {
    return dynamic_cast<const TDOAlias*>(&object);
}

bool EIIsSectionSource(const TPelvarObject& object) {
    return dynamic_cast<const TDOLSection*>(&object) || dynamic_cast<const TDOLContainer*>(&object);
}

bool EIIsLanguageSource(const TPelvarObject& object) {
    return dynamic_cast<const TDOLanguage*>(&object) || dynamic_cast<const TDOLanguages*>(&object);
}

TEIExported EIExportStructures(TEIFile& file, const QStringList& ParsedPath,
                               const TPelvarObjectList& SubItems) {
    const QString alias = SourceAlias(ParsedPath, SubItems);
    TDSPList list = DraggedStructures(SubItems);
    if (list.Count() == 0) return {};
    list.Sort(dskForExport);
    bool forms = false;
    for (int i = 0; i < list.Count(); ++i)
        forms = forms || list.Items(i).ObjectType == 12;
    bool tables = HasExportableTable(alias, list);
    if (forms || tables) {
        // The table box of the confirmation follows its table box: offered
        // together, so that table data can be chosen at all.
        bool withTables = tables;
        if (!ConfirmCopyStructures(withTables, tables, forms)) return {};
    }
    TUOExportDSPObjects operation;
    operation.SetSourceAlias(alias);
    operation.SetFileName(file.FileName());
    operation.SetWriteFlag(true);
    operation.Items.Assign(list);
    operation.File = &file;
    operation.ExportTableData = tables;
    operation.ExportLResources = forms;
    RunDSPOperation(
        operation,
        LString(QStringLiteral("M_Pelvar_DOEIObj_ExportingDSPStructuresOperationCaption")));
    return TEIExported{true, forms, tables, false};
}

TEIExported EIExportSections(TEIFile& file, const QStringList& ParsedPath,
                             const TPelvarObjectList& SubItems) {
    const QString alias = SourceAlias(ParsedPath, SubItems);
    QStringList sections;
    QStringList all;
    bool allRead = false;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        if (auto* s = dynamic_cast<const TDOLSection*>(&o)) {
            if (!sections.contains(s->SectionID().toUpper())) sections << s->SectionID().toUpper();
        } else if (auto* c = dynamic_cast<const TDOLContainer*>(&o)) {
            if (!allRead)
                GetLocalizatorTable(alias).FillSectionList(BaseMng().CurrentLanguage(), all);
            allRead = true;
            for (const QString& s : all)
                if (c->AcceptSection(s) && !sections.contains(s.toUpper())) sections << s.toUpper();
        } else {
            InvalidDropSource(QStringLiteral("copy local sections action"), o);
        }
    }
    if (sections.isEmpty()) return {};
    TUOExportLSections operation;
    if (!LanguagesSelect(alias, operation.Languages)) return {};
    operation.SetSourceAlias(alias);
    operation.SetWriteFlag(true);
    operation.SetFileName(file.FileName());
    operation.Sections = sections;
    operation.Target.File = &file;
    if (sections.size() == 1)
        RunLResDirect(operation);
    else
        RunLRes(operation,
                LString(QStringLiteral("M_Pelvar_DOEIObj_ExportLSectionsActionCaption")));
    return TEIExported{false, true, false, false};
}

TEIExported EIExportLanguages(TEIFile& file, const QStringList& ParsedPath,
                              const TPelvarObjectList& SubItems) {
    const QString alias = SourceAlias(ParsedPath, SubItems);
    QStringList languages;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        if (auto* l = dynamic_cast<const TDOLanguage*>(&o)) {
            if (!languages.contains(l->LanguageID())) languages << l->LanguageID();
        } else if (dynamic_cast<const TDOLanguages*>(&o)) {
            QStringList names;
            GetLanguagesTable(alias).FillLanguageNames(names);
            for (const QString& n : names)
                if (!languages.contains(n)) languages << n;
        } else {
            InvalidDropSource(QStringLiteral("copy local sections action"), o);
        }
    }
    if (languages.isEmpty()) return {};
    TUOExportLanguages operation;
    operation.SetSourceAlias(alias);
    operation.SetWriteFlag(true);
    operation.SetFileName(file.FileName());
    operation.Languages = languages;
    operation.Target.File = &file;
    RunLRes(operation,
            LString(QStringLiteral("M_Pelvar_DOEIObj_ExportLanguageSectionsActionCaption")));
    return TEIExported{false, false, false, true};
}

TEIExported EIExportDatabase(TEIFile& file, const TPelvarObjectList& SubItems) {
    const auto* source =
        SubItems.Count() > 0 ? dynamic_cast<const TDOAlias*>(SubItems.Items(0)) : nullptr;
    if (!source) return {};
    const QString alias = source->AliasName();
    TDSPList all;
    GetDSPTable(alias).FillStructuresList(0, all);
    QStringList sections;
    GetLocalizatorTable(alias).FillSectionList(BaseMng().CurrentLanguage(), sections);
    bool tables = HasExportableTable(alias, all);
    bool resources = !sections.isEmpty();
    if (tables || resources) {
        bool withTables = tables;
        if (!ConfirmCopyStructures(withTables, tables, resources)) return {};
    }
    TUOExportDatabase operation;
    if (!LanguagesSelect(alias, operation.Languages)) return {};
    operation.SetSourceAlias(alias);
    operation.SetWriteFlag(true);
    operation.SetFileName(file.FileName());
    operation.File = &file;
    operation.Parts = dpStructures | dpLanguages | (resources ? unsigned(dpResources) : 0u) |
                      (tables ? unsigned(dpTableData) : unsigned(dpObjects));
    RunDSPOperation(operation,
                    LString(QStringLiteral("M_Pelvar_DORoot_ExportingDatabaseOperationCaption")));
    return TEIExported{true, resources, tables, true};
}

void EIAnnounceExport(const TPelvarObject& object, const QString& rootPath,
                      const TEIExported& exported) {
    const auto announce = [&](bool done, const QString& folder) {
        if (done) object.DataChanged(rootPath + QLatin1Char('\\') + folder);
    };
    announce(exported.Structures, EIFolders::kStructures);
    announce(exported.Resources, EIFolders::kResources);
    announce(exported.Tables, EIFolders::kTables);
    announce(exported.Languages, EIFolders::kLanguages);
}
