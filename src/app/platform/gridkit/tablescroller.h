#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <list>
#include <map>
#include <vector>

#include "appcore/tabledesc.h"
#include "basekit/variant.h"

class TDatabase;
class TQuery;

// One row as the grid shows it: its record ID (the key values) and the shown
// values. A long text holds its first kPreviewChars characters; a BLOB holds
// 1 when it has a value (NULL otherwise): the whole value is read on demand.
struct TScrollerRow {
    QList<TQXVariant> Key;
    QList<TQXVariant> Values;
};

// Reads a table's rows a page at a time by key, never the whole table: pages
// follow one another by keyset conditions (`key > last ORDER BY key LIMIT n`),
// the end is read backwards (`ORDER BY key DESC`), and a far page is reached
// from the nearest page in memory with an offset. At most MaxPages() pages are
// kept; the least recently used goes first. The key is SQLite's rowid, else the
// primary key, else the first unique index.
class TTableScroller {
  public:
    // A page a little over a screen: the first screen waits for one page only.
    static constexpr int kDefaultPageRows = 64;
    static constexpr int kDefaultMaxPages = 32;
    static constexpr int kPreviewChars = 1000;

    TTableScroller(TDatabase& db, QString table, int pageRows = kDefaultPageRows,
                   int maxPages = kDefaultMaxPages);
    ~TTableScroller();
    TTableScroller(const TTableScroller&) = delete;
    TTableScroller& operator=(const TTableScroller&) = delete;

    // The physical description: the fields shown (in this order) and the
    // indexes that give the key and the sortable fields. Set before Open.
    void SetDescription(const TDicTableDescription& description);
    const QList<TDicFieldDescription>& Fields() const { return FDesc.Fields; }
    // A view has no key: its rows are read by position (LIMIT and OFFSET, in
    // the engine's order), it cannot be sorted or searched, and a row's record
    // ID is its position. Set before Open.
    void SetPositional(bool positional) { FPositional = positional; }
    bool Positional() const { return FPositional; }
    // Chooses the key and reads the first page. Raises EDatabaseError when the
    // table has no key to page by.
    void Open();
    bool Active() const { return FActive; }
    TDatabase& Database() const { return FDb; }
    const QString& TableName() const { return FTable; }
    // The record-ID fields; "ROWID" alone for SQLite.
    const QStringList& RecordIDFields() const { return FKeyFields; }
    bool KeyIsRowid() const { return FRowid; }

    // Rows known so far; exact once CountKnown().
    qint64 RowCount() const { return FRowCount; }
    bool CountKnown() const { return FCountKnown; }
    void FetchCount();
    // The statement that counts the rows (for a count on another connection),
    // and its result handed back.
    QString CountSQL() const;
    void SetCount(qint64 rows);
    // A row, its page read when needed; nullptr past the end (the table shrank).
    const TScrollerRow* Row(qint64 index);

    int PageRows() const { return FPageRows; }
    int MaxPages() const { return FMaxPages; }
    int CachedPages() const { return int(FPages.size()); }
    qint64 PagesRead() const { return FPagesRead; }

    // Sorting by a field needs an index that begins with it.
    bool CanSort(int field) const;
    // -1 goes back to key order. Forgets the cached pages.
    void SetSort(int field, bool ascending);
    int SortField() const { return FSortField; }
    bool SortAscending() const { return FAscending; }

    // Position of the record in the current order; -1 when it is gone.
    qint64 IndexOfKey(const QList<TQXVariant>& key);
    // The next row after `from` (before it when backwards) whose field matches
    // the value: a text begins with it ignoring case, other types are equal.
    // `from` -1 forwards starts at the first row. -1 when there is none.
    qint64 Locate(int field, const TQXVariant& value, qint64 from, bool forward);
    // One field's whole value (long texts and BLOBs included).
    TQXVariant FullValue(const QList<TQXVariant>& key, int field);

    // After a write: forget every page; `countDelta` corrects a known count
    // (an insert or a delete) without counting again.
    void Refresh(qint64 countDelta = 0);
    // After a write that moves no row: read the row's page again when shown.
    void InvalidateRow(qint64 index);

    // The condition that picks one record by its key, with parameters
    // :K0, :K1, ... (for the writer).
    QString KeyCondition() const;
    void BindKey(TQuery& query, const QList<TQXVariant>& key) const;
    QString KeyExpression(int i) const;

  private:
    struct TPage {
        std::vector<TScrollerRow> Rows;
        std::list<qint64>::iterator Use;
    };
    struct TOrderCol {
        QString Expr;
        bool Nullable = false;
        int Field = -1;  // value index in the row, -1 for a key column
    };
    void ChooseKey();
    QString SelectList() const;
    QString OrderBy(bool forward) const;
    QString AfterCondition(const TScrollerRow& row, bool forward, QList<TQXVariant>& params) const;
    QString AfterFrom(int col, const TScrollerRow& row, bool forward,
                      QList<TQXVariant>& params) const;
    std::vector<TScrollerRow> Read(const QString& where, const QList<TQXVariant>& params,
                                   bool forward, qint64 limit, qint64 offset);
    void FillPage(qint64 page);
    void Touch(TPage& page, qint64 number);
    void Evict();
    QList<TOrderCol> Ordering() const;
    bool NullsFirst(bool forward) const;

    TDatabase& FDb;
    QString FTable;
    TDicTableDescription FDesc;
    int FPageRows;
    int FMaxPages;
    bool FActive = false;
    bool FRowid = false;
    bool FPositional = false;
    QStringList FKeyFields;
    qint64 FRowCount = 0;
    bool FCountKnown = false;
    int FSortField = -1;
    bool FAscending = true;
    std::map<qint64, TPage> FPages;
    std::list<qint64> FUse;  // most recent first
    qint64 FPagesRead = 0;
};
