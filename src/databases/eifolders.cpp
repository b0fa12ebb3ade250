// The folders of an opened export/import file: building their items from the
// file's sections, keeping them in step with it, and deleting sections.
#include "eifolders.h"

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "eifilerules.h"
#include "opkit/eifile.h"
#include "structures/dspconfirmations.h"

namespace {

bool AskYesNo(const QString& id, int count) {
    const QString text = SafeFormat(LString(id), count);
    return Interaction().MessageBox(text, LString(QStringLiteral("ST_CONFIRMATION")),
                                    MB::YESNO | MB::ICONQUESTION) == IDYES;
}

int IndexOfSection(const TEIFile& file, const QString& folder, const QString& name) {
    for (int i = 0; i < file.Sections().GetCount(); ++i) {
        const TEISection* s = file.Sections().GetSections(i);
        if (s->Name() == name && EIFolderShows(folder, s->ClassName())) return i;
    }
    return -1;
}

}  // namespace

// ---- TDOEIFolder ----

bool TDOEIFolder::InternalOpen() {
    BuildItems();
    return true;
}

void TDOEIFolder::BuildItems() {
    if (!EIFile) return;
    const QString folder = FolderName();
    for (int i = 0; i < EIFile->Sections().GetCount(); ++i) {
        TEISection* section = EIFile->Sections().GetSections(i);
        if (!EIFolderShows(folder, section->ClassName())) continue;
        std::unique_ptr<TDOEIItem> item = NewItem();
        item->EIFile = EIFile;
        item->Bind(section, i);
        // A section's name is what its item is named by: "10:CLIENTS" for a
        // structure, the section, table or language ID for the others.
        AddSubObject(std::move(item), section->Name());
    }
}

bool TDOEIFolder::Refresh() {
    SubObjects().Clear();
    BuildItems();
    return true;
}

TPelvarChangeType TDOEIFolder::RefreshItem(const QString& SubPath) {
    const int index = EIFile ? IndexOfSection(*EIFile, FolderName(), SubPath) : -1;
    TPelvarObject* found = SubObjects().FindBySubPath(SubPath);
    if (index < 0) {
        if (found) SubObjects().Delete(SubObjects().IndexOf(found));
        return ctItemDeleted;
    }
    if (auto* item = dynamic_cast<TDOEIItem*>(found)) {
        item->Bind(EIFile->Sections().GetSections(index), index);
        return ctItemChanged;
    }
    std::unique_ptr<TDOEIItem> item = NewItem();
    item->EIFile = EIFile;
    item->Bind(EIFile->Sections().GetSections(index), index);
    AddSubObject(std::move(item), SubPath);
    return ctItemAdded;
}

void TDOEIFolder::FillTreeViewItem(TTreeNodeItem& Item) {
    Item.Text = GetCaption();
    Item.ImageIndex = 0;
    Item.SelectedIndex = 1;
    Item.HasChildren = false;
}

void TDOEIFolder::FillListViewItem(TListRow& Item, const TListColumns&) {
    Item.Caption = GetCaption();
    Item.ImageIndex = 0;
}

QString TDOEIFolder::GetCaption() {
    return LString(CaptionId());
}

int TDOEIFolder::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int CompareType) {
    auto* a = dynamic_cast<const TDOEINamedItem*>(Item1);
    auto* b = dynamic_cast<const TDOEINamedItem*>(Item2);
    if (a && b) return a->Identifier().compare(b->Identifier());
    return TDOCommonFileObject::Compare(Item1, Item2, CompareType);
}

void AddEIDeleteAction(TPelvarObject& owner, std::function<void(const QStringList&)> remove) {
    TPelvarObjectAction* a = owner.Actions().Add();
    a->Name = QStringLiteral("DSP_Delete");
    a->Caption = a->Hint = LString(QStringLiteral("ST_DELETE"));
    a->Category = QStringLiteral("Edit");
    a->Shortcut = Qt::Key_Delete;
    a->ImageIndex = 9;
    a->Options = {aoSubObjects, aoPopupMenu, aoToolBar, aoMultySelection, aoSingleSelection};
    a->SetOnExecute([remove = std::move(remove)](const QStringList* selected) {
        if (selected && !selected->isEmpty()) remove(*selected);
    });
}

void TDOEIFolder::FillActions() {
    AddEIDeleteAction(*this, [this](const QStringList& selected) { DeleteAction(selected); });
}

bool TDOEIFolder::ConfirmDelete(int count) {
    return AskYesNo(QStringLiteral("M_Pelvar_DOEIObj_MultiDeleteunknownConfirm"), count);
}

QStringList TDOEIFolder::IndexesOf(const QStringList& names) const {
    QStringList indexes;
    if (!EIFile) return indexes;
    const QString folder = FolderName();
    // By name, not through the items: a file may hold a section twice.
    for (int i = 0; i < EIFile->Sections().GetCount(); ++i) {
        const TEISection* s = EIFile->Sections().GetSections(i);
        if (EIFolderShows(folder, s->ClassName()) && names.contains(s->Name()))
            indexes << QString::number(i);
    }
    return indexes;
}

void TDOEIFolder::DeleteSections(const QStringList& indexes) {
    if (indexes.isEmpty() || !EIFile) return;
    EIFile->DeleteSections(indexes);
    DataChanged(FullPath());
}

void TDOEIFolder::DeleteAction(const QStringList& SubObjects) {
    if (!ConfirmDelete(int(SubObjects.size()))) return;
    DeleteSections(IndexesOf(SubObjects));
}

// ---- the folder kinds ----

