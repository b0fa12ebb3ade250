#include "dialect.h"

#include <QSet>

#include "basekit/datatypes.h"
#include "database.h"
#include "query.h"

namespace {

const QSet<QString>& ReservedWords() {
    static const QSet<QString> words = {
        "ALL",    "AND",        "AS",     "ASC",     "BETWEEN",    "BY",      "CASE",   "CHECK",
        "COLUMN", "CONSTRAINT", "CREATE", "CROSS",   "DEFAULT",    "DELETE",  "DESC",   "DISTINCT",
        "DROP",   "ELSE",       "END",    "EXISTS",  "FOR",        "FOREIGN", "FROM",   "FULL",
        "GROUP",  "HAVING",     "IN",     "INDEX",   "INNER",      "INSERT",  "INTO",   "IS",
        "JOIN",   "KEY",        "LEFT",   "LIKE",    "LIMIT",      "NOT",     "NULL",   "ON",
        "OR",     "ORDER",      "OUTER",  "PRIMARY", "REFERENCES", "RIGHT",   "SELECT", "SET",
        "TABLE",  "THEN",       "TO",     "UNION",   "UNIQUE",     "UPDATE",  "USER",   "USING",
        "VALUES", "WHEN",       "WHERE",  "WITH"};
    return words;
}

bool IsPlainIdentifier(const QString& name) {
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_'))) return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'))) return false;
    return !ReservedWords().contains(name.toUpper());
}

bool PgRelationExists(TDatabase& db, const char* kinds, const QString& name);

bool Exists(TDatabase& db, const QString& sql, const QString& name) {
    TSelectQuery q(db, sql);
    q.ParamByName(QStringLiteral("name")).SetValue(name);
    q.Open();
    return !q.Eof();
}

bool PgRelationExists(TDatabase& db, const char* kinds, const QString& name) {
    return Exists(db,
                  QStringLiteral("SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace "
                                 "n ON n.oid = c.relnamespace "
                                 "WHERE c.relkind IN (%1) AND n.nspname = current_schema() AND "
                                 "upper(c.relname) = upper(:name)")
                      .arg(QLatin1String(kinds)),
                  name);
}

[[noreturn]] void UnknownType(const TDicFieldDescription& f) {
    throw EDatabaseError(
        QStringLiteral("Field %1 has an unknown data type code %2").arg(f.Name).arg(f.DataType));
}

// SQLite: the embedded engine. No sequences or procedures; generators live in a
// table of our own.
class TSqliteDialect final : public TSqlDialect {
  public:
    QString Name() const override { return QStringLiteral("SQLite"); }
    TTypeNames TypeNames() const override {
        TTypeNames n;
        n.Float = QStringLiteral("DOUBLE");
        n.AutoIncKey = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        return n;
    }

    bool TableExists(TDatabase& db, const QString& t) const override {
        return Exists(
            db,
            QStringLiteral(
                "SELECT 1 FROM sqlite_master WHERE type = 'table' AND upper(name) = upper(:name)"),
            t);
    }
    bool ViewExists(TDatabase& db, const QString& v) const override {
        return Exists(
            db,
            QStringLiteral(
                "SELECT 1 FROM sqlite_master WHERE type = 'view' AND upper(name) = upper(:name)"),
            v);
    }
    bool GeneratorExists(TDatabase& db, const QString& g) const override {
        if (!TableExists(db, kGenTable)) return false;
        return Exists(
            db,
            QStringLiteral("SELECT 1 FROM %1 WHERE GENERATOR_NAME = upper(:name)").arg(kGenTable),
            g);
    }
    bool ExecProcExists(TDatabase&, const QString&) const override { return false; }
    bool SelectProcExists(TDatabase&, const QString&) const override { return false; }
    bool SupportsStoredProcedures() const override { return false; }

