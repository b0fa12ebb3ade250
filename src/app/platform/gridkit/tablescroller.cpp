#include "tablescroller.h"

#include <algorithm>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"

TTableScroller::TTableScroller(TDatabase& db, QString table, int pageRows, int maxPages)
    : FDb(db),
      FTable(std::move(table)),
      FPageRows(qMax(pageRows, 1)),
      FMaxPages(qMax(maxPages, 2)) {}

TTableScroller::~TTableScroller() = default;

void TTableScroller::SetDescription(const TDicTableDescription& description) {
    FDesc = description;
}

void TTableScroller::ChooseKey() {
    FKeyFields.clear();
    FRowid = false;
    if (FPositional) return;
    FRowid = FDb.Dialect().Name() == QStringLiteral("SQLite");
    if (FRowid) {
        FKeyFields << QStringLiteral("ROWID");
        return;
    }
    const TDicIndexDescription* key = FDesc.PrimaryIndex();
    for (const auto& index : FDesc.Indexes)
        if (!key && index.Unique) key = &index;
    if (!key || key->Fields.isEmpty())
        throw EDatabaseError(
            LString(QStringLiteral("M_Pelvar_TblDatas_NoRecordID")).arg(FTable, FDb.Alias()));
    FKeyFields = key->Fields;
}

QString TTableScroller::KeyExpression(int i) const {
    return FRowid ? QStringLiteral("rowid") : FDb.Dialect().Ident(FKeyFields[i]);
}

QString TTableScroller::KeyCondition() const {
    QStringList parts;
    for (int i = 0; i < FKeyFields.size(); ++i)
        parts << QStringLiteral("%1 = :K%2").arg(KeyExpression(i)).arg(i);
    return parts.join(QStringLiteral(" AND "));
}

void TTableScroller::BindKey(TQuery& query, const QList<TQXVariant>& key) const {
    for (int i = 0; i < FKeyFields.size() && i < key.size(); ++i)
        query.ParamByName(QStringLiteral("K%1").arg(i)).SetValue(key[i]);
}

void TTableScroller::Open() {
    ChooseKey();
    FActive = true;
    Refresh();
    FRowCount = 0;
    FCountKnown = false;
    FillPage(0);
}

QString TTableScroller::SelectList() const {
    const TSqlDialect& d = FDb.Dialect();
    QStringList cols;
    for (int i = 0; i < FKeyFields.size(); ++i)
        cols << KeyExpression(i);
    for (const auto& f : FDesc.Fields) {
        const QString name = d.Ident(f.Name);
        if (IsBlobDataType(f.DataType))
            cols << QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE 1 END").arg(name);
        else if (f.DataType == dtMemo)
            cols << QStringLiteral("SUBSTR(%1, 1, %2)").arg(name).arg(kPreviewChars);
        else
            cols << name;
    }
    return cols.join(QStringLiteral(", "));
}

QList<TTableScroller::TOrderCol> TTableScroller::Ordering() const {
    QList<TOrderCol> cols;
    if (FSortField >= 0) {
        const auto& f = FDesc.Fields[FSortField];
        cols << TOrderCol{FDb.Dialect().Ident(f.Name), !f.Required, FSortField};
    }
    for (int i = 0; i < FKeyFields.size(); ++i)
        cols << TOrderCol{KeyExpression(i), false, -1};
    return cols;
}

// NULL sorts below every value in SQLite and most engines, above them in
// PostgreSQL; a keyset condition has to know where the NULLs come.
bool TTableScroller::NullsFirst(bool sqlAscending) const {
    const bool nullsLow = FDb.Dialect().Name() != QStringLiteral("PostgreSQL");
    return nullsLow == sqlAscending;
}

