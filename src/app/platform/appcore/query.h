#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "basekit/record.h"
#include "basekit/variant.h"
#include "database.h"

// A named parameter (":name" in the statement text).
class TQueryParam {
  public:
    explicit TQueryParam(QString name) : FName(std::move(name)) {}
    const QString& Name() const { return FName; }
    const TQXVariant& Value() const { return FValue; }
    void SetValue(const TQXVariant& value) { FValue = value; }
    void SetNull(int dataTypeHint = -1) {
        FValue = TQXVariant();
        FDataType = dataTypeHint;
    }
    // The column type a NULL stands for (TDataType code), so that strict engines
    // accept it; -1 when unknown.
    int DataType() const { return FDataType; }
    void SetDataType(int dataType) { FDataType = dataType; }

    // Fills `buffer` with up to `size` next bytes of a streamed value and
    // returns how many; raises to stop the statement.
    using TSource = std::function<qint64(char* buffer, qint64 size)>;
    // The value is `length` bytes read from `source` in chunks while the
    // statement runs (binary, or UTF-8 text), never held whole in memory.
    void SetStream(TSource source, qint64 length, bool binary) {
        FValue = TQXVariant();
        FSource = std::move(source);
        FStreamLength = length;
        FStreamBinary = binary;
    }
    bool Streamed() const { return bool(FSource); }
    const TSource& Source() const { return FSource; }
    qint64 StreamLength() const { return FStreamLength; }
    bool StreamBinary() const { return FStreamBinary; }

  private:
    QString FName;
    TQXVariant FValue;
    int FDataType = -1;
    TSource FSource;
    qint64 FStreamLength = 0;
    bool FStreamBinary = true;
};

// A statement on one database with named parameters. Prepared once, executed
// as often as needed with new parameter values.
class TQuery {
  public:
    TQuery(TDatabase& db, const QString& sql);
    virtual ~TQuery();
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    TDatabase& Database() const { return FDb; }
    const QString& SQL() const { return FSql; }
    // The statement as sent to the driver (parameters replaced by "?").
    const QString& NativeSQL() const { return FNativeSql; }
    int ParamCount() const { return int(FParams.size()); }
    TQueryParam& Params(int index) { return *FParams[size_t(index)]; }
    TQueryParam* FindParam(const QString& name);
    // Raises EDatabaseError "Parameter 'x' not found" for an unknown name.
    TQueryParam& ParamByName(const QString& name);

  protected:
    void Prepare();
    void BindAndExecute();
    // Hands the streamed parameters their data when the driver asks for it;
    // returns the statement's final return code.
    short PutStreamedData();
    void FreeStatement();
    void* FStmt = nullptr;  // the driver's statement handle (an SQLHSTMT)

  private:
    struct TParamBuffer;
    TDatabase& FDb;
    QString FSql;
    QString FNativeSql;
    std::vector<std::unique_ptr<TQueryParam>> FParams;
    QHash<QString, int> FParamIndex;  // case-folded name -> FParams index
    std::vector<int> FPositions;      // parameter index for each "?" in order
    std::vector<std::unique_ptr<TParamBuffer>> FBuffers;
    bool FPrepared = false;
};

// INSERT, UPDATE, DELETE and DDL.
class TExecQuery : public TQuery {
  public:
    using TQuery::TQuery;
    // Returns the number of rows affected (-1 when the driver cannot tell).
    qint64 Execute();
};

struct TResultColumn {
    QString Name;
    int SqlType = 0;  // as the driver reports it
    quint64 ColumnSize = 0;
    int DecimalDigits = 0;
    bool Nullable = true;
    int DataType = 0;  // TDataType code
};

// One long value (the first column of the first row) read in chunks into a
// sink, so a value of any size is never held whole in memory.
class TLongValueQuery : public TQuery {
  public:
    using TQuery::TQuery;
    using TSink = std::function<void(const char* data, qint64 size)>;
    // False when there is no row; `isNull` tells a NULL value. Binary reads
    // bytes, otherwise text as UTF-8.
    bool ReadInto(bool binary, const TSink& sink, bool& isNull);
};

// A SELECT read row by row, forward only. Rows are fetched from the driver in
// blocks where the result allows it, and long values in chunks, so a large
// result is never held in memory as a whole.
class TSelectQuery : public TQuery {
  public:
    TSelectQuery(TDatabase& db, const QString& sql);
    ~TSelectQuery() override;

    void Open();
    void Close();
    bool Active() const { return FActive; }
    bool Eof() const { return FEof; }
    void Next();
    qint64 RowsFetched() const { return FRowsFetched; }

    int FieldCount() const { return int(FColumns.size()); }
    const TResultColumn& Column(int index) const { return FColumns[size_t(index)]; }
    // The current row.
    TRecord& Fields() { return FRow; }
    TField& FieldByName(const QString& name) { return FRow.FieldByName(name); }

    // Rows per block when block fetching is possible.
    static constexpr int kBlockRows = 256;

  private:
    struct TBlock;
    void Describe();
    void FetchRow();
    void ReadColumnsOfCurrentRow();
    bool FillFromBlock();
    // Reads one column of the current row whole, in chunks.
    void ReadLongValue(int column, short cType, TField& f);  // cType: an SQL_C_ type
    std::vector<TResultColumn> FColumns;
    TRecord FRow;
    std::unique_ptr<TBlock> FBlock;
    bool FActive = false;
    bool FEof = true;
    qint64 FRowsFetched = 0;
};
