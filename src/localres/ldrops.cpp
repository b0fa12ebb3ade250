// Drops onto local resource containers: strings, sections and containers of
// another database, and local resource sections of export/import files.
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "lcontainer.h"
#include "lresactions.h"
#include "lsection.h"
#include "model/dragobject.h"
#include "model/exportconfirm.h"
#include "model/roles.h"
#include "opkit/eifile.h"
#include "opkit/lresoperations.h"

namespace {

bool IsEIResItem(const TPelvarObject& object) {
    auto* role = dynamic_cast<const TEISectionRole*>(&object);
    return role && role->FileSection() &&
           role->FileSection()->ClassName() == QLatin1String("TEILResource");
}

bool IsEIResFolder(const TPelvarObject& object) {
    return object.ClassName() == QLatin1String("TDOEILResFolder");
}

TEIFile* FileOf(const TPelvarObject& object) {
    if (auto* role = dynamic_cast<const TEISectionRole*>(&object)) return role->SectionFile();
    if (auto* file = dynamic_cast<const TDOCommonFileObject*>(&object)) return file->EIFile;
    return nullptr;
}

}  // namespace

bool TDOLContainer::InternalAcceptDragObject(const QStringList& ParsedPath,
                                             const TPelvarObjectList& SubItems) {
    if (ParsedPath.isEmpty() || ParsedPath.first().toUpper() == AliasName()) return false;
    for (int i = 0; i < SubItems.Count(); ++i) {
        TPelvarObject& o = *SubItems.Items(i);
        bool ok = false;
        if (auto* c = dynamic_cast<const TDOLContainer*>(&o))
            ok = IsLContainerAccepted(c->ClassName());
        else if (auto* s = dynamic_cast<const TSectionIDRole*>(&o))
            ok = AcceptSection(s->SectionID());
        else if (IsEIResFolder(o))
            ok = IsEIFolderAccepted(o);
        else if (IsEIResItem(o))
            ok = AcceptSection(dynamic_cast<const TEISectionRole&>(o).FileSection()->Name());
        if (!ok) return false;
    }
    return SubItems.Count() > 0;
}

void TDOLContainer::InternalDragObjectDropped(const QStringList& ParsedPath,
                                              const TPelvarObjectList& SubItems) {
    DropObjects(ParsedPath, SubItems, false);
}

void TDOLContainer::FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                           const TPelvarObjectList& SubItems) {
    if (SubItems.Count() == 0) return;
    for (int i = 0; i < SubItems.Count(); ++i)
        if (!IsEIResItem(*SubItems.Items(i)) && !IsEIResFolder(*SubItems.Items(i))) return;
    TPelvarObjectAction* a = Items.Add();
    a->Caption = a->Name =
        LString(QStringLiteral("M_pelvar_DOLRes_ImportLResourceByLanguageAction"));
    a->SetOnExecute([this](const QStringList*) {
        if (const TPelvarDragObject* drag = RightDragObject())
            DropObjects(ParsePath(drag->FullPath), drag->Items, true);
    });
}

void TDOLContainer::DropObjects(const QStringList& ParsedPath, const TPelvarObjectList& SubItems,
                                bool byLanguage) {
    if (SubItems.Count() == 0) return;
    const QString source = ParsedPath.isEmpty() ? QString() : ParsedPath.first();
    TPelvarObject& first = *SubItems.Items(0);
    if (auto* r = dynamic_cast<const TDOLResource*>(&first)) {
        TUOCopyLResources operation;
        operation.SetWriteFlag(true);
        operation.SetTargetAlias(AliasName());
        operation.SetSourceAlias(source);
        operation.SourceSection = operation.TargetSection = r->SectionID();
        for (int i = 0; i < SubItems.Count(); ++i) {
            auto* each = dynamic_cast<const TDOLResource*>(SubItems.Items(i));
            if (!each)
                InvalidDropSource(QStringLiteral("copy local resources action"),
                                  *SubItems.Items(i));
            operation.Idents << each->Ident();
        }
        RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_CopyLSectionsActionCaption")));
        return;
    }
    if (IsEIResItem(first) || IsEIResFolder(first)) {
        TUOImportLSections operation;
        operation.SetTargetAlias(AliasName());
        operation.SetWriteFlag(true);
        operation.File = FileOf(first);
        if (!operation.File) return;
        for (int i = 0; i < SubItems.Count(); ++i) {
            TPelvarObject& o = *SubItems.Items(i);
            if (IsEIResItem(o)) {
                const auto& role = dynamic_cast<const TEISectionRole&>(o);
                operation.Indexes << QString::number(
                    role.SectionFile()->Sections().IndexOf(role.FileSection()));
            } else if (TEIFile* file = FileOf(o)) {
                for (int s = 0; s < file->Sections().GetCount(); ++s) {
                    const TEISection* section = file->Sections().GetSections(s);
                    if (section->ClassName() == QLatin1String("TEILResource") &&
                        AcceptSection(section->Name()))
                        operation.Indexes << QString::number(s);
                }
            }
        }
        if (operation.Indexes.isEmpty()) return;
        if (byLanguage && !LanguagesSelect(AliasName(), operation.Languages)) return;
        if (operation.Indexes.size() == 1)
            RunLResDirect(operation);
        else
            RunLRes(operation,
                    LString(QStringLiteral("M_Pelvar_DOLRes_ImportLSectionsActionCaption")));
        return;
    }
    QStringList sections;
    for (int i = 0; i < SubItems.Count(); ++i) {
        TPelvarObject& o = *SubItems.Items(i);
        if (auto* s = dynamic_cast<const TDOLSection*>(&o)) {
            if (!sections.contains(s->SectionID().toUpper())) sections << s->SectionID().toUpper();
        } else if (auto* c = dynamic_cast<const TDOLContainer*>(&o)) {
            QStringList all;
            GetLocalizatorTable(source).FillSectionList(BaseMng().CurrentLanguage(), all);
            for (const QString& s : all)
                if (c->AcceptSection(s) && !sections.contains(s.toUpper())) sections << s.toUpper();
        } else {
            InvalidDropSource(QStringLiteral("copy local sections action"), o);
        }
    }
    if (sections.isEmpty()) return;
    TUOCopyLSections operation;
    operation.SetWriteFlag(true);
    operation.Sections = sections;
    operation.SetTargetAlias(AliasName());
    operation.SetSourceAlias(source);
    if (sections.size() == 1)
        RunLResDirect(operation);
    else
        RunLRes(operation, LString(QStringLiteral("M_Pelvar_DOLRes_CopyLSectionsActionCaption")));
}
