#pragma once

#include "databases/commonfolder.h"

// The "LocalResources" node of a database: its localised texts by section.
class TDOLocalResources : public TDOCommonFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOLocalResources)
    QString GetCaption() override;
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;
};
