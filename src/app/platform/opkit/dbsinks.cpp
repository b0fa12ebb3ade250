#include "dbsinks.h"

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "dbexchange.h"
#include "dbtransfer.h"
#include "dspexportwriter.h"
#include "dspopsupport.h"
#include "dsprecreate.h"
#include "eifile.h"
#include "lresoperations.h"
#include "lresreader.h"
#include "procname.h"
#include "utiloperation.h"

using namespace DSPOps;

namespace DBExchange {

namespace {

constexpr int kRowsPerCancelCheck = 1000;

void SendTable(TDatabase& db, const QString& table, bool rows, TDictionarySink& sink,
               TOperationContext& context) {
    TDicTableDescription description;
    if (!db.DescribeTable(table, description)) return;
    QStringList names;
    for (const TDicFieldDescription& f : description.Fields)
        names << f.Name;
    sink.BeginTable(table, description.Fields);
    qint64 count = 0;
    if (rows)
        DBTransfer::ReadRows(db, table, names, QString(), [&](QList<TQXVariant>& values) {
            sink.Row(values);
            if (++count % kRowsPerCancelCheck == 0) context.CheckCancel();
        });
    sink.EndTable();
}

// The listed structures, each followed by its table (with its rows when
// `rows`) when `tables` and the structure has a table of its own.
void SendStructures(const QString& alias, TDSPList items, bool structures, bool tables, bool rows,
                    TDictionarySink& sink, TOperationContext& context) {
    TDatabase& db = Database(alias);
    items.Sort(dskForExport);
    DSPExport::ForEachStructure(alias, items, context, [&](const DSPExport::TRow& row) {
        if (structures) sink.Structure(row.Item, row.Body);
        if (tables && !DBTransfer::IsSystemTable(row.Item.Name) &&
            DSPExport::HasTableData(alias, row.Item)) {
            context.Status(QStringLiteral("Table %1").arg(row.Item.Name));
            SendTable(db, row.Item.Name, rows, sink, context);
        }
    });
}

bool Wanted(const QString& sectionClass, unsigned parts) {
    if (sectionClass == QLatin1String("TEIDSPStructure")) return parts & dpStructures;
    if (sectionClass == QLatin1String("TEILResource")) return parts & dpResources;
    if (sectionClass == QLatin1String("TEILanguage")) return parts & dpLanguages;
    if (sectionClass == QLatin1String("TEITableData")) return parts & dpTableData;
    return true;  // reported as not importable
}

void SendSection(TEIFile& file, int index, TDictionarySink& sink, TOperationContext& context) {
    const TEISection& section = *file.Sections().GetSections(index);
    if (section.ClassName() == QLatin1String("TEITableData")) {
        TEITableDataReader reader(section);
        sink.BeginTable(section.Name(), reader.Fields());
        QList<TQXVariant> values;
        while (reader.Next(values)) {
            sink.Row(values);
            if (reader.RowsRead() % kRowsPerCancelCheck == 0) context.CheckCancel();
        }
        sink.EndTable();
        return;
    }
    const std::unique_ptr<TEIObject> object = file.CreateEIObject(index);
    if (auto* dsp = dynamic_cast<TEIDSPStructure*>(object.get()))
        sink.Structure(dsp->Item(), dsp->Body());
    else if (auto* res = dynamic_cast<TEILResource*>(object.get()))
        sink.Texts(res->SectionID(), res->Texts());
    else if (auto* lang = dynamic_cast<TEILanguage*>(object.get()))
        sink.Language(lang->LanguageID(), lang->Language());
    else
        context.Error(QStringLiteral("Section %1 of file %2 (%3) is not imported")
                          .arg(index)
                          .arg(file.FileName(), section.ClassName()));
}

}  // namespace

void ReadDatabase(const QString& alias, unsigned parts, TDictionarySink& sink,
                  TOperationContext& context, const QStringList& languages) {
    TDatabase& db = Database(alias);
    QSet<QString> wanted;
    for (const QString& l : languages)
        wanted.insert(l.toUpper());
    if (parts & dpLanguages) {
        context.Status(QStringLiteral("Languages"));
        TLanguageStrings all;
        GetLanguagesTable(alias).FillLanguageInfo(all);
        for (const auto& [id, language] : all)
            if (wanted.isEmpty() || wanted.contains(id.toUpper())) sink.Language(id, language);
    }
    if ((parts & dpResources) && db.TableExists(TLocalizatorTable::kTableName)) {
        context.Status(QStringLiteral("Local resources"));
        TLSectionReader(db).ReadAll({}, wanted.values(),
                                    [&](const QString& s, const QList<TEILResText>& t) {
                                        context.CheckCancel();
                                        sink.Texts(s, t);
                                        return true;
                                    });
    }
    if (!(parts & (dpStructures | dpTableData | dpObjects))) return;
    TDSPList items;
    GetDSPTable(alias).FillStructuresList(0, items);
    SendStructures(alias, items, parts & dpStructures, parts & (dpTableData | dpObjects),
                   parts & dpTableData, sink, context);
}

void ReadSelection(const QString& alias, const TDictionarySelection& selection,
                   const TCopyAnswers& answers, TDictionarySink& sink, TOperationContext& context) {
    TDatabase& db = Database(alias);
    if (!selection.Languages.isEmpty()) context.Status(QStringLiteral("Languages"));
    for (const QString& id : selection.Languages) {
        TOneLanguage language;
        if (GetLanguagesTable(alias).GetLanguage(id, language)) sink.Language(id, language);
    }
    QStringList sections;
    const auto addSection = [&](const QString& id) {
        if (!sections.contains(id.toUpper())) sections << id.toUpper();
    };
    for (const QString& id : selection.Sections)
        addSection(id);
    if (answers.CopyLocalResources)
        for (int i = 0; i < selection.Structures.Count(); ++i)
            if (selection.Structures.Items(i).ObjectType == otForm)
                addSection(QStringLiteral("K_") + selection.Structures.Items(i).Name);
    if (!sections.isEmpty() && db.TableExists(TLocalizatorTable::kTableName)) {
        context.Status(QStringLiteral("Local resources"));
        TLSectionReader reader(db);
        QList<TEILResText> texts;
        for (const QString& section : sections) {
            context.CheckCancel();
            reader.Read(section, {}, texts);
            if (!texts.isEmpty()) sink.Texts(section, texts);
        }
    }
    SendStructures(alias, selection.Structures, true,
                   answers.CreateDBObjects || answers.CopyTableData, answers.CopyTableData, sink,
                   context);
}

unsigned FileParts(const TEIFile& file, const QList<int>& sections) {
    unsigned parts = 0;
    const auto add = [&](int i) {
        const QString c = file.Sections().GetSections(i)->ClassName();
        if (c == QLatin1String("TEIDSPStructure")) parts |= dpStructures;
        if (c == QLatin1String("TEILResource")) parts |= dpResources;
        if (c == QLatin1String("TEILanguage")) parts |= dpLanguages;
        if (c == QLatin1String("TEITableData")) parts |= dpTableData;
    };
    if (sections.isEmpty())
        for (int i = 0; i < file.Sections().GetCount(); ++i)
            add(i);
    for (const int i : sections)
        add(i);
    return parts;
}

void ReadFile(TEIFile& file, const QList<int>& sections, unsigned parts, TDictionarySink& sink,
              TOperationContext& context) {
    if (!file.Opened()) file.Open();
    QList<int> indexes = sections;
    if (indexes.isEmpty())
        for (int i = 0; i < file.Sections().GetCount(); ++i)
            indexes << i;
    for (qsizetype n = 0; n < indexes.size(); ++n) {
        context.CheckCancel();
        const TEISection& section = *file.Sections().GetSections(indexes[n]);
        if (!Wanted(section.ClassName(), parts)) continue;
        context.Status(QStringLiteral("%1 %2").arg(section.ClassName(), section.Name()));
        SendSection(file, indexes[n], sink, context);
        context.Progress(n + 1, indexes.size());
    }
}

// ---- TFileSink ----

TFileSink::~TFileSink() = default;

void TFileSink::Language(const QString& id, const TOneLanguage& language) {
    TEILanguage object;
    object.SetLanguageID(id);
    object.SetLanguage(language);
    FFile.AddObject(object);
}

void TFileSink::Texts(const QString& section, const QList<TEILResText>& texts) {
    TEILResource object;
    object.SetSectionID(section);
    object.Texts() = texts;
    FFile.AddObject(object);
}

void TFileSink::Structure(const TDSPListItem& item, const QByteArray& body) {
    DSPExport::WriteStructure(FFile, {item, body});
}

void TFileSink::BeginTable(const QString& table, const QList<TDicFieldDescription>& fields) {
    FTable = std::make_unique<TEITableDataWriter>(FFile, table, fields);
}

void TFileSink::Row(const QList<TQXVariant>& values) {
    FTable->AddRow(values);
}

void TFileSink::EndTable() {
    FTable->Commit();
    FTable.reset();
}

}  // namespace DBExchange
