#pragma once

// TEMPORARY stand-in: declarations only, so that the structure folders build
// before the structure operations land. Dropped when they do.

#include <QString>

#include "appcore/dsptable.h"
#include "utiloperation.h"

class TEIFile;

// Runs the operation without a progress window; true on success.
bool ExecuteUtilOperationDirect(TUtilOperation& operation);

// One structure with its database object and local resources.
class TUODeleteDSPObject : public TUtilOperation {
  public:
    void Execute(TOperationContext& context) override;
    QString Name;
    int ObjectType = 0;
    bool DeleteDBObject = false;
    bool DeleteLocalResources = false;
};

// Several structures, in one transaction.
class TUODeleteDSPObjects : public TUtilOperation {
  public:
    void Execute(TOperationContext& context) override;
    TDSPList Items;
    bool DeleteDBObjects = false;
    bool DeleteLocalResources = false;
};

// The structure alone.
class TUODeleteDSPStructure : public TUtilOperation {
  public:
    void Execute(TOperationContext& context) override;
    QString Name;
    int ObjectType = 0;
};

class TUOCopyDSPStructure : public TUtilOperation {
  public:
    void Execute(TOperationContext& context) override;
    QString SourceName;
    int SourceType = 0;
    QString TargetName;
    int TargetType = 0;
};

class TUOCopyDSPObject : public TUtilOperation {
  public:
    void Execute(TOperationContext& context) override;
    QString SourceName;
    int SourceType = 0;
    QString TargetName;
    int TargetType = 0;
    bool CreateDBObject = false;
    bool CopyTableData = false;
    bool CopyLocalResources = false;
};

class TUOExportDSPObjects : public TUtilOperation {
  public:
    void Execute(TOperationContext& context) override;
    TDSPList Items;
    bool ExportLResources = false;
    bool ExportTableData = false;
    bool SeparateExport = false;
    bool SeparateTableData = false;
    bool SeparateDialogRes = false;
    bool NewFormat = true;
    bool UTF8 = true;
    bool Append = false;
    TEIFile* File = nullptr;
};
