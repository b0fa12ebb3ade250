#pragma once

#include <QString>
#include <memory>

class TDatabase;
class TSqlDialect;

// The engines' dialects and what they share; seen only by the dialect files
// and the catalogue reader.

std::unique_ptr<TSqlDialect> MakeSqliteDialect();
std::unique_ptr<TSqlDialect> MakePostgresDialect();
std::unique_ptr<TSqlDialect> MakeGenericDialect(const QString& dbmsName);

// True when the name needs no quotes: a letter or "_" first, letters, digits,
// "_" and "$" after, and no reserved word.
bool IsPlainSqlIdentifier(const QString& name);
// The name in double quotes, inner quotes doubled.
QString QuotedSqlIdentifier(const QString& name);
// Engines fold the case of ASCII letters only; so do we, where names meet.
QString AsciiLower(QString name);
QString AsciiUpper(QString name);
// True when the catalogue query, given the name as :name, returns a row.
bool CatalogRowExists(TDatabase& db, const QString& sql, const QString& name);
