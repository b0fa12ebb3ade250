#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "appcore/dsptable.h"
#include "eidisk.h"
#include "eifile.h"

class TEILResource;
class TOperationContext;

// The pieces of a structure export; TUOExportDSPObjects puts them together.
namespace DSPExport {

// A structure as the store holds it now.
struct TRow {
    TDSPListItem Item;
    QByteArray Body;
};

// Visits the listed structures in list order with their bodies, which are
// read from the store in blocks of one type. Progress and a cancel check come
// per structure. A structure that is no longer stored is reported as an
// error and left out; any other error names the structure and stops.
void ForEachStructure(const QString& alias, const TDSPList& items, TOperationContext& context,
                      const std::function<void(const TRow&)>& visit);

void WriteStructure(TEIFile& file, const TRow& row);

// A table structure whose rows go with it: its name has no "." or "$" and
// its table exists.
bool HasTableData(const QString& alias, const TDSPListItem& item);
// The table's rows as one section, read in blocks.
void WriteTableData(TEIFile& file, const QString& alias, const QString& table,
                    TOperationContext& context);

// Fills the section with the form's texts in every language; false when it
// has none.
bool LoadResources(const QString& alias, const QString& formName, TEILResource& resources);

// An export file written anew: under a temporary name beside it until
// Commit renames it into place. Left without Commit, it leaves nothing
// behind and an existing file as it was. A read-only file is refused.
class TNewFile {
  public:
    TNewFile(const QString& fileName, TEIEncoding encoding, bool release17);
    ~TNewFile();
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;

    // Runs the writes; their errors name the file, not its temporary name.
    void Write(const std::function<void(TEIFile&)>& writes);
    void Commit();

  private:
    QString FFileName;
    std::unique_ptr<EIDisk::TReplacement> FReplacement;  // outlives FFile
    std::unique_ptr<TEIFile> FFile;
};

}  // namespace DSPExport
