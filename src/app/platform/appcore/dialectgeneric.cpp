#include <QtGlobal>

#include "database.h"
#include "dialect.h"
#include "dialectengines.h"
#include "query.h"

namespace {

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
        RaiseNotSupported(db, "Generators");
    }
    void DropGenerator(TDatabase& db, const QString&) const override {
        RaiseNotSupported(db, "Generators");
    }
    qint64 GeneratorNext(TDatabase& db, const QString&, qint64) const override {
        RaiseNotSupported(db, "Generators");
    }
    bool EnforcesDeclaredSizes() const override { return false; }

  private:
    QString FName;
};

}  // namespace

std::unique_ptr<TSqlDialect> MakeGenericDialect(const QString& dbmsName) {
    return std::make_unique<TGenericDialect>(dbmsName);
}
