#include "bodyrules.h"

#include <QSet>

#include "appcore/dsptree.h"

void CheckRecordNames(const QStringList& names, const QString& kind, QStringList& problems) {
    QSet<QString> seen;
    for (const QString& n : names) {
        if (n.trimmed().isEmpty())
            problems << QStringLiteral("A %1 has no name.").arg(kind);
        else if (seen.contains(n.toLower()))
            problems << QStringLiteral("Two %1s are named %2.").arg(kind, n);
        seen.insert(n.toLower());
    }
}

void RaiseProblems(const QString& what, const QStringList& problems) {
    if (!problems.isEmpty())
        throw EDSPError(QStringLiteral("%1 is not saved:\n%2").arg(what, problems.join('\n')));
}
