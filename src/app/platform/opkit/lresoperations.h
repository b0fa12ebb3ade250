#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

#include "eiexporttarget.h"
#include "utiloperation.h"

class TEIFile;
struct TOneLanguage;

// Operations on the local resources (the texts of a database, by section,
// one text per language) and on the languages. Every operation that writes
// to a database does it in one transaction of that database: on an error or
// a cancel nothing it wrote stays, and the text stores re-read it. Texts are
// read per section through the section's ID range, never all at once.

// The longest string and language IDs the text table stores.
constexpr int kMaxStringIDLength = 64;
constexpr int kMaxLanguageIDLength = 16;
constexpr int kMaxLanguageNameLength = 40;
// Raises ELocalizatorError naming what is wrong with a string ID that is to
// be stored: empty, too long, a blank or an empty section part.
void CheckNewStringID(const QString& stringID);
// Raises ELocalizatorError for a language record the languages table can not hold.
void CheckLanguageRecord(const QString& id, const TOneLanguage& language);

// Deletes one section in every language. SourceAlias().
class TUODeleteLSection : public TUtilOperation {
  public:
    QString SectionID;
    void Execute(TOperationContext& context) override;
};

// Deletes the listed sections, one transaction for all. SourceAlias().
class TUODeleteLSections : public TUtilOperation {
  public:
    QStringList Sections;
    void Execute(TOperationContext& context) override;
};

// Deletes one string ID in every language. SourceAlias().
class TUODeleteLResource : public TUtilOperation {
  public:
    QString StringID;
    void Execute(TOperationContext& context) override;
};

class TUODeleteLResources : public TUtilOperation {
  public:
    QStringList StringIDs;
    void Execute(TOperationContext& context) override;
};

// Copies whole sections, every language, from SourceAlias() to TargetAlias():
// the texts replace those of the same string IDs; other texts of the target
// stay.
class TUOCopyLSections : public TUtilOperation {
  public:
    QStringList Sections;
    void Execute(TOperationContext& context) override;
};

// Copies the texts (every language) of the idents of one section into
// another section, possibly of another database.
class TUOCopyLResources : public TUtilOperation {
  public:
    QString SourceSection;
    QString TargetSection;
    QStringList Idents;
    void Execute(TOperationContext& context) override;
};

// Exports sections of SourceAlias() in the listed languages (all when the
// list is empty), one TEILResource section each. Where: Target, or with
// SeparateExport one file "<section>.eif" per section, written anew, in the
// directory FileName().
class TUOExportLSections : public TUtilOperation {
  public:
    QStringList Sections;
    QStringList Languages;
    TEIExportTarget Target;
    bool SeparateExport = false;
    void Execute(TOperationContext& context) override;
};

// Exports one section, or only the listed idents of it.
class TUOExportLResource : public TUtilOperation {
  public:
    QString SectionID;
    QStringList Languages;
    QStringList Idents;  // empty: the whole section
    TEIExportTarget Target;
    void Execute(TOperationContext& context) override;
};

// The export of one library's section (main window): the section, every language.
class TUOExportSingleLResources : public TUOExportLResource {};

// Imports the TEILResource sections of a file, given by their decimal
// indexes, into TargetAlias(), in the listed languages (all when empty).
class TUOImportLSections : public TUtilOperation {
  public:
    TEIFile* File = nullptr;  // not owned
    QStringList Indexes;
    QStringList Languages;
    void Execute(TOperationContext& context) override;
};

// Exports the listed languages of SourceAlias(), one TEILanguage section each.
class TUOExportLanguages : public TUtilOperation {
  public:
    QStringList Languages;
    TEIExportTarget Target;
    void Execute(TOperationContext& context) override;
};

// Imports TEILanguage sections into TargetAlias(), replacing languages of the same ID.
class TUOImportLanguages : public TUtilOperation {
  public:
    TEIFile* File = nullptr;  // not owned
    QStringList Indexes;
    void Execute(TOperationContext& context) override;
};

// Writes sections of SourceAlias() as one XML document:
// <RootName Version="..."><Section ID="..."><String ID="..."><Text Language="...">
class TExportXMLLResourceUtilOperation : public TUtilOperation {
  public:
    QIODevice* Stream = nullptr;  // not owned, open for writing
    QString Version = QStringLiteral("100");
    QString RootName = QStringLiteral("LocalResource");
    QStringList Sections;
    QStringList Languages;
    void Execute(TOperationContext& context) override;
};

// Imports whole files into TargetAlias() (empty: the default database) as the
// whole-database import does: structures, texts, languages and table data
// (tables created where missing), every file in one transaction. A section
// of another kind is reported and left out; a file that is no export/import
// file fails the operation before anything is written.
class TUOImportFiles : public TUtilOperation {
  public:
    QStringList FileNames;
    void Execute(TOperationContext& context) override;
};
