#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class TDatabase;

// The environment one test process runs in: a project-local ODBC configuration
// (set before the first ODBC call), a settings file of its own, the platform
// and the scripted interaction. Created by the test main().
class TTestEnvironment {
  public:
    static TTestEnvironment& Instance();
    QString Dir() const { return FDir.path(); }
    QString OdbcDir() const { return FDir.path() + QStringLiteral("/odbc"); }

    // Adds (or replaces) a user data source in the ODBC user file.
    void AddSqliteDataSource(const QString& name, const QString& databaseFile,
                             const QString& description);
    void AddPostgresDataSource(const QString& name, const QString& description);
    void AddDataSource(const QString& name, const QStringList& lines);
    void RemoveDataSource(const QString& name);

    // PostgreSQL is available when scripts/test started a cluster for the run.
    static bool PostgresAvailable();
    // Each alias of a test process works in a schema of its own.
    static QString PostgresSchema(const QString& alias);

  private:
    TTestEnvironment();
    void WriteUserFile();
    QTemporaryDir FDir;
    std::vector<std::pair<QString, QStringList>> FSources;
    friend struct TTestEnvironmentInit;
};

// Engines a database test runs on. Both are always listed (tests are found at
// build time); PostgreSQL cases skip themselves unless scripts/test started a
// cluster.
std::vector<std::string> TestEngines();

// A fresh, empty database of the given engine, reachable through `Alias()`
// and connected as the default (login) database unless told otherwise.
class TTestDatabase {
  public:
    TTestDatabase(const std::string& engine, const QString& alias = QStringLiteral("TESTDB"),
                  bool makeDefault = true);
    ~TTestDatabase();
    const QString& Alias() const { return FAlias; }
    bool IsPostgres() const { return FPostgres; }
    // An account the engine lets in: the server's test account on PostgreSQL.
    QString User() const;
    QString Password() const;
    QString FileName() const { return FFile; }

  private:
    QString FAlias;
    QString FFile;
    bool FPostgres = false;
};

#include <gtest/gtest.h>

#include "printers.h"

// A test run once per engine over a fresh default database.
class TEngineTest : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        if (GetParam() == "PostgreSQL" && !TTestEnvironment::PostgresAvailable())
            GTEST_SKIP() << "PostgreSQL runs under scripts/test";
        FDb = std::make_unique<TTestDatabase>(GetParam());
    }
    void TearDown() override { FDb.reset(); }
    const QString& Alias() const { return FDb->Alias(); }
    TDatabase& Db() const;
    qint64 CountRows(const QString& from) const;  // SELECT COUNT(*) FROM `from`
    std::unique_ptr<TTestDatabase> FDb;
};

#define PELVAR_ENGINE_TESTS(Suite)                                             \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, testing::ValuesIn(TestEngines()), \
                             [](const auto& info) { return info.param; })
