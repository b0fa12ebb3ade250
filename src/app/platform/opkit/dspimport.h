#pragma once

#include <QList>

#include "opkit/utiloperation.h"

class TEIFile;

// Imports DSP structure sections of an open export/import file into
// TargetAlias() (the base's TargetAlias()/SetTargetAlias()), all in one
// transaction of the target database: on an error or a cancel the target
// stays as it was. A structure whose name and type the target already has is
// replaced only when ReplaceExisting is set, otherwise it is left and
// reported. With ImportTableData the file's table data sections of the
// imported table structures go into their tables, with ImportLResources its
// "K_" text sections of the imported forms come along, and with
// CreateDBObjects the tables, generators, views and procedures that the
// structures describe are created where missing.
class TUOImportDSPObjects : public TUtilOperation {
  public:
    TEIFile* File = nullptr;    // not owned, open
    QList<int> SectionIndexes;  // indexes of TEIDSPStructure sections in File
    bool ReplaceExisting = false;
    bool ImportTableData = false;
    bool ImportLResources = false;
    bool CreateDBObjects = false;
    void Execute(TOperationContext& context) override;
};