    void CreateGenerator(TDatabase& db, const QString& g, qint64 start) const override {
        db.ExecDirect(
            QStringLiteral(
                "CREATE TABLE IF NOT EXISTS %1 (GENERATOR_NAME VARCHAR(64) NOT NULL PRIMARY KEY, "
                "GENERATOR_VALUE BIGINT NOT NULL)")
                .arg(kGenTable));
        TExecQuery q(db,
                     QStringLiteral("INSERT OR REPLACE INTO %1 (GENERATOR_NAME, GENERATOR_VALUE) "
                                    "VALUES (upper(:name), :value)")
                         .arg(kGenTable));
        q.ParamByName(QStringLiteral("name")).SetValue(g);
        q.ParamByName(QStringLiteral("value")).SetValue(start);
        q.Execute();
    }
    void DropGenerator(TDatabase& db, const QString& g) const override {
        if (!TableExists(db, kGenTable)) return;
        TExecQuery q(
            db,
            QStringLiteral("DELETE FROM %1 WHERE GENERATOR_NAME = upper(:name)").arg(kGenTable));
        q.ParamByName(QStringLiteral("name")).SetValue(g);
        q.Execute();
    }
    qint64 GeneratorNext(TDatabase& db, const QString& g, qint64 increment) const override {
        if (!GeneratorExists(db, g))
            throw EDatabaseError(
                QStringLiteral("Generator %1 does not exist in database %2").arg(g, db.Alias()));
        TExecQuery up(db, QStringLiteral("UPDATE %1 SET GENERATOR_VALUE = GENERATOR_VALUE + :inc "
                                         "WHERE GENERATOR_NAME = upper(:name)")
                              .arg(kGenTable));
        up.ParamByName(QStringLiteral("inc")).SetValue(increment);
        up.ParamByName(QStringLiteral("name")).SetValue(g);
        up.Execute();
        TSelectQuery sel(
            db, QStringLiteral("SELECT GENERATOR_VALUE FROM %1 WHERE GENERATOR_NAME = upper(:name)")
                    .arg(kGenTable));
        sel.ParamByName(QStringLiteral("name")).SetValue(g);
        sel.Open();
        return sel.Fields().GetFields(0).AsInteger();
    }
    SQLSMALLINT BinaryParameterType() const override { return SQL_LONGVARBINARY; }
    bool EnforcesDeclaredSizes() const override { return false; }

    // SQLite keeps the CREATE text, so column comments survive as SQL comments.
    QString ColumnCommentSuffix(const TDicFieldDescription& f) const override {
        if (f.Comment.isEmpty()) return QString();
        QString c = f.Comment;
        return QStringLiteral(" /* ") + c.replace(QStringLiteral("*/"), QStringLiteral("* /")) +
               QStringLiteral(" */");
    }

    static inline const QString kGenTable = QStringLiteral("PELVAR_GENERATORS");
};

class TPostgresDialect final : public TSqlDialect {
  public:
    QString Name() const override { return QStringLiteral("PostgreSQL"); }
    TTypeNames TypeNames() const override {
        TTypeNames n;
        n.DateTime = QStringLiteral("TIMESTAMP(3)");
        n.Blob = QStringLiteral("BYTEA");
        n.AutoInc = QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY");
        return n;
    }

    QString Ident(const QString& name) const override {
        // Unquoted names fold to lower case; quote only what cannot stay plain,
        // folded the same way so both spellings meet.
        if (IsPlainIdentifier(name)) return name;
        QString n = name.toLower();
        return QLatin1Char('"') + n.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    }

    QStringList CreateTableScript(const TDicTableDescription& t) const override {
        QStringList script = TSqlDialect::CreateTableScript(t);
        for (const auto& f : t.Fields) {
            if (f.Comment.isEmpty()) continue;
            QString c = f.Comment;
            script << QStringLiteral("COMMENT ON COLUMN %1.%2 IS '%3'")
                          .arg(Ident(t.Name), Ident(f.Name),
                               c.replace(QLatin1Char('\''), QStringLiteral("''")));
        }
        return script;
    }

