#pragma once

#include "databases/commonfolder.h"

// The "Structures" node of a database: the DSP structures of the database.
class TDOStructures : public TDOCommonFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOStructures)
    QString GetCaption() override;
};
