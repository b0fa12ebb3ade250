#include "testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"

namespace {

void WriteFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(text.toUtf8());
}

QString Env(const char* name, const char* def = "") {
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? QString::fromLatin1(def) : QString::fromLocal8Bit(v);
}

}  // namespace

TTestEnvironment::TTestEnvironment() {
    QDir().mkpath(OdbcDir());
    WriteFile(OdbcDir() + QStringLiteral("/odbcinst.ini"),
              QStringLiteral("[SQLite3]\nDescription=SQLite3 ODBC "
                             "Driver\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n\n"
                             "[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver (Unicode)\n"
                             "Driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so\n"));
    WriteFile(OdbcDir() + QStringLiteral("/odbc.ini"), QString());
    WriteUserFile();
    qputenv("ODBCSYSINI", OdbcDir().toLocal8Bit());
    qputenv("ODBCINI", (OdbcDir() + QStringLiteral("/user.ini")).toLocal8Bit());
}

TTestEnvironment& TTestEnvironment::Instance() {
    static TTestEnvironment env;
    return env;
}

void TTestEnvironment::WriteUserFile() {
    QString text;
    for (const auto& [name, lines] : FSources)
        text += QStringLiteral("[%1]\n%2\n\n").arg(name, lines.join(QLatin1Char('\n')));
    WriteFile(OdbcDir() + QStringLiteral("/user.ini"), text);
}

void TTestEnvironment::AddDataSource(const QString& name, const QStringList& lines) {
    RemoveDataSource(name);
    FSources.emplace_back(name, lines);
    WriteUserFile();
}

void TTestEnvironment::RemoveDataSource(const QString& name) {
    std::erase_if(FSources,
                  [&](const auto& s) { return s.first.compare(name, Qt::CaseInsensitive) == 0; });
    WriteUserFile();
}

void TTestEnvironment::AddSqliteDataSource(const QString& name, const QString& file,
                                           const QString& description) {
    AddDataSource(name,
                  {QStringLiteral("Driver=SQLite3"), QStringLiteral("Database=") + file,
                   QStringLiteral("Timeout=5000"), QStringLiteral("Description=") + description});
}

void TTestEnvironment::AddPostgresDataSource(const QString& name, const QString& description) {
    AddDataSource(name, {QStringLiteral("Driver=PostgreSQL Unicode"),
                         QStringLiteral("Servername=") + Env("PELVAR_TEST_PG_HOST", "127.0.0.1"),
                         QStringLiteral("Port=") + Env("PELVAR_TEST_PG_PORT"),
                         QStringLiteral("Database=") + Env("PELVAR_TEST_PG_DB"),
                         QStringLiteral("SSLmode=disable"), QStringLiteral("UseDeclareFetch=1"),
                         // Test processes run in parallel: each works in a schema of its own.
                         QStringLiteral("ConnSettings=SET search_path TO ") + PostgresSchema(name),
                         QStringLiteral("Description=") + description});
}

QString TTestEnvironment::PostgresSchema(const QString& alias) {
    return QStringLiteral("pelvar_t%1_%2")
        .arg(QCoreApplication::applicationPid())
        .arg(alias.toLower());
}

bool TTestEnvironment::PostgresAvailable() {
    return !qgetenv("PELVAR_TEST_PG_PORT").isEmpty();
}

std::vector<std::string> TestEngines() {
    return {"SQLite", "PostgreSQL"};
}

TTestDatabase::TTestDatabase(const std::string& engine, const QString& alias, bool makeDefault)
    // unixODBC caches a data source's settings for a while: the same alias on
    // both engines in one process would reach the other engine's database.
    : FAlias(alias.toUpper() + (engine == "PostgreSQL" ? QStringLiteral("_PG") : QString())),
      FPostgres(engine == "PostgreSQL") {
    TTestEnvironment& env = TTestEnvironment::Instance();
    TDatabaseManager& dbs = BaseMng().Databases();
    if (FPostgres) {
        env.AddPostgresDataSource(FAlias, QStringLiteral("PostgreSQL test database"));
        dbs.SetLoginParamsEx(Env("PELVAR_TEST_PG_USER"), Env("PELVAR_TEST_PG_PASSWORD"), 255,
                             QString(), false, QString(), FAlias);
        TDatabase& db = dbs.OpenDataBase(FAlias);
        // Every test starts from an empty schema.
        db.ExecDirect(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE")
                          .arg(TTestEnvironment::PostgresSchema(FAlias)));
        db.ExecDirect(
            QStringLiteral("CREATE SCHEMA %1").arg(TTestEnvironment::PostgresSchema(FAlias)));
    } else {
        // unixODBC keeps every entry it reads from the ini files for 20 seconds,
        // whatever happens to the file: an alias must keep its database file.
        FFile = env.Dir() + QStringLiteral("/%1.sqlite").arg(FAlias);
        QFile::remove(FFile);
        env.AddSqliteDataSource(FAlias, FFile, QStringLiteral("SQLite test database"));
        dbs.OpenDataBase(FAlias);
    }
    if (makeDefault) {
        dbs.SetDefaultAlias(FAlias);
        BaseMng().SetUserName(QStringLiteral("designer"));
    }
}

TTestDatabase::~TTestDatabase() {
    TDatabaseManager& dbs = BaseMng().Databases();
    if (FPostgres && dbs.IsOpen(FAlias)) {
        try {
            dbs.GetDatabase(FAlias).ExecDirect(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE")
                                                   .arg(TTestEnvironment::PostgresSchema(FAlias)));
        } catch (const EPelvarError&) {
        }
    }
    dbs.CloseDatabase(FAlias);
    dbs.RemoveLoginParams(FAlias);
    if (dbs.DefaultAlias() == FAlias) dbs.SetDefaultAlias(QString());
    TTestEnvironment::Instance().RemoveDataSource(FAlias);
    if (!FFile.isEmpty()) QFile::remove(FFile);
}

QString TTestDatabase::User() const {
    return FPostgres ? Env("PELVAR_TEST_PG_USER") : QStringLiteral("u");
}

QString TTestDatabase::Password() const {
    return FPostgres ? Env("PELVAR_TEST_PG_PASSWORD") : QString();
}

TDatabase& TEngineTest::Db() const {
    return BaseMng().Databases().GetDatabase(Alias());
}

qint64 TEngineTest::CountRows(const QString& from) const {
    TSelectQuery q(Db(), QStringLiteral("SELECT COUNT(*) FROM ") + from);
    q.Open();
    return q.Fields().GetFields(0).AsInteger();
}
