#include "dspcontainer.h"

#include "appcore/texts.h"

QString TDOStructures::GetCaption() {
    return LString(QStringLiteral("M_Pelvar_DOFolders_StructuresCaption"));
}
