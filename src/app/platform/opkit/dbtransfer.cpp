#include "dbtransfer.h"

#include <algorithm>
#include <charconv>

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <limits>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/query.h"
#include "appcore/systemtables.h"
#include "basekit/datatypes.h"
#include "basekit/strutils.h"

namespace DBTransfer {

namespace {

// Under SQLite's oldest parameter limit (999), and rows enough per
// statement that the round trips cost little next to the rows.
constexpr int kMaxParameters = 900;
constexpr int kMaxRowsPerStatement = 200;

TQXVariant FromText(const QString& text, int dataType) {
    bool ok = false;
    if (IsIntegerDataType(dataType)) {
        const qlonglong n = text.trimmed().toLongLong(&ok);
        if (ok) return TQXVariant(n);
    } else if (dataType == dtFloat || dataType == dtCurrency) {
        const double d = text.trimmed().toDouble(&ok);
        if (ok) return TQXVariant(d);
    } else if (dataType == dtBoolean) {
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("t"))
            return TQXVariant(true);
        if (t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("f"))
            return TQXVariant(false);
    } else if (dataType == dtDate) {
        const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
        if (date.isValid()) return TQXVariant(date);
    } else if (dataType == dtDateTime) {
        QString t = text.trimmed();
        if (t.size() > 10 && t[10] == u' ') t[10] = u'T';
        const QDateTime when = QDateTime::fromString(t, Qt::ISODateWithMs);
        if (when.isValid()) return TQXVariant(when);
        const QDate date = QDate::fromString(t, Qt::ISODate);
        if (date.isValid()) return TQXVariant(date.startOfDay());
    } else if (IsBlobDataType(dataType)) {
        return TQXVariant(text.toUtf8());
    }
    return TQXVariant(text);
}

}  // namespace

TQXVariant ConvertValue(const TQXVariant& value, int dataType) {
    switch (value.Kind()) {
        case TQXVariant::vkNull:
            return value;
        case TQXVariant::vkString:
            return IsTextDataType(dataType) ? value : FromText(value.AsString(), dataType);
        case TQXVariant::vkInteger:
        case TQXVariant::vkBoolean:
            if (dataType == dtBoolean) return TQXVariant(value.AsInteger() != 0);
            if (IsIntegerDataType(dataType)) return TQXVariant(value.AsInteger());
            if (dataType == dtFloat || dataType == dtCurrency) return TQXVariant(value.AsFloat());
            break;
        case TQXVariant::vkFloat:
            if (IsIntegerDataType(dataType) &&
                value.AsFloat() == double(qlonglong(value.AsFloat())))
                return TQXVariant(qlonglong(value.AsFloat()));
            break;
        case TQXVariant::vkDate:
            if (dataType == dtDateTime) return TQXVariant(value.AsDate().startOfDay());
            break;
        case TQXVariant::vkDateTime:
            if (dataType == dtDate) return TQXVariant(value.AsDateTime().date());
            break;
        case TQXVariant::vkBinary:
            if (IsTextDataType(dataType)) return TQXVariant(QString::fromUtf8(value.AsBinary()));
            return value;
    }
    if (IsTextDataType(dataType)) return TQXVariant(value.AsString());
    return value;
}

// ---- TRowInserter ----

TRowInserter::TRowInserter(TDatabase& db, const QString& table,
                           const QList<TDicFieldDescription>& fields)
    : FDb(db), FTable(table), FFields(fields) {
    const int columns = int(qMax<qsizetype>(1, fields.size()));
    FBatch = qBound(1, kMaxParameters / columns, kMaxRowsPerStatement);
    FPending.reserve(FBatch);
}

TRowInserter::~TRowInserter() = default;

QString TRowInserter::Statement(int rows) const {
    QStringList names;
    for (const TDicFieldDescription& f : FFields)
        names << FDb.Dialect().Ident(f.Name);
    QString values;
    for (int r = 0; r < rows; ++r) {
        if (r > 0) values += QLatin1String(", ");
        values += u'(';
        for (qsizetype c = 0; c < FFields.size(); ++c) {
            if (c > 0) values += QLatin1String(", ");
            values += QStringLiteral(":p%1").arg(r * FFields.size() + c);
        }
        values += u')';
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(FDb.Dialect().Ident(FTable), names.join(QStringLiteral(", ")), values);
}

void TRowInserter::Add(const QList<TQXVariant>& values) {
    if (values.size() != FFields.size())
        throw EDatabaseError(QStringLiteral("A row for table %1 has %2 values for %3 fields")
                                 .arg(FTable)
                                 .arg(values.size())
                                 .arg(FFields.size()));
    FPending.append(values);
    if (FPending.size() < FBatch) return;
    if (!FFull) FFull = std::make_unique<TExecQuery>(FDb, Statement(FBatch));
    Execute(*FFull, FBatch);
}

void TRowInserter::Flush() {
    if (FPending.isEmpty()) return;
    TExecQuery rest(FDb, Statement(int(FPending.size())));
    Execute(rest, int(FPending.size()));
}

void TRowInserter::Execute(TExecQuery& query, int rows) {
    const int columns = int(FFields.size());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            TQueryParam& p = query.Params(r * columns + c);
            const int type = FFields[c].DataType;
            const TQXVariant value = ConvertValue(FPending[r][c], type);
            if (value.IsNull())
                p.SetNull(type);
            else
                p.SetValue(value);
        }
    query.Execute();
    FRows += rows;
    FPending.clear();
}

