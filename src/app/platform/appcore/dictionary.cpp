#include "dictionary.h"

#include "database.h"
#include "dbmanager.h"
#include "dialect.h"
#include "platform.h"

void TDictionary::CreateTableByDef(const TDicTableDescription& d, const QString& tableSpace,
                                   bool replace, QStringList* script) {
    Q_UNUSED(tableSpace);  // our engines keep every table in the default space
    TDatabase& db = BaseMng().Databases().GetDatabase(FAlias);
    QStringList statements = db.Dialect().CreateTableScript(d);
    const bool exists = db.TableExists(d.Name);
    if (exists && !replace)
        throw EDatabaseError(
            QStringLiteral("The table %1 already exists in database %2").arg(d.Name, FAlias));
    if (exists) statements.prepend(db.Dialect().DropTableStatement(d.Name));
    TTransactionScope tx(db);
    for (const QString& sql : statements) {
        try {
            db.ExecDirect(sql);
        } catch (const EDatabaseError& e) {
            throw EDatabaseError(QStringLiteral("Can not create table %1 in database %2: %3")
                                     .arg(d.Name, FAlias, e.Message()),
                                 e.SqlState());
        }
    }
    tx.Commit();
    if (script) *script = statements;
}

bool TDictionary::GetTableInfo(const QString& table, TDicTableDescription& d) {
    return BaseMng().Databases().GetDatabase(FAlias).DescribeTable(table, d);
}

namespace {
TDatabase& DbOf(const QString& alias) {
    return BaseMng().Databases().GetDatabase(alias);
}
}  // namespace

bool TDicDatabase::GeneratorExists(const QString& name) {
    TDatabase& db = DbOf(FAlias);
    return db.Dialect().GeneratorExists(db, name);
}
bool TDicDatabase::ViewExists(const QString& name) {
    TDatabase& db = DbOf(FAlias);
    return db.Dialect().ViewExists(db, name);
}
bool TDicDatabase::ExecStoredProcExists(const QString& name) {
    TDatabase& db = DbOf(FAlias);
    return db.Dialect().ExecProcExists(db, name);
}
bool TDicDatabase::SelectStoredProcExists(const QString& name) {
    TDatabase& db = DbOf(FAlias);
    return db.Dialect().SelectProcExists(db, name);
}
bool TDicDatabase::SupportsStoredProcedures() {
    return DbOf(FAlias).Dialect().SupportsStoredProcedures();
}
void TDicDatabase::CreateGenerator(const QString& name, qint64 startValue) {
    TDatabase& db = DbOf(FAlias);
    db.Dialect().CreateGenerator(db, name, startValue);
}
void TDicDatabase::DropGenerator(const QString& name) {
    TDatabase& db = DbOf(FAlias);
    db.Dialect().DropGenerator(db, name);
}
qint64 TDicDatabase::GeneratorNext(const QString& name, qint64 increment) {
    TDatabase& db = DbOf(FAlias);
    return db.Dialect().GeneratorNext(db, name, increment);
}

void TDicDatabase::CreateView(const QString& name, const QString& select) {
    TDatabase& db = DbOf(FAlias);
    db.Dialect().CreateView(db, name, select);
}
void TDicDatabase::DropView(const QString& name) {
    TDatabase& db = DbOf(FAlias);
    db.Dialect().DropView(db, name);
}
void TDicDatabase::CreateStoredProc(const QString& createSql) {
    TDatabase& db = DbOf(FAlias);
    db.Dialect().CreateStoredProc(db, createSql);
}
void TDicDatabase::DropStoredProc(const QString& name, bool selectProc) {
    TDatabase& db = DbOf(FAlias);
    db.Dialect().DropStoredProc(db, name, selectProc);
}

TDicDatabase& TDicDBContainer::GetDicDatabase(const QString& alias) {
    const QString key = BaseMng().Databases().ResolveAlias(alias);
    auto& slot = FDatabases[key];
    if (!slot) slot = std::make_unique<TDicDatabase>(key);
    return *slot;
}
