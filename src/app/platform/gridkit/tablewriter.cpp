#include "tablewriter.h"

#include <QStringList>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "tablescroller.h"

void TTableWriter::RaiseNotFound() const {
    throw EDatabaseError(LString(QStringLiteral("M_Pelvar_TblDatas_RecordNotFound")));
}

void TTableWriter::WriteField(const QList<TQXVariant>& key, int field, const TQXVariant& value) {
    TDatabase& db = FScroller.Database();
    const TDicFieldDescription& f = FScroller.Fields().at(field);
    TExecQuery q(db, QStringLiteral("UPDATE %1 SET %2 = :V WHERE %3")
                         .arg(db.Dialect().Ident(FScroller.TableName()), db.Dialect().Ident(f.Name),
                              FScroller.KeyCondition()));
    TQueryParam& v = q.ParamByName(QStringLiteral("V"));
    if (value.IsNull())
        v.SetNull(f.DataType);
    else
        v.SetValue(value);
    v.SetDataType(f.DataType);
    FScroller.BindKey(q, key);
    if (q.Execute() == 0) RaiseNotFound();
}

TRecord TTableWriter::EmptyRecord() const {
    TRecord record;
    for (const auto& f : FScroller.Fields())
        record.AddField(f.Name, f.DataType, f.Size).SetRequired(f.Required);
    return record;
}

TRecord TTableWriter::ReadRecord(const QList<TQXVariant>& key) {
    TDatabase& db = FScroller.Database();
    TRecord record = EmptyRecord();
    QStringList columns;
    QList<int> read;
    for (int i = 0; i < record.GetFieldCount(); ++i) {
        if (!IsSortableDataType(record.GetFields(i).DataType())) continue;
        columns << db.Dialect().Ident(record.GetFields(i).Name());
        read << i;
    }
    if (columns.isEmpty()) return record;
    TSelectQuery q(
        db, QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                .arg(columns.join(QStringLiteral(", ")), db.Dialect().Ident(FScroller.TableName()),
                     FScroller.KeyCondition()));
    FScroller.BindKey(q, key);
    q.Open();
    if (q.Eof()) RaiseNotFound();
    for (int i = 0; i < read.size(); ++i)
        record.GetFields(read[i]).SetValue(q.Fields().GetFields(i).Value());
    return record;
}

void TTableWriter::Update(const QList<TQXVariant>& key, const TRecord& record,
                          const QStringList& fields) {
    if (fields.isEmpty()) return;
    TDatabase& db = FScroller.Database();
    QStringList sets;
    for (int i = 0; i < fields.size(); ++i)
        sets << QStringLiteral("%1 = :V%2").arg(db.Dialect().Ident(fields[i])).arg(i);
    TExecQuery q(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                         .arg(db.Dialect().Ident(FScroller.TableName()),
                              sets.join(QStringLiteral(", ")), FScroller.KeyCondition()));
    for (int i = 0; i < fields.size(); ++i) {
        const TField& f = record.FieldByName(fields[i]);
        TQueryParam& v = q.ParamByName(QStringLiteral("V%1").arg(i));
        if (f.IsNull())
            v.SetNull(f.DataType());
        else
            v.SetValue(f.Value());
        v.SetDataType(f.DataType());
    }
    FScroller.BindKey(q, key);
    if (q.Execute() == 0) RaiseNotFound();
}

void TTableWriter::Delete(const QList<TQXVariant>& key) {
    TDatabase& db = FScroller.Database();
    TExecQuery q(db, QStringLiteral("DELETE FROM %1 WHERE %2")
                         .arg(db.Dialect().Ident(FScroller.TableName()), FScroller.KeyCondition()));
    FScroller.BindKey(q, key);
    if (q.Execute() == 0) RaiseNotFound();
}

QList<TQXVariant> TTableWriter::Insert(const TRecord& record) {
    TDatabase& db = FScroller.Database();
    const TSqlDialect& d = db.Dialect();
    QStringList names, values;
    QList<const TField*> given;
    for (int i = 0; i < record.GetFieldCount(); ++i) {
        const TField& f = record.GetFields(i);
        if (f.IsNull()) continue;
        names << d.Ident(f.Name());
        values << QStringLiteral(":F%1").arg(given.size());
        given << &f;
    }
    const QString table = d.Ident(FScroller.TableName());
    const QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                              .arg(table, names.join(QStringLiteral(", ")),
                                                   values.join(QStringLiteral(", ")));
    // The new record's ID: the rowid SQLite gave it, the key values we wrote,
    // or what the engine generated, returned by the insert itself.
    const QStringList& keys = FScroller.RecordIDFields();
    QList<TQXVariant> key;
    for (const QString& k : keys) {
        const TField* f = record.FindField(k);
        if (!f || f->IsNull()) break;
        key << f->Value();
    }
    const bool returning = !FScroller.KeyIsRowid() && key.size() != keys.size() &&
                           d.Name() == QStringLiteral("PostgreSQL");
    const auto bind = [&](TQuery& q) {
        for (int i = 0; i < given.size(); ++i) {
            TQueryParam& p = q.ParamByName(QStringLiteral("F%1").arg(i));
            p.SetValue(given[i]->Value());
            p.SetDataType(given[i]->DataType());
        }
    };
    if (returning) {
        QStringList exprs;
        for (int i = 0; i < keys.size(); ++i)
            exprs << FScroller.KeyExpression(i);
        TSelectQuery q(db, sql + QStringLiteral(" RETURNING ") + exprs.join(QStringLiteral(", ")));
        bind(q);
        q.Open();
        key.clear();
        for (int i = 0; !q.Eof() && i < q.FieldCount(); ++i)
            key << q.Fields().GetFields(i).Value();
        return key;
    }
    TExecQuery q(db, sql);
    bind(q);
    q.Execute();
    if (FScroller.KeyIsRowid()) {
        TSelectQuery s(db, QStringLiteral("SELECT last_insert_rowid()"));
        s.Open();
        return s.Eof() ? QList<TQXVariant>() : QList<TQXVariant>{s.Fields().GetFields(0).Value()};
    }
    if (key.size() == keys.size()) return key;
    return {};
}
