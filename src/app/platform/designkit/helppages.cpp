#include "helppages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"

namespace {

THelpPageOpener& Opener() {
    static THelpPageOpener opener = [](const QUrl& file) {
        return QDesktopServices::openUrl(file);
    };
    return opener;
}

// The page as a file a browser can open; empty when it cannot be written.
QString CopiedOut(const QString& page) {
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
    if (!QDir().mkpath(dir)) return QString();
    const QString target = dir + QLatin1Char('/') + page;
    QFile source(QStringLiteral(":/help/") + page);
    QFile file(target);
    if (!source.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    const QByteArray bytes = source.readAll();
    if (file.write(bytes) != bytes.size() || !file.flush()) return QString();
    return target;
}

}  // namespace

void ShowHelpPage(const QString& page) {
    const QString file =
        QFile::exists(QStringLiteral(":/help/") + page) ? CopiedOut(page) : QString();
    if (file.isEmpty() || !Opener()(QUrl::fromLocalFile(file)))
        Interaction().MessageBox(
            SafeFormat(LString(QStringLiteral("M_Pelvar_Help_PageNotShown")), page),
            LString(QStringLiteral("ST_WARNING")), MB::OK | MB::ICONWARNING);
}

THelpPageOpener SetHelpPageOpener(THelpPageOpener opener) {
    THelpPageOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}
