#include "appcore/texts.h"
#include "languagesfolder.h"
#include "localresfolder.h"
#include "model/shortcuts.h"

namespace {

// A shortcut to a folder is captioned (and hinted) by the folder's message ID.
void SetShortcutTexts(TPelvarObjectShortcut& shortcut, const QString& id, int image) {
    shortcut.CaptionID = shortcut.HintID = id;
    shortcut.ImageIndex = image;
}

}  // namespace

QString TDOLanguages::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolders_LanguagesCaption"));
}

void TDOLanguages::FillTreeViewItem(TTreeNodeItem& Item) {
    TDOCommonFolder::FillTreeViewItem(Item);
    Item.HasChildren = false;  // languages are list rows, never tree nodes
}

QString TDOLocalResources::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolders_LocalResources"));
}

void TDOLanguages::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    SetShortcutTexts(ShortCut, QStringLiteral("M_Pelvar_DOLangs_ShortcutCaption"), 6);
}

void TDOLocalResources::FillShortcut(TPelvarObjectShortcut& ShortCut) {
    SetShortcutTexts(ShortCut, QStringLiteral("M_Pelvar_DOFolders_LocalResources"), 7);
}