    bool TableExists(TDatabase& db, const QString& t) const override {
        return PgRelationExists(db, "'r', 'p'", t);
    }
    bool ViewExists(TDatabase& db, const QString& v) const override {
        return PgRelationExists(db, "'v', 'm'", v);
    }
    bool GeneratorExists(TDatabase& db, const QString& g) const override {
        return PgRelationExists(db, "'S'", g);
    }
    bool ExecProcExists(TDatabase& db, const QString& p) const override {
        return Exists(
            db,
            QStringLiteral(
                "SELECT 1 FROM pg_catalog.pg_proc p JOIN pg_catalog.pg_namespace n ON n.oid = "
                "p.pronamespace WHERE p.prokind = 'p' AND n.nspname = current_schema() "
                "AND upper(p.proname) = upper(:name)"),
            p);
    }
    bool SelectProcExists(TDatabase& db, const QString& p) const override {
        return Exists(
            db,
            QStringLiteral(
                "SELECT 1 FROM pg_catalog.pg_proc p JOIN pg_catalog.pg_namespace n ON n.oid = "
                "p.pronamespace WHERE p.prokind = 'f' AND p.proretset AND n.nspname = "
                "current_schema() AND upper(p.proname) = upper(:name)"),
            p);
    }
    bool SupportsStoredProcedures() const override { return true; }

    void CreateGenerator(TDatabase& db, const QString& g, qint64 start) const override {
        db.ExecDirect(QStringLiteral("CREATE SEQUENCE %1 MINVALUE %2 START WITH %2")
                          .arg(Ident(g))
                          .arg(qMin<qint64>(start, 0)));
        if (start != 0)
            db.ExecDirect(QStringLiteral("SELECT setval('%1', %2, true)").arg(Ident(g)).arg(start));
    }
    void DropGenerator(TDatabase& db, const QString& g) const override {
        db.ExecDirect(QStringLiteral("DROP SEQUENCE IF EXISTS %1").arg(Ident(g)));
    }
    qint64 GeneratorNext(TDatabase& db, const QString& g, qint64 increment) const override {
        // A sequence moves by its own step; move it `increment` times in one statement.
        TSelectQuery q(
            db,
            QStringLiteral("SELECT setval('%1', nextval('%1') + :inc - 1, true)").arg(Ident(g)));
        q.ParamByName(QStringLiteral("inc")).SetValue(increment);
        q.Open();
        return q.Fields().GetFields(0).AsInteger();
    }
    SQLSMALLINT BinaryParameterType() const override { return SQL_VARBINARY; }
    bool EnforcesDeclaredSizes() const override { return true; }
};

// Any other engine: standard SQL and the ODBC catalogue functions.
class TGenericDialect final : public TSqlDialect {
  public:
    explicit TGenericDialect(QString name) : FName(std::move(name)) {}
    QString Name() const override { return FName; }
    TTypeNames TypeNames() const override {
        TTypeNames n;
        n.Memo = QStringLiteral("CLOB");
        n.Boolean = QStringLiteral("SMALLINT");
        return n;
    }
    bool TableExists(TDatabase& db, const QString& t) const override {
        return db.CatalogTableExists(t, "TABLE");
    }
    bool ViewExists(TDatabase& db, const QString& v) const override {
        return db.CatalogTableExists(v, "VIEW");
    }
    bool GeneratorExists(TDatabase&, const QString&) const override { return false; }
    bool ExecProcExists(TDatabase&, const QString&) const override { return false; }
    bool SelectProcExists(TDatabase&, const QString&) const override { return false; }
    bool SupportsStoredProcedures() const override { return false; }
    void CreateGenerator(TDatabase& db, const QString&, qint64) const override {
        NotSupported(db, "Generators");
    }
    void DropGenerator(TDatabase& db, const QString&) const override {
        NotSupported(db, "Generators");
    }
    qint64 GeneratorNext(TDatabase& db, const QString&, qint64) const override {
        NotSupported(db, "Generators");
    }
    bool EnforcesDeclaredSizes() const override { return false; }

  private:
    [[noreturn]] void NotSupported(TDatabase& db, const char* what) const {
        throw ENotSupportedError(QStringLiteral("%1 are not supported by the database %2 (%3)")
                                     .arg(QLatin1String(what), db.Alias(), FName));
    }
    QString FName;
};

}  // namespace

std::unique_ptr<TSqlDialect> TSqlDialect::ForDbms(const QString& dbmsName) {
    if (dbmsName.contains(QStringLiteral("SQLite"), Qt::CaseInsensitive))
        return std::make_unique<TSqliteDialect>();
    if (dbmsName.contains(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive))
        return std::make_unique<TPostgresDialect>();
    return std::make_unique<TGenericDialect>(dbmsName);
}

