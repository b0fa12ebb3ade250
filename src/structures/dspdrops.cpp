// Drops on structure containers: structures out of an opened export/import
// file are imported into the container's database, structures and folders of
// another database are copied into it.
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/errors.h"
#include "dspactions.h"
#include "dspconfirmations.h"
#include "dspcontainer.h"
#include "dspitem.h"
#include "model/roles.h"
#include "opkit/dspimport.h"
#include "opkit/dspoperations.h"
#include "opkit/eifile.h"
#include "opkit/eiobjects.h"

namespace {

const QString kStructureClass = QStringLiteral("TEIDSPStructure");

const TEISectionRole* EIStructureItem(const TPelvarObject& object) {
    auto* role = dynamic_cast<const TEISectionRole*>(&object);
    return role && role->FileSection() && role->FileSection()->ClassName() == kStructureClass
               ? role
               : nullptr;
}

bool IsEIStructureFolder(const TPelvarObject& object) {
    return object.ClassName() == QLatin1String("TDOEIDSPStrFolder");
}

TDSPListItem ItemOf(const TEISection& section) {
    return TEIDSPStructure::ItemOf(section);
}

const QString kInvalidSource =
    QStringLiteral("Invalid class of source DSP object in drag`n`drop operation");

bool IsDatabaseStructureNode(const TPelvarObject& object) {
    return dynamic_cast<const TDOCommonDSPItem*>(&object) ||
           dynamic_cast<const TDODSPContainer*>(&object);
}

bool IsDBObjectType(int type) {
    return type == 10 || (type >= 71 && type <= 74);
}

}  // namespace

TDSPList DraggedStructures(const TPelvarObjectList& SubItems) {
    TDSPList list, all;
    bool read = false;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        if (const auto* item = dynamic_cast<const TDOCommonDSPItem*>(&o)) {
            if (!list.Find(item->Info().Name, item->Info().ObjectType)) list.AddCopy(item->Info());
        } else if (const auto* container = dynamic_cast<const TDODSPContainer*>(&o)) {
            if (!read) GetDSPTable(container->AliasName()).FillStructuresList(0, all);
            read = true;
            for (int s = 0; s < all.Count(); ++s) {
                const TDSPListItem& item = all.Items(s);
                if (container->IsObjectTypeAccepted(item.ObjectType) &&
                    !list.Find(item.Name, item.ObjectType))
                    list.AddCopy(item);
            }
        } else {
            throw EPelvarError(kInvalidSource);
        }
    }
    return list;
}

void TDODSPContainer::CopyFromDatabase(const QString& SourceAlias,
                                       const TPelvarObjectList& SubItems) {
    const TDSPList list = DraggedStructures(SubItems);
    if (list.Count() == 0) return;
    bool forms = false, dbObjects = false, tableData = false;
    for (int i = 0; i < list.Count(); ++i) {
        const TDSPListItem& item = list.Items(i);
        forms = forms || item.ObjectType == 12;
        if (!IsDBObjectType(item.ObjectType) ||
            !DSPDatabaseObjectExists(SourceAlias, item.Name, item.ObjectType))
            continue;
        dbObjects = true;
        tableData = tableData || item.ObjectType == 10;
    }
    if ((forms || dbObjects) && !ConfirmCopyStructures(dbObjects, tableData, forms)) return;
    const QString caption =
        LString(QStringLiteral("M_Pelvar_DODSPStr_CopyingDSPStructuresOperationCaption"));
    if (list.Count() == 1) {
        TUOCopyDSPObject operation;
        operation.SetSourceAlias(SourceAlias);
        operation.SetTargetAlias(AliasName());
        operation.SetWriteFlag(true);
        operation.SourceName = operation.TargetName = list.Items(0).Name;
        operation.SourceType = operation.TargetType = list.Items(0).ObjectType;
        operation.CreateDBObject = dbObjects;
        operation.CopyTableData = tableData;
        operation.CopyLocalResources = forms;
        // A structure alone is quick: no progress window unless rows travel.
        if (tableData)
            RunDSPOperation(operation, caption);
        else
            RunDSPOperationDirect(operation);
        return;
    }
    TUOCopyDSPObjectsEx operation;
    operation.SetSourceAlias(SourceAlias);
    operation.SetTargetAlias(AliasName());
    operation.SetWriteFlag(true);
    operation.Items = list;
    operation.CreateDBObjects = dbObjects;
    operation.CopyTableData = tableData;
    operation.CopyLocalResources = forms;
    RunDSPOperation(operation, caption);
}

