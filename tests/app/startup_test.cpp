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
#include "appcore/dberrors.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/security.h"
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

    template <typename T>
    T Log(const QString& call, T result) {
        Calls << call;
        return result;
    }
    void InstallStackTraces(bool map) override {
        Calls << QStringLiteral("StackTraces(%1)").arg(map);
    }
    void ReloadOdbcLibrary(const QString& lib) override {
        Calls << "ReloadOdbcLibrary(" + lib + ")";
        if (lib == FailingLibrary) throw EDatabaseError("Can not load '" + lib + "'");
    }
    void SetCurrentThreadName(const QString& name) override { Calls << "ThreadName(" + name + ")"; }
    void InitializeApplication() override { Calls << "InitializeApplication"; }
    void DetectVornakRoot() override { Calls << "DetectVornakRoot"; }
    bool PerformLogin(const QString& p) override {
        return Log("PerformLogin(" + p + ")", LoginResult);
    }
    bool HavePrivilege(const QString& r) override {
        return Log("HavePrivilege(" + r + ")", Privilege);
    }
    QString LString(const QString& id) override { return Log("LString(" + id + ")", RoleText); }
    int MessageBox(const QString& text, const QString& caption, int flags) override {
        Boxes.append({caption + '|' + text, flags});
        return Log("MessageBox", IDOK);
    }
    void ChangeModule(const QString& m) override { Calls << "ChangeModule(" + m + ")"; }
    void SetModuleFlags(quint8 f) override { Calls << QStringLiteral("ModuleFlags(%1)").arg(f); }
    void SetRecommendedFlagsForPelvar(const QString& f) override {
        Calls << "SetRecommendedFlagsForPelvar(" + f + ")";
    }
    void LoadCustomLibraries(const QString& m) override {
        Calls << "LoadCustomLibraries(" + m + ")";
    }
    int RunMainWindow() override { return Log("RunMainWindow", 0); }
    void ResetProcContainer() override { Calls << "ResetProcContainer"; }
};

TEST(Startup, RunsThePlatformCallsInOrderAndEndsWithTheLoop) {
    QTemporaryDir dir;
    TRecordingPlatform p;
    EXPECT_EQ(RunStartup({"-style", "/ODBCDLL: /opt/a.so "}, dir.path(), p), 0);
    EXPECT_EQ(p.Calls,
              QStringList({"StackTraces(0)",  // no debug.ini: traces on, no map
                           "ReloadOdbcLibrary(/opt/a.so)", "ThreadName(MainPelvarThread)",
                           "InitializeApplication", "DetectVornakRoot", "PerformLogin()",
                           "HavePrivilege(DESIGNER)", "ChangeModule(Pelvar)", "ModuleFlags(7)",
                           "SetRecommendedFlagsForPelvar()", "LoadCustomLibraries(Pelvar)",
                           "RunMainWindow", "ResetProcContainer"}));
}

