#include "mainrules.h"

#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/prockit.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"
#include "databases/aliascounter.h"

QString PelvarKey(const QString& sub) {
    return Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\") + sub;
}

void RegistryFailure(const char* text, const QString& key) {
    throw ERegistryError(SafeFormat(QLatin1String(text), key));
}

QString NormalizeWindowEntry(const QString& entry) {
    if (entry.startsWith(QLatin1Char('\\'))) {
        const int second = entry.indexOf(QLatin1Char('\\'), 1);
        if (second > 0)
            return QLatin1Char('\\') + entry.mid(1, second - 1).toUpper() + entry.mid(second);
        return QLatin1Char('\\') + entry.mid(1).toUpper();
    }
    // File names are case-sensitive here: a file entry keeps its text.
    if (entry.startsWith(QLatin1Char(';'))) return entry;
    const int first = entry.indexOf(QLatin1Char('\\'));
    const QString head = first < 0 ? entry : entry.left(first);
    const QString rest = first < 0 ? QString() : entry.mid(first + 1);
    return head.toUpper() + QLatin1Char('\\') + rest;
}

void SplitWindowEntry(const QString& entry, QString& fileName, QString& path) {
    fileName.clear();
    // A window on the databases is saved with the empty path, which loading
    // turns into "\\": both are the root.
    path = entry == QLatin1String("\\") ? QString() : entry;
    if (!entry.startsWith(QLatin1Char(';'))) return;
    const QString rest = entry.mid(1);
    const int sep = rest.indexOf(QLatin1Char(';'));
    if (sep < 0) {
        path = rest;
        return;
    }
    fileName = rest.left(sep);
    path = rest.mid(sep + 1);
}

QString MakeWindowEntry(const QString& fileName, const QString& path) {
    return fileName.isEmpty() ? path : QLatin1Char(';') + fileName + QLatin1Char(';') + path;
}

QString ExpandShortcutPath(const QString& path, const QString& currentAlias) {
    const int first = path.indexOf(QLatin1Char('\\'));
    if (first < 0) return path;
    const QString rest = path.mid(first + 1);
    const int next = rest.indexOf(QLatin1Char('\\'));
    QString alias = next < 0 ? rest : rest.left(next);
    if (alias.isEmpty()) alias = currentAlias;
    return next < 0 ? QLatin1Char('\\') + alias : QLatin1Char('\\') + alias + rest.mid(next);
}

bool TVersionKeySequence::AddLetter(QChar letter) {
    FCurrent += letter.toUpper();
    if (FCurrent.size() > kKeep) FCurrent = FCurrent.right(kKeep);
    return FCurrent.endsWith(QStringLiteral("ZORBQUIN"));
}

namespace {

template <typename F>
void ForEachDatabaseInUse(F&& f) {
    const QStringList databases = AliasCounter().Databases();
    for (const QString& alias : databases)
        f(alias);
}

}  // namespace

void FlushDSPCaches() {
    GetDSPTable(QString()).Refresh();
    ForEachDatabaseInUse([](const QString& alias) { GetDSPTable(alias).Refresh(); });
}

void FlushLocalizatorCaches() {
    GetLocalizatorTable(QString()).Refresh();
    ForEachDatabaseInUse([](const QString& alias) { GetLocalizatorTable(alias).Refresh(); });
}

void FlushLanguagesCaches() {
    GetLanguagesTable(QString()).Refresh();
    ForEachDatabaseInUse([](const QString& alias) { GetLanguagesTable(alias).Refresh(); });
}

void FlushLanguageLibraries() {
    ResetProcContainer();
}

void FlushAllCaches() {
    GetDSPTable(QString()).Refresh();
    GetLocalizatorTable(QString()).Refresh();
    GetLanguagesTable(QString()).Refresh();
    ForEachDatabaseInUse([](const QString& alias) {
        GetDSPTable(alias).Refresh();
        GetLocalizatorTable(alias).Refresh();
        GetLanguagesTable(alias).Refresh();
    });
    ResetProcContainer();
}