QString TTableScroller::OrderBy(bool forward) const {
    const bool sqlAsc = forward == FAscending;
    QStringList parts;
    for (const auto& c : Ordering())
        parts << c.Expr + (sqlAsc ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    return parts.join(QStringLiteral(", "));
}

QString TTableScroller::AfterFrom(int i, const TScrollerRow& row, bool forward,
                                  QList<TQXVariant>& params) const {
    const QList<TOrderCol> cols = Ordering();
    const TOrderCol& c = cols[i];
    const bool sqlAsc = forward == FAscending;
    const QString op = sqlAsc ? QStringLiteral(">") : QStringLiteral("<");
    const int keyIndex = i - (FSortField >= 0 ? 1 : 0);
    const TQXVariant v = c.Field >= 0 ? row.Values[c.Field] : row.Key[keyIndex];
    const bool last = i + 1 == cols.size();
    const bool nullsFirst = NullsFirst(sqlAsc);
    if (v.IsNull()) {
        // Only the sort column can be NULL, and a key column always follows it.
        const QString inNulls = QStringLiteral("(%1 IS NULL AND %2)")
                                    .arg(c.Expr, AfterFrom(i + 1, row, forward, params));
        return nullsFirst ? QStringLiteral("(%1 OR %2 IS NOT NULL)").arg(inNulls, c.Expr) : inNulls;
    }
    const QString p = QStringLiteral(":P%1").arg(params.size());
    params << v;
    // The range form (c >= v AND ...) lets the engine walk an index on c.
    QString s = last ? QStringLiteral("%1 %2 %3").arg(c.Expr, op, p)
                     : QStringLiteral("(%1 %2= %3 AND (%1 %2 %3 OR %4))")
                           .arg(c.Expr, op, p, AfterFrom(i + 1, row, forward, params));
    if (c.Nullable && !nullsFirst) s = QStringLiteral("(%1 OR %2 IS NULL)").arg(s, c.Expr);
    return s;
}

QString TTableScroller::AfterCondition(const TScrollerRow& row, bool forward,
                                       QList<TQXVariant>& params) const {
    return AfterFrom(0, row, forward, params);
}

std::vector<TScrollerRow> TTableScroller::Read(const QString& where,
                                               const QList<TQXVariant>& params, bool forward,
                                               qint64 limit, qint64 offset) {
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(SelectList(), FDb.Dialect().Ident(FTable));
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    const QString order = OrderBy(forward);
    if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order;
    sql += QStringLiteral(" LIMIT %1").arg(limit);
    if (offset > 0) sql += QStringLiteral(" OFFSET %1").arg(offset);
    TSelectQuery q(FDb, sql);
    for (int i = 0; i < params.size(); ++i)
        q.ParamByName(QStringLiteral("P%1").arg(i)).SetValue(params[i]);
    std::vector<TScrollerRow> rows;
    rows.reserve(size_t(limit));
    const int keys = int(FKeyFields.size());
    for (q.Open(); !q.Eof(); q.Next()) {
        TScrollerRow r;
        const TRecord& f = q.Fields();
        for (int i = 0; i < f.GetFieldCount(); ++i)
            (i < keys ? r.Key : r.Values) << f.GetFields(i).Value();
        if (FPositional) r.Key << TQXVariant(offset + qint64(rows.size()));
        rows.push_back(std::move(r));
    }
    return rows;
}

void TTableScroller::FillPage(qint64 p) {
    const qint64 first = p * FPageRows;
    qint64 end = first + FPageRows;
    if (FCountKnown) end = qMin(end, FRowCount);
    if (end <= first) return;
    // The nearest place we can start from: the first row, a page in memory,
    // or the last row once the count is known.
    qint64 bestDistance = first;
    qint64 anchor = -1;  // -1: the first row; -2: the end
    if (FCountKnown && FRowCount - end < bestDistance) {
        bestDistance = FRowCount - end;
        anchor = -2;
    }
    for (const auto& [q, page] : FPages) {
        const qint64 d =
            q < p ? first - (q * FPageRows + qint64(page.Rows.size())) : q * FPageRows - end;
        if (!page.Rows.empty() && d >= 0 && d < bestDistance) {
            bestDistance = d;
            anchor = q;
        }
    }
    std::vector<TScrollerRow> rows;
    QList<TQXVariant> params;
    if (FPositional) {
        anchor = -1;
        rows = Read(QString(), params, true, end - first, first);
    } else if (anchor == -1) {
        rows = Read(QString(), params, true, end - first, first);
    } else if (anchor == -2 || anchor > p) {
        const QString where =
            anchor == -2 ? QString() : AfterCondition(FPages[anchor].Rows.front(), false, params);
        rows = Read(where, params, false, end - first, bestDistance);
        std::reverse(rows.begin(), rows.end());
    } else {
        rows = Read(AfterCondition(FPages[anchor].Rows.back(), true, params), params, true,
                    end - first, bestDistance);
    }
    ++FPagesRead;
    if (!FCountKnown) {
        FRowCount = qMax(FRowCount, first + qint64(rows.size()));
        // A short page read forwards is the end of the table.
        if (qint64(rows.size()) < FPageRows && (anchor == -1 || anchor < p)) FCountKnown = true;
    }
    TPage& page = FPages[p];
    page.Rows = std::move(rows);
    FUse.push_front(p);
    page.Use = FUse.begin();
    Evict();
}

void TTableScroller::Touch(TPage& page, qint64 number) {
    FUse.erase(page.Use);
    FUse.push_front(number);
    page.Use = FUse.begin();
}

void TTableScroller::Evict() {
    while (int(FPages.size()) > FMaxPages) {
        FPages.erase(FUse.back());
        FUse.pop_back();
    }
}

const TScrollerRow* TTableScroller::Row(qint64 index) {
    if (!FActive || index < 0 || index >= FRowCount) return nullptr;
    const qint64 p = index / FPageRows;
    auto it = FPages.find(p);
    if (it == FPages.end()) {
        FillPage(p);
        it = FPages.find(p);
        if (it == FPages.end()) return nullptr;
    } else {
        Touch(it->second, p);
    }
    const qint64 at = index - p * FPageRows;
    return at < qint64(it->second.Rows.size()) ? &it->second.Rows[size_t(at)] : nullptr;
}

QString TTableScroller::CountSQL() const {
    return QStringLiteral("SELECT COUNT(*) FROM %1").arg(FDb.Dialect().Ident(FTable));
}

void TTableScroller::FetchCount() {
    if (!FActive || FCountKnown) return;
    TSelectQuery q(FDb, CountSQL());
    q.Open();
    SetCount(q.Eof() ? 0 : q.Fields().GetFields(0).AsInteger());
}

void TTableScroller::SetCount(qint64 rows) {
    if (!FActive) return;
    FRowCount = rows;
    FCountKnown = true;
}

bool TTableScroller::CanSort(int field) const {
    if (FPositional || field < 0 || field >= FDesc.Fields.size()) return false;
    const auto& f = FDesc.Fields[field];
    if (!IsSortableDataType(f.DataType)) return false;
    for (const auto& index : FDesc.Indexes)
        if (!index.Fields.isEmpty() && index.Fields[0].compare(f.Name, Qt::CaseInsensitive) == 0)
            return true;
    return FKeyFields.size() == 1 && FKeyFields[0].compare(f.Name, Qt::CaseInsensitive) == 0;
}

void TTableScroller::SetSort(int field, bool ascending) {
    FSortField = CanSort(field) ? field : -1;
    FAscending = ascending;
    FPages.clear();
    FUse.clear();
}

void TTableScroller::Refresh(qint64 countDelta) {
    FPages.clear();
    FUse.clear();
    if (FCountKnown) FRowCount = qMax<qint64>(0, FRowCount + countDelta);
}

void TTableScroller::InvalidateRow(qint64 index) {
    const auto it = FPages.find(index / FPageRows);
    if (it == FPages.end()) return;
    FUse.erase(it->second.Use);
    FPages.erase(it);
}
