#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "appcore/dsptable.h"
#include "utiloperation.h"

class TEIFile;

// Whole dictionaries and table data between databases and export/import
// files. Every copy or import runs in one transaction of the target
// database: on an error or a cancel the target stays exactly as it was.
// Rows travel as a stream in multi-row INSERTs, converted to the target's
// field types, so the memory used does not grow with the tables.

// What of a dictionary moves.
enum TDatabaseParts : unsigned {
    dpStructures = 1,
    dpResources = 2,
    dpLanguages = 4,
    dpTableData = 8,
    dpAll = 15,
    // The tables of table structures, created empty where the rows do not go.
    dpObjects = 16,
};
// "structures,resources,languages,data" (any of them, any order) as parts;
// raises EPelvarError naming a word it does not know.
unsigned ParseDatabaseParts(const QString& text);

// Languages, texts, structures and table rows of SourceAlias() into one
// export file FileName(), written anew (a temporary file renamed into place),
// or appended to File / FileName() (what it held stays on a failure).
class TUOExportDatabase : public TUtilOperation {
  public:
    unsigned Parts = dpAll;
    QStringList Languages;  // languages and texts only in these; empty: all
    bool UTF8 = true;
    bool NewFormat = true;
    bool Append = false;
    TEIFile* File = nullptr;  // an open file to append to (not owned), or null
    void Execute(TOperationContext& context) override;
};

// The answers of the copy confirmation: what comes with chosen structures.
struct TCopyAnswers {
    bool CreateDBObjects = false;     // their tables, generators, views, procedures
    bool CopyTableData = false;       // the rows of their tables
    bool CopyLocalResources = false;  // the "K_"+name sections of their forms (type 12)
};

// The sections of the file that come with its listed structure sections as
// the answers say: the table data sections of their tables and the "K_"
// sections of their forms, wherever they stand; not those already listed.
QList<int> RelatedSections(const TEIFile& file, const QList<int>& sections,
                           const TCopyAnswers& answers);

// A chosen part of a dictionary: structures by name and type, sections by
// upper-cased ID, languages by ID.
struct TDictionarySelection {
    TDSPList Structures;
    QStringList Sections;
    QStringList Languages;
    bool IsEmpty() const {
        return Structures.Count() == 0 && Sections.isEmpty() && Languages.isEmpty();
    }
};

// An export file (File, else FileNames, else FileName()) into TargetAlias(),
// which must have its system tables; several files go in one transaction.
// Structures, texts and languages replace those of the same names; a table
// gets the file's rows instead of its own.
class TUOImportDatabase : public TUtilOperation {
  public:
    TEIFile* File = nullptr;    // not owned
    QList<int> SectionIndexes;  // of File: only these sections; empty: all
    QStringList FileNames;
    unsigned Parts = dpAll;
    // With SectionIndexes: the copy confirmation's answers for the listed
    // structures instead of Parts. The table data sections of their tables and
    // the "K_" sections of their forms come along when the answers say so.
    std::optional<TCopyAnswers> Answers;
    void Execute(TOperationContext& context) override;
};

// SourceAlias() into TargetAlias(). With an empty Selection, the parts of the
// whole dictionary that Parts names, as an export and an import would without
// the file; otherwise only what Selection lists, with what Answers brings
// along with its structures.
class TUOCopyDatabase : public TUtilOperation {
  public:
    unsigned Parts = dpAll;
    TDictionarySelection Selection;
    TCopyAnswers Answers;
    void Execute(TOperationContext& context) override;
};

// The TEITableData sections of File given by their indexes (all when empty)
// into TargetAlias(); a missing table is created from the section's fields.
// With ReplaceExisting the file's rows replace a table's own, as the
// whole-database import does; without it they are added to them.
class TUOImportTableData : public TUtilOperation {
  public:
    TEIFile* File = nullptr;  // not owned
    QList<int> SectionIndexes;
    bool ReplaceExisting = false;  // the tables lose their rows first
    void Execute(TOperationContext& context) override;
};

// Rows of one table chosen by a condition, with fields mapped by name.
struct TTableCopy {
    QString SourceTable;
    QString TargetTable;  // empty: the source's name
    QString Filter;       // a WHERE condition in the source's SQL; empty: every row
    // "target=source" pairs; empty: every target field of a source field's name.
    QStringList FieldMap;
    bool DeleteExisting = false;  // the target table loses its rows first
};

// Copies rows from SourceAlias() to TargetAlias() (empty: the source) into an
// existing table.
class TUOCustomCopyTable : public TUtilOperation {
  public:
    TTableCopy Copy;
    void Execute(TOperationContext& context) override;
};

// Several such copies in one transaction.
class TUOCustomCopyTables : public TUtilOperation {
  public:
    QList<TTableCopy> Copies;
    void Execute(TOperationContext& context) override;
};
