#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/appstartup.h"
#include "app/mainform.h"
#include "app/pelvarapplication.h"
#include "app/startup.h"
#include "appcore/appmanager.h"
#include "appcore/dsptable.h"
#include "appcore/odbc/odbcapi.h"
#include "appcore/query.h"
#include "appcore/security.h"
#include "basekit/stacktrace.h"
#include "basekit/threadname.h"
#include "demodictionary.h"
#include "scriptedinteraction.h"
#include "testenv.h"

namespace {

// Records every platform call of start-up in order.
class TRecordingPlatform : public TStartupPlatform {
  public:
    QStringList Calls;
    bool LoginResult = true;
    bool Privilege = true;
    QString RoleText = QStringLiteral("localised role text");
    QString FailingLibrary;
    QList<QPair<QString, int>> Boxes;

    void InstallStackTraces(bool map) override {
        Calls << QStringLiteral("StackTraces(%1)").arg(map);
    }
    void ReloadOdbcLibrary(const QString& lib) override {
        Calls << QStringLiteral("ReloadOdbcLibrary(%1)").arg(lib);
        if (lib == FailingLibrary)
            throw EDatabaseError(QStringLiteral("Can not load '%1'").arg(lib));
    }
    void SetCurrentThreadName(const QString& name) override {
        Calls << QStringLiteral("ThreadName(%1)").arg(name);
    }
    void InitializeApplication() override { Calls << QStringLiteral("InitializeApplication"); }
    void DetectVornakRoot() override { Calls << QStringLiteral("DetectVornakRoot"); }
    bool PerformLogin(const QString& p) override {
        Calls << QStringLiteral("PerformLogin(%1)").arg(p);
        return LoginResult;
    }
    bool HavePrivilege(const QString& role) override {
        Calls << QStringLiteral("HavePrivilege(%1)").arg(role);
        return Privilege;
    }
    QString LString(const QString& id) override {
        Calls << QStringLiteral("LString(%1)").arg(id);
        return RoleText;
    }
    int MessageBox(const QString& text, const QString& caption, int flags) override {
        Calls << QStringLiteral("MessageBox");
        Boxes.append({caption + QLatin1Char('|') + text, flags});
        return IDOK;
    }
    void ChangeModule(const QString& m) override {
        Calls << QStringLiteral("ChangeModule(%1)").arg(m);
    }
    void SetModuleFlags(quint8 f) override { Calls << QStringLiteral("ModuleFlags(%1)").arg(f); }
    void SetRecommendedFlagsForPelvar(const QString& f) override {
        Calls << QStringLiteral("SetRecommendedFlagsForPelvar(%1)").arg(f);
    }
    void LoadCustomLibraries(const QString& m) override {
        Calls << QStringLiteral("LoadCustomLibraries(%1)").arg(m);
    }
    int RunMainWindow() override {
        Calls << QStringLiteral("RunMainWindow");
        return 0;
    }
    void ResetProcContainer() override { Calls << QStringLiteral("ResetProcContainer"); }
};

void WriteIni(const QString& dir, const QString& text) {
    QFile f(QDir(dir).filePath(QStringLiteral("debug.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

TEST(Startup, RunsThePlatformCallsInOrderAndEndsWithTheLoop) {
    QTemporaryDir dir;
    TRecordingPlatform p;
    EXPECT_EQ(RunStartup({QStringLiteral("-style"), QStringLiteral("/ODBCDLL: /opt/a.so ")},
                         dir.path(), p),
              0);
    EXPECT_EQ(
        p.Calls,
        QStringList({QStringLiteral("StackTraces(0)"),  // no debug.ini: traces on, no map
                     QStringLiteral("ReloadOdbcLibrary(/opt/a.so)"),
                     QStringLiteral("ThreadName(MainPelvarThread)"),
                     QStringLiteral("InitializeApplication"), QStringLiteral("DetectVornakRoot"),
                     QStringLiteral("PerformLogin()"), QStringLiteral("HavePrivilege(DESIGNER)"),
                     QStringLiteral("ChangeModule(Pelvar)"), QStringLiteral("ModuleFlags(7)"),
                     QStringLiteral("SetRecommendedFlagsForPelvar()"),
                     QStringLiteral("LoadCustomLibraries(Pelvar)"), QStringLiteral("RunMainWindow"),
                     QStringLiteral("ResetProcContainer")}));
}

TEST(Startup, DebugIniSwitchesStackTracesAndTheMapFile) {
    QTemporaryDir dir;
    {
        TRecordingPlatform p;
        p.LoginResult = false;
        WriteIni(dir.path(), QStringLiteral("[Config]\nEnableJCL=0\nEnableMap=1\n"));
        RunStartup({}, dir.path(), p);
        EXPECT_FALSE(p.Calls.join(QLatin1Char(' ')).contains(QStringLiteral("StackTraces")));
    }
    {
        TRecordingPlatform p;
        p.LoginResult = false;
        WriteIni(dir.path(), QStringLiteral("[config]\nenablejcl = 1\nEnableMap=1\n"));
        RunStartup({}, dir.path(), p);
        EXPECT_EQ(p.Calls.first(), QStringLiteral("StackTraces(1)"));
    }
    {
        TRecordingPlatform p;
        p.LoginResult = false;
        WriteIni(dir.path(),
                 QStringLiteral("[Config]\nEnableJCL=yes\n"));  // only exactly "1" switches on
        RunStartup({}, dir.path(), p);
        EXPECT_NE(p.Calls.first(), QStringLiteral("StackTraces(0)"));
        EXPECT_FALSE(p.Calls.join(QLatin1Char(' ')).contains(QStringLiteral("StackTraces")));
    }
}

TEST(Startup, OdbcDllArgumentsAreMatchedWithoutCaseTrimmedAndAppliedInOrder) {
    EXPECT_EQ(OdbcDllArguments({QStringLiteral("/odbcdll:"), QStringLiteral("/OdbcDll: first.so"),
                                QStringLiteral("x"), QStringLiteral("/odbcdllx"),
                                QStringLiteral("/odbcdll:second.so  ")}),
              QStringList({QStringLiteral("first.so"), QStringLiteral("second.so")}));
    // A library that cannot be loaded is reported once the application exists,
    // and nothing else happens.
    QTemporaryDir dir;
    TRecordingPlatform p;
    p.FailingLibrary = QStringLiteral("bad.so");
    EXPECT_EQ(RunStartup({QStringLiteral("/odbcdll:bad.so"), QStringLiteral("/odbcdll:later.so")},
                         dir.path(), p),
              1);
    EXPECT_FALSE(p.Calls.contains(QStringLiteral("ReloadOdbcLibrary(later.so)")));
    EXPECT_LT(p.Calls.indexOf(QStringLiteral("InitializeApplication")),
              p.Calls.indexOf(QStringLiteral("MessageBox")));
    EXPECT_FALSE(p.Calls.contains(QStringLiteral("PerformLogin()")));
    ASSERT_EQ(p.Boxes.size(), 1);
    EXPECT_TRUE(p.Boxes[0].first.contains(QStringLiteral("bad.so")));
}

TEST(Startup, FailedLoginEndsSilentlyAndAMissingRoleIsReported) {
    QTemporaryDir dir;
    {
        TRecordingPlatform p;
        p.LoginResult = false;
        EXPECT_EQ(RunStartup({}, dir.path(), p), 0);
        EXPECT_EQ(p.Calls.last(), QStringLiteral("PerformLogin()"));
        EXPECT_TRUE(p.Boxes.isEmpty());
    }
    for (const QString& text : {QStringLiteral("Нет роли"), QString(), QString(QChar(0))}) {
        TRecordingPlatform p;
        p.Privilege = false;
        p.RoleText = text;
        EXPECT_EQ(RunStartup({}, dir.path(), p), 0);
        EXPECT_FALSE(p.Calls.contains(QStringLiteral("ChangeModule(Pelvar)")));
        EXPECT_FALSE(p.Calls.contains(QStringLiteral("RunMainWindow")));
        ASSERT_EQ(p.Boxes.size(), 1);
        EXPECT_EQ(p.Boxes[0].second, 0x2030);
        const QString expected =
            text.size() > 1 ? text : QStringLiteral("User havn't role \"DESIGNER\"");
        EXPECT_EQ(p.Boxes[0].first, QLatin1Char('|') + expected);
    }
}

// Start-up over the real platform, with the login answered through the seam.
class TTestStartupPlatform : public TPelvarStartupPlatform {
  public:
    using TPelvarStartupPlatform::TPelvarStartupPlatform;
    QString Title;
    int RunMainWindow() override {
        TDictionaryForm form(ProgramDirectory());
        Title = form.windowTitle();
        return 0;
    }
};

class StartupLogin : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        GenerateDemoDictionary({Alias(), 1, 1});
        if (FDb->IsPostgres()) {
            // The server checks the real account: give it the designer role.
            FUser = QString::fromLocal8Bit(qgetenv("PELVAR_TEST_PG_USER"));
            FPassword = QString::fromLocal8Bit(qgetenv("PELVAR_TEST_PG_PASSWORD"));
            GetDSPTable(Alias()).PutStructure(
                FUser.toUpper(), kUserInfoStructureType,
                MakeUserInfo(FUser, {QStringLiteral("DESIGNER")}).ToBytes());
        }
        // Start-up logs in itself.
        BaseMng().Databases().CloseDatabase(Alias());
        BaseMng().Databases().RemoveLoginParams(Alias());
        BaseMng().Databases().SetDefaultAlias(QString());
        Script().Reset();
    }
    void Login(const QString& alias, const QString& user, const QString& password) {
        Script().AnswerModal([=](QObject* form) {
            EXPECT_EQ(form->objectName(), QStringLiteral("TLoginDialog"));
            form->findChild<QComboBox*>(QStringLiteral("AliasComboBox"))->setEditText(alias);
            form->findChild<QLineEdit*>(QStringLiteral("UserNameEdit"))->setText(user);
            form->findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(password);
            return IDOK;
        });
    }
    // Logs in once with the given answers, then cancels if asked again.
    QString Run() {
        Script().AnswerModal([](QObject*) { return IDCANCEL; });
        int argc = 1;
        char name[] = "pelvar";
        char* argv[] = {name, nullptr};
        TTestStartupPlatform p(argc, argv, QDir::temp().filePath(QStringLiteral("pelvar")));
        EXPECT_EQ(RunStartup({}, QDir::tempPath(), p), 0);
        return p.Title;
    }
    QString FUser = QStringLiteral("designer");
    QString FPassword = QStringLiteral("any");
};

TEST_P(StartupLogin, DesignerGetsTheMainWindowAndOthersAClearMessage) {
    // An unknown database is reported and asked again; the user then cancels.
    Login(QStringLiteral("NO_SUCH_DB"), FUser, FPassword);
    Script().AnswerMessage(IDOK);
    EXPECT_TRUE(Run().isEmpty());
    ASSERT_GE(Script().Asked.size(), 3);
    EXPECT_TRUE(Script().Asked[1].Text.contains(QStringLiteral("NO_SUCH_DB")));
    EXPECT_FALSE(BaseMng().Databases().HasLoginParams(QStringLiteral("NO_SUCH_DB")));
    EXPECT_TRUE(Script().Unexpected.isEmpty());

    if (FDb->IsPostgres()) {
        // A wrong password is refused by the server and leaves nothing behind.
        Script().Reset();
        Login(Alias(), FUser, QStringLiteral("wrong"));
        Script().AnswerMessage(IDOK);
        EXPECT_TRUE(Run().isEmpty());
        ASSERT_GE(Script().Asked.size(), 2);
        EXPECT_TRUE(Script().Asked[1].Text.contains(Alias()));
        EXPECT_FALSE(BaseMng().Databases().IsOpen(Alias()));
        EXPECT_FALSE(BaseMng().Databases().HasLoginParams(Alias()));
    } else {
        // "viewer" does not hold the designer role.
        Script().Reset();
        Login(Alias(), QStringLiteral("viewer"), FPassword);
        Script().AnswerMessage(IDOK);
        EXPECT_TRUE(Run().isEmpty());
        ASSERT_GE(Script().Asked.size(), 2);
        EXPECT_EQ(Script().Asked[1].Flags, 0x2030);
        EXPECT_TRUE(Script().Asked[1].Text.contains(QStringLiteral("\"DESIGNER\"")));
        BaseMng().Databases().CloseDatabase(Alias());
    }

    Script().Reset();
    Login(Alias(), FUser, FPassword);
    EXPECT_EQ(Run(), Alias() + QStringLiteral(" - Dictionary"));
    EXPECT_EQ(Script().Asked.size(), 1);  // only the login: no second prompt
    EXPECT_EQ(BaseMng().CurrentAlias(), Alias());
    EXPECT_EQ(BaseMng().ModuleName(), QStringLiteral("Pelvar"));
    EXPECT_EQ(BaseMng().ModuleFlags(), 7);
    EXPECT_EQ(CurrentThreadName(), QStringLiteral("MainPelvarThread"));
    // The last login is offered next time; the password never is.
    Script().Reset();
    Script().AnswerModal([&](QObject* form) {
        EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("AliasComboBox"))->currentText(),
                  Alias());
        EXPECT_EQ(form->findChild<QLineEdit*>(QStringLiteral("UserNameEdit"))->text(), FUser);
        EXPECT_TRUE(form->findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->text().isEmpty());
        return IDCANCEL;
    });
    BaseMng().Databases().CloseDatabase(Alias());
    EXPECT_TRUE(Run().isEmpty());
}
PELVAR_ENGINE_TESTS(StartupLogin);

TEST(Startup, DriverManagerReloadNamesAMissingLibraryAndKeepsTheOldOne) {
    try {
        ReloadOdbcLibrary(QStringLiteral("/no/such/libodbc.so"));
        FAIL() << "a missing library loaded";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("/no/such/libodbc.so")));
    }
    try {
        ReloadOdbcLibrary(QStringLiteral("libc.so.6"));  // loads, but is no driver manager
        FAIL() << "a library without ODBC functions was accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("libc.so.6")));
    }
    EXPECT_EQ(OdbcLibraryName(), DefaultOdbcLibrary());
    TTestDatabase db("SQLite");
    TSelectQuery q(BaseMng().Databases().GetDatabase(db.Alias()), QStringLiteral("SELECT 1"));
    q.Open();
    EXPECT_FALSE(q.Eof());
    // Not while a database is connected.
    EXPECT_THROW(ReloadOdbcLibrary(DefaultOdbcLibrary()), EDatabaseError);
}

