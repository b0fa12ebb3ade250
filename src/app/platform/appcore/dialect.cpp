#include "dialect.h"

#include <QRegularExpression>
#include <QSet>

#include "basekit/datatypes.h"
#include "database.h"
#include "dialectengines.h"
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

[[noreturn]] void UnknownType(const TDicFieldDescription& f) {
    throw EDatabaseError(QStringLiteral("Field %1 has an unknown data type code %2")
                             .arg(f.Name, QString::number(f.DataType)));
}

}  // namespace

bool IsPlainSqlIdentifier(const QString& name) {
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_'))) return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'))) return false;
    return !ReservedWords().contains(name.toUpper());
}

bool CatalogRowExists(TDatabase& db, const QString& sql, const QString& name) {
    TSelectQuery q(db, sql);
    q.ParamByName(QStringLiteral("name")).SetValue(name);
    q.Open();
    return !q.Eof();
}

std::unique_ptr<TSqlDialect> TSqlDialect::ForDbms(const QString& dbmsName) {
    if (dbmsName.contains(QStringLiteral("SQLite"), Qt::CaseInsensitive))
        return MakeSqliteDialect();
    if (dbmsName.contains(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive))
        return MakePostgresDialect();
    return MakeGenericDialect(dbmsName);
}

QString QuotedSqlIdentifier(const QString& name) {
    QString n = name;
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString AsciiLower(QString name) {
    for (QChar& c : name)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
    return name;
}

QString AsciiUpper(QString name) {
    for (QChar& c : name)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
    return name;
}

QString TSqlDialect::Ident(const QString& name) const {
    return IsPlainSqlIdentifier(name) ? name : QuotedSqlIdentifier(name);
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
            // A precision of its own sets the scale; the size is the digits
            // in all, at least enough for the scale and one more.
            if (f.Precision > 0)
                return QStringLiteral("NUMERIC(%1,%2)")
                    .arg(qMax(f.Size, f.Precision + 1))
                    .arg(f.Precision);
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
        if (const QString def = DefaultLiteral(f); !def.isEmpty())
            col += QStringLiteral(" DEFAULT ") + def;
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

void TSqlDialect::CreateView(TDatabase& db, const QString& view, const QString& select) const {
    db.ExecDirect(QStringLiteral("CREATE VIEW %1 AS %2").arg(Ident(view), select));
}

void TSqlDialect::DropView(TDatabase& db, const QString& view) const {
    db.ExecDirect(QStringLiteral("DROP VIEW %1").arg(Ident(view)));
}

void TSqlDialect::CreateStoredProc(TDatabase& db, const QString&) const {
    RaiseNotSupported(db, "Stored procedures");
}

void TSqlDialect::DropStoredProc(TDatabase& db, const QString&, bool) const {
    RaiseNotSupported(db, "Stored procedures");
}

void TSqlDialect::RaiseNotSupported(TDatabase& db, const char* what) const {
    throw ENotSupportedError(QStringLiteral("%1 are not supported by the database %2 (%3)")
                                 .arg(QLatin1String(what), db.Alias(), Name()));
}

QString TSqlDialect::DefaultLiteral(const TDicFieldDescription& f) const {
    const QString value = f.Default.trimmed();
    if (value.isEmpty()) return QString();
    if (f.DataType == dtBoolean) {
        const QString v = value.toUpper();
        if (v == QLatin1String("TRUE") || v == QLatin1String("1")) return TypeNames().True;
        if (v == QLatin1String("FALSE") || v == QLatin1String("0")) return TypeNames().False;
    }
    bool number = false;
    value.toDouble(&number);
    const bool numeric = IsIntegerDataType(f.DataType) || f.DataType == dtFloat ||
                         f.DataType == dtCurrency || f.DataType == dtBoolean;
    // A number is written as one only where the field is a number and the
    // text holds nothing but a number: the literal can not carry SQL.
    if (numeric && number && !value.contains(QRegularExpression(QStringLiteral("[^0-9.eE+-]"))))
        return value;
    QString text = f.Default;
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

QStringList TSqlDialect::ReleaseTableStatements(const TDicTableDescription& d,
                                                const QString& tempName) const {
    QStringList s;
    for (const auto& idx : d.Indexes)
        if (!idx.Primary) s << QStringLiteral("DROP INDEX %1").arg(Ident(idx.Name));
    s << QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(Ident(d.Name), Ident(tempName));
    return s;
}

namespace {
bool IsNumberType(int type) {
    return IsIntegerDataType(type) || type == dtFloat || type == dtCurrency;
}
}  // namespace

QString TSqlDialect::ConvertExpression(const QString& column, const TDicFieldDescription& from,
                                       const TDicFieldDescription& to) const {
    if (from.DataType == to.DataType) return column;
    // Text goes into text unconverted, so the engine's length check sees it.
    if (IsTextDataType(to.DataType))
        return IsTextDataType(from.DataType)
                   ? column
                   : QStringLiteral("CAST(%1 AS %2)").arg(column, TypeNames().Memo);
    if (IsIntegerDataType(from.DataType) && IsIntegerDataType(to.DataType)) return column;
    if (to.DataType == dtBoolean && IsNumberType(from.DataType))
        return QStringLiteral("(%1 <> 0)").arg(column);
    return QStringLiteral("CAST(%1 AS %2)").arg(column, ColumnType(to, false));
}

QString TSqlDialect::UnconvertibleCondition(const QString&, const TDicFieldDescription&,
                                            const TDicFieldDescription&) const {
    return QString();
}

QString TSqlDialect::LockTimeoutStatement(int) const {
    return QString();
}

void TSqlDialect::DropReleasedTable(TDatabase& db, const QString& tempName) const {
    db.ExecDirect(DropTableStatement(tempName));
}

void TSqlDialect::AfterRowsCopied(TDatabase&, const TDicTableDescription&) const {}

QString TSqlDialect::CodePointCollation(TDatabase&, const QString&, const QString&) const {
    return QString();
}
