// Drops on the folders of an opened export/import file: what each takes and
// how it exports it into the file.
#include "eiexport.h"
#include "eifolders.h"
#include "opkit/eifile.h"

namespace {

bool AllAre(const TPelvarObjectList& SubItems, bool (*test)(const TPelvarObject&)) {
    for (int i = 0; i < SubItems.Count(); ++i)
        if (!test(*SubItems.Items(i))) return false;
    return true;
}

bool Writable(const TEIFile* file) {
    return file && !file->ReadOnly();
}

QString ParentPath(const TPelvarObject& folder) {
    return folder.FullPath().left(std::max<qsizetype>(0, folder.FullPath().lastIndexOf('\\')));
}

}  // namespace

bool TDOEIDSPStrFolder::InternalAcceptDragObject(const QStringList&,
                                                 const TPelvarObjectList& SubItems) {
    return Writable(EIFile) && AllAre(SubItems, EIIsStructureSource);
}

void TDOEIDSPStrFolder::InternalDragObjectDropped(const QStringList& ParsedPath,
                                                  const TPelvarObjectList& SubItems) {
    if (!EIFile) return;
    EIAnnounceExport(*this, ParentPath(*this), EIExportStructures(*EIFile, ParsedPath, SubItems));
}

bool TDOEILResFolder::InternalAcceptDragObject(const QStringList&,
                                               const TPelvarObjectList& SubItems) {
    return Writable(EIFile) && AllAre(SubItems, EIIsSectionSource);
}

void TDOEILResFolder::InternalDragObjectDropped(const QStringList& ParsedPath,
                                                const TPelvarObjectList& SubItems) {
    if (!EIFile) return;
    EIAnnounceExport(*this, ParentPath(*this), EIExportSections(*EIFile, ParsedPath, SubItems));
}

bool TDOEILanguageFolder::InternalAcceptDragObject(const QStringList&,
                                                   const TPelvarObjectList& SubItems) {
    return Writable(EIFile) && AllAre(SubItems, EIIsLanguageSource);
}

void TDOEILanguageFolder::InternalDragObjectDropped(const QStringList& ParsedPath,
                                                    const TPelvarObjectList& SubItems) {
    if (!EIFile) return;
    EIAnnounceExport(*this, ParentPath(*this), EIExportLanguages(*EIFile, ParsedPath, SubItems));
}
