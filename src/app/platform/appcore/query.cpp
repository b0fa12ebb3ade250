#include "query.h"

#include "dialect.h"
#include "odbc/odbcapi.h"
#include "odbc/odbctypes.h"
#include "sqlparams.h"

struct TQuery::TParamBuffer {
    QByteArray Data;
    SQLLEN Ind = 0;
    SQLBIGINT Int = 0;
    double Dbl = 0;
    unsigned char Bit = 0;
    SQL_TIMESTAMP_STRUCT Ts{};
    SQL_DATE_STRUCT Date{};
};

TQuery::TQuery(TDatabase& db, const QString& sql) : FDb(db), FSql(sql) {
    // A disconnected database refuses the statement at Prepare anyway.
    TSqlParameterText parsed =
        ParseSqlParameters(sql, db.Connected() && db.Dialect().MarksInComments());
    FNativeSql = parsed.NativeSql;
    // Statements of a few hundred parameters are common (IN lists): names are
    // found through a case-folded index, not by scanning.
    for (const QString& name : parsed.Names) {
        const QString key = name.toCaseFolded();
        auto at = FParamIndex.constFind(key);
        if (at == FParamIndex.constEnd()) {
            at = FParamIndex.insert(key, int(FParams.size()));
            FParams.push_back(std::make_unique<TQueryParam>(name));
        }
        FPositions.push_back(*at);
    }
}

TQuery::~TQuery() {
    FreeStatement();
}

void TQuery::FreeStatement() {
    if (FStmt != nullptr) {
        Odbc().SQLFreeHandle(SQL_HANDLE_STMT, FStmt);
        FStmt = nullptr;
    }
    FPrepared = false;
}

TQueryParam* TQuery::FindParam(const QString& name) {
    const auto at = FParamIndex.constFind(name.toCaseFolded());
    return at == FParamIndex.constEnd() ? nullptr : FParams[size_t(*at)].get();
}

TQueryParam& TQuery::ParamByName(const QString& name) {
    if (TQueryParam* p = FindParam(name)) return *p;
    throw EDatabaseError(
        QStringLiteral("Parameter '%1' not found in the statement:\n%2").arg(name, FSql));
}

void TQuery::Prepare() {
    if (FPrepared) return;
    if (!FDb.Connected())
        throw EDatabaseError(QStringLiteral("Database %1 is not connected").arg(FDb.Alias()));
    const TOdbcApi& api = Odbc();
    OdbcCheck(api.SQLAllocHandle(SQL_HANDLE_STMT, FDb.Handle(), &FStmt), SQL_HANDLE_DBC,
              FDb.Handle(),
              QStringLiteral("Can not allocate a statement for database %1").arg(FDb.Alias()));
    QByteArray text = FNativeSql.toUtf8();
    const SQLRETURN rc =
        api.SQLPrepare(FStmt, reinterpret_cast<SQLCHAR*>(text.data()), SQLINTEGER(text.size()));
    if (!OdbcOk(rc)) {
        QString state;
        const QString diag = OdbcDiagnostics(SQL_HANDLE_STMT, FStmt, &state);
        FreeStatement();
        throw EDatabaseError(QStringLiteral("Error in the statement for database %1:\n%2\n%3")
                                 .arg(FDb.Alias(), diag, FSql),
                             state);
    }
    FPrepared = true;
}

