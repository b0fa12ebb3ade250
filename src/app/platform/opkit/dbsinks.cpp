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

bool IsStoredProcType(int type) {
    return type == otExecStoredProc || type == otSelectStoredProc;
}

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

// ---- TDatabaseSink ----

struct TDatabaseSink::TTable {
    QString Name;
    bool Skipped = false;
    TDicTableDescription Target;
    std::unique_ptr<DBTransfer::TRowInserter> Inserter;
};

TDatabaseSink::TDatabaseSink(const QString& alias, TOptions options, TOperationContext& context)
    : FAlias(alias), FOptions(options), FContext(context) {
    TDatabase& db = Database(alias);
    for (const QString& table :
         {TDSPTable::kTableName, TLocalizatorTable::kTableName, TLanguagesTable::kTableName})
        if (!db.TableExists(table))
            throw EDSPError(QStringLiteral("Database %1 has no system table %2: create its system "
                                           "tables before importing a dictionary into it")
                                .arg(alias, table));
}

TDatabaseSink::~TDatabaseSink() = default;

void TDatabaseSink::Language(const QString& id, const TOneLanguage& language) {
    CheckLanguageRecord(id, language);
    GetLanguagesTable(FAlias).SetLanguage(id.toUpper(), language);
}

void TDatabaseSink::Texts(const QString& section, const QList<TEILResText>& texts) {
    TLocalizatorTable& target = GetLocalizatorTable(FAlias);
    const QString id = section.toUpper();
    for (const TEILResText& t : texts) {
        CheckNewStringID(TLocalizatorTable::ComposeID(id, t.Ident));
        target.SetSectionString(id, t.Ident, t.Language, t.Text);
    }
}

void TDatabaseSink::Structure(const TDSPListItem& item, const QByteArray& body) {
    TDSPTable& target = GetDSPTable(FAlias);
    const QString key = item.Name.toUpper();
    if (!FOptions.ReplaceStructures && target.DSPStructureExist(item.Name, item.ObjectType)) {
        FKept.insert(key);
        FContext.Error(QStringLiteral("DSP structure %1 exists in database %2 and is kept")
                           .arg(Describe(item.Name, item.ObjectType), FAlias));
        return;
    }
    Naming(QStringLiteral("Can not store DSP structure %1 in database %2")
               .arg(Describe(item.Name, item.ObjectType), FAlias),
           [&] { StoreStructure(target, item.Name, item.ObjectType, item, body); });
    if (item.ObjectType == otTable) FTableBodies.insert(key, body);
    const int type = item.ObjectType;
    if (FOptions.CreateObjects && HasOwnDatabaseObject(item.Name, type == otTable) &&
        (type == otTable || type == otGenerator || type == otView || IsStoredProcType(type)))
        FObjects.append({item.Name, type, body});
}

// A table whose rows did not come: created from its structure unless it
// exists. A structure that describes no table is reported and left; a table
// the database refuses fails the whole import.
void TDatabaseSink::CreateEmptyTable(const TObject& o) {
    if (Database(FAlias).TableExists(o.Name)) return;
    TDicTableDescription table;
    try {
        table = TableFromStructure(
            TDSPNode::FromBytes(o.Body, QStringLiteral("DSP structure %1").arg(o.Name)), o.Name);
    } catch (const EPelvarError& e) {
        FContext.Error(QStringLiteral("Table %1 is not created: %2").arg(o.Name, e.Message()));
        return;
    }
    if (table.Fields.isEmpty()) {
        FContext.Error(QStringLiteral("Table %1 is not created: its structure describes no fields")
                           .arg(o.Name));
        return;
    }
    FContext.Status(QStringLiteral("Creating table %1").arg(o.Name));
    Naming(QStringLiteral("Can not create table %1 in database %2").arg(o.Name, FAlias),
           [&] { TDictionary(FAlias).CreateTableByDef(table, QString(), false); });
}

