#include "aliasdrops.h"

#include <memory>

#include "alias.h"
#include "appcore/dbmanager.h"
#include "appcore/languages.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/strutils.h"
#include "eifolders.h"
#include "localres/languagesfolder.h"
#include "localres/lcontainer.h"
#include "localres/lresactions.h"
#include "localres/lsection.h"
#include "opkit/dbexchange.h"
#include "opkit/eifile.h"
#include "opkit/lresoperations.h"
#include "opkit/lresreader.h"
#include "structures/dspactions.h"
#include "structures/dspconfirmations.h"
#include "structures/dspcontainer.h"
#include "structures/dspitem.h"

namespace {

const QString kImportCaption = QStringLiteral("M_Pelvar_DOAlias_ImportingDatabaseOperationCaption");

// ---- out of an export/import file ----

TEIFile* FileOf(const TPelvarObject& object) {
    if (auto* role = dynamic_cast<const TEISectionRole*>(&object)) return role->SectionFile();
    if (auto* node = dynamic_cast<const TDOCommonFileObject*>(&object)) return node->EIFile;
    return nullptr;
}

int IndexOf(const TEISectionRole& item) {
    return item.SectionFile()->Sections().IndexOf(item.FileSection());
}

// The indexes of the dragged items of one class, each once.
template <typename TItem>
QList<int> ItemIndexes(const TPelvarObjectList& SubItems) {
    QList<int> indexes;
    for (int i = 0; i < SubItems.Count(); ++i)
        if (auto* item = dynamic_cast<const TItem*>(SubItems.Items(i)); item && item->FileSection())
            if (const int index = IndexOf(*item); index >= 0 && !indexes.contains(index))
                indexes << index;
    return indexes;
}

QList<int> SectionsOf(const TEIFile& file, const char* sectionClass) {
    QList<int> indexes;
    for (int i = 0; i < file.Sections().GetCount(); ++i)
        if (file.Sections().GetSections(i)->ClassName() == QLatin1String(sectionClass))
            indexes << i;
    return indexes;
}

template <typename TFolder>
bool Dragged(const TPelvarObjectList& SubItems) {
    for (int i = 0; i < SubItems.Count(); ++i)
        if (dynamic_cast<const TFolder*>(SubItems.Items(i))) return true;
    return false;
}

// Binds a file operation to the file and the target.
void Bind(TUtilOperation& operation, TEIFile& file, const QString& alias) {
    operation.SetFileName(file.FileName());
    operation.SetTargetAlias(alias);
    operation.SetWriteFlag(true);
}

void ImportResourceItems(const QString& alias, TEIFile& file, const TPelvarObjectList& SubItems) {
    TUOImportLSections operation;
    Bind(operation, file, alias);
    operation.File = &file;
    for (int index : ItemIndexes<TDOEILResItem>(SubItems))
        operation.Indexes << QString::number(index);
    if (operation.Indexes.isEmpty()) return;
    // One section is quick: no progress window.
    if (operation.Indexes.size() == 1) {
        RunDSPOperationDirect(operation);
        return;
    }
    RunDSPOperation(operation,
                    LString(QStringLiteral("M_Pelvar_DOLRes_ImportLSectionsActionCaption")));
}

void ImportStructureItems(const QString& alias, TEIFile& file, const TPelvarObjectList& SubItems) {
    const QList<int> indexes = ItemIndexes<TDOEIDSPStrItem>(SubItems);
    if (indexes.isEmpty()) return;
    bool createObjects = true, copyTableData = true, copyResources = true;
    if (!ConfirmCopyStructures(createObjects, copyTableData, copyResources)) return;
    ImportDSPSections(file, alias, indexes, createObjects, copyTableData, copyResources);
}

// The structures folder and the resources folder: every section of their kinds.
void ImportFolders(const QString& alias, TEIFile& file, const TPelvarObjectList& SubItems) {
    const QList<int> structures =
        Dragged<TDOEIDSPStrFolder>(SubItems) ? SectionsOf(file, "TEIDSPStructure") : QList<int>();
    const QList<int> resources =
        Dragged<TDOEILResFolder>(SubItems) ? SectionsOf(file, "TEILResource") : QList<int>();
    if (structures.isEmpty() && resources.isEmpty()) return;
    TCopyAnswers answers;
    if (!structures.isEmpty()) {
        bool createObjects = true, copyTableData = true, copyResources = resources.isEmpty();
        if (!ConfirmCopyStructures(createObjects, copyTableData, copyResources)) return;
        answers = {createObjects, copyTableData, copyResources};
    }
    TUOImportDatabase operation;
    Bind(operation, file, alias);
    operation.File = &file;
    operation.SectionIndexes = structures + resources;
    operation.Answers = answers;
    RunDSPOperation(operation, LString(kImportCaption));
}

// The tables folder or table items: the rows of each table replace its own.
void ImportTables(const QString& alias, TEIFile& file, const TPelvarObjectList& SubItems) {
    const QList<int> indexes = Dragged<TDOEITableFolder>(SubItems)
                                   ? SectionsOf(file, "TEITableData")
                                   : ItemIndexes<TDOEITableItem>(SubItems);
    if (indexes.isEmpty()) return;
    bool createObjects = false, copyTableData = true, copyResources = false;
    if (!ConfirmCopyStructures(createObjects, copyTableData, copyResources) || !copyTableData)
        return;
    for (int index : indexes) {
        TUOImportTableData operation;
        Bind(operation, file, alias);
        operation.File = &file;
        operation.SectionIndexes = {index};
        operation.ReplaceExisting = true;
        if (!RunDSPOperation(operation, LString(kImportCaption)).Completed) return;
    }
}

// Languages go as the alias's languages folder takes them.
void ThroughLanguagesFolder(TDOAlias& alias, const QStringList& ParsedPath,
                            const TPelvarObjectList& SubItems) {
    TPelvarObject* folder =
        alias.Opened() ? alias.SubObjects().FindBySubPath(QStringLiteral("Languages")) : nullptr;
    std::unique_ptr<TDOLanguages> detached;
    if (!folder) {
        detached = std::make_unique<TDOLanguages>();
        detached->SetAliasName(alias.AliasName());
        folder = detached.get();
    }
    if (!folder->InternalAcceptDragObject(ParsedPath, SubItems))
        return LShowMessage(QStringLiteral("M_Pelvar_DOAlias_DropKindRefused"));
    folder->InternalDragObjectDropped(ParsedPath, SubItems);
}

void DropFromFile(TDOAlias& alias, const QStringList& ParsedPath,
                  const TPelvarObjectList& SubItems) {
    const TPelvarObject& first = *SubItems.Items(0);
    TEIFile* file = FileOf(first);
    if (!file) return;
    const QString& target = alias.AliasName();
    if (dynamic_cast<const TDOEILResItem*>(&first))
        ImportResourceItems(target, *file, SubItems);
    else if (dynamic_cast<const TDOEIDSPStrItem*>(&first))
        ImportStructureItems(target, *file, SubItems);
    else if (dynamic_cast<const TDOEIDSPStrFolder*>(&first) ||
             dynamic_cast<const TDOEILResFolder*>(&first))
        ImportFolders(target, *file, SubItems);
    else if (dynamic_cast<const TDOEITableFolder*>(&first) ||
             dynamic_cast<const TDOEITableItem*>(&first))
        ImportTables(target, *file, SubItems);
    else
        ThroughLanguagesFolder(alias, ParsedPath, SubItems);
}

// ---- from another database ----

void CopyResources(const QString& source, const QString& target,
                   const TPelvarObjectList& SubItems) {
    const QString section =
        dynamic_cast<const TDOLResource&>(*SubItems.Items(0)).SectionID().toUpper();
    TUOCopyLResources operation;
    operation.SetSourceAlias(source);
    operation.SetTargetAlias(target);
    operation.SetWriteFlag(true);
    operation.SourceSection = operation.TargetSection = section;
    for (int i = 0; i < SubItems.Count(); ++i) {
        auto* resource = dynamic_cast<const TDOLResource*>(SubItems.Items(i));
        if (!resource)
            InvalidDropSource(QStringLiteral("copy local resources action"), *SubItems.Items(i));
        if (resource->SectionID().toUpper() != section)
            throw EPelvarError(
                QStringLiteral("Invalid SectionID in drop source in copy local resources action"));
        operation.Idents << resource->Ident();
    }
    RunDSPOperation(operation,
                    LString(QStringLiteral("M_Pelvar_DOLRes_CopyLSectionsActionCaption")));
}

// What the dragged objects of the source database name, each once.
class TSelectionBuilder {
  public:
    explicit TSelectionBuilder(const QString& source) : FSource(source) {}

