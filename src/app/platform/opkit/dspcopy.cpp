#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "dbtransfer.h"
#include "dspoperations.h"
#include "dspopsupport.h"
#include "procname.h"

using namespace DSPOps;

namespace {

QString TargetOf(const TUtilOperation& op) {
    return ResolveAlias(op.TargetAlias().isEmpty() ? op.SourceAlias() : op.TargetAlias());
}

void CheckNames(const QString& source, const QString& target) {
    if (source.trimmed().isEmpty() || target.trimmed().isEmpty())
        throw EDSPError(QStringLiteral("A DSP structure copy needs a source and a target name"));
}

QString CopyWhat(const QString& sourceName, int sourceType, const QString& from,
                 const QString& targetName, int targetType, const QString& to) {
    return QStringLiteral("Can not copy DSP structure %1 of database %2 to %3 in database %4")
        .arg(Describe(sourceName, sourceType), from, Describe(targetName, targetType), to);
}

// Index names are unique per schema: a copy of a table beside its source
// needs names of its own. A name that starts with the table's name gets the
// new table's name instead; any other is prefixed with it.
QString CopiedIndexName(const QString& index, const QString& from, const QString& to) {
    if (from.compare(to, Qt::CaseInsensitive) == 0) return index;
    if (index.startsWith(from, Qt::CaseInsensitive)) return to + index.mid(from.size());
    return to + QLatin1Char('_') + index;
}

// The body of a table structure copied under another name: its table is the
// new one.
QByteArray RenamedTableBody(const QByteArray& body, const QString& from, const QString& to) {
    TDSPNode root;
    try {
        root = TDSPNode::FromBytes(body);
    } catch (const EDSPError&) {
        return body;  // not ours to repair; creating the table reports it
    }
    const QString table = root.Property(QStringLiteral("TableName")).toString();
    const bool ownTable = table.compare(from, Qt::CaseInsensitive) == 0;
    const bool ownName = root.Name().compare(from, Qt::CaseInsensitive) == 0;
    if (!ownTable && !ownName) return body;
    if (ownTable) root.SetProperty(QStringLiteral("TableName"), to);
    if (ownName) root.SetName(to);
    return root.ToBytes();
}

bool IsStoredProc(int type) {
    return type == otExecStoredProc || type == otSelectStoredProc;
}

TDicTableDescription TableOfCopy(const QByteArray& body, const QString& from, const QString& to) {
    const TDSPNode root = TDSPNode::FromBytes(body, QStringLiteral("DSP structure %1").arg(to));
    TDicTableDescription table = TableFromStructure(root, to);
    for (TDicIndexDescription& index : table.Indexes)
        index.Name = CopiedIndexName(index.Name, from, to);
    return table;
}

[[noreturn]] void RaiseExists(const char* what, const QString& name, const QString& alias) {
    throw EDSPError(
        QStringLiteral("The %1 %2 already exists in database %3").arg(what, name, alias));
}

// The procedure from the copied body's text. Under a new name the text must
// have named it (see RenamedProcBody): run as it is, it would create or
// replace the source's procedure instead.
void CreateProcCopy(TDicDatabase& dic, const QString& sql, int type, const QString& name,
                    bool renamed) {
    if (renamed && WithStoredProcName(sql, name).isEmpty())
        throw ENotSupportedError(
            QStringLiteral("Stored procedure %1 can not be created under this name: its SQL text "
                           "does not start with CREATE [OR REPLACE] FUNCTION or PROCEDURE and "
                           "its name, so the name there can not be changed")
                .arg(name));
    const bool select = type == otSelectStoredProc;
    const auto exists = [&] {
        return select ? dic.SelectStoredProcExists(name) : dic.ExecStoredProcExists(name);
    };
    if (exists())
        RaiseExists(select ? "selectable stored procedure" : "stored procedure", name, dic.Alias());
    dic.CreateStoredProc(sql);
    if (!exists())
        throw EDSPError(
            QStringLiteral("The SQL text of stored procedure %1 creates another one").arg(name));
}

// The rows of one table into another, inside the server within one
// database, else streamed across in batches. Fields that only one side has
// are left out.
void CopyTableRows(const QString& from, const QString& to, const QString& sourceTable,
                   const QString& targetTable, TOperationContext& context) {
    TDatabase& source = Database(from);
    TDatabase& db = Database(to);
    TDicTableDescription described, target;
    if (!source.DescribeTable(sourceTable, described)) return;
    if (!db.DescribeTable(targetTable, target))
        throw EDSPError(
            QStringLiteral("The table %1 does not exist in database %2: its rows can not be copied")
                .arg(targetTable, to));
    QStringList fields;
    QList<TDicFieldDescription> targetFields;
    for (const TDicFieldDescription& f : described.Fields)
        if (const TDicFieldDescription* t = target.FindField(f.Name)) {
            fields << f.Name;
            targetFields << *t;
        }
    if (fields.isEmpty()) return;
    if (from != to) {
        DBTransfer::Pump(source, sourceTable, fields, QString(), db, targetTable, targetFields,
                         [&] { context.CheckCancel(); });
        return;
    }
    QStringList quoted;
    for (const QString& f : fields)
        quoted << db.Dialect().Ident(f);
    const QString list = quoted.join(QStringLiteral(", "));
    db.ExecDirect(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3")
                      .arg(db.Dialect().Ident(targetTable), list, db.Dialect().Ident(sourceTable)));
}

void CopyResources(const QString& from, const QString& sourceForm, const QString& to,
                   const QString& targetForm) {
    if (!Database(from).TableExists(TLocalizatorTable::kTableName)) return;
    TLocalizatorTable& source = GetLocalizatorTable(from);
    const QString sourceSection = ResourceSectionID(sourceForm);
    const QString targetSection = ResourceSectionID(targetForm);
    if (from == to && sourceSection == targetSection) return;
    const QStringList languages = source.SectionLanguages(sourceSection);
    if (languages.isEmpty()) return;
    QList<std::pair<QString, TLResList>> texts;
    for (const QString& language : languages) {
        TLResList list;
        source.FillResList(sourceSection, language, list);
        texts.append({language, list});
    }
    // The copy replaces what the target form had.
    DeleteResources(to, targetForm);
    TLocalizatorTable& target = GetLocalizatorTable(to);
    for (const auto& [language, list] : texts)
        for (const auto& [ident, text] : list)
            target.SetSectionString(targetSection, ident, language, text);
}

}  // namespace

