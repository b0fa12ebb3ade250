#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <memory>

#include "appcore/dsptable.h"
#include "appcore/languages.h"
#include "appcore/tabledesc.h"
#include "basekit/variant.h"
#include "dbexchange.h"
#include "eiobjects.h"

class TEIFile;
class TOperationContext;

// A dictionary in motion: a source (a database or a file) hands its parts to
// a sink (a file or a database). Export, import and copy are the pairings.
namespace DBExchange {

class TDictionarySink {
  public:
    virtual ~TDictionarySink() = default;
    virtual void Language(const QString& id, const TOneLanguage& language) = 0;
    virtual void Texts(const QString& section, const QList<TEILResText>& texts) = 0;
    virtual void Structure(const TDSPListItem& item, const QByteArray& body) = 0;
    // The rows of one table follow BeginTable, one Row per row, then EndTable.
    virtual void BeginTable(const QString& table, const QList<TDicFieldDescription>& fields) = 0;
    virtual void Row(const QList<TQXVariant>& values) = 0;
    virtual void EndTable() = 0;
};

// The parts of the database `alias` that `parts` (TDatabaseParts) names:
// languages, texts, then every structure followed by its table's rows.
// Languages and texts only in `languages` (upper-case IDs) when not empty.
void ReadDatabase(const QString& alias, unsigned parts, TDictionarySink& sink,
                  TOperationContext& context, const QStringList& languages = {});
// Only what `selection` lists of the database `alias`: the languages, the
// sections (with the "K_" sections of listed forms when the answers copy
// local resources), then each listed structure followed by its table's rows
// (or the table alone when only database objects are created).
void ReadSelection(const QString& alias, const TDictionarySelection& selection,
                   const TCopyAnswers& answers, TDictionarySink& sink, TOperationContext& context);
// The kinds of the file's sections (all when `sections` is empty) as parts.
unsigned FileParts(const TEIFile& file, const QList<int>& sections);

// The sections of the file (all when `sections` is empty) of the kinds
// `parts` names, in file order; a section of no kind we import is reported
// and left out.
void ReadFile(TEIFile& file, const QList<int>& sections, unsigned parts, TDictionarySink& sink,
              TOperationContext& context);

class TFileSink : public TDictionarySink {
  public:
    explicit TFileSink(TEIFile& file) : FFile(file) {}
    ~TFileSink() override;
    void Language(const QString& id, const TOneLanguage& language) override;
    void Texts(const QString& section, const QList<TEILResText>& texts) override;
    void Structure(const TDSPListItem& item, const QByteArray& body) override;
    void BeginTable(const QString& table, const QList<TDicFieldDescription>& fields) override;
    void Row(const QList<TQXVariant>& values) override;
    void EndTable() override;

  private:
    TEIFile& FFile;
    std::unique_ptr<TEITableDataWriter> FTable;
};

// Writes into a database; the caller runs it inside one transaction. A
// table that the rows are for and the database lacks is created from the
// structure seen before it, else from the rows' own fields.
class TDatabaseSink : public TDictionarySink {
  public:
    struct TOptions {
        bool ReplaceStructures = true;  // else an existing structure is kept (and its rows)
        bool ReplaceTableData = true;   // an existing table loses its rows first
        // Views, generators and stored procedures of the structures are created
        // by Finish, after the tables they may use.
        bool CreateObjects = false;
        // The database a copy reads: only the objects it has are created, its
        // generators go on from their values. Empty (an import): every object
        // the structures can create; an existing generator keeps its value.
        QString ObjectsFrom;
    };
    // Raises EDSPError naming a system table the database lacks when the
    // first thing that goes into that table comes.
    TDatabaseSink(const QString& alias, TOptions options, TOperationContext& context);
    ~TDatabaseSink() override;
    void Language(const QString& id, const TOneLanguage& language) override;
    void Texts(const QString& section, const QList<TEILResText>& texts) override;
    void Structure(const TDSPListItem& item, const QByteArray& body) override;
    void BeginTable(const QString& table, const QList<TDicFieldDescription>& fields) override;
    void Row(const QList<TQXVariant>& values) override;
    void EndTable() override;
    // Creates the database objects gathered from the structures.
    void Finish();
    // Looks for the system tables these parts go into, before anything is written.
    void ExpectParts(unsigned parts);

  private:
    struct TTable;
    struct TObject {
        QString Name;
        int Type;
        QByteArray Body;
    };
    void CreateEmptyTable(const TObject& o);
    QString FAlias;
    TOptions FOptions;
    TOperationContext& FContext;
    QHash<QString, QByteArray> FTableBodies;  // upper-cased name -> table structure body
    QSet<QString> FKept;                      // upper-cased names of structures left as they were
    QSet<QString> FPresent;                   // system tables found in the database
    void NeedSystemTable(const QString& table);
    std::unique_ptr<TTable> FTable;
    QList<TObject> FObjects;
};

}  // namespace DBExchange
