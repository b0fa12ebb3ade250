#include <gtest/gtest.h>
#include <pthread.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <limits>
#include <thread>

#include "basekit/datatypes.h"
#include "basekit/errors.h"
#include "basekit/inifile.h"
#include "basekit/record.h"
#include "basekit/stacktrace.h"
#include "basekit/threadlist.h"
#include "basekit/threadname.h"
#include "basekit/tracelog.h"
#include "basekit/variant.h"
#include "errorof.h"
#include "printers.h"

namespace {

// ---- TQXVariant ----

TEST(VariantTest, ConvertsBetweenKindsWhereAValueMeansTheSame) {
    const TQXVariant null;
    EXPECT_EQ(null.AsInteger(), 0);
    EXPECT_EQ(null.AsFloat(), 0.0);
    EXPECT_FALSE(null.AsBoolean());
    EXPECT_TRUE(null.AsString().isEmpty());
    EXPECT_FALSE(null.AsDateTime().isValid());
    EXPECT_TRUE(null.AsBinary().isEmpty());

    for (const auto& [value, text] : QList<std::pair<TQXVariant, const char*>>{
             {42, "42"}, {2.5, "2.5"}, {0.1, "0.1"}, {true, "TRUE"}})
        EXPECT_EQ(value.AsString(), text);
    EXPECT_EQ(TQXVariant(42).AsFloat(), 42.0);
    EXPECT_EQ(TQXVariant(qlonglong(1) << 40).AsInteger(), qlonglong(1) << 40);
    EXPECT_EQ(TQXVariant(2.9).AsInteger(), 2);
    EXPECT_EQ(TQXVariant(-2.9).AsInteger(), -2);
    EXPECT_EQ(TQXVariant(true).AsInteger(), 1);
    EXPECT_EQ(TQXVariant(QStringLiteral(" 17 ")).AsInteger(), 17);
    EXPECT_EQ(TQXVariant("-3.25").AsFloat(), -3.25);
    for (const TQXVariant& t : {TQXVariant(-1), TQXVariant("true"), TQXVariant("TRUE"),
                                TQXVariant(" True "), TQXVariant("1")})
        EXPECT_TRUE(t.AsBoolean()) << t.AsString().toStdString();
    for (const TQXVariant& f :
         {TQXVariant(0), TQXVariant("false"), TQXVariant("FALSE"), TQXVariant("0")})
        EXPECT_FALSE(f.AsBoolean()) << f.AsString().toStdString();

    const QDateTime stamp(QDate(2024, 2, 29), QTime(13, 14, 15, 160));
    EXPECT_EQ(TQXVariant(stamp).AsString(), "2024-02-29 13:14:15.160");
    EXPECT_EQ(TQXVariant(stamp).AsDate(), QDate(2024, 2, 29));
    EXPECT_EQ(TQXVariant(QDate(2024, 1, 2)).AsDateTime(),
              QDateTime(QDate(2024, 1, 2), QTime(0, 0)));
    EXPECT_EQ(TQXVariant(QDate(2024, 1, 2)).AsString(), "2024-01-02");
    EXPECT_EQ(TQXVariant("2024-02-29 13:14:15.160").AsDateTime(), stamp);
    EXPECT_EQ(TQXVariant("29.02.2024").AsDate(), QDate(2024, 2, 29));
    EXPECT_EQ(TQXVariant("2024-02-29T13:14:15").AsDateTime(),
              QDateTime(QDate(2024, 2, 29), QTime(13, 14, 15)));

    EXPECT_EQ(TQXVariant(QStringLiteral("Жук")).AsBinary(), QStringLiteral("Жук").toUtf8());
    EXPECT_EQ(TQXVariant(QByteArray("raw")).AsString(), "raw");

    // Equality is by kind and value.
    EXPECT_EQ(TQXVariant(1), TQXVariant(qlonglong(1)));
    EXPECT_NE(TQXVariant(1), TQXVariant(1.0));
    EXPECT_NE(TQXVariant(1), TQXVariant("1"));
    EXPECT_EQ(TQXVariant(), TQXVariant::Null());
    EXPECT_NE(TQXVariant(), TQXVariant(QString()));

    // From and to QVariant: unsigned and single-precision values keep their kind.
    EXPECT_TRUE(TQXVariant::FromQVariant(QVariant()).IsNull());
    EXPECT_EQ(TQXVariant::FromQVariant(QVariant(7u)), TQXVariant(7));
    EXPECT_EQ(TQXVariant::FromQVariant(QVariant(1.5f)), TQXVariant(1.5));
    EXPECT_EQ(TQXVariant::FromQVariant(QVariant(true)), TQXVariant(true));
    EXPECT_EQ(TQXVariant::FromQVariant(QVariant(stamp)).AsDateTime(), stamp);
    EXPECT_EQ(TQXVariant::FromQVariant(QVariant(QByteArray("b"))), TQXVariant(QByteArray("b")));
    EXPECT_EQ(TQXVariant(5).ToQVariant().toLongLong(), 5);
}

TEST(VariantTest, ImpossibleConversionsRaiseConvertErrorsNamingTheValue) {
    const QList<std::pair<const char*, std::function<void()>>> cases = {
        {"abc", [] { TQXVariant("abc").AsInteger(); }},
        {"12.5", [] { TQXVariant("12.5").AsInteger(); }},
        {"", [] { TQXVariant("").AsInteger(); }},
        {"1,5", [] { TQXVariant("1,5").AsFloat(); }},
        {"yes", [] { TQXVariant("yes").AsBoolean(); }},
        {"2024-02-30", [] { TQXVariant("2024-02-30").AsDateTime(); }},
        {"tomorrow", [] { TQXVariant("tomorrow").AsDate(); }},
        {"2024-01-02", [] { TQXVariant(QDate(2024, 1, 2)).AsInteger(); }},
        {"blob", [] { TQXVariant(QByteArray("blob")).AsFloat(); }},
        {"7", [] { TQXVariant(7).AsDateTime(); }},
        // A float that no 64-bit integer can hold is not silently wrapped.
        {"1e+30", [] { TQXVariant(1e30).AsInteger(); }},
        {"-1e+30", [] { TQXVariant(-1e30).AsInteger(); }},
        {"nan", [] { TQXVariant(std::numeric_limits<double>::quiet_NaN()).AsInteger(); }},
    };
    for (const auto& [value, convert] : cases) {
        const QString message = ErrorOf<EConvertError>(convert);
        EXPECT_TRUE(message.contains('\'' + QString::fromUtf8(value) + '\''))
            << qPrintable(message);
    }
}

// ---- TRecord ----

TEST(RecordTest, FieldsAreFoundByNameInsertedDeletedAndCopied) {
    TRecord r;
    r.AddField("ID", dtInteger, 4).SetRequired(true);
    r.AddField("Name", dtString, 40);
    r.InsertField(1, "Code", dtString, 10);
    r.InsertField(99, "Last", dtFloat);  // clamped to the end
    r.InsertField(-5, "First", dtBoolean);
    ASSERT_EQ(r.GetFieldCount(), 5);
    QStringList names;
    for (int i = 0; i < r.GetFieldCount(); ++i)
        names << r.GetFields(i).Name();
    EXPECT_EQ(names, (QStringList{"First", "ID", "Code", "Name", "Last"}));

    EXPECT_EQ(r.IndexOf("name"), 3);
    EXPECT_EQ(r.IndexOf("NoSuch"), -1);
    EXPECT_EQ(r.FindField("code"), &r.GetFields(2));
    EXPECT_EQ(r.FindField("cod"), nullptr);
    EXPECT_TRUE(r.FieldByName("id").Required());
    EXPECT_TRUE(ErrorOf<EFieldError>([&] { r.FieldByName("Missing"); }).contains("'Missing'"));
    EXPECT_THROW(r.GetFields(5), EFieldError);
    EXPECT_THROW(r.GetFields(-1), EFieldError);
    EXPECT_THROW(r.DeleteField(5), EFieldError);

    r.FieldByName("ID").SetAsInteger(7);
    r.FieldByName("Name").SetAsString("Seven");

    // A copy is deep: changing it leaves the original alone.
    TRecord copy = r;
    copy.FieldByName("ID").SetAsInteger(8);
    EXPECT_EQ(r.FieldByName("ID").AsInteger(), 7);
    copy = r;
    EXPECT_EQ(copy.FieldByName("ID").AsInteger(), 7);
    copy = copy;  // self-assignment keeps the fields
    EXPECT_EQ(copy.GetFieldCount(), 5);

    // AssignData copies values matched by name (case-insensitive) and nothing else.
    TRecord target;
    target.AddField("name", dtString);
    target.AddField("id", dtInteger);
    target.AddField("Extra", dtString).SetAsString("kept");
    target.AssignData(r);
    EXPECT_EQ(target.GetFields(0).AsString(), "Seven");
    EXPECT_EQ(target.GetFields(1).AsInteger(), 7);
    EXPECT_EQ(target.GetFields(2).AsString(), "kept");
    // A NULL in the source is copied as NULL.
    r.FieldByName("Name").SetNull();
    target.AssignData(r);
    EXPECT_TRUE(target.GetFields(0).IsNull());

    r.DeleteField(0);
    EXPECT_EQ(r.IndexOf("First"), -1);
    EXPECT_EQ(r.IndexOf("ID"), 0);
    r.ClearData();
    for (int i = 0; i < r.GetFieldCount(); ++i)
        EXPECT_TRUE(r.GetFields(i).IsNull());
    EXPECT_EQ(r.GetFieldCount(), 4);  // ClearData keeps the fields
    r.Clear();
    EXPECT_EQ(r.GetFieldCount(), 0);
}

// ---- data types ----

TEST(ErrorsTest, ClassNameMessageAndStackTraceOfAnyException) {
    const EConvertError convert("Текст");
    EXPECT_EQ(ExceptionClassName(convert), "EConvertError");
    EXPECT_EQ(ExceptionMessage(convert), "Текст");
    EXPECT_STREQ(convert.what(), "Текст");
    const std::runtime_error plain("plain failure");
    EXPECT_EQ(ExceptionMessage(plain), "plain failure");
    EXPECT_FALSE(ExceptionClassName(plain).isEmpty());
    // Stack traces travel with the error only while they are switched on.
    SetStackTraceSupport(true, false);
    EXPECT_FALSE(EPelvarError("traced").StackTrace().isEmpty());
    SetStackTraceSupport(false, false);
    EXPECT_TRUE(EPelvarError("plain").StackTrace().isEmpty());
}

// ---- ini files ----

class IniFileTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        FFile = FDir.filePath(QStringLiteral("debug.ini"));
        QFile f(FFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\xef\xbb\xbf[Debug]\n"
            "StackTrace = 1 \n"
            "  MapFile=pelvar.map\r\n"
            "; StackTrace=commented\n"
            "# Hidden=yes\n"
            "Empty=\n"
            "Equation=a=b\n"
            "NoEquals\n"
            "Name=Имя\n"
            "[ Other ]\n"
            "StackTrace=0\n"
            "Outside=other section\n"
            "[debug]\n"
            "Late=second block\n");
    }
    QString Get(const char* section, const char* key, const char* def = "<default>") {
        return QX_GetIniStrParamValue(FFile, QLatin1String(section), QLatin1String(key),
                                      QLatin1String(def));
    }
    QTemporaryDir FDir;
    QString FFile;
};