// ---- reading ----

namespace {

// The SQLite driver keeps a whole result in memory: its rows are read in
// pages in the order of a key an index serves, so memory stays one page. The
// key is the rowid under a name no column takes, else (WITHOUT ROWID tables,
// columns named like every rowid alias) the primary key.
constexpr int kSqlitePageRows = 20000;

// What paging needs to know of a table: its key, and the columns that may
// hold floating-point values (REAL and NUMERIC affinity, lower-cased).
struct TSqliteTable {
    QStringList Key;
    QSet<QString> Reals;
};

bool MayHoldReals(const QString& declaredType) {
    const QString t = declaredType.toUpper();
    // SQLite's affinity rules, in their order.
    if (t.contains(QLatin1String("INT"))) return false;
    for (const char* text : {"CHAR", "CLOB", "TEXT", "BLOB"})
        if (t.contains(QLatin1String(text))) return false;
    return !t.isEmpty();
}

QStringList SqlitePageKey(TDatabase& db, const QString& table, QSet<QString>& reals) {
    TSelectQuery master(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' "
                                           "AND name = :t COLLATE NOCASE"));
    master.ParamByName(QStringLiteral("t")).SetValue(table);
    master.Open();
    const QString sql = master.Eof() ? QString() : master.Fields().GetFields(0).AsString();
    master.Close();
    static const QRegularExpression withoutRowid(QStringLiteral("WITHOUT\\s+ROWID"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const bool hasRowid = !sql.mid(sql.lastIndexOf(u')')).contains(withoutRowid);
    TSelectQuery info(db, QStringLiteral("SELECT name, pk, type FROM pragma_table_info(:t)"));
    info.ParamByName(QStringLiteral("t")).SetValue(table);
    QSet<QString> columns;
    QMap<qint64, QString> primary;
    bool integerKey = false;
    for (info.Open(); !info.Eof(); info.Next()) {
        const QString name = info.Fields().GetFields(0).AsString();
        columns.insert(name.toLower());
        if (MayHoldReals(info.Fields().GetFields(2).AsString())) reals.insert(name.toLower());
        if (const qint64 pk = info.Fields().GetFields(1).AsInteger(); pk > 0) {
            primary.insert(pk, db.Dialect().Ident(name));
            integerKey = info.Fields().GetFields(2).AsString().compare(QLatin1String("INTEGER"),
                                                                       Qt::CaseInsensitive) == 0;
        }
    }
    // An INTEGER PRIMARY KEY is the rowid under the column's name: a column
    // the rows are read with anyway.
    if (hasRowid && primary.size() == 1 && integerKey) return primary.values();
    if (hasRowid)
        for (const char* alias : {"rowid", "_rowid_", "oid"})
            if (!columns.contains(QLatin1String(alias))) return {QLatin1String(alias)};
    return primary.values();
}

// The SQLite driver hands a REAL over as the engine's text of 15 digits, which
// changes most doubles that are no short decimal. Such values are read as
// texts of 19 digits, which read back as the same double, and parsed here.
QString ExactRealColumn(const QString& ident) {
    return QStringLiteral("CASE WHEN typeof(%1) = 'real' THEN printf('%!.19g', %1) ELSE %1 END")
        .arg(ident);
}

void ExactReal(TQXVariant& value) {
    if (value.Kind() != TQXVariant::vkString) return;
    const QString text = value.AsString();
    char digits[40];
    if (text.size() >= qsizetype(sizeof digits)) return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() >= 0x80) return;
        digits[i] = char(text[i].unicode());
    }
    double d = 0;
    const char* last = digits + text.size();
    const auto [end, ec] = std::from_chars(digits, last, d);
    if (ec == std::errc() && end == last) value = TQXVariant(d);
}