    void Add(const TPelvarObject& o) {
        if (auto* item = dynamic_cast<const TDOCommonDSPItem*>(&o)) {
            AddStructure(item->Info());
        } else if (dynamic_cast<const TDSPStructureRole*>(&o)) {
            InvalidDropSource(QStringLiteral("copy DSP structures action"), o);
        } else if (auto* section = dynamic_cast<const TDOLSection*>(&o)) {
            AddSection(section->SectionID());
        } else if (dynamic_cast<const TSectionIDRole*>(&o)) {
            InvalidDropSource(QStringLiteral("copy local resource action"), o);
        } else if (auto* resources = dynamic_cast<const TDOLContainer*>(&o)) {
            for (const QString& s : AllSections())
                if (resources->AcceptSection(s)) AddSection(s);
        } else if (auto* structures = dynamic_cast<const TDODSPContainer*>(&o)) {
            const TDSPList& all = AllStructures();
            for (int i = 0; i < all.Count(); ++i)
                if (structures->IsObjectTypeAccepted(all.Items(i).ObjectType))
                    AddStructure(all.Items(i));
        } else if (dynamic_cast<const TDOLanguages*>(&o)) {
            AddAllLanguages();
        } else if (dynamic_cast<const TDOAlias*>(&o)) {
            const TDSPList& all = AllStructures();
            for (int i = 0; i < all.Count(); ++i)
                AddStructure(all.Items(i));
            for (const QString& s : AllSections())
                AddSection(s);
            AddAllLanguages();
            FWholeAlias = true;
        } else {
            InvalidDropSource(QStringLiteral("copy database action"), o);
        }
    }