bool TDODSPContainer::InternalAcceptDragObject(const QStringList& ParsedPath,
                                               const TPelvarObjectList& SubItems) {
    if (ParsedPath.isEmpty() || ParsedPath.first().toUpper() == AliasName()) return false;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        bool ok = false;
        if (const auto* item = dynamic_cast<const TDOCommonDSPItem*>(&o))
            ok = IsObjectTypeAccepted(item->Info().ObjectType);
        else if (dynamic_cast<const TDODSPContainer*>(&o))
            ok = IsDSPContainerAccepted(o.ClassName());
        else if (const TEISectionRole* item = EIStructureItem(o))
            ok = IsObjectTypeAccepted(ItemOf(*item->FileSection()).ObjectType);
        else if (IsEIStructureFolder(o))
            ok = IsEIFolderAccepted(o);
        if (!ok) return false;
    }
    return SubItems.Count() > 0;
}

void TDODSPContainer::InternalDragObjectDropped(const QStringList& ParsedPath,
                                                const TPelvarObjectList& SubItems) {
    if (SubItems.Count() == 0) return;
    const TPelvarObject& first = *SubItems.Items(0);
    if (IsDatabaseStructureNode(first) && !ParsedPath.isEmpty())
        return CopyFromDatabase(ParsedPath.first(), SubItems);
    if (!EIStructureItem(first) && !IsEIStructureFolder(first)) return;
    TEIFile* file = nullptr;
    TDSPList list;
    QList<int> indexes;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        if (const TEISectionRole* role = EIStructureItem(o)) {
            file = file ? file : role->SectionFile();
            const int index = role->SectionFile()->Sections().IndexOf(role->FileSection());
            const TDSPListItem item = ItemOf(*role->FileSection());
            if (index >= 0 && !list.Find(item.Name, item.ObjectType)) {
                list.AddCopy(item);
                indexes << index;
            }
        } else if (auto* folder = dynamic_cast<const TDOCommonFileObject*>(&o);
                   folder && IsEIStructureFolder(o) && folder->EIFile) {
            file = file ? file : folder->EIFile;
            for (int s = 0; s < folder->EIFile->Sections().GetCount(); ++s) {
                const TEISection* section = folder->EIFile->Sections().GetSections(s);
                if (section->ClassName() != kStructureClass) continue;
                const TDSPListItem item = ItemOf(*section);
                if (IsObjectTypeAccepted(item.ObjectType) &&
                    !list.Find(item.Name, item.ObjectType)) {
                    list.AddCopy(item);
                    indexes << s;
                }
            }
        } else {
            throw EPelvarError(kInvalidSource);
        }
    }
    if (list.Count() == 0 || !file) return;
    bool resources = false, tableData = false, dbObjects = false;
    for (int i = 0; i < list.Count(); ++i) {
        const TDSPListItem& item = list.Items(i);
        if (item.ObjectType == 12)
            resources =
                resources || 0 <= file->FindSection(QStringLiteral("TEILResource"),
                                                    QStringLiteral("SectionID"), "K_" + item.Name);
        if (item.ObjectType == 10)
            tableData = tableData || 0 <= file->FindSection(QStringLiteral("TEITableData"),
                                                            QStringLiteral("TableName"), item.Name);
        dbObjects =
            dbObjects || item.ObjectType == 10 || (item.ObjectType >= 71 && item.ObjectType <= 74);
    }
    if ((resources || dbObjects) && !ConfirmCopyStructures(dbObjects, tableData, resources)) return;
    ImportDSPSections(*file, AliasName(), indexes, dbObjects, tableData, resources);
}

void ImportDSPSections(TEIFile& file, const QString& alias, const QList<int>& indexes,
                       bool createObjects, bool tableData, bool resources) {
    TUOImportDSPObjects operation;
    operation.File = &file;
    operation.SetFileName(file.FileName());
    operation.SetTargetAlias(alias);
    operation.SetWriteFlag(true);
    operation.SectionIndexes = indexes;
    operation.ReplaceExisting = true;
    operation.ImportTableData = tableData;
    operation.ImportLResources = resources;
    operation.CreateDBObjects = createObjects;
    RunDSPOperation(
        operation,
        LString(QStringLiteral("M_Pelvar_DODSPStr_ImportingDSPStructuresOperationCaption")));
}
