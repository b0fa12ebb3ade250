#pragma once

#include <QString>

#include "appcore/dsptable.h"
#include "opkit/utiloperation.h"
class TEIFile;

// Operations on DSP structures and the database objects and local resources
// that belong to them. A structure's database object is named like the
// structure: the table of a table structure (type 10), the generator (71),
// view (72), executable (73) or selectable (74) stored procedure. A form's
// (type 12) local resources are the section "K_" + its upper-cased name.
// Every operation that writes to a database does it in one transaction of
// that database: on an error or a cancel nothing it wrote stays, and the
// store objects of the database re-read it. An error names the structure it
// happened at.

// Runs an operation without a progress window; true on success (errors in Errors()).
bool ExecuteUtilOperationDirect(TUtilOperation& operation);

// Deletes one structure and, as asked, its database object and its local
// resources (forms only). A structure that is not there is no error.
class TUODeleteDSPObject : public TUtilOperation {  // alias: SourceAlias()
  public:
    QString Name;
    int ObjectType = 0;
    bool DeleteDBObject = false;  // drop the table/view/generator/procedure the structure describes
    bool DeleteLocalResources = false;  // delete the structure's local resource section (forms)
    void Execute(TOperationContext& context) override;
};

// Deletes the listed structures as TUODeleteDSPObject does, all in one
// transaction, reporting progress per structure and checking for a cancel
// between them.
class TUODeleteDSPObjects
    : public TUtilOperation {  // alias: SourceAlias(); ONE transaction for all
  public:
    TDSPList Items;
    bool DeleteDBObjects = false;
    bool DeleteLocalResources = false;
    void Execute(TOperationContext& context) override;
};

class TUODeleteDSPStructure : public TUtilOperation {  // the structure row only
  public:
    QString Name;
    int ObjectType = 0;
    void Execute(TOperationContext& context) override;
};

// Copies a structure: its body, table name, parent and remark, replacing a
// target structure of that name and type. An empty TargetAlias() means the
// source database. Copying a structure onto itself does nothing.
class TUOCopyDSPStructure
    : public TUtilOperation {  // SourceAlias() -> TargetAlias() (may be equal)
  public:
    QString SourceName;
    int SourceType = 0;
    QString TargetName;
    int TargetType = 0;
    // body + table name + parent + remark; children's parent links are the caller's business
    void Execute(TOperationContext& context) override;
};

// Copies a structure (as TUOCopyDSPStructure) and, as asked, creates its
// database object under the target name, copies the table's rows (inside the
// server) or the generator's value, and copies a form's local resources. A
// table copy gets the target name and index names of its own; its rows go
// inside the server within one database, else in batches across. Stored
// procedures can be created only under their own name (their name is inside
// their SQL text): a clear error otherwise.
class TUOCopyDSPObject : public TUtilOperation {  // SourceAlias() -> TargetAlias() (may be equal)
  public:
    QString SourceName;
    int SourceType = 0;
    QString TargetName;
    int TargetType = 0;
    bool CreateDBObject = false;
    bool CopyTableData = false;
    bool CopyLocalResources = false;
    void Execute(TOperationContext& context) override;
};

// Copies the listed structures as TUOCopyDSPObject does, each under its own
// name and type, all in one transaction of the target: an error or a cancel
// at any of them leaves the target as it was. Progress per structure.
class TUOCopyDSPObjectsEx : public TUtilOperation {  // SourceAlias() -> TargetAlias()
  public:
    TDSPList Items;
    bool CreateDBObjects = false;
    bool CopyTableData = false;
    bool CopyLocalResources = false;
    void Execute(TOperationContext& context) override;
};

// Exports the listed structures (in list order) to an export/import file:
// per structure its TEIDSPStructure section, then, when asked, the rows of its
// table (TEITableData, type 10 whose name has no "." or "$" and whose table
// exists) and its local resources (TEILResource, forms with texts).
//
// Where it goes:
// - File set: appended to that open file (in the file's own encoding).
// - Append: appended to the existing file FileName().
// - otherwise FileName() is written anew under a temporary name and renamed
//   over the old file once complete; a read-only file is refused.
// An append that fails or is cancelled removes what it added, so the file
// holds what it held before.
// - SeparateExport: FileName() is an existing directory that gets, per
//   structure, DSPExportFileBase() + ".eif" with the structure and, unless
//   SeparateTableData / SeparateDialogRes, its table data and resources,
//   which otherwise go to + ".data.eif" and + ".res.eif". Each file is
//   written anew as above; a failure leaves the files of the structures
//   before it and nothing of the failing one.
class TUOExportDSPObjects
    : public TUtilOperation {  // SourceAlias(); FileName() = file, or directory when SeparateExport
  public:
    TDSPList Items;
    bool ExportLResources = false;
    bool ExportTableData = false;
    bool SeparateExport = false;
    bool SeparateTableData = false;
    bool SeparateDialogRes = false;
    bool NewFormat = true;
    bool UTF8 = true;
    bool Append = false;      // add to an existing file instead of rewriting it
    TEIFile* File = nullptr;  // an already open file to append to (not owned), or null
    void Execute(TOperationContext& context) override;
};

// The name (without extension) of a structure's file in a separate export:
// "<type>_<name>", where the name keeps ASCII letters, digits, "_" and "-"
// and writes every other character as "%" and two hex digits per UTF-8 byte
// ("$" "%24", "." "%2E", "Ж" "%D0%96"), so distinct names give distinct
// files and no name can leave the directory. An encoded name longer than 120
// characters is cut there and followed by "~" and 8 hex digits of its MD5.
// Within one export, a name that a case-insensitive file system would take
// for an earlier one gets "~2", "~3", ... appended.
QString DSPExportFileBase(const QString& name, int objectType);
