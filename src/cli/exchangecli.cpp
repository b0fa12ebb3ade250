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
    "login: --user NAME or PELVAR_USER; --password-file FILE or PELVAR_PASSWORD\n"
    "copy's target, when its login differs: --to-user NAME; --to-password-file FILE\n"
    "  or PELVAR_TO_PASSWORD (each defaults to the first login's)\n";

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
    QString ToUser;
    QString ToPasswordFile;
};

struct TLogin {
    QString User;
    QString Password;
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
        else if (a == QLatin1String("--to-user"))
            c.ToUser = value();
        else if (a == QLatin1String("--to-password-file"))
            c.ToPasswordFile = value();
        else if (a == QLatin1String("--password") || a == QLatin1String("--to-password"))
            throw TUsageError{QStringLiteral(
                "a password is never given on the command line: use --password-file or "
                "PELVAR_PASSWORD (--to-password-file or PELVAR_TO_PASSWORD)")};
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

QString ReadPassword(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EPelvarError(QStringLiteral("The password file %1 can not be read").arg(fileName));
    // The first line; a trailing line break is no part of it.
    return QString::fromUtf8(f.readLine()).remove(u'\n').remove(u'\r');
}

TLogin FirstLogin(const TCommand& c) {
    return {c.User.isEmpty() ? qEnvironmentVariable("PELVAR_USER") : c.User,
            c.PasswordFile.isEmpty() ? qEnvironmentVariable("PELVAR_PASSWORD")
                                     : ReadPassword(c.PasswordFile)};
}

// The login for copy's target: what is given of its own, else the first's.
TLogin TargetLogin(const TCommand& c, const TLogin& first) {
    TLogin login = first;
    if (!c.ToUser.isEmpty()) login.User = c.ToUser;
    if (!c.ToPasswordFile.isEmpty())
        login.Password = ReadPassword(c.ToPasswordFile);
    else if (qEnvironmentVariableIsSet("PELVAR_TO_PASSWORD"))
        login.Password = qEnvironmentVariable("PELVAR_TO_PASSWORD");
    return login;
}

// Opens the aliases the command needs, each with its login unless the alias
// has one already, and closes those it opened, forgetting the logins it gave.
class TConnections {
  public:
    TConnections(const QList<std::pair<QString, TLogin>>& aliases) {
        try {
            for (const auto& [a, login] : aliases)
                Open(a.toUpper(), login);
        } catch (...) {
            Close();
            throw;
        }
    }
    ~TConnections() { Close(); }

  private:
    void Open(const QString& alias, const TLogin& login) {
        TDatabaseManager& dbs = BaseMng().Databases();
        if (dbs.IsOpen(alias)) return;
        if (!dbs.HasLoginParams(alias)) {
            dbs.SetLoginParamsEx(login.User, login.Password, 255, QString(), false, QString(),
                                 alias);
            FLogins << alias;
        }
        dbs.OpenDataBase(alias);
        FOpened << alias;
    }
    void Close() {
        TDatabaseManager& dbs = BaseMng().Databases();
        for (const QString& alias : FOpened)
            try {
                dbs.CloseDatabase(alias);
            } catch (const std::exception&) {
            }
        for (const QString& alias : FLogins)
            dbs.RemoveLoginParams(alias);
        FOpened.clear();
        FLogins.clear();
    }
    QStringList FOpened;
    QStringList FLogins;
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
    const TLogin login = FirstLogin(c);
    TStderrProgress progress(err);
    TOperationContext context(&progress);
    if (c.Name == QLatin1String("export")) {
        TConnections open({{c.Positional[0], login}});
        TUOExportDatabase op;
        op.SetSourceAlias(c.Positional[0].toUpper());
        op.SetFileName(c.Positional[1]);
        op.Parts = c.Parts;
        op.Execute(context);
    } else if (c.Name == QLatin1String("import")) {
        TConnections open({{c.Positional[1], login}});
        TUOImportDatabase op;
        op.SetFileName(c.Positional[0]);
        op.SetTargetAlias(c.Positional[1].toUpper());
        op.Parts = c.Parts;
        op.Execute(context);
    } else {
        TConnections open({{c.Positional[0], login}, {c.Positional[1], TargetLogin(c, login)}});
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
