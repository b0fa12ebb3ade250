#include <QtGlobal>

#include "basekit/datatypes.h"
#include "database.h"
#include "dialect.h"
#include "dialectengines.h"
#include "query.h"

namespace {

// SQLite: the embedded engine. No sequences or procedures; generators live in a
// table of our own.
class TSqliteDialect final : public TSqlDialect {
  public:
    QString Name() const override { return QStringLiteral("SQLite"); }
    // Every name is quoted: no keyword list keeps up with the engine's, and
    // SQLite keeps a quoted name's spelling just as it keeps an unquoted one's.
    QString Ident(const QString& name) const override { return QuotedSqlIdentifier(name); }
    TTypeNames TypeNames() const override {
        TTypeNames n;
        n.Float = QStringLiteral("DOUBLE");
        n.AutoIncKey = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        n.True = QStringLiteral("1");
        n.False = QStringLiteral("0");
        return n;
    }

    // The legacy rename leaves views and triggers naming the table as they
    // are, so they meet the new table under the old name.
    QStringList ReleaseTableStatements(const TDicTableDescription& d,
                                       const QString& tempName) const override {
        QStringList s = TSqlDialect::ReleaseTableStatements(d, tempName);
        s.insert(s.size() - 1, QStringLiteral("PRAGMA legacy_alter_table = ON"));
        s << QStringLiteral("PRAGMA legacy_alter_table = OFF");
        return s;
    }
    // With secure delete on (as distributions build SQLite) dropping a large
    // table zeroes every page and costs as much as filling it. The rows live on
    // in the new table, so the drop zeroes only what costs no extra I/O.
    void DropReleasedTable(TDatabase& db, const QString& tempName) const override {
        TSelectQuery mode(db, QStringLiteral("PRAGMA secure_delete"));
        mode.Open();
        const qlonglong before = mode.Eof() ? 0 : mode.Fields().GetFields(0).AsInteger();
        mode.Close();
        db.ExecDirect(QStringLiteral("PRAGMA secure_delete = FAST"));
        try {
            TSqlDialect::DropReleasedTable(db, tempName);
        } catch (...) {
            db.ExecDirect(QStringLiteral("PRAGMA secure_delete = %1").arg(before));
            throw;
        }
        db.ExecDirect(QStringLiteral("PRAGMA secure_delete = %1").arg(before));
    }
    // Columns take any value; their affinity converts what converts
    // losslessly and keeps the rest (BLOBs byte for byte).
    QString ConvertExpression(const QString& column, const TDicFieldDescription&,
                              const TDicFieldDescription&) const override {
        return column;
    }
    // The engine would keep a text that is no number in a number column, so
    // such values are looked for first.
    QString UnconvertibleCondition(const QString& c, const TDicFieldDescription& from,
                                   const TDicFieldDescription& to) const override {
        if (from.DataType == to.DataType) return QString();
        const bool integer = IsIntegerDataType(to.DataType) || to.DataType == dtBoolean;
        if (!integer && to.DataType != dtFloat && to.DataType != dtCurrency) return QString();
        const QString chars = integer ? QStringLiteral("0-9+-") : QStringLiteral("0-9.eE+-");
        return QStringLiteral(
                   "(typeof(%1) = 'blob' OR (typeof(%1) = 'text' AND (trim(%1) = '' OR "
                   "trim(%1) GLOB '*[^%2]*' OR trim(%1) NOT GLOB '*[0-9]*')))")
            .arg(c, chars);
    }

    bool TableExists(TDatabase& db, const QString& t) const override {
        return CatalogRowExists(
            db,
            QStringLiteral(
                "SELECT 1 FROM sqlite_master WHERE type = 'table' AND upper(name) = upper(:name)"),
            t);
    }
    bool ViewExists(TDatabase& db, const QString& v) const override {
        return CatalogRowExists(
            db,
            QStringLiteral(
                "SELECT 1 FROM sqlite_master WHERE type = 'view' AND upper(name) = upper(:name)"),
            v);
    }
    bool GeneratorExists(TDatabase& db, const QString& g) const override {
        if (!TableExists(db, kGenTable)) return false;
        return CatalogRowExists(
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
    TBinaryBinding BinaryBinding() const override { return TBinaryBinding::LongVarBinary; }
    bool EnforcesDeclaredSizes() const override { return false; }
    bool MarksInComments() const override { return true; }

    // SQLite keeps the CREATE text, so column comments survive as SQL comments.
    // The driver takes any "?" outside a quoted string for a parameter, comments
    // included, so the comment's text is an SQL string inside the comment.
    QString ColumnCommentSuffix(const TDicFieldDescription& f) const override {
        if (f.Comment.isEmpty()) return QString();
        QString c = f.Comment;
        c.replace(QStringLiteral("*/"), QStringLiteral("* /"))
            .replace(QLatin1Char('\''), QStringLiteral("''"));
        return QStringLiteral(" /* '") + c + QStringLiteral("' */");
    }

    static inline const QString kGenTable = QStringLiteral("PELVAR_GENERATORS");
};

}  // namespace

std::unique_ptr<TSqlDialect> MakeSqliteDialect() {
    return std::make_unique<TSqliteDialect>();
}