// An interaction whose exception display raises another exception, as a
// failing error dialog would.
class TReentrantDisplay : public TScriptedInteraction {
  public:
    int Shown = 0;
    void ShowException(const QString& c, const QString& m, const QStringList& s) override {
        ++Shown;
        TScriptedInteraction::ShowException(c, m, s);
        TPelvarApplication::HandleException(EPelvarError(QStringLiteral("raised while showing")));
    }
};

TEST(Startup, UnhandledExceptionsAreShownOnceByTheMainWindow) {
    TTestDatabase db("SQLite");
    TDictionaryForm form(QDir::tempPath());
    {
        TReentrantDisplay display;
        TPelvarApplication::HandleException(EPelvarError(QStringLiteral("first")));
        EXPECT_EQ(display.Shown, 1);
        EXPECT_FALSE(form.ExceptionFlag());
        TPelvarApplication::HandleException(EPelvarError(QStringLiteral("second")));
        EXPECT_EQ(display.Shown, 2);
        ASSERT_EQ(display.Asked.size(), 2);
        EXPECT_EQ(display.Asked[1].Text, QStringLiteral("second"));
        EXPECT_EQ(display.Asked[1].Caption, QStringLiteral("EPelvarError"));
    }
    // Stack traces travel with the error when they are switched on.
    SetStackTraceSupport(true, false);
    EPelvarError traced(QStringLiteral("traced"));
    EXPECT_FALSE(traced.StackTrace().isEmpty());
    SetStackTraceSupport(false, false);
    EXPECT_TRUE(EPelvarError(QStringLiteral("plain")).StackTrace().isEmpty());
}

}  // namespace