void ReadPages(TDatabase& db, const QString& table, const QStringList& fields,
               const QString& condition, const std::function<void(QList<TQXVariant>&)>& visit) {
    QSet<QString> reals;
    const QStringList key = SqlitePageKey(db, table, reals);
    const QString list = key.join(QStringLiteral(", "));
    QStringList names;
    QList<int> exact;  // positions in a row of columns read as exact texts
    for (const QString& f : fields) {
        if (reals.contains(f.toLower())) {
            exact << int(names.size());
            names << ExactRealColumn(db.Dialect().Ident(f));
        } else {
            names << db.Dialect().Ident(f);
        }
    }
    // Key columns the caller reads anyway are not read twice; the others lead.
    QStringList selected;
    for (const QString& k : key)
        if (!names.contains(k, Qt::CaseInsensitive)) selected << k;
    const qsizetype skip = selected.size();
    selected += names;
    QList<qsizetype> keyAt;
    for (const QString& k : key)
        keyAt << std::find_if(selected.cbegin(), selected.cend(), [&](const QString& c) {
                     return c.compare(k, Qt::CaseInsensitive) == 0;
                 }) - selected.cbegin();
    QStringList params;
    for (qsizetype i = 0; i < key.size(); ++i)
        params << QStringLiteral(":k%1").arg(i);
    const auto statement = [&](bool next) {
        QStringList where;
        if (next && !key.isEmpty())
            where << QStringLiteral("(%1) > (%2)").arg(list, params.join(QStringLiteral(", ")));
        if (!condition.trimmed().isEmpty()) where << QStringLiteral("(%1)").arg(condition);
        QString sql = QStringLiteral("SELECT %1 FROM %2")
                          .arg(selected.join(QStringLiteral(", ")), db.Dialect().Ident(table));
        if (!where.isEmpty())
            sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
        // Without any key (a table without a primary key whose columns take
        // every rowid name) the rows come in one read.
        if (!key.isEmpty())
            sql += QStringLiteral(" ORDER BY %1 LIMIT %2").arg(list).arg(kSqlitePageRows);
        return sql;
    };
    QList<TQXVariant> values, last;
    const auto page = [&](TSelectQuery& q) {
        int rows = 0;
        for (q.Open(); !q.Eof(); q.Next(), ++rows) {
            values.clear();
            for (int i = int(skip); i < q.FieldCount(); ++i)
                values.append(q.Fields().GetFields(i).Value());
            for (const int i : exact)
                ExactReal(values[i]);
            // Kept before the visit, which may take the values over.
            last.clear();
            for (const qsizetype at : keyAt)
                last.append(q.Fields().GetFields(int(at)).Value());
            visit(values);
        }
        q.Close();
        return rows;
    };
    TSelectQuery first(db, statement(false));
    if (page(first) < kSqlitePageRows || key.isEmpty()) return;
    TSelectQuery next(db, statement(true));
    do {
        for (qsizetype i = 0; i < key.size(); ++i)
            next.ParamByName(QStringLiteral("k%1").arg(i)).SetValue(last[i]);
    } while (page(next) == kSqlitePageRows);
}

}  // namespace

void ReadRows(TDatabase& db, const QString& table, const QStringList& fields,
              const QString& condition, const std::function<void(QList<TQXVariant>&)>& visit) {
    if (db.Dialect().Name() == QLatin1String("SQLite"))
        return ReadPages(db, table, fields, condition, visit);
    QStringList names;
    for (const QString& f : fields)
        names << db.Dialect().Ident(f);
    QString sql = QStringLiteral("SELECT %1 FROM %2")
                      .arg(names.join(QStringLiteral(", ")), db.Dialect().Ident(table));
    if (!condition.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
    TSelectQuery q(db, sql);
    QList<TQXVariant> values;
    for (q.Open(); !q.Eof(); q.Next()) {
        values.clear();
        for (int i = 0; i < q.FieldCount(); ++i)
            values.append(q.Fields().GetFields(i).Value());
        visit(values);
    }
}

qint64 Pump(TDatabase& from, const QString& sourceTable, const QStringList& sourceFields,
            const QString& condition, TDatabase& to, const QString& targetTable,
            const QList<TDicFieldDescription>& targetFields, const std::function<void()>& step) {
    TRowInserter inserter(to, targetTable, targetFields);
    ReadRows(from, sourceTable, sourceFields, condition, [&](QList<TQXVariant>& values) {
        inserter.Add(values);
        if (inserter.Rows() % 1000 == 0) step();
    });
    inserter.Flush();
    TDicTableDescription target;
    if (to.DescribeTable(targetTable, target)) to.Dialect().AfterRowsCopied(to, target);
    return inserter.Rows();
}

bool IsSystemTable(const QString& table) {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const TDicTableDescription& t : SystemTableDefinitions(false, QStringLiteral("LOG")))
            set.insert(t.Name.toUpper());
        return set;
    }();
    return names.contains(table.toUpper());
}

}  // namespace DBTransfer
