#include "exchangecli.h"

#include <QElapsedTimer>
#include <QFile>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "basekit/errors.h"
#include "opkit/dbexchange.h"
#include "opkit/eifile.h"
#include "opkit/eisection.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: pelvar-exchange export ALIAS FILE [--what PARTS]\n"
    "       pelvar-exchange import FILE ALIAS [--what PARTS]\n"
    "       pelvar-exchange copy FROM_ALIAS TO_ALIAS [--what PARTS]\n"
    "       pelvar-exchange list FILE\n"
    "PARTS: structures,resources,languages,data (default: all)\n"
    "login: --user NAME or PELVAR_USER; --password-file FILE or PELVAR_PASSWORD\n";

struct TUsageError {
    QString Text;
};

// Status lines as they change, and the position at most every half second.
class TStderrProgress : public TProgressSink {
  public:
    explicit TStderrProgress(QTextStream& err) : FErr(err) { FClock.start(); }
    void SetStatus(const QString& text) override {
        if (text == FStatus) return;
        FStatus = text;
        FErr << text << Qt::endl;
    }
    void SetProgress(qint64 position, qint64 maximum) override {
        if (FClock.elapsed() < 500 && position < maximum) return;
        FClock.restart();
        FErr << "  " << position << " / " << maximum << Qt::endl;
    }
    bool CancelRequested() override { return false; }
    void ReportError(const QString& text) override { FErr << "warning: " << text << Qt::endl; }
    void Finish() override {}

  private:
    QTextStream& FErr;
    QString FStatus;
    QElapsedTimer FClock;
};

struct TCommand {
    QString Name;
    QStringList Positional;
    unsigned Parts = dpAll;
    QString User;
    QString PasswordFile;
};

TCommand Parse(const QStringList& args) {
    TCommand c;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size()) throw TUsageError{a + QStringLiteral(" needs a value")};
            return args[++i];
        };
        if (a == QLatin1String("--what"))
            c.Parts = ParseDatabaseParts(value());
        else if (a == QLatin1String("--user"))
            c.User = value();
        else if (a == QLatin1String("--password-file"))
            c.PasswordFile = value();
        else if (a == QLatin1String("--password"))
            throw TUsageError{QStringLiteral(
                "a password is never given on the command line: use --password-file or "
                "PELVAR_PASSWORD")};
        else if (a.startsWith(QLatin1String("--")))
            throw TUsageError{QStringLiteral("unknown option ") + a};
        else if (c.Name.isEmpty())
            c.Name = a;
        else
            c.Positional << a;
    }
    const int wanted = c.Name == QLatin1String("list") ? 1 : 2;
    if (c.Name.isEmpty()) throw TUsageError{QStringLiteral("no command given")};
    if (!QStringList{"export", "import", "copy", "list"}.contains(c.Name))
        throw TUsageError{QStringLiteral("unknown command ") + c.Name};
    if (c.Positional.size() != wanted)
        throw TUsageError{QStringLiteral("%1 takes %2 arguments").arg(c.Name).arg(wanted)};
    return c;
}

QString Password(const TCommand& c) {
    if (c.PasswordFile.isEmpty()) return qEnvironmentVariable("PELVAR_PASSWORD");
    QFile f(c.PasswordFile);
    if (!f.open(QIODevice::ReadOnly))
        throw EPelvarError(
            QStringLiteral("The password file %1 can not be read").arg(c.PasswordFile));
    // The first line; a trailing line break is no part of it.
    return QString::fromUtf8(f.readLine()).remove(u'\n').remove(u'\r');
}

// Opens the aliases the command needs and closes those it opened.
class TConnections {
  public:
    TConnections(const QStringList& aliases, const QString& user, const QString& password) {
        TDatabaseManager& dbs = BaseMng().Databases();
        for (const QString& a : aliases) {
            const QString alias = a.toUpper();
            if (dbs.IsOpen(alias)) continue;
            if (!dbs.HasLoginParams(alias))
                dbs.SetLoginParamsEx(user, password, 255, QString(), false, QString(), alias);
            dbs.OpenDataBase(alias);
            FOpened << alias;
        }
    }
    ~TConnections() {
        for (const QString& alias : FOpened)
            try {
                BaseMng().Databases().CloseDatabase(alias);
            } catch (const std::exception&) {
            }
    }

  private:
    QStringList FOpened;
};

void List(const QString& fileName, QTextStream& out) {
    TEIFile file(fileName);
    file.SetReadOnly(true);
    file.Open();
    for (int i = 0; i < file.Sections().GetCount(); ++i) {
        const TEISection& s = *file.Sections().GetSections(i);
        out << i << '\t' << s.ClassName() << '\t' << s.Name();
        const QString rows = s.Parameters().GetValues(QStringLiteral("RowCount"));
        if (!rows.isEmpty()) out << '\t' << rows.toLongLong() << " rows";
        out << '\n';
    }
    if (!file.UnfinishedSectionNote().isEmpty())
        out << "# " << file.UnfinishedSectionNote() << '\n';
    out.flush();
}

void Run(const TCommand& c, QTextStream& out, QTextStream& err) {
    if (c.Name == QLatin1String("list")) return List(c.Positional[0], out);
    const QString user = c.User.isEmpty() ? qEnvironmentVariable("PELVAR_USER") : c.User;
    const QString password = Password(c);
    TStderrProgress progress(err);
    TOperationContext context(&progress);
    if (c.Name == QLatin1String("export")) {
        TConnections open({c.Positional[0]}, user, password);
        TUOExportDatabase op;
        op.SetSourceAlias(c.Positional[0].toUpper());
        op.SetFileName(c.Positional[1]);
        op.Parts = c.Parts;
        op.Execute(context);
    } else if (c.Name == QLatin1String("import")) {
        TConnections open({c.Positional[1]}, user, password);
        TUOImportDatabase op;
        op.SetFileName(c.Positional[0]);
        op.SetTargetAlias(c.Positional[1].toUpper());
        op.Parts = c.Parts;
        op.Execute(context);
    } else {
        TConnections open({c.Positional[0], c.Positional[1]}, user, password);
        TUOCopyDatabase op;
        op.SetSourceAlias(c.Positional[0].toUpper());
        op.SetTargetAlias(c.Positional[1].toUpper());
        op.Parts = c.Parts;
        op.Execute(context);
    }
    err << "done" << Qt::endl;
}

}  // namespace

int RunExchangeCli(const QStringList& args, QTextStream& out, QTextStream& err) {
    TCommand command;
    try {
        command = Parse(args);
    } catch (const TUsageError& e) {
        err << "pelvar-exchange: " << e.Text << '\n' << kUsageText;
        err.flush();
        return kUsage;
    } catch (const EPelvarError& e) {
        err << "pelvar-exchange: " << e.Message() << '\n' << kUsageText;
        err.flush();
        return kUsage;
    }
    try {
        Run(command, out, err);
        return 0;
    } catch (const std::exception& e) {
        // One line: the message may hold the driver's line breaks.
        err << "pelvar-exchange: error: " << ExceptionMessage(e).simplified() << Qt::endl;
        return kFailed;
    }
}
