#include "dspexportwriter.h"

#include <QHash>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "dbtransfer.h"
#include "dspopsupport.h"
#include "eiobjects.h"
#include "utiloperation.h"

using namespace DSPOps;

namespace DSPExport {

namespace {

// Structures per read: few enough for any engine's parameter limit, many
// enough that the statements cost little next to the rows.
constexpr int kBlock = 200;
constexpr int kRowsPerCancelCheck = 1000;

QString ExportWhat(const TDSPListItem& item, const QString& alias) {
    return QStringLiteral("Can not export DSP structure %1 of database %2")
        .arg(Describe(item.Name, item.ObjectType), alias);
}

// The stored rows of items [from, to), all of one type, by name.
QHash<QString, TRow> ReadBlock(TDatabase& db, const TDSPList& items, int from, int to) {
    QStringList marks;
    for (int i = from; i < to; ++i)
        marks << QStringLiteral(":n%1").arg(i - from);
    TSelectQuery q(db, QStringLiteral("SELECT OBJECT_NAME, INFO, TABLE_NAME, PARENT_OBJECT, "
                                      "REMARK, LASTCHANGE FROM QXMAIL_DSP WHERE OBJECT_TYPE = "
                                      ":type AND OBJECT_NAME IN (%1)")
                           .arg(marks.join(QStringLiteral(", "))));
    const int type = items.Items(from).ObjectType;
    q.ParamByName(QStringLiteral("type")).SetValue(type);
    for (int i = from; i < to; ++i)
        q.ParamByName(marks[i - from].mid(1)).SetValue(items.Items(i).Name);
    QHash<QString, TRow> rows;
    rows.reserve(to - from);
    for (q.Open(); !q.Eof(); q.Next()) {
        TRecord& r = q.Fields();
        TRow row;
        row.Item.Name = r.GetFields(0).AsString();
        row.Item.ObjectType = type;
        row.Body = r.GetFields(1).AsBinary();
        row.Item.TableName = r.GetFields(2).AsString();
        row.Item.ParentName = r.GetFields(3).AsString();
        row.Item.Remark = r.GetFields(4).AsString();
        if (!r.GetFields(5).IsNull()) row.Item.LastChange = TQXVariant(r.GetFields(5).AsDateTime());
        rows.insert(row.Item.Name, std::move(row));
    }
    return rows;
}

}  // namespace

void ForEachStructure(const QString& alias, const TDSPList& items, TOperationContext& context,
                      const std::function<void(const TRow&)>& visit) {
    TDatabase& db = Database(alias);
    const int total = items.Count();
    for (int from = 0; from < total;) {
        const int type = items.Items(from).ObjectType;
        int to = from + 1;
        while (to < total && to - from < kBlock && items.Items(to).ObjectType == type)
            ++to;
        context.CheckCancel();
        QHash<QString, TRow> rows;
        Naming([&] { return ExportWhat(items.Items(from), alias); },
               [&] { rows = ReadBlock(db, items, from, to); });
        for (int i = from; i < to; ++i) {
            context.CheckCancel();
            const TDSPListItem& item = items.Items(i);
            context.Status(
                QStringLiteral("Exporting DSP structure %1").arg(Describe(item.Name, type)));
            const auto row = rows.constFind(item.Name);
            if (row == rows.constEnd())
                context.Error(
                    QStringLiteral("DSP structure %1 not found in database %2; it is not exported")
                        .arg(Describe(item.Name, type), alias));
            else
                Naming([&] { return ExportWhat(item, alias); }, [&] { visit(*row); });
            context.Progress(i + 1, total);
        }
        from = to;
    }
}

void WriteStructure(TEIFile& file, const TRow& row) {
    TEIDSPStructure object;
    object.SetItem(row.Item);
    object.SetBody(row.Body);
    file.AddObject(object);
}

bool HasTableData(const QString& alias, const TDSPListItem& item) {
    // Names with "." or "$" are structures of no table of their own.
    return item.ObjectType == otTable && !item.Name.contains(QLatin1Char('.')) &&
           !item.Name.contains(QLatin1Char('$')) && Database(alias).TableExists(item.Name);
}

void WriteTableData(TEIFile& file, const QString& alias, const QString& table,
                    TOperationContext& context) {
    TDatabase& db = Database(alias);
    TDicTableDescription description;
    if (!db.DescribeTable(table, description)) return;
    QStringList fields;
    for (const TDicFieldDescription& f : description.Fields)
        fields << f.Name;
    TEITableDataWriter writer(file, table, description.Fields);
    // Read as every transfer reads: in pages, floating-point values exact.
    DBTransfer::ReadRows(db, table, fields, QString(), [&](QList<TQXVariant>& values) {
        writer.AddRow(values);
        if (writer.RowCount() % kRowsPerCancelCheck == 0) context.CheckCancel();
    });
    writer.Commit();
}

bool LoadResources(const QString& alias, const QString& formName, TEILResource& resources) {
    if (!Database(alias).TableExists(TLocalizatorTable::kTableName)) return false;
    TLocalizatorTable& texts = GetLocalizatorTable(alias);
    const QString section = ResourceSectionID(formName);
    resources.SetSectionID(section);
    resources.Texts().clear();
    for (const QString& language : texts.SectionLanguages(section)) {
        TLResList list;
        texts.FillResList(section, language, list);
        for (const auto& [ident, text] : list)
            resources.AddText(language, ident, text);
    }
    return !resources.Texts().isEmpty();
}

// ---- TNewFile ----

TNewFile::TNewFile(const QString& fileName, TEIEncoding encoding, bool release17)
    : FFileName(fileName) {
    TEIFile(fileName).CheckWritable();
    FReplacement = std::make_unique<EIDisk::TReplacement>(fileName);
    FFile = std::make_unique<TEIFile>(FReplacement->File().fileName());
    FFile->SetDeferredFlush(true);  // only this object reads the temporary file
    Write([&](TEIFile& file) { file.Create(encoding, release17); });
}

TNewFile::~TNewFile() {
    FFile.reset();  // closes before the temporary file is removed
}

void TNewFile::Write(const std::function<void(TEIFile&)>& writes) {
    try {
        writes(*FFile);
    } catch (const EEIFileError& e) {
        throw EEIFileError(QString(e.Message()).replace(FFile->FileName(), FFileName));
    }
}

void TNewFile::Commit() {
    Write([](TEIFile& file) { file.Close(); });
    FReplacement->Commit();
}

}  // namespace DSPExport
