#pragma once

#include <QList>
#include <QString>

#include "opkit/utiloperation.h"

class TEIFile;

// Imports the chosen sections of an export file (structures, texts,
// languages and, when asked, table data) into TargetAlias, in one
// transaction: on an error or a cancel the target stays as it was.
struct TUOImportDSPObjects : TUtilOperation {
    QString TargetAlias;
    TEIFile* File = nullptr;  // not owned
    QList<int> SectionIndexes;
    bool ReplaceExisting = true;  // else existing structures (and their rows) are kept
    bool ImportTableData = true;
    void Execute(TOperationContext& context) override;
};
