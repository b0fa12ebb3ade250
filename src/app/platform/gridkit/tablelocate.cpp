// Finding rows of a table scroller: a record's position, a column search and
// one field's whole value.
#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/query.h"
#include "basekit/datatypes.h"
#include "tablescroller.h"

namespace {

// A LIKE pattern that matches texts beginning with `text`, "\" escaping.
QString BeginsWithPattern(const QString& text) {
    QString p;
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            p += QLatin1Char('\\');
        p += c;
    }
    return p + QLatin1Char('%');
}

}  // namespace

qint64 TTableScroller::IndexOfKey(const QList<TQXVariant>& key) {
    if (FPositional) return key.size() == 1 ? key[0].AsInteger() : -1;
    if (!FActive || key.size() != FKeyFields.size()) return -1;
    TScrollerRow row;
    row.Key = key;
    for (int i = 0; i < FDesc.Fields.size(); ++i)
        row.Values << TQXVariant();
    {
        // The record's own place in the order: it must still exist.
        const QString expr =
            FSortField >= 0 ? FDb.Dialect().Ident(FDesc.Fields[FSortField].Name) : KeyExpression(0);
        TSelectQuery q(FDb, QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                .arg(expr, FDb.Dialect().Ident(FTable), KeyCondition()));
        BindKey(q, key);
        q.Open();
        if (q.Eof()) return -1;
        if (FSortField >= 0) row.Values[FSortField] = q.Fields().GetFields(0).Value();
    }
    QList<TQXVariant> params;
    const QString before = AfterCondition(row, false, params);
    TSelectQuery q(FDb, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                            .arg(FDb.Dialect().Ident(FTable), before));
    for (int i = 0; i < params.size(); ++i)
        q.ParamByName(QStringLiteral("P%1").arg(i)).SetValue(params[i]);
    q.Open();
    return q.Eof() ? -1 : q.Fields().GetFields(0).AsInteger();
}

qint64 TTableScroller::Locate(int field, const TQXVariant& value, qint64 from, bool forward) {
    if (!FActive || FPositional || field < 0 || field >= FDesc.Fields.size() || value.IsNull())
        return -1;
    const TDicFieldDescription& f = FDesc.Fields[field];
    if (IsBlobDataType(f.DataType)) return -1;
    QList<TQXVariant> params;
    QStringList where;
    if (from >= 0) {
        const TScrollerRow* start = Row(from);
        if (!start) return -1;
        const TScrollerRow copy = *start;  // the cache may drop it while we read
        where << AfterCondition(copy, forward, params);
    } else if (!forward) {
        return -1;
    }
    const QString column = FDb.Dialect().Ident(f.Name);
    const QString p = QStringLiteral(":P%1").arg(params.size());
    if (IsTextDataType(f.DataType)) {
        where << QStringLiteral("UPPER(%1) LIKE %2 ESCAPE '\\'").arg(column, p);
        params << TQXVariant(BeginsWithPattern(value.AsString().toUpper()));
    } else {
        where << QStringLiteral("%1 = %2").arg(column, p);
        params << value;
    }
    const std::vector<TScrollerRow> found =
        Read(where.join(QStringLiteral(" AND ")), params, forward, 1, 0);
    return found.empty() ? -1 : IndexOfKey(found.front().Key);
}

TQXVariant TTableScroller::FullValue(const QList<TQXVariant>& key, int field) {
    if (!FActive || field < 0 || field >= FDesc.Fields.size()) return TQXVariant();
    if (FPositional) {
        TSelectQuery q(FDb, QStringLiteral("SELECT %1 FROM %2 LIMIT 1 OFFSET %3")
                                .arg(FDb.Dialect().Ident(FDesc.Fields[field].Name),
                                     FDb.Dialect().Ident(FTable))
                                .arg(key.value(0).AsInteger()));
        q.Open();
        return q.Eof() ? TQXVariant() : q.Fields().GetFields(0).Value();
    }
    TSelectQuery q(FDb, QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                            .arg(FDb.Dialect().Ident(FDesc.Fields[field].Name),
                                 FDb.Dialect().Ident(FTable), KeyCondition()));
    BindKey(q, key);
    q.Open();
    return q.Eof() ? TQXVariant() : q.Fields().GetFields(0).Value();
}
