#pragma once

#include <QList>

#include "opkit/utiloperation.h"

class TEIFile;

// Imports DSP structure sections of an open export/import file into
// TargetAlias() (the base's TargetAlias()/SetTargetAlias()), all in one
// transaction of the target database: on an error or a cancel the target
// stays as it was. A structure whose name and type the target already has is
// replaced only when ReplaceExisting is set, otherwise it is left and
// reported. With ImportTableData the table data sections that follow a table
// structure in the file are imported into its table as well.
class TUOImportDSPObjects : public TUtilOperation {
  public:
    TEIFile* File = nullptr;    // not owned, open
    QList<int> SectionIndexes;  // indexes of TEIDSPStructure sections in File
    bool ReplaceExisting = false;
    bool ImportTableData = false;
    void Execute(TOperationContext& context) override;
};