TEST_F(IniFileTest, ReadsValuesBySectionAndKeyIgnoringCaseAndComments) {
    EXPECT_EQ(Get("Debug", "StackTrace"), QStringLiteral("1"));
    EXPECT_EQ(Get("DEBUG", "stacktrace"), QStringLiteral("1"));
    EXPECT_EQ(Get("debug", "MapFile"), QStringLiteral("pelvar.map"));
    EXPECT_EQ(Get("Other", "StackTrace"), QStringLiteral("0"));
    EXPECT_EQ(Get("Debug", "Equation"), QStringLiteral("a=b"));
    EXPECT_EQ(Get("Debug", "Name"), QStringLiteral("Имя"));
    EXPECT_EQ(Get("Debug", "Empty"), QString());  // present but empty is not missing
    EXPECT_EQ(Get("Debug", "Late"), QStringLiteral("second block"));
    // Comments and lines without "=" are no keys.
    EXPECT_EQ(Get("Debug", "Hidden"), QStringLiteral("<default>"));
    EXPECT_EQ(Get("Debug", "; StackTrace"), QStringLiteral("<default>"));
    EXPECT_EQ(Get("Debug", "NoEquals"), QStringLiteral("<default>"));
    // Keys outside their section are not found.
    EXPECT_EQ(Get("Debug", "Outside"), QStringLiteral("<default>"));
    EXPECT_EQ(Get("Other", "MapFile"), QStringLiteral("<default>"));
    EXPECT_EQ(Get("Missing", "StackTrace"), QStringLiteral("<default>"));
    EXPECT_EQ(Get("Debug", "Missing", ""), QString());
    EXPECT_EQ(QX_GetIniStrParamValue(FDir.filePath("none.ini"), "Debug", "StackTrace", "def"),
              "def");
}

