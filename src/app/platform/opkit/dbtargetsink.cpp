#include <algorithm>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/languages.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "dbexchange.h"
#include "dbsinks.h"
#include "dbtransfer.h"
#include "dspopsupport.h"
#include "dsprecreate.h"
#include "lresoperations.h"
#include "procname.h"

// What a copy or an import writes into the target database.

using namespace DSPOps;

namespace DBExchange {

namespace {

bool IsStoredProcType(int type) {
    return type == otExecStoredProc || type == otSelectStoredProc;
}

}  // namespace

struct TDatabaseSink::TTable {
    QString Name;
    bool Skipped = false;
    TDicTableDescription Target;
    std::unique_ptr<DBTransfer::TRowInserter> Inserter;
};

TDatabaseSink::TDatabaseSink(const QString& alias, TOptions options, TOperationContext& context)
    : FAlias(alias), FOptions(options), FContext(context) {
    Database(alias);  // a database that is not connected fails before anything is read
}

void TDatabaseSink::ExpectParts(unsigned parts) {
    if (parts & dpStructures) NeedSystemTable(TDSPTable::kTableName);
    if (parts & dpResources) NeedSystemTable(TLocalizatorTable::kTableName);
    if (parts & dpLanguages) NeedSystemTable(TLanguagesTable::kTableName);
}

// Each system table is looked for when the first thing that goes into it
// comes: table rows need none, and a file of texts needs only the texts table.
void TDatabaseSink::NeedSystemTable(const QString& table) {
    if (FPresent.contains(table)) return;
    if (!Database(FAlias).TableExists(table))
        throw EDSPError(QStringLiteral("Database %1 has no system table %2: create its system "
                                       "tables before importing a dictionary into it")
                            .arg(FAlias, table));
    FPresent.insert(table);
}

TDatabaseSink::~TDatabaseSink() = default;

void TDatabaseSink::Language(const QString& id, const TOneLanguage& language) {
    NeedSystemTable(TLanguagesTable::kTableName);
    CheckLanguageRecord(id, language);
    GetLanguagesTable(FAlias).SetLanguage(id.toUpper(), language);
}

void TDatabaseSink::Texts(const QString& section, const QList<TEILResText>& texts) {
    NeedSystemTable(TLocalizatorTable::kTableName);
    TLocalizatorTable& target = GetLocalizatorTable(FAlias);
    const QString id = section.toUpper();
    for (const TEILResText& t : texts) {
        CheckNewStringID(TLocalizatorTable::ComposeID(id, t.Ident));
        target.SetSectionString(id, t.Ident, t.Language, t.Text);
    }
}

void TDatabaseSink::Structure(const TDSPListItem& item, const QByteArray& body) {
    NeedSystemTable(TDSPTable::kTableName);
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