QString TDOEILanguageFolder::FolderName() const {
    return EIFolders::kLanguages;
}
std::unique_ptr<TDOEIItem> TDOEILanguageFolder::NewItem() const {
    return std::make_unique<TDOEILanguageItem>();
}
bool TDOEILanguageFolder::ConfirmDelete(int count) {
    return AskYesNo(QStringLiteral("M_Pelvar_DOLRes_MultiDeleteLSectionConfirm"), count);
}

QString TDOEILResFolder::FolderName() const {
    return EIFolders::kResources;
}
std::unique_ptr<TDOEIItem> TDOEILResFolder::NewItem() const {
    return std::make_unique<TDOEILResItem>();
}
bool TDOEILResFolder::ConfirmDelete(int count) {
    return AskYesNo(QStringLiteral("M_Pelvar_DOLRes_MultiDeleteLSectionConfirm"), count);
}

QString TDOEITableFolder::FolderName() const {
    return EIFolders::kTables;
}
std::unique_ptr<TDOEIItem> TDOEITableFolder::NewItem() const {
    return std::make_unique<TDOEITableItem>();
}
bool TDOEITableFolder::ConfirmDelete(int count) {
    return AskYesNo(QStringLiteral("M_Pelvar_DOEIObj_MultiDeleteTableDataConfirm"), count);
}
void TDOEITableFolder::CreateColumns(TListColumns& Columns) {
    Columns.Add(LString(QStringLiteral("M_Pelvar_DOEIObj_TableNameColumnCaption")), 400, 0);
}

QString TDOEIUnknownFolder::FolderName() const {
    return EIFolders::kUnknown;
}
std::unique_ptr<TDOEIItem> TDOEIUnknownFolder::NewItem() const {
    return std::make_unique<TDOEIUnknownItem>();
}

// ---- structures ----

QString TDOEIDSPStrFolder::FolderName() const {
    return EIFolders::kStructures;
}
std::unique_ptr<TDOEIItem> TDOEIDSPStrFolder::NewItem() const {
    return std::make_unique<TDOEIDSPStrItem>();
}

void TDOEIDSPStrFolder::CreateColumns(TListColumns& Columns) {
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_ObjectNameCaption")), 200, 0);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_ParentObjectCaption")), 100, 5);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_RemarkCaption")), 300, 3);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_LastChangedCaption")), 100, 2);
    Columns.Add(LString(QStringLiteral("M_Pelvar_DODSPStr_ObjectTypeColumnCaption")), 100, 6);
}

QString TDOEIDSPStrFolder::GetSortMenuItemCaption(int ColumnType) {
    switch (ColumnType) {
        case 2:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_LastChangeSortCaption"));
        case 3:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_RemarkSortCaption"));
        case 4:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_TableNameSortCaption"));
        case 5:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_ParentObjectSortCaption"));
        case 6:
            return LString(QStringLiteral("M_Pelvar_DODSPStr_ObjectTypeSortCaption"));
        default:
            return TDOEIFolder::GetSortMenuItemCaption(ColumnType);
    }
}

int TDOEIDSPStrFolder::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2,
                               int CompareType) {
    auto* a = dynamic_cast<const TDOEIDSPStrItem*>(Item1);
    auto* b = dynamic_cast<const TDOEIDSPStrItem*>(Item2);
    if (a && b) return EICompareStructures(a->Info(), b->Info(), CompareType);
    return TDOEIFolder::Compare(Item1, Item2, CompareType);
}

void TDOEIDSPStrFolder::DeleteAction(const QStringList& SubObjects) {
    if (!EIFile) return;
    QStringList tableData, resources;
    for (const QString& name : SubObjects) {
        auto* item = dynamic_cast<TDOEIDSPStrItem*>(this->SubObjects().FindBySubPath(name));
        if (!item) continue;
        const TDSPListItem& info = item->Info();
        int related = -1;
        if (info.ObjectType == 10) {
            related = EITableDataSectionOf(*EIFile, info.Name);
            if (related >= 0) tableData << QString::number(related);
        } else if (info.ObjectType == 12) {
            related = EIFormResourceSectionOf(*EIFile, info.Name);
            if (related >= 0) resources << QString::number(related);
        }
    }
    QStringList indexes = IndexesOf(SubObjects);
    bool withData = !tableData.isEmpty(), withResources = !resources.isEmpty();
    if (withData || withResources) {
        if (!ConfirmDeleteStructures(int(SubObjects.size()), withData, withResources)) return;
        if (withData) indexes << tableData;
        if (withResources) indexes << resources;
    } else if (!AskYesNo(QStringLiteral("M_Pelvar_DODSPStr_MultyDeleteWarning"),
                         int(SubObjects.size()))) {
        return;
    }
    indexes.removeDuplicates();
    DeleteSections(indexes);
    const QString root = FullPath().left(FullPath().lastIndexOf(QLatin1Char('\\')));
    if (withData) DataChanged(root + QLatin1Char('\\') + EIFolders::kTables);
    if (withResources) DataChanged(root + QLatin1Char('\\') + EIFolders::kResources);
}

std::unique_ptr<TDOEIFolder> NewEIFolder(const QString& folderName) {
    if (folderName == EIFolders::kLanguages) return std::make_unique<TDOEILanguageFolder>();
    if (folderName == EIFolders::kStructures) return std::make_unique<TDOEIDSPStrFolder>();
    if (folderName == EIFolders::kResources) return std::make_unique<TDOEILResFolder>();
    if (folderName == EIFolders::kTables) return std::make_unique<TDOEITableFolder>();
    return std::make_unique<TDOEIUnknownFolder>();
}
