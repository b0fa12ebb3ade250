#pragma once

#include <QByteArray>
#include <QString>

// The CREATE text of a stored procedure or function with its name replaced
// by `quotedName` (as the engine's dialect quotes it): the name after
// CREATE [OR REPLACE] FUNCTION|PROCEDURE, quoted or not, and of a
// schema-qualified name its last part (the schema kept). Comments and blanks
// may stand between the words. Empty when the text does not start so.
QString WithStoredProcName(const QString& createSql, const QString& quotedName);
// The body of a procedure structure (its "SQL" text) moved to the name `to`
// in the alias's database: the CREATE text names the new procedure, quoted by
// the database's dialect. Unchanged when its text names none to replace.
QByteArray RenamedProcBody(const QByteArray& body, const QString& to, const QString& alias);
