#include "benchsupport.h"

#include <QElapsedTimer>
#include <QFile>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "opkit/dspoperations.h"
#include "opkit/utiloperation.h"

TDatabase& OpenWithSystemTables(const QString& alias) {
    TDatabase& db = BaseMng().Databases().OpenDataBase(alias);
    CreateMissingSystemTables(alias);
    return db;
}

void WriteBenchFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(text.toUtf8());
}

void PrepareSqliteSources(const QString& dir, const QStringList& aliases) {
    WriteBenchFile(
        dir + QStringLiteral("/odbcinst.ini"),
        QStringLiteral("[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n"));
    WriteBenchFile(dir + QStringLiteral("/odbc.ini"), QString());
    QString sources;
    for (const QString& alias : aliases)
        sources += QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=%2/%1.sqlite\nTimeout=5000\n")
                       .arg(alias, dir);
    WriteBenchFile(dir + QStringLiteral("/user.ini"), sources);
    qputenv("ODBCSYSINI", dir.toLocal8Bit());
    qputenv("ODBCINI", (dir + QStringLiteral("/user.ini")).toLocal8Bit());
}

double TimedOperation(TUtilOperation& op) {
    QElapsedTimer timer;
    timer.start();
    if (!ExecuteUtilOperationDirect(op))
        qFatal("operation failed: %s", qPrintable(op.Errors().join(QLatin1Char('\n'))));
    return timer.nsecsElapsed() / 1e6;
}
