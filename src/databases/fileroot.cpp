#include "fileroot.h"

#include <QFileInfo>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "eiexport.h"
#include "eifilerules.h"
#include "eifolders.h"
#include "filecounter.h"
#include "opkit/eifile.h"

TDOFileRoot::~TDOFileRoot() {
    // The children hold the file: they go before it may.
    SubObjects().Clear();
    Release();
}

void TDOFileRoot::Release() {
    if (!FHolding) return;
    FHolding = false;
    EIFile = nullptr;
    FileCounter().RemoveFile(FFileName);
}

bool TDOFileRoot::InternalOpen() {
    TFileCounter& counter = FileCounter();
    if (counter.GetUsed(FFileName) > 0) {
        counter.AddUse(FFileName);
        EIFile = counter.GetFile(FFileName);
    } else {
        EIFile = counter.AddFile(FFileName);
        // A section whose writing was cut off is left out of the file; say so
        // once, when the file is first opened.
        if (!EIFile->UnfinishedSectionNote().isEmpty())
            Interaction().MessageBox(EIFile->UnfinishedSectionNote(),
                                     LString(QStringLiteral("ST_WARNING")),
                                     MB::OK | MB::ICONWARNING);
    }
    FHolding = true;
    BuildFolders();
    return true;
}

void TDOFileRoot::BuildFolders() {
    for (const QString& name : EIFolderOrder(*EIFile)) {
        std::unique_ptr<TDOEIFolder> folder = NewEIFolder(name);
        folder->EIFile = EIFile;
        AddSubObject(std::move(folder), name);
    }
}

void TDOFileRoot::Close() {
    SubObjects().Clear();
    Release();
    TDOCommonFileObject::Close();
}

bool TDOFileRoot::Refresh() {
    SubObjects().Clear();
    if (EIFile) BuildFolders();
    return true;
}

TPelvarChangeType TDOFileRoot::RefreshItem(const QString& SubPath) {
    const bool hasSections = EIFile && !EISectionIndexesOf(*EIFile, SubPath).isEmpty();
    TPelvarObject* folder = SubObjects().FindBySubPath(SubPath);
    if (!hasSections && folder) {
        SubObjects().Delete(SubObjects().IndexOf(folder));
        return ctItemDeleted;
    }
    if (hasSections && !folder) {
        std::unique_ptr<TDOEIFolder> added = NewEIFolder(SubPath);
        added->EIFile = EIFile;
        AddSubObject(std::move(added), SubPath);
        return ctItemAdded;
    }
    return ctItemChanged;
}

void TDOFileRoot::FillTreeViewItem(TTreeNodeItem& Item) {
    Item.Text = QFileInfo(FFileName).fileName();
    if (EIFile && EIFile->ReadOnly())
        Item.Text += QLatin1Char(' ') + LString(QStringLiteral("M_Pelvar_DOEIObj_ReadOnlyMark"));
    Item.HasChildren = true;
    Item.ImageIndex = 0;
    Item.SelectedIndex = 1;
}

int TDOFileRoot::Compare(const TPelvarObject* Item1, const TPelvarObject* Item2, int) {
    const QStringList order = EIFile ? EIFolderOrder(*EIFile) : QStringList();
    return int(order.indexOf(Item1->SubPath()) - order.indexOf(Item2->SubPath()));
}

void TDOFileRoot::FillActions() {
    AddEIDeleteAction(*this, [this](const QStringList& selected) { DeleteFolders(selected); });
}

void TDOFileRoot::DeleteFolders(const QStringList& Folders) {
    if (!EIFile) return;
    const QString text = LString(EIFolderDeleteMessageId(Folders));
    if (Interaction().MessageBox(text, LString(QStringLiteral("ST_CONFIRMATION")),
                                 MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    QStringList indexes;
    for (const QString& folder : Folders)
        indexes << EISectionIndexesOf(*EIFile, folder);
    if (indexes.isEmpty()) return;
    EIFile->DeleteSections(indexes);
    DataChanged(FullPath());
}

// ---- drops ----

namespace {

bool Takes(const TPelvarObject& o) {
    return EIIsStructureSource(o) || EIIsSectionSource(o) || EIIsLanguageSource(o) ||
           EIIsDatabaseSource(o);
}

}  // namespace

bool TDOFileRoot::InternalAcceptDragObject(const QStringList&, const TPelvarObjectList& SubItems) {
    if (!EIFile || EIFile->ReadOnly()) return false;
    for (int i = 0; i < SubItems.Count(); ++i) {
        const TPelvarObject& o = *SubItems.Items(i);
        // A whole database goes alone: its export holds everything else.
        if (!Takes(o) || (EIIsDatabaseSource(o) && SubItems.Count() > 1)) return false;
    }
    return SubItems.Count() > 0;
}

void TDOFileRoot::InternalDragObjectDropped(const QStringList& ParsedPath,
                                            const TPelvarObjectList& SubItems) {
    if (!EIFile || SubItems.Count() == 0) return;
    const TPelvarObject& first = *SubItems.Items(0);
    TEIExported exported;
    if (EIIsDatabaseSource(first))
        exported = EIExportDatabase(*EIFile, SubItems);
    else if (EIIsSectionSource(first))
        exported = EIExportSections(*EIFile, ParsedPath, SubItems);
    else if (EIIsStructureSource(first))
        exported = EIExportStructures(*EIFile, ParsedPath, SubItems);
    else if (EIIsLanguageSource(first))
        exported = EIExportLanguages(*EIFile, ParsedPath, SubItems);
    EIAnnounceExport(*this, FullPath(), exported);
}
