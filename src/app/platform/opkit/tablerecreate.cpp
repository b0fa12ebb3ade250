// Creating and recreating a table from its structure, its rows kept inside
// the server.
#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "basekit/datatypes.h"
#include "dspopsupport.h"
#include "dsprecreate.h"

using namespace DSPOps;

TRecreateFieldPairs DefaultFieldPairs(const TDicTableDescription& oldTable,
                                      const TDicTableDescription& newTable) {
    TRecreateFieldPairs pairs;
    for (const auto& f : newTable.Fields)
        if (const TDicFieldDescription* old = oldTable.FindField(f.Name))
            pairs.append({old->Name, f.Name});
    return pairs;
}

bool HasOwnDatabaseObject(const QString& name, bool table) {
    return !name.trimmed().isEmpty() && !name.contains(QLatin1Char('$')) &&
           !(table && name.contains(QLatin1Char('.')));
}

namespace {

TDicTableDescription StructureTable(const QString& alias, const QString& name) {
    TDSPTable& dsp = GetDSPTable(alias);
    if (!dsp.DSPStructureExist(name, otTable))
        throw EDSPError(QStringLiteral("The table structure %1 does not exist").arg(name));
    const TDSPNode body = TDSPNode::FromBytes(dsp.GetStructure(name, otTable),
                                              QStringLiteral("DSP structure %1").arg(name));
    return TableFromStructure(body, name);
}

// The mapping to use: the one confirmed, checked against both tables, or
// the fields both have.
TRecreateFieldPairs ChosenPairs(const TUORecreateTable* op, const TDicTableDescription& old,
                                const TDicTableDescription& table) {
    if (!op || (op->FieldPairs.isEmpty() && op->BlobFieldPairs.isEmpty() && op->Fields.isEmpty()))
        return DefaultFieldPairs(old, table);
    const TRecreateFieldPairs pairs = op->FieldPairs + op->BlobFieldPairs;
    QStringList targets;
    for (const auto& p : pairs) {
        if (!old.FindField(p.OldName))
            throw EDSPError(
                QStringLiteral("The field %1 is not in the table any more").arg(p.OldName));
        if (!table.FindField(p.NewName))
            throw EDSPError(
                QStringLiteral("The field %1 is not in the structure any more").arg(p.NewName));
        if (targets.contains(p.NewName, Qt::CaseInsensitive))
            throw EDSPError(QStringLiteral("The field %1 is fed twice").arg(p.NewName));
        targets << p.NewName;
    }
    return pairs;
}

class TRowCopy {
  public:
    TRowCopy(TDatabase& db, const TDicTableDescription& old, const TDicTableDescription& table)
        : FDb(db), FD(db.Dialect()), FOld(old), FTable(table) {}

    // Refuses what can not be copied before anything is changed.
    void Check(const TRecreateFieldPairs& pairs) {
        for (const auto& p : pairs) {
            const TDicFieldDescription& from = *FOld.FindField(p.OldName);
            const TDicFieldDescription& to = *FTable.FindField(p.NewName);
            if (IsBlobDataType(from.DataType) && !IsBlobDataType(to.DataType) &&
                !IsTextDataType(to.DataType))
                throw EDSPError(QStringLiteral("The field %1 can not take the binary values of %2")
                                    .arg(to.Name, from.Name));
            const QString column = FD.Ident(from.Name);
            if (to.Required && !from.Required)
                FirstRow(
                    column + QStringLiteral(" IS NULL"), from,
                    [&](const QString&, const QString& row) {
                        return QStringLiteral("The field %1 is required, but %2 has no value in %3")
                            .arg(to.Name, row, from.Name);
                    });
            const QString bad = FD.UnconvertibleCondition(column, from, to);
            if (!bad.isEmpty())
                FirstRow(QStringLiteral("%1 IS NOT NULL AND %2").arg(column, bad), from,
                         [&](const QString& value, const QString& row) {
                             return QStringLiteral(
                                        "The field %1 (%2) can not take the value '%3' of %4 in %5")
                                 .arg(to.Name, DataTypeName(to.DataType), value, from.Name, row);
                         });
        }
    }

    QString InsertStatement(const QString& from, const TRecreateFieldPairs& pairs) const {
        QStringList targets, sources;
        for (const auto& p : pairs) {
            targets << FD.Ident(FTable.FindField(p.NewName)->Name);
            sources << FD.ConvertExpression(FD.Ident(p.OldName), *FOld.FindField(p.OldName),
                                            *FTable.FindField(p.NewName));
        }
        return QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
            .arg(FD.Ident(FTable.Name), targets.join(QStringLiteral(", ")),
                 sources.join(QStringLiteral(", ")), FD.Ident(from));
    }

