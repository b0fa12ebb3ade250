#include "startup.h"

#include <QDir>
#include <QFileInfo>

#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/inifile.h"
#include "basekit/interaction.h"

QString ProgramPath(const QString& argv0, const QString& pathVariable, const QString& selfLink) {
    if (!selfLink.isEmpty()) {
        const QString target = QFileInfo(selfLink).canonicalFilePath();
        if (!target.isEmpty()) return target;
    }
    if (argv0.contains(QLatin1Char('/'))) return QFileInfo(argv0).absoluteFilePath();
    for (const QString& dir : pathVariable.split(QLatin1Char(':'))) {
        // An empty entry of PATH is the working directory.
        const QFileInfo candidate(QDir(dir.isEmpty() ? QStringLiteral(".") : dir), argv0);
        if (candidate.isFile() && candidate.isExecutable()) return candidate.absoluteFilePath();
    }
    return QFileInfo(argv0).absoluteFilePath();
}

QStringList OdbcDllArguments(const QStringList& arguments) {
    static const QString kSwitch = QStringLiteral("/odbcdll:");
    QStringList libraries;
    for (const QString& arg : arguments)
        if (arg.size() > kSwitch.size() &&
            arg.left(kSwitch.size()).compare(kSwitch, Qt::CaseInsensitive) == 0)
            libraries << arg.mid(kSwitch.size()).trimmed();
    return libraries;
}

int RunStartup(const QStringList& arguments, const QString& programDir, TStartupPlatform& p) {
    const QString debugIni = QDir(programDir).filePath(QStringLiteral("debug.ini"));
    if (QX_GetIniStrParamValue(debugIni, QStringLiteral("Config"), QStringLiteral("EnableJCL"),
                               QStringLiteral("1")) == QLatin1String("1")) {
        const bool useMap =
            QX_GetIniStrParamValue(debugIni, QStringLiteral("Config"), QStringLiteral("EnableMap"),
                                   QStringLiteral("0")) == QLatin1String("1");
        p.InstallStackTraces(useMap);
    }

    // The driver manager is chosen before anything touches a database; the
    // error can only be shown once the application object exists.
    QString driverError;
    for (const QString& library : OdbcDllArguments(arguments)) {
        try {
            p.ReloadOdbcLibrary(library);
        } catch (const EPelvarError& e) {
            driverError = e.Message();
            break;
        }
    }

    p.SetCurrentThreadName(QStringLiteral("MainPelvarThread"));
    p.InitializeApplication();
    if (!driverError.isEmpty()) {
        p.MessageBox(driverError, QString(), MB::OK | MB::ICONERROR);
        return 1;
    }
    p.DetectVornakRoot();
    if (!p.PerformLogin(QString())) return 0;  // cancelled or failed: end silently

    if (!p.HavePrivilege(QStringLiteral("DESIGNER"))) {
        QString text = p.LString(QStringLiteral("M_Pelvar_Pelvar_ErrorCheckUserRole"));
        if (IsMissingText(text)) text = QStringLiteral("User havn't role \"DESIGNER\"");
        p.MessageBox(text, QString(), MB::OK | MB::ICONWARNING | MB::TASKMODAL);
        return 0;
    }

    p.ChangeModule(QStringLiteral("Pelvar"));
    p.SetModuleFlags(7);
    p.SetRecommendedFlagsForPelvar(QString());
    p.LoadCustomLibraries(QStringLiteral("Pelvar"));

    const int result = p.RunMainWindow();
    p.ResetProcContainer();
    return result;
}