void TQuery::BindAndExecute() {
    Prepare();
    const TOdbcApi& api = Odbc();
    api.SQLFreeStmt(FStmt, SQL_RESET_PARAMS);
    FBuffers.clear();
    for (size_t pos = 0; pos < FPositions.size(); ++pos) {
        const TQueryParam& p = *FParams[size_t(FPositions[pos])];
        auto buf = std::make_unique<TParamBuffer>();
        SQLSMALLINT cType = SQL_C_CHAR, sqlType = SQL_VARCHAR, digits = 0;
        SQLULEN colSize = 1;
        SQLPOINTER value = nullptr;
        SQLLEN bufLen = 0;
        const TQXVariant& v = p.Value();
        switch (v.Kind()) {
            case TQXVariant::vkNull:
                sqlType = SqlTypeForNull(p.DataType(), BinaryParameterType(FDb.Dialect()));
                cType = sqlType == BinaryParameterType(FDb.Dialect()) ? SQL_C_BINARY : SQL_C_CHAR;
                buf->Ind = SQL_NULL_DATA;
                if (sqlType == SQL_TYPE_TIMESTAMP) colSize = 23, digits = 3;
                break;
            case TQXVariant::vkInteger:
                cType = SQL_C_SBIGINT;
                sqlType = SQL_BIGINT;
                buf->Int = v.AsInteger();
                value = &buf->Int;
                colSize = 19;
                break;
            case TQXVariant::vkFloat:
                cType = SQL_C_DOUBLE;
                sqlType = SQL_DOUBLE;
                buf->Dbl = v.AsFloat();
                value = &buf->Dbl;
                colSize = 15;
                break;
            case TQXVariant::vkBoolean:
                cType = SQL_C_BIT;
                sqlType = SQL_BIT;
                buf->Bit = v.AsBoolean() ? 1 : 0;
                value = &buf->Bit;
                break;
            case TQXVariant::vkDate: {
                const QDate d = v.AsDate();
                buf->Date = SQL_DATE_STRUCT{SQLSMALLINT(d.year()), SQLUSMALLINT(d.month()),
                                            SQLUSMALLINT(d.day())};
                cType = SQL_C_TYPE_DATE;
                sqlType = SQL_TYPE_DATE;
                value = &buf->Date;
                colSize = 10;
                break;
            }
            case TQXVariant::vkDateTime:
                buf->Ts = ToTimestamp(v.AsDateTime());
                cType = SQL_C_TYPE_TIMESTAMP;
                sqlType = SQL_TYPE_TIMESTAMP;
                value = &buf->Ts;
                colSize = 23;
                digits = 3;
                break;
            case TQXVariant::vkBinary:
                buf->Data = v.AsBinary();
                cType = SQL_C_BINARY;
                sqlType = BinaryParameterType(FDb.Dialect());
                value = buf->Data.data();
                bufLen = buf->Ind = buf->Data.size();
                colSize = SQLULEN(qMax<qsizetype>(buf->Data.size(), 1));
                break;
            case TQXVariant::vkString:
                buf->Data = v.AsString().toUtf8();
                sqlType = buf->Data.size() > 4000 ? SQL_LONGVARCHAR : SQL_VARCHAR;
                value = buf->Data.data();
                bufLen = buf->Ind = buf->Data.size();
                colSize = SQLULEN(qMax<qsizetype>(buf->Data.size(), 1));
                break;
        }
        if (v.Kind() != TQXVariant::vkNull && v.Kind() != TQXVariant::vkBinary &&
            v.Kind() != TQXVariant::vkString)
            buf->Ind = 0;
        if (p.Streamed()) {
            // Sent in chunks when the driver asks (SQLParamData hands back the token).
            cType = p.StreamBinary() ? SQL_C_BINARY : SQL_C_CHAR;
            sqlType = p.StreamBinary() ? BinaryParameterType(FDb.Dialect()) : SQL_LONGVARCHAR;
            colSize = SQLULEN(qMax<qint64>(p.StreamLength(), 1));
            value = const_cast<TQueryParam*>(&p);
            bufLen = 0;
            buf->Ind = SQL_LEN_DATA_AT_EXEC(SQLLEN(p.StreamLength()));
        }
        const SQLRETURN rc =
            api.SQLBindParameter(FStmt, SQLUSMALLINT(pos + 1), SQL_PARAM_INPUT, cType, sqlType,
                                 colSize, digits, value, bufLen, &buf->Ind);
        OdbcCheck(rc, SQL_HANDLE_STMT, FStmt,
                  [&] { return QStringLiteral("Can not bind parameter '%1'").arg(p.Name()); });
        FBuffers.push_back(std::move(buf));
    }
    SQLRETURN rc = api.SQLExecute(FStmt);
    if (rc == SQL_NEED_DATA) rc = PutStreamedData();
    if (!OdbcOk(rc) && rc != SQL_NO_DATA) {
        QString state;
        const QString diag = OdbcDiagnostics(SQL_HANDLE_STMT, FStmt, &state);
        api.SQLFreeStmt(FStmt, SQL_CLOSE);
        throw EDatabaseError(QStringLiteral("Error executing a statement in database %1:\n%2\n%3")
                                 .arg(FDb.Alias(), diag, FSql),
                             state);
    }
}

qint64 TExecQuery::Execute() {
    BindAndExecute();
    SQLLEN count = -1;
    if (!OdbcOk(Odbc().SQLRowCount(FStmt, &count))) count = -1;
    Odbc().SQLFreeStmt(FStmt, SQL_CLOSE);
    return count;
}
