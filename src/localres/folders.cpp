#include "appcore/texts.h"
#include "languagesfolder.h"
#include "localresfolder.h"

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