QString TSqlDialect::Ident(const QString& name) const {
    if (IsPlainIdentifier(name)) return name;
    QString n = name;
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString TSqlDialect::ColumnType(const TDicFieldDescription& f, bool autoIncPrimary) const {
    const TTypeNames names = TypeNames();
    switch (f.DataType) {
        case dtString:
        case dtWideString:
            return QStringLiteral("VARCHAR(%1)").arg(qMax(f.Size, 1));
        case dtFixedChar:
            return QStringLiteral("CHAR(%1)").arg(qMax(f.Size, 1));
        case dtSmallint:
        case dtByte:
        case dtShortint:
            return QStringLiteral("SMALLINT");
        case dtInteger:
        case dtWord:
            return QStringLiteral("INTEGER");
        case dtLargeint:
        case dtLongWord:
            return QStringLiteral("BIGINT");
        case dtAutoInc:
            return autoIncPrimary && !names.AutoIncKey.isEmpty() ? names.AutoIncKey : names.AutoInc;
        case dtFloat:
            return names.Float;
        case dtCurrency:
            return QStringLiteral("NUMERIC(18,4)");
        case dtDate:
            return QStringLiteral("DATE");
        case dtDateTime:
            return names.DateTime;
        case dtMemo:
            return names.Memo;
        case dtBlob:
        case dtGraphic:
            return names.Blob;
        case dtBoolean:
            return names.Boolean;
        default:
            UnknownType(f);
    }
}

QString TSqlDialect::ColumnCommentSuffix(const TDicFieldDescription&) const {
    return QString();
}

QStringList TSqlDialect::CreateTableScript(const TDicTableDescription& t) const {
    if (t.Name.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("The table description has no name"));
    if (t.Fields.isEmpty())
        throw EDatabaseError(QStringLiteral("The table %1 has no fields").arg(t.Name));
    const TDicIndexDescription* primary = t.PrimaryIndex();
    // An auto-increment field that is the whole primary key becomes the engine's
    // own auto-increment key where the engine needs it declared so.
    const bool autoIncKey = primary && primary->Fields.size() == 1 &&
                            t.FindField(primary->Fields[0]) &&
                            t.FindField(primary->Fields[0])->DataType == dtAutoInc;
    const bool inlineKey =
        autoIncKey &&
        ColumnType(*t.FindField(primary->Fields[0]), true).contains(QStringLiteral("PRIMARY KEY"));
    QStringList cols;
    for (const auto& f : t.Fields) {
        const bool isKey =
            autoIncKey && f.Name.compare(primary->Fields[0], Qt::CaseInsensitive) == 0;
        QString col = Ident(f.Name) + QLatin1Char(' ') + ColumnType(f, isKey);
        if ((f.Required || (primary && primary->Fields.contains(f.Name, Qt::CaseInsensitive))) &&
            !(isKey && inlineKey))
            col += QStringLiteral(" NOT NULL");
        col += ColumnCommentSuffix(f);
        cols << col;
    }
    if (primary && !inlineKey) {
        QStringList keys;
        for (const QString& k : primary->Fields)
            keys << Ident(k);
        cols << QStringLiteral("CONSTRAINT %1 PRIMARY KEY (%2)")
                    .arg(Ident(primary->Name), keys.join(QStringLiteral(", ")));
    }
    QStringList script;
    script << QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
                  .arg(Ident(t.Name), cols.join(QStringLiteral(",\n  ")));
    for (const auto& idx : t.Indexes) {
        if (&idx == primary) continue;
        QStringList keys;
        for (const QString& k : idx.Fields)
            keys << Ident(k);
        script << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                      .arg(idx.Unique ? QStringLiteral("UNIQUE ") : QString(), Ident(idx.Name),
                           Ident(t.Name), keys.join(QStringLiteral(", ")));
    }
    return script;
}

QString TSqlDialect::DropTableStatement(const QString& table) const {
    return QStringLiteral("DROP TABLE %1").arg(Ident(table));
}

SQLSMALLINT TSqlDialect::BinaryParameterType() const {
    return SQL_LONGVARBINARY;
}