    TDictionarySelection Selection;
    // A whole alias was dragged.
    bool WholeAlias() const { return FWholeAlias; }

  private:
    void AddStructure(const TDSPListItem& item) {
        if (!Selection.Structures.Find(item.Name, item.ObjectType))
            Selection.Structures.AddCopy(item);
    }
    void AddSection(const QString& id) {
        if (!Selection.Sections.contains(id.toUpper())) Selection.Sections << id.toUpper();
    }
    void AddAllLanguages() {
        QStringList names;
        GetLanguagesTable(FSource).FillLanguageNames(names);
        for (const QString& name : names)
            if (!Selection.Languages.contains(name)) Selection.Languages << name;
    }
    const QStringList& AllSections() {
        if (!FSectionsRead)
            FSections = TLSectionReader(BaseMng().Databases().GetDatabase(FSource)).Sections({});
        FSectionsRead = true;
        return FSections;
    }
    const TDSPList& AllStructures() {
        if (!FStructuresRead) GetDSPTable(FSource).FillStructuresList(0, FStructures);
        FStructuresRead = true;
        return FStructures;
    }

    QString FSource;
    QStringList FSections;
    TDSPList FStructures;
    bool FSectionsRead = false, FStructuresRead = false, FWholeAlias = false;
};

// Which choices of the copy confirmation the listed structures offer.
TCopyAnswers Presets(const QString& source, const TSelectionBuilder& built) {
    TCopyAnswers presets;
    const TDSPList& structures = built.Selection.Structures;
    bool forms = false;
    for (int i = 0; i < structures.Count(); ++i) {
        const TDSPListItem& item = structures.Items(i);
        forms = forms || item.ObjectType == 12;
        if (!DSPDatabaseObjectExists(source, item.Name, item.ObjectType)) continue;
        presets.CreateDBObjects = true;
        presets.CopyTableData =
            presets.CopyTableData || item.ObjectType == 10 || item.ObjectType == 71;
    }
    presets.CopyLocalResources = forms && built.Selection.Sections.isEmpty();
    if (built.WholeAlias()) presets = {true, true, false};
    return presets;
}

void CopyDictionaryPart(const QString& source, const QString& target,
                        const TPelvarObjectList& SubItems) {
    TSelectionBuilder built(source);
    for (int i = 0; i < SubItems.Count(); ++i)
        built.Add(*SubItems.Items(i));
    if (built.Selection.IsEmpty()) return;
    TCopyAnswers answers = Presets(source, built);
    if ((answers.CreateDBObjects || answers.CopyTableData || answers.CopyLocalResources) &&
        !ConfirmCopyStructures(answers.CreateDBObjects, answers.CopyTableData,
                               answers.CopyLocalResources))
        return;
    TUOCopyDatabase operation;
    operation.SetSourceAlias(source);
    operation.SetTargetAlias(target);
    operation.SetWriteFlag(true);
    operation.Selection = built.Selection;
    operation.Answers = answers;
    RunDSPOperation(
        operation,
        SafeFormat(LString(QStringLiteral("M_Pelvar_DOAlias_CopyDatabaseActionCaption")), source));
}

}  // namespace

void DropOnAlias(TDOAlias& alias, const QStringList& ParsedPath,
                 const TPelvarObjectList& SubItems) {
    if (SubItems.Count() == 0) return;
    // A database not yet in use is logged in to first, as expanding it would.
    if (!alias.Connect()) return;
    const TPelvarObject& first = *SubItems.Items(0);
    if (dynamic_cast<const TDOCommonFileObject*>(&first))
        return DropFromFile(alias, ParsedPath, SubItems);
    // The source is the first dragged object's database.
    QString source = ParsedPath.value(0);
    if (auto* node = dynamic_cast<const TDOCommonAliasObject*>(&first);
        node && !node->AliasName().isEmpty())
        source = node->AliasName();
    if (source.isEmpty() || source.compare(alias.AliasName(), Qt::CaseInsensitive) == 0) return;
    if (dynamic_cast<const TDOLResource*>(&first))
        return CopyResources(source, alias.AliasName(), SubItems);
    if (dynamic_cast<const TDOLanguage*>(&first))
        return ThroughLanguagesFolder(alias, ParsedPath, SubItems);
    CopyDictionaryPart(source, alias.AliasName(), SubItems);
}