  private:
    // Raises with the message made of the first offending row, if any.
    template <typename Message>
    void FirstRow(const QString& where, const TDicFieldDescription& field, Message message) {
        QStringList keys;
        if (const TDicIndexDescription* pk = FOld.PrimaryIndex()) keys = pk->Fields;
        QStringList cols = {FD.Ident(field.Name)};
        for (const QString& k : keys)
            cols << FD.Ident(k);
        QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                          .arg(cols.join(QStringLiteral(", ")), FD.Ident(FOld.Name), where);
        if (!keys.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + cols.mid(1).join(QStringLiteral(", "));
        TSelectQuery q(FDb, sql);
        q.Open();
        if (q.Eof()) return;
        QStringList where2;
        for (int i = 0; i < keys.size(); ++i)
            where2 << keys[i] + QStringLiteral(" = ") + q.Fields().GetFields(i + 1).AsString();
        const QString row = where2.isEmpty()
                                ? QStringLiteral("a row")
                                : QStringLiteral("the row ") + where2.join(QStringLiteral(", "));
        const QString value = q.Fields().GetFields(0).AsString().left(80);
        throw EDSPError(message(value, row));
    }

    TDatabase& FDb;
    const TSqlDialect& FD;
    const TDicTableDescription& FOld;
    const TDicTableDescription& FTable;
};

constexpr int kLockTimeoutMs = 3000;

QString FreeTableName(TDatabase& db, const QString& base) {
    for (int i = 0;; ++i) {
        const QString name =
            base.left(40) + QStringLiteral("_OLD") + (i ? QString::number(i) : QString());
        if (!db.TableExists(name)) return name;
    }
}

// Creates or recreates one table inside the running transaction.
void RecreateOne(TOperationContext& context, const QString& alias,
                 const TDicTableDescription& table, bool recreate, bool copyData,
                 const TUORecreateTable* mapping) {
    TDatabase& db = Database(alias);
    if (!db.TableExists(table.Name)) {
        TDictionary(alias).CreateTableByDef(table, QString(), false);
        return;
    }
    if (!recreate) return;
    if (!copyData) {
        TDictionary(alias).CreateTableByDef(table, QString(), true);
        return;
    }
    // A table another connection holds is an error, not a wait without end.
    if (const QString wait = db.Dialect().LockTimeoutStatement(kLockTimeoutMs); !wait.isEmpty())
        db.ExecDirect(wait);
    TDicTableDescription old;
    db.DescribeTable(table.Name, old);
    const TRecreateFieldPairs pairs = ChosenPairs(mapping, old, table);
    if (pairs.isEmpty())
        throw EDSPError(
            QStringLiteral("No field of the new table takes a field of the old one: "
                           "its rows can not be kept"));
    TRowCopy copy(db, old, table);
    context.Status(QStringLiteral("Checking the rows of table %1").arg(table.Name));
    copy.Check(pairs);
    context.CheckCancel();
    const TSqlDialect& d = db.Dialect();
    const QString temp = FreeTableName(db, table.Name);
    for (const QString& sql : d.ReleaseTableStatements(old, temp))
        db.ExecDirect(sql);
    for (const QString& sql : d.CreateTableScript(table))
        db.ExecDirect(sql);
    context.Status(QStringLiteral("Copying the rows of table %1").arg(table.Name));
    db.ExecDirect(copy.InsertStatement(temp, pairs));
    d.AfterRowsCopied(db, table);
    d.DropReleasedTable(db, temp);
    context.CheckCancel();
}

QString RecreateWhat(const QString& table, const QString& alias) {
    return QStringLiteral("Can not create table %1 in database %2").arg(table, alias);
}

}  // namespace

void TUORecreateTable::Execute(TOperationContext& context) {
    const QString alias = ResolveAlias(SourceAlias());
    Naming(RecreateWhat(TableName, alias), [&] {
        if (!HasOwnDatabaseObject(TableName, true))
            throw EDSPError(QStringLiteral("The structure names no database table of its own"));
        const TDicTableDescription table = StructureTable(alias, TableName);
        context.Status(QStringLiteral("Creating table %1").arg(TableName));
        InTransaction(alias,
                      [&] { RecreateOne(context, alias, table, RecreateTable, CopyData, this); });
    });
}

void TUORecreateTables::Execute(TOperationContext& context) {
    const QString alias = ResolveAlias(SourceAlias());
    QStringList names;
    for (const QString& name : ObjectNames())
        if (HasOwnDatabaseObject(name, true)) names << name;
    InTransaction(alias, [&] {
        for (int i = 0; i < names.size(); ++i) {
            context.Progress(i, names.size());
            context.Status(QStringLiteral("Creating table %1").arg(names[i]));
            Naming(RecreateWhat(names[i], alias), [&] {
                RecreateOne(context, alias, StructureTable(alias, names[i]), true, CopyData,
                            nullptr);
            });
            context.CheckCancel();
        }
        context.Progress(names.size(), names.size());
    });
}