void TUOCopyDSPStructure::Execute(TOperationContext& context) {
    Q_UNUSED(context);
    CheckNames(SourceName, TargetName);
    const QString from = ResolveAlias(SourceAlias()), to = TargetOf(*this);
    if (from == to && SourceName == TargetName && SourceType == TargetType) return;
    Naming(CopyWhat(SourceName, SourceType, from, TargetName, TargetType, to), [&] {
        TDSPTable& source = GetDSPTable(from);
        const TDSPListItem properties = SourceProperties(source, SourceName, SourceType);
        const QByteArray body = source.GetStructure(SourceName, SourceType);
        InTransaction(
            to, [&] { StoreStructure(GetDSPTable(to), TargetName, TargetType, properties, body); });
    });
}

void TUOCopyDSPObject::Execute(TOperationContext& context) {
    CheckNames(SourceName, TargetName);
    const QString from = ResolveAlias(SourceAlias()), to = TargetOf(*this);
    if (from == to && SourceName == TargetName && SourceType == TargetType) return;
    Naming(CopyWhat(SourceName, SourceType, from, TargetName, TargetType, to), [&] {
        TDSPTable& source = GetDSPTable(from);
        TDSPListItem properties = SourceProperties(source, SourceName, SourceType);
        QByteArray body = source.GetStructure(SourceName, SourceType);
        const bool renamed = SourceName.compare(TargetName, Qt::CaseInsensitive) != 0;
        const bool isTable = SourceType == otTable && TargetType == otTable;
        if (isTable && renamed) {
            body = RenamedTableBody(body, SourceName, TargetName);
            if (properties.TableName.compare(SourceName, Qt::CaseInsensitive) == 0)
                properties.TableName = TargetName;
        }
        if (renamed && IsStoredProc(SourceType) && SourceType == TargetType)
            body = RenamedProcBody(body, TargetName, to);
        const bool sourceObject = DBObjectExists(from, SourceName, SourceType);
        InTransaction(to, [&] {
            context.Status(
                QStringLiteral("Copying DSP structure %1").arg(Describe(SourceName, SourceType)));
            if (CreateDBObject && SourceType == TargetType) {
                TDicDatabase& dic = DicDBContainer().GetDicDatabase(to);
                const auto root = [&] {
                    return TDSPNode::FromBytes(body,
                                               QStringLiteral("DSP structure %1").arg(TargetName));
                };
                switch (TargetType) {
                    case otTable:
                        TDictionary(to).CreateTableByDef(TableOfCopy(body, SourceName, TargetName),
                                                         QString(), false);
                        break;
                    case otGenerator: {
                        if (dic.GeneratorExists(TargetName))
                            RaiseExists("generator", TargetName, to);
                        // With its data a generator goes on from the source's value.
                        const qint64 start =
                            CopyTableData && sourceObject
                                ? DicDBContainer().GetDicDatabase(from).GeneratorNext(SourceName, 0)
                                : GeneratorStartValue(root());
                        dic.CreateGenerator(TargetName, start);
                        break;
                    }
                    case otView:
                        if (dic.ViewExists(TargetName)) RaiseExists("view", TargetName, to);
                        dic.CreateView(TargetName, StructureSql(root()));
                        break;
                    case otExecStoredProc:
                    case otSelectStoredProc:
                        CreateProcCopy(dic, StructureSql(root()), TargetType, TargetName, renamed);
                        break;
                    default:
                        break;  // no database object
                }
            }
            context.CheckCancel();
            if (CopyTableData && isTable && sourceObject)
                CopyTableRows(from, to, SourceName, TargetName, context);
            if (CopyLocalResources && SourceType == otForm && TargetType == otForm)
                CopyResources(from, SourceName, to, TargetName);
            StoreStructure(GetDSPTable(to), TargetName, TargetType, properties, body);
            context.CheckCancel();
        });
    });
}

void TUOCopyDSPObjectsEx::Execute(TOperationContext& context) {
    const QString to = TargetOf(*this);
    InTransaction(to, [&] {
        for (int i = 0; i < Items.Count(); ++i) {
            context.CheckCancel();
            TUOCopyDSPObject one;
            one.SetSourceAlias(SourceAlias());
            one.SetTargetAlias(to);
            one.SourceName = one.TargetName = Items.Items(i).Name;
            one.SourceType = one.TargetType = Items.Items(i).ObjectType;
            one.CreateDBObject = CreateDBObjects;
            one.CopyTableData = CopyTableData;
            one.CopyLocalResources = CopyLocalResources;
            one.Execute(context);
            context.Progress(i + 1, Items.Count());
        }
    });
}