// ---- threads ----

TEST(ThreadListTest, KeepsEveryItemWhenTwoThreadsWorkOnIt) {
    TQXThreadList<int> list;
    constexpr int kPerThread = 20000;
    std::atomic<int> taken{0};
    std::atomic<long long> takenSum{0};
    auto produce = [&](int base) {
        for (int i = 0; i < kPerThread; ++i)
            list.Add(base + i);
    };
    auto consume = [&] {
        int value = 0;
        while (taken < kPerThread) {
            if (list.TakeFirst(value)) {
                ++taken;
                takenSum += value;
            }
        }
    };
    std::thread a(produce, 0), b(produce, kPerThread), c(consume);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(taken + list.Count(), 2 * kPerThread);
    long long rest = 0;
    for (int v : list.Snapshot())
        rest += v;
    const long long all = (2LL * kPerThread - 1) * (2LL * kPerThread) / 2;
    EXPECT_EQ(takenSum + rest, all);

    list.Clear();
    int untouched = -1;
    EXPECT_FALSE(list.TakeFirst(untouched));
    EXPECT_EQ(untouched, -1);
    list.Add(3);
    list.Add(4);
    list.Add(3);
    EXPECT_TRUE(list.Remove(3));  // the first one only
    EXPECT_EQ(list.Snapshot(), (std::vector<int>{4, 3}));
    EXPECT_FALSE(list.Remove(5));
}

