#include "dbexchange.h"

#include <algorithm>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/structurebodies.h"
#include "dbsinks.h"
#include "dbtransfer.h"
#include "dspexportwriter.h"
#include "dspopsupport.h"
#include "eiexporttarget.h"
#include "eifile.h"
#include "lresoperations.h"

using namespace DBExchange;
using namespace DSPOps;

unsigned ParseDatabaseParts(const QString& text) {
    unsigned parts = 0;
    for (const QString& word : text.split(u',', Qt::SkipEmptyParts)) {
        const QString w = word.trimmed().toLower();
        if (w == QLatin1String("structures"))
            parts |= dpStructures;
        else if (w == QLatin1String("resources"))
            parts |= dpResources;
        else if (w == QLatin1String("languages"))
            parts |= dpLanguages;
        else if (w == QLatin1String("data"))
            parts |= dpTableData;
        else if (w == QLatin1String("all"))
            parts |= dpAll;
        else
            throw EPelvarError(QStringLiteral("Unknown part \"%1\": use structures, resources, "
                                              "languages or data")
                                   .arg(word.trimmed()));
    }
    if (!parts) throw EPelvarError(QStringLiteral("No part of the dictionary was named"));
    return parts;
}

namespace {

// The target of a copy or an import: one transaction for all of it.
void IntoDatabase(const QString& alias, TDatabaseSink::TOptions options, TOperationContext& context,
                  const std::function<void(TDatabaseSink&)>& work) {
    InTransaction(alias, [&] {
        TDatabaseSink sink(alias, options, context);
        work(sink);
        sink.Finish();
        context.CheckCancel();
    });
}

// Database objects come with their structures where the tables they may use
// come too.
TDatabaseSink::TOptions ObjectOptions(unsigned parts, const QString& from) {
    TDatabaseSink::TOptions options;
    options.CreateObjects = (parts & dpStructures) && (parts & (dpTableData | dpObjects));
    options.ObjectsFrom = from;
    return options;
}

}  // namespace

QList<int> RelatedSections(const TEIFile& file, const QList<int>& sections,
                           const TCopyAnswers& answers) {
    QSet<QString> tables, forms;
    for (int index : sections) {
        const TEISection* section = file.Sections().GetSections(index);
        if (section->ClassName() != QLatin1String("TEIDSPStructure")) continue;
        const TDSPListItem item = TEIDSPStructure::ItemOf(*section);
        if (item.ObjectType == otTable && answers.CopyTableData) tables.insert(item.Name.toUpper());
        if (item.ObjectType == otForm && answers.CopyLocalResources)
            forms.insert(QStringLiteral("K_") + item.Name.toUpper());
    }
    QList<int> related;
    for (int i = 0; i < file.Sections().GetCount(); ++i) {
        const TEISection* section = file.Sections().GetSections(i);
        const bool wanted =
            section->ClassName() == QLatin1String("TEITableData")
                ? tables.contains(section->Parameters().GetValues("TableName").toUpper())
            : section->ClassName() == QLatin1String("TEILResource")
                ? forms.contains(section->Parameters().GetValues("SectionID").toUpper())
                : false;
        if (wanted && !sections.contains(i)) related << i;
    }
    return related;
}

void TUOExportDatabase::Execute(TOperationContext& context) {
    const QString from = ResolveAlias(SourceAlias());
    Database(from);  // a database that is not connected fails before the file is touched
    WriteExport(TEIExportTarget{File, FileName(), Append, UTF8 ? eeUTF8 : eeANSI, !NewFormat},
                context, [&](TEIFile& file) {
                    TFileSink sink(file);
                    ReadDatabase(from, Parts, sink, context, Languages);
                });
}

void TUOImportDatabase::Execute(TOperationContext& context) {
    std::vector<std::unique_ptr<TEIFile>> own;
    QList<TEIFile*> files;
    if (File) files << File;
    for (const QString& name : File                  ? QStringList()
                               : FileNames.isEmpty() ? QStringList{FileName()}
                                                     : FileNames) {
        own.push_back(std::make_unique<TEIFile>(name));
        files << own.back().get();
    }
    // A file that is not an export file fails here, before the database is touched.
    for (TEIFile* file : files)
        if (!file->Opened()) file->Open();
    const QString to = ResolveAlias(TargetAlias());
    unsigned parts = Parts;
    TDatabaseSink::TOptions options = ObjectOptions(Parts, QString());
    QList<int> indexes = SectionIndexes;
    if (File && Answers && !indexes.isEmpty()) {
        indexes += RelatedSections(*File, indexes, *Answers);
        std::sort(indexes.begin(), indexes.end());  // structures before the rows of their tables
        parts = dpStructures | dpResources | dpLanguages |
                (Answers->CopyTableData ? unsigned(dpTableData) : 0u);
        options.CreateObjects = Answers->CreateDBObjects;
    }
    IntoDatabase(to, options, context, [&](TDatabaseSink& sink) {
        for (TEIFile* file : files)
            sink.ExpectParts(parts & FileParts(*file, file == File ? indexes : QList<int>()));
        for (TEIFile* file : files)
            ReadFile(*file, file == File ? indexes : QList<int>(), parts, sink, context);
    });
}

