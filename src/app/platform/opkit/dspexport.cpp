#include <QCryptographicHash>
#include <QDir>
#include <QSet>

#include "appcore/structurebodies.h"
#include "dspexportwriter.h"
#include "dspoperations.h"
#include "dspopsupport.h"
#include "eiexporttarget.h"
#include "eiobjects.h"

using namespace DSPExport;

namespace {

constexpr qsizetype kMaxEncodedName = 120;

bool KeptInFileName(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

// Structures, table data and resources of the list, as the flags ask, into
// the given files (all into one, or each kind into its own).
class TExportRun {
  public:
    TExportRun(const TUOExportDSPObjects& op, TOperationContext& context)
        : FOp(op), FContext(context), FAlias(DSPOps::ResolveAlias(op.SourceAlias())) {
        DSPOps::Database(FAlias);  // a database that is not connected fails here
    }

    void Into(TEIFile& file) {
        ForEachStructure(FAlias, FOp.Items, FContext, [&](const TRow& row) {
            WriteStructure(file, row);
            if (WantsTableData(row)) WriteTableData(file, FAlias, row.Item.Name, FContext);
            TEILResource resources;
            if (WantsResources(row, resources)) file.AddObject(resources);
        });
    }

    void Into(const TEIExportTarget& target) {
        WriteExport(target, FContext, [&](TEIFile& file) { Into(file); });
    }

    void Separate(const QString& directory) {
        const QDir dir(directory);
        if (directory.isEmpty() || !dir.exists())
            throw EEIFileError(
                QStringLiteral("The export directory %1 does not exist").arg(directory));
        QSet<QString> used;  // lower-cased: a file system may ignore case
        ForEachStructure(FAlias, FOp.Items, FContext, [&](const TRow& row) {
            QString base = DSPExportFileBase(row.Item.Name, row.Item.ObjectType);
            for (int n = 2; used.contains(base.toLower()); ++n)
                base = DSPExportFileBase(row.Item.Name, row.Item.ObjectType) +
                       QStringLiteral("~%1").arg(n);
            used.insert(base.toLower());
            SeparateFiles(dir, base, row);
        });
    }

  private:
    TEIEncoding Encoding() const { return FOp.UTF8 ? eeUTF8 : eeANSI; }

    bool WantsTableData(const TRow& row) const {
        return FOp.ExportTableData && HasTableData(FAlias, row.Item);
    }

    bool WantsResources(const TRow& row, TEILResource& resources) const {
        return FOp.ExportLResources && row.Item.ObjectType == otForm &&
               LoadResources(FAlias, row.Item.Name, resources);
    }

    // The structure's files are renamed into place only once all are written.
    void SeparateFiles(const QDir& dir, const QString& base, const TRow& row) {
        const bool release17 = !FOp.NewFormat;
        TNewFile main(dir.filePath(base + QStringLiteral(".eif")), Encoding(), release17);
        main.Write([&](TEIFile& file) { WriteStructure(file, row); });
        std::unique_ptr<TNewFile> data, resources;
        if (WantsTableData(row)) {
            TNewFile* target = &main;
            if (FOp.SeparateTableData) {
                data = std::make_unique<TNewFile>(dir.filePath(base + QStringLiteral(".data.eif")),
                                                  Encoding(), release17);
                target = data.get();
            }
            target->Write(
                [&](TEIFile& file) { WriteTableData(file, FAlias, row.Item.Name, FContext); });
        }
        TEILResource texts;
        if (WantsResources(row, texts)) {
            TNewFile* target = &main;
            if (FOp.SeparateDialogRes) {
                resources = std::make_unique<TNewFile>(
                    dir.filePath(base + QStringLiteral(".res.eif")), Encoding(), release17);
                target = resources.get();
            }
            target->Write([&](TEIFile& file) { file.AddObject(texts); });
        }
        main.Commit();
        if (data) data->Commit();
        if (resources) resources->Commit();
    }

    const TUOExportDSPObjects& FOp;
    TOperationContext& FContext;
    QString FAlias;
};

}  // namespace

QString DSPExportFileBase(const QString& name, int objectType) {
    QString encoded;
    for (const char c : name.toUtf8()) {
        if (KeptInFileName(c))
            encoded += QLatin1Char(c);
        else
            encoded += QStringLiteral("%%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    if (encoded.size() > kMaxEncodedName) {
        qsizetype cut = kMaxEncodedName;
        // Never in the middle of an escape.
        while (encoded[cut - 1] == u'%' || encoded[cut - 2] == u'%')
            --cut;
        const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Md5);
        encoded = encoded.left(cut) + u'~' + QString::fromLatin1(hash.toHex().left(8));
    }
    return QString::number(objectType) + u'_' + encoded;
}

void TUOExportDSPObjects::Execute(TOperationContext& context) {
    TExportRun run(*this, context);
    if (SeparateExport) {
        run.Separate(FileName());
    } else {
        run.Into(TEIExportTarget{File, FileName(), Append, UTF8 ? eeUTF8 : eeANSI, !NewFormat});
    }
}