QByteArray SystemThreadName() {
    char buf[64] = {0};
    pthread_getname_np(pthread_self(), buf, sizeof buf);
    return QByteArray(buf);
}

TEST(ThreadNameTest, LongNamesAreKeptWholeAndCutForTheSystem) {
    struct TSeen {
        QString Own, Qt;
        QByteArray System;
    };
    auto nameIn = [](const QString& name) {
        TSeen seen;
        std::thread t([&] {
            SetCurrentThreadName(name);
            seen.Own = CurrentThreadName();
            seen.Qt = QThread::currentThread()->objectName();
            seen.System = SystemThreadName();
        });
        t.join();
        return seen;
    };
    const QString ascii = QStringLiteral("ResourceSearch16");  // 16 characters
    TSeen s = nameIn(ascii);
    EXPECT_EQ(s.Own, ascii);
    EXPECT_EQ(s.Qt, ascii);
    EXPECT_EQ(s.System, ascii.left(15).toUtf8());

    // The system keeps 15 bytes: a name of wide characters is cut at a
    // character boundary rather than left unset.
    const QString cyrillic = QStringLiteral("ПоискРесурсовБД");
    s = nameIn(cyrillic + "X");
    EXPECT_EQ(s.Own, cyrillic + "X");
    EXPECT_EQ(QString::fromUtf8(s.System), cyrillic.left(7));

    // Names belong to their thread.
    const QString mine = CurrentThreadName();
    nameIn(QStringLiteral("Other"));
    EXPECT_EQ(CurrentThreadName(), mine);
}

// ---- trace log ----

TEST(TraceLogTest, WritesOnlyWhileTracingIsOn) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("trace.log"));
    auto lines = [&] {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) return QStringList();
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    {
        TTraceLog log(file);
        EXPECT_EQ(TTraceLog::Current(), &log);
        EXPECT_FALSE(log.Tracing());
        PELVAR_TRACE("SilentRoutine");
        log.Trace(QStringLiteral("DirectWhileOff"));
        EXPECT_TRUE(lines().isEmpty());

        log.SetTracing(true);
        PELVAR_TRACE("FirstRoutine");
        std::thread t([] {
            SetCurrentThreadName(QStringLiteral("TraceWorker"));
            PELVAR_TRACE("WorkerRoutine");
        });
        t.join();
        log.Trace(QStringLiteral("DirectWhileOn"));
        log.SetTracing(false);
        PELVAR_TRACE("SilentAgain");

        const QStringList written = lines();
        ASSERT_EQ(written.size(), 3) << qPrintable(written.join(QLatin1Char('\n')));
        EXPECT_TRUE(written[0].endsWith(QStringLiteral(" FirstRoutine")));
        EXPECT_TRUE(written[1].contains(QStringLiteral("[TraceWorker] WorkerRoutine")));
        EXPECT_TRUE(written[2].endsWith(QStringLiteral(" DirectWhileOn")));
    }
    // Once the log is gone, tracing goes nowhere.
    EXPECT_EQ(TTraceLog::Current(), nullptr);
    PELVAR_TRACE("AfterTheEnd");
    EXPECT_EQ(lines().size(), 3);
}

}  // namespace
