#include "tablewriter.h"

#include <QStringList>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/query.h"
#include "appcore/texts.h"
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

void TTableWriter::Delete(const QList<TQXVariant>& key) {
    TDatabase& db = FScroller.Database();
    TExecQuery q(db, QStringLiteral("DELETE FROM %1 WHERE %2")
                         .arg(db.Dialect().Ident(FScroller.TableName()), FScroller.KeyCondition()));
    FScroller.BindKey(q, key);
    if (q.Execute() == 0) RaiseNotFound();
}

QList<TQXVariant> TTableWriter::Insert(const TRecord& record, const QString& autoIncField) {
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
    TExecQuery q(db, sql);
    for (int i = 0; i < given.size(); ++i) {
        TQueryParam& p = q.ParamByName(QStringLiteral("F%1").arg(i));
        p.SetValue(given[i]->Value());
        p.SetDataType(given[i]->DataType());
    }
    q.Execute();

    // The new record's ID: the rowid SQLite gave it, the key values we wrote,
    // or the value the engine generated for the auto-increment key.
    const QStringList& keys = FScroller.RecordIDFields();
    const auto single = [&](const QString& sql) {
        TSelectQuery s(db, sql);
        s.Open();
        return s.Eof() ? QList<TQXVariant>() : QList<TQXVariant>{s.Fields().GetFields(0).Value()};
    };
    if (FScroller.KeyIsRowid()) return single(QStringLiteral("SELECT last_insert_rowid()"));
    QList<TQXVariant> key;
    for (const QString& k : keys) {
        const TField* f = record.FindField(k);
        if (!f || f->IsNull()) break;
        key << f->Value();
    }
    if (key.size() == keys.size()) return key;
    if (keys.size() == 1 && keys[0].compare(autoIncField, Qt::CaseInsensitive) == 0 &&
        d.Name() == QStringLiteral("PostgreSQL"))
        return single(QStringLiteral("SELECT lastval()"));
    return {};
}