void TUOImportFiles::Execute(TOperationContext& context) {
    if (FileNames.isEmpty()) return;
    TUOImportDatabase whole;
    whole.SetTargetAlias(TargetAlias());
    whole.SetWriteFlag(WriteFlag());
    whole.FileNames = FileNames;
    whole.Execute(context);
}

void TUOCopyDatabase::Execute(TOperationContext& context) {
    const QString from = ResolveAlias(SourceAlias()), to = ResolveAlias(TargetAlias());
    if (from == to)
        throw EDSPError(QStringLiteral("Database %1 can not be copied onto itself").arg(from));
    Database(from);
    if (Selection.IsEmpty())
        return IntoDatabase(to, ObjectOptions(Parts, from), context, [&](TDatabaseSink& sink) {
            sink.ExpectParts(Parts);
            ReadDatabase(from, Parts, sink, context);
        });
    TDatabaseSink::TOptions options;
    options.CreateObjects = Answers.CreateDBObjects;
    options.ObjectsFrom = from;
    IntoDatabase(to, options, context, [&](TDatabaseSink& sink) {
        ReadSelection(from, Selection, Answers, sink, context);
    });
}

void TUOImportTableData::Execute(TOperationContext& context) {
    if (!File) throw EEIFileError(QStringLiteral("No export/import file was given"));
    if (!File->Opened()) File->Open();
    TDatabaseSink::TOptions options;
    options.ReplaceTableData = ReplaceExisting;
    IntoDatabase(ResolveAlias(TargetAlias()), options, context, [&](TDatabaseSink& sink) {
        ReadFile(*File, SectionIndexes, dpTableData, sink, context);
    });
}

// ---- copies by condition ----

namespace {

QString TargetTableOf(const TTableCopy& copy) {
    return copy.TargetTable.isEmpty() ? copy.SourceTable : copy.TargetTable;
}

// Source field names and target fields, pair by pair.
void MapFields(const TTableCopy& copy, const TDicTableDescription& source,
               const TDicTableDescription& target, QStringList& from,
               QList<TDicFieldDescription>& to) {
    if (copy.FieldMap.isEmpty()) {
        for (const TDicFieldDescription& f : target.Fields)
            if (source.FindField(f.Name)) {
                from << source.FindField(f.Name)->Name;
                to << f;
            }
    }
    for (const QString& pair : copy.FieldMap) {
        const qsizetype eq = pair.indexOf(u'=');
        const QString t = pair.left(eq).trimmed(), s = pair.mid(eq + 1).trimmed();
        const TDicFieldDescription* tf = target.FindField(t);
        const TDicFieldDescription* sf = source.FindField(s);
        if (eq < 0 || !tf || !sf)
            throw EDSPError(
                QStringLiteral("The field mapping \"%1\" names no field of %2 and of %3")
                    .arg(pair, target.Name, source.Name));
        from << sf->Name;
        to << *tf;
    }
    if (to.isEmpty())
        throw EDSPError(QStringLiteral("The tables %1 and %2 have no field in common")
                            .arg(source.Name, target.Name));
}

void CopyRows(const QString& from, const QString& to, const TTableCopy& copy,
              TOperationContext& context) {
    const QString targetTable = TargetTableOf(copy);
    Naming(QStringLiteral("Can not copy the rows of table %1 of database %2 to table %3 of "
                          "database %4")
               .arg(copy.SourceTable, from, targetTable, to),
           [&] {
               TDicTableDescription source, target;
               if (!Database(from).DescribeTable(copy.SourceTable, source))
                   throw EDSPError(QStringLiteral("the source table does not exist"));
               if (!Database(to).DescribeTable(targetTable, target))
                   throw EDSPError(QStringLiteral("the target table does not exist"));
               QStringList sourceFields;
               QList<TDicFieldDescription> targetFields;
               MapFields(copy, source, target, sourceFields, targetFields);
               TDatabase& db = Database(to);
               if (copy.DeleteExisting)
                   db.ExecDirect(
                       QStringLiteral("DELETE FROM %1").arg(db.Dialect().Ident(targetTable)));
               context.Status(QStringLiteral("Copying the rows of table %1").arg(copy.SourceTable));
               DBTransfer::Pump(Database(from), copy.SourceTable, sourceFields, copy.Filter, db,
                                targetTable, targetFields, [&] { context.CheckCancel(); });
           });
}

void CopyAll(const TUtilOperation& op, const QList<TTableCopy>& copies,
             TOperationContext& context) {
    const QString from = ResolveAlias(op.SourceAlias());
    const QString to =
        ResolveAlias(op.TargetAlias().isEmpty() ? op.SourceAlias() : op.TargetAlias());
    InTransaction(to, [&] {
        for (qsizetype i = 0; i < copies.size(); ++i) {
            context.CheckCancel();
            CopyRows(from, to, copies[i], context);
            context.Progress(i + 1, copies.size());
        }
    });
}

}  // namespace

void TUOCustomCopyTable::Execute(TOperationContext& context) {
    CopyAll(*this, {Copy}, context);
}

void TUOCustomCopyTables::Execute(TOperationContext& context) {
    CopyAll(*this, Copies, context);
}