void TDatabaseSink::Finish() {
    // Tables, then generators and views, then the procedures that may use them.
    std::stable_sort(FObjects.begin(), FObjects.end(), [](const TObject& a, const TObject& b) {
        return std::min(a.Type, int(otExecStoredProc)) < std::min(b.Type, int(otExecStoredProc));
    });
    TDicDatabase& dic = DicDBContainer().GetDicDatabase(FAlias);
    int noProcedures = 0;
    for (const TObject& o : FObjects) {
        FContext.CheckCancel();
        const QString& from = FOptions.ObjectsFrom;
        if (!from.isEmpty() && !DBObjectExists(from, o.Name, o.Type)) continue;
        if (o.Type == otTable) {
            CreateEmptyTable(o);
            continue;
        }
        if (IsStoredProcType(o.Type)) {
            // A text that does not create the procedure describes one kept elsewhere.
            const QString sql = StructureSql(TDSPNode::FromBytes(o.Body));
            if (from.isEmpty() && WithStoredProcName(sql, o.Name).isEmpty()) continue;
            if (!dic.SupportsStoredProcedures()) {
                ++noProcedures;
                continue;
            }
        }
        std::optional<qint64> start;
        if (o.Type == otGenerator && !from.isEmpty())
            start = DicDBContainer().GetDicDatabase(from).GeneratorNext(o.Name, 0);
        else if (o.Type == otGenerator && dic.GeneratorExists(o.Name))
            start = dic.GeneratorNext(o.Name, 0);
        FContext.Status(QStringLiteral("Creating %1").arg(Describe(o.Name, o.Type)));
        Naming(QStringLiteral("Can not create the database object of DSP structure %1 in "
                              "database %2")
                   .arg(Describe(o.Name, o.Type), FAlias),
               [&] { RecreateDBObject(FAlias, o.Type, o.Name, o.Body, start); });
    }
    if (noProcedures > 0)
        FContext.Error(QStringLiteral("Database %1 has no stored procedures: %2 of them were not "
                                      "created, their structures were")
                           .arg(FAlias)
                           .arg(noProcedures));
}

void TDatabaseSink::BeginTable(const QString& table, const QList<TDicFieldDescription>& fields) {
    FTable = std::make_unique<TTable>();
    FTable->Name = table;
    if (FKept.contains(table.toUpper())) {
        FTable->Skipped = true;
        return;
    }
    TDatabase& db = Database(FAlias);
    const QString what =
        QStringLiteral("Can not import the rows of table %1 into database %2").arg(table, FAlias);
    Naming(what, [&] {
        if (!db.DescribeTable(table, FTable->Target)) {
            TDicTableDescription created;
            const auto body = FTableBodies.constFind(table.toUpper());
            if (body != FTableBodies.constEnd())
                created = TableFromStructure(
                    TDSPNode::FromBytes(*body, QStringLiteral("DSP structure %1").arg(table)),
                    table);
            if (created.Fields.isEmpty()) {
                created.Name = table;
                created.Fields = fields;
            }
            TDictionary(FAlias).CreateTableByDef(created, QString(), false);
            db.DescribeTable(table, FTable->Target);
        } else if (FOptions.ReplaceTableData) {
            db.ExecDirect(QStringLiteral("DELETE FROM %1").arg(db.Dialect().Ident(table)));
        }
        QList<TDicFieldDescription> targetFields;
        for (const TDicFieldDescription& f : fields) {
            const TDicFieldDescription* t = FTable->Target.FindField(f.Name);
            if (!t) throw EDSPError(QStringLiteral("the table has no field %1").arg(f.Name));
            targetFields << *t;
        }
        FTable->Inserter = std::make_unique<DBTransfer::TRowInserter>(db, table, targetFields);
    });
}

void TDatabaseSink::Row(const QList<TQXVariant>& values) {
    if (FTable->Skipped) return;
    Naming([&] { return QStringLiteral("Can not import a row of table %1").arg(FTable->Name); },
           [&] { FTable->Inserter->Add(values); });
}

void TDatabaseSink::EndTable() {
    if (!FTable->Skipped) {
        Naming(QStringLiteral("Can not import the rows of table %1").arg(FTable->Name), [&] {
            FTable->Inserter->Flush();
            TDatabase& db = Database(FAlias);
            db.Dialect().AfterRowsCopied(db, FTable->Target);
        });
    }
    FTable.reset();
}

}  // namespace DBExchange