TEST(Startup, DebugIniSwitchesStackTracesAndTheMapFile) {
    QTemporaryDir dir;
    // Only exactly "1" switches on; names ignore case.
    const QList<QPair<const char*, const char*>> cases = {
        {"[Config]\nEnableJCL=0\nEnableMap=1\n", nullptr},
        {"[config]\nenablejcl = 1\nEnableMap=1\n", "StackTraces(1)"},
        {"[Config]\nEnableJCL=yes\n", nullptr},
    };
    for (const auto& [ini, expected] : cases) {
        QFile f(QDir(dir.path()).filePath("debug.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
        f.close();
        TRecordingPlatform p;
        p.LoginResult = false;
        RunStartup({}, dir.path(), p);
        EXPECT_EQ(p.Calls.filter("StackTraces"), expected ? QStringList{expected} : QStringList())
            << ini;
    }
}

TEST(Startup, OdbcDllArgumentsAreMatchedWithoutCaseTrimmedAndAppliedInOrder) {
    EXPECT_EQ(OdbcDllArguments(
                  {"/odbcdll:", "/OdbcDll: first.so", "x", "/odbcdllx", "/odbcdll:second.so  "}),
              QStringList({"first.so", "second.so"}));
    // A library that cannot be loaded is reported once the application exists,
    // and nothing else happens.
    QTemporaryDir dir;
    TRecordingPlatform p;
    p.FailingLibrary = "bad.so";
    EXPECT_EQ(RunStartup({"/odbcdll:bad.so", "/odbcdll:later.so"}, dir.path(), p), 1);
    EXPECT_FALSE(p.Calls.contains("ReloadOdbcLibrary(later.so)"));
    EXPECT_LT(p.Calls.indexOf("InitializeApplication"), p.Calls.indexOf("MessageBox"));
    EXPECT_FALSE(p.Calls.contains("PerformLogin()"));
    ASSERT_EQ(p.Boxes.size(), 1);
    EXPECT_TRUE(p.Boxes[0].first.contains("bad.so"));
}

TEST(Startup, TheProgramDirectoryIsTheExecutablesAlsoWhenFoundThroughPath) {
    QTemporaryDir bin, work;
    const QString exe = bin.filePath("pelvar");
    QFile file(exe);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString noLink = work.filePath("missing-link");
    // A file of that name earlier in PATH that cannot run is not the program.
    QFile other(work.filePath("pelvar"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const QString path = work.path() + ":" + bin.path();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    EXPECT_EQ(ProgramPath("pelvar", path, noLink), exe);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(bin.path());
    EXPECT_EQ(ProgramPath("./pelvar", QString(), noLink), exe);  // a relative folder
    QDir::setCurrent(previous);
    // The system's own link to the executable wins.
    ASSERT_TRUE(QFile::link(exe, work.filePath("self")));
    EXPECT_EQ(ProgramPath("pelvar", QString(), work.filePath("self")), exe);
    EXPECT_EQ(QFileInfo(ProgramPath("anything", QString())).fileName(), "app_tests");
}

TEST(Startup, FailedLoginEndsSilentlyAndAMissingRoleIsReported) {
    QTemporaryDir dir;
    {
        TRecordingPlatform p;
        p.LoginResult = false;
        EXPECT_EQ(RunStartup({}, dir.path(), p), 0);
        EXPECT_EQ(p.Calls.last(), "PerformLogin()");
        EXPECT_TRUE(p.Boxes.isEmpty());
    }
    for (const QString& text : {QStringLiteral("Нет роли"), QString(), QString(QChar(0))}) {
        TRecordingPlatform p;
        p.Privilege = false;
        p.RoleText = text;
        EXPECT_EQ(RunStartup({}, dir.path(), p), 0);
        EXPECT_FALSE(p.Calls.contains("ChangeModule(Pelvar)"));
        EXPECT_FALSE(p.Calls.contains("RunMainWindow"));
        ASSERT_EQ(p.Boxes.size(), 1);
        EXPECT_EQ(p.Boxes[0].second, 0x2030);
        const QString expected = text.size() > 1 ? text : "User havn't role \"DESIGNER\"";
        EXPECT_EQ(p.Boxes[0].first, '|' + expected);
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
            GetDSPTable(Alias()).PutStructure(FUser.toUpper(), kUserInfoStructureType,
                                              MakeUserInfo(FUser, {"DESIGNER"}).ToBytes());
        }
        // Start-up logs in itself.
        BaseMng().Databases().CloseDatabase(Alias());
        BaseMng().Databases().RemoveLoginParams(Alias());
        BaseMng().Databases().SetDefaultAlias(QString());
        Script().Reset();
    }
    void Login(const QString& alias, const QString& user, const QString& password) {
        Script().AnswerModal([=](QObject* form) {
            EXPECT_EQ(form->objectName(), "TLoginDialog");
            form->findChild<QComboBox*>("AliasComboBox")->setEditText(alias);
            form->findChild<QLineEdit*>("UserNameEdit")->setText(user);
            form->findChild<QLineEdit*>("PasswordEdit")->setText(password);
            return IDOK;
        });
    }
    // Logs in once with the given answers, then cancels if asked again.
    QString Run() {
        Script().AnswerModal([](QObject*) { return IDCANCEL; });
        int argc = 1;
        char name[] = "pelvar";
        char* argv[] = {name, nullptr};
        TTestStartupPlatform p(argc, argv, QDir::temp().filePath("pelvar"));
        EXPECT_EQ(RunStartup({}, QDir::tempPath(), p), 0);
        return p.Title;
    }
    QString FUser = "designer";
    QString FPassword = "any";
};

TEST_P(StartupLogin, DesignerGetsTheMainWindowAndOthersAClearMessage) {
    // An unknown database is reported and asked again; the user then cancels.
    Login("NO_SUCH_DB", FUser, FPassword);
    Script().AnswerMessage(IDOK);
    EXPECT_TRUE(Run().isEmpty());
    ASSERT_GE(Script().Asked.size(), 3);
    EXPECT_TRUE(Script().Asked[1].Text.contains("NO_SUCH_DB"));
    EXPECT_FALSE(BaseMng().Databases().HasLoginParams("NO_SUCH_DB"));
    EXPECT_TRUE(Script().Unexpected.isEmpty());

    if (FDb->IsPostgres()) {
        // A wrong password is refused by the server and leaves nothing behind.
        Script().Reset();
        Login(Alias(), FUser, "wrong");
        Script().AnswerMessage(IDOK);
        EXPECT_TRUE(Run().isEmpty());
        ASSERT_GE(Script().Asked.size(), 2);
        EXPECT_TRUE(Script().Asked[1].Text.contains(Alias()));
        EXPECT_FALSE(BaseMng().Databases().IsOpen(Alias()));
        EXPECT_FALSE(BaseMng().Databases().HasLoginParams(Alias()));
    } else {
        // "viewer" does not hold the designer role.
        Script().Reset();
        Login(Alias(), "viewer", FPassword);
        Script().AnswerMessage(IDOK);
        EXPECT_TRUE(Run().isEmpty());
        ASSERT_GE(Script().Asked.size(), 2);
        EXPECT_EQ(Script().Asked[1].Flags, 0x2030);
        EXPECT_TRUE(Script().Asked[1].Text.contains("\"DESIGNER\""));
        BaseMng().Databases().CloseDatabase(Alias());
    }

    Script().Reset();
    Login(Alias(), FUser, FPassword);
    EXPECT_EQ(Run(), Alias() + " - Dictionary");
    EXPECT_EQ(Script().Asked.size(), 1);  // only the login: no second prompt
    EXPECT_EQ(BaseMng().CurrentAlias(), Alias());
    EXPECT_EQ(BaseMng().ModuleName(), "Pelvar");
    EXPECT_EQ(BaseMng().ModuleFlags(), 7);
    EXPECT_EQ(CurrentThreadName(), "MainPelvarThread");
    // The last login is offered next time; the password never is.
    Script().Reset();
    Script().AnswerModal([&](QObject* form) {
        EXPECT_EQ(form->findChild<QComboBox*>("AliasComboBox")->currentText(), Alias());
        EXPECT_EQ(form->findChild<QLineEdit*>("UserNameEdit")->text(), FUser);
        EXPECT_TRUE(form->findChild<QLineEdit*>("PasswordEdit")->text().isEmpty());
        return IDCANCEL;
    });
    BaseMng().Databases().CloseDatabase(Alias());
    EXPECT_TRUE(Run().isEmpty());
}
PELVAR_ENGINE_TESTS(StartupLogin);

// An interaction whose exception display raises another exception, as a
// failing error dialog would.
class TReentrantDisplay : public TScriptedInteraction {
  public:
    int Shown = 0;
    void ShowException(const QString& c, const QString& m, const QStringList& s) override {
        ++Shown;
        TScriptedInteraction::ShowException(c, m, s);
        TPelvarApplication::HandleException(EPelvarError("raised while showing"));
    }
};

TEST(Startup, UnhandledExceptionsAreShownOnceByTheMainWindow) {
    TTestDatabase db("SQLite");
    TDictionaryForm form(QDir::tempPath());
    {
        TReentrantDisplay display;
        TPelvarApplication::HandleException(EPelvarError("first"));
        EXPECT_EQ(display.Shown, 1);
        EXPECT_FALSE(form.ExceptionFlag());
        TPelvarApplication::HandleException(EPelvarError("second"));
        EXPECT_EQ(display.Shown, 2);
        ASSERT_EQ(display.Asked.size(), 2);
        EXPECT_EQ(display.Asked[1].Text, "second");
        EXPECT_EQ(display.Asked[1].Caption, "EPelvarError");
    }
}

}  // namespace
