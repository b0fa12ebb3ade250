#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "appcore/security.h"
#include "errorof.h"
#include "storefixture.h"

namespace {

class DSPStoreTest : public StoreTest {};

QStringList Names(const TDSPList& list) {
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << QStringLiteral("%1/%2").arg(list.Items(i).Name).arg(list.Items(i).ObjectType);
    return names;
}

QDateTime StampOf(TDSPTable& dsp, const QString& name, int type) {
    TDSPListItem item;
    if (!dsp.GetStructureProperties(name, type, item)) return QDateTime();
    return item.LastChange.IsNull() ? QDateTime() : item.LastChange.AsDateTime();
}

// ---- DSP structures ----

TEST_P(DSPStoreTest, PutStructureUpsertsAndStampsEveryWriteLaterThanTheLast) {
    const QByteArray body1("{\"name\":\"CLIENTS\"}"), body2("\x00\x01\xff binary", 11);
    Dsp().PutStructure("CLIENTS", 10, body1);
    EXPECT_TRUE(Dsp().DSPStructureExist("CLIENTS", 10));
    EXPECT_FALSE(Dsp().DSPStructureExist("CLIENTS", 12));
    EXPECT_EQ(Dsp().GetStructure("CLIENTS", 10), body1);
    QDateTime last = StampOf(Dsp(), "CLIENTS", 10);
    ASSERT_TRUE(last.isValid());

    // Writes in quick succession still stamp strictly later times.
    for (int i = 0; i < 5; ++i) {
        Dsp().PutStructure("CLIENTS", 10, i % 2 ? body1 : body2);
        const QDateTime stamp = StampOf(Dsp(), "CLIENTS", 10);
        EXPECT_GT(stamp, last) << i;
        last = stamp;
    }
    EXPECT_EQ(Dsp().GetStructure("CLIENTS", 10), body2);
    TDSPList list;
    Dsp().FillStructuresList(10, list);
    EXPECT_EQ(list.Count(), 1);  // updated, not added

    // Properties of an existing structure (new ones: the inheritance test).
    Dsp().ChangeStructureProperties("CLIENTS", 10, "BASE", "CLIENTS_T", "Клиенты");
    EXPECT_GT(StampOf(Dsp(), "CLIENTS", 10), last);
    EXPECT_EQ(Dsp().GetStructure("CLIENTS", 10), body2);  // body untouched
    EXPECT_THROW(Dsp().PutStructure("  ", 10, body1), EDSPError);

    // What the cache says is what the database holds.
    TDSPListItem cached;
    ASSERT_TRUE(Dsp().GetStructureProperties("CLIENTS", 10, cached));
    Dsp().Refresh();
    TDSPListItem stored;
    ASSERT_TRUE(Dsp().GetStructureProperties("CLIENTS", 10, stored));
    EXPECT_EQ(stored.ParentName, "BASE");
    EXPECT_EQ(stored.TableName, "CLIENTS_T");
    EXPECT_EQ(stored.Remark, "Клиенты");
    EXPECT_EQ(stored.LastChange.AsDateTime(), cached.LastChange.AsDateTime());
    EXPECT_FALSE(Dsp().GetStructureProperties("NONE", 10, stored));

    Dsp().DeleteStructure("CLIENTS", 10);
    EXPECT_FALSE(Dsp().DSPStructureExist("CLIENTS", 10));
    Dsp().Refresh();
    EXPECT_FALSE(Dsp().DSPStructureExist("CLIENTS", 10));
    EXPECT_NO_THROW(Dsp().DeleteStructure("CLIENTS", 10));

    // A missing structure is named with its type and database; the same name
    // with another type is missing too.
    Dsp().PutStructure("PRESENT", 12, QByteArray("x"));
    const QString message = ErrorOf<EDSPError>([&] { Dsp().GetStructure("CLIENTS", 10); });
    for (const QString& part : {QString("CLIENTS"), QString("10"), Alias()})
        EXPECT_TRUE(message.contains(part)) << qPrintable(message);
    EXPECT_THROW(Dsp().GetStructure("PRESENT", 10), EDSPError);
    QStringList chain;
    EXPECT_THROW(Dsp().FillHierarchy("ABSENT", 12, chain), EDSPError);
}

TEST_P(DSPStoreTest, StructureListsAreOrderedByNameThenType) {
    for (const QString key : {"ORDERS/10", "CLIENTS/12", "ITEMS/10", "CLIENTS/10", "ZONES/72",
                              "ACCOUNTS/72", "CLIENTS/72"})
        Dsp().PutStructure(key.section('/', 0, 0), key.section('/', 1).toInt(), QByteArray());
    const QStringList all = {"ACCOUNTS/72", "CLIENTS/10", "CLIENTS/12", "CLIENTS/72",
                             "ITEMS/10",    "ORDERS/10",  "ZONES/72"};
    for (int pass = 0; pass < 2; ++pass) {  // from the cache, then from the database
        TDSPList list;
        Dsp().FillStructuresList(0, list);
        EXPECT_EQ(Names(list), all) << pass;
        Dsp().FillStructuresList(10, list);
        EXPECT_EQ(Names(list), (QStringList{"CLIENTS/10", "ITEMS/10", "ORDERS/10"})) << pass;
        Dsp().FillStructuresList(72, list);
        EXPECT_EQ(Names(list), (QStringList{"ACCOUNTS/72", "CLIENTS/72", "ZONES/72"})) << pass;
        Dsp().FillStructuresList(99, list);
        EXPECT_EQ(list.Count(), 0);
        Dsp().Refresh();
    }
}

TEST_P(DSPStoreTest, HierarchiesListRootFirstAndNeverBecomeCyclic) {
    QList<int> kinds;
    TDSPNotifier n([&](int kind, const QString&, int) { kinds << kind; });
    n.SubscribeAlias(Alias());
    // Properties of a structure that does not exist yet: one insert, one "added".
    Dsp().ChangeStructureProperties("ROOT", 10, QString(), "TA", "first");
    EXPECT_EQ(kinds, QList<int>{dckAdded});
    TDSPListItem root;
    ASSERT_TRUE(Dsp().GetStructureProperties("ROOT", 10, root));
    EXPECT_EQ(root.TableName, "TA");
    EXPECT_EQ(root.Remark, "first");
    EXPECT_TRUE(Dsp().GetStructure("ROOT", 10).isEmpty());
    Dsp().ChangeStructureProperties("MIDDLE", 10, "ROOT", QString(), QString());
    Dsp().ChangeStructureProperties("LEAF", 10, "MIDDLE", QString(), QString());
    // A parent of another type is not an ancestor.
    Dsp().ChangeStructureProperties("ROOT", 12, QString(), QString(), QString());
    Dsp().ChangeStructureProperties("ORPHAN", 12, "MIDDLE", QString(), QString());
    QStringList chain;
    Dsp().FillHierarchy("LEAF", 10, chain);
    EXPECT_EQ(chain, (QStringList{"ROOT", "MIDDLE", "LEAF"}));
    Dsp().FillHierarchy("ROOT", 10, chain);
    EXPECT_EQ(chain, QStringList{"ROOT"});
    Dsp().FillHierarchy("ORPHAN", 12, chain);
    EXPECT_EQ(chain, QStringList{"ORPHAN"});

    // ROOT -> LEAF would close the circle; so would a structure its own parent.
    EXPECT_THROW(Dsp().ChangeStructureProperties("ROOT", 10, "LEAF", QString(), QString()),
                 EDSPError);
    EXPECT_THROW(Dsp().ChangeStructureProperties("ROOT", 10, "ROOT", QString(), QString()),
                 EDSPError);
    ASSERT_TRUE(Dsp().GetStructureProperties("ROOT", 10, root));
    EXPECT_TRUE(root.ParentName.isEmpty());

    // A cycle stored by someone else is reported, not followed forever.
    Db().ExecDirect(QStringLiteral(
        "UPDATE QXMAIL_DSP SET PARENT_OBJECT = 'LEAF' WHERE OBJECT_NAME = 'ROOT' AND "
        "OBJECT_TYPE = 10"));
    Dsp().Refresh();
    for (const char* name : {"LEAF", "MIDDLE", "ROOT"}) {
        const QString message = ErrorOf<EDSPError>([&] { Dsp().FillHierarchy(name, 10, chain); });
        EXPECT_TRUE(message.contains(name) && message.contains("cyclic")) << qPrintable(message);
    }
}

TEST_P(DSPStoreTest, RefreshShowsChangesMadeBehindTheStoresBack) {
    Dsp().PutStructure("KNOWN", 10, QByteArray("1"));
    Db().ExecDirect(QStringLiteral(
        "INSERT INTO QXMAIL_DSP (OBJECT_TYPE, OBJECT_NAME, TABLE_NAME, PARENT_OBJECT, REMARK) "
        "VALUES (14, 'RAW', 'RAW_T', '', 'by hand')"));
    Db().ExecDirect("DELETE FROM QXMAIL_DSP WHERE OBJECT_NAME = 'KNOWN'");
    // The cache still holds what the store saw last.
    EXPECT_TRUE(Dsp().DSPStructureExist("KNOWN", 10));
    EXPECT_FALSE(Dsp().DSPStructureExist("RAW", 14));

    Dsp().Refresh();
    EXPECT_FALSE(Dsp().DSPStructureExist("KNOWN", 10));
    TDSPListItem item;
    ASSERT_TRUE(Dsp().GetStructureProperties("RAW", 14, item));
    EXPECT_EQ(item.TableName, "RAW_T");
    EXPECT_EQ(item.Remark, "by hand");
    EXPECT_TRUE(item.LastChange.IsNull());
    EXPECT_TRUE(Dsp().GetStructure("RAW", 14).isEmpty());  // NULL body
}

// Set while a self-destroying callback runs: whether the callback's own
// captures were still alive after it destroyed its notifier.
std::weak_ptr<int> gToken;
TDSPNotifier* gSelf = nullptr;
bool gCapturesAliveAfterDelete = false;

TEST_P(DSPStoreTest, EveryWriteThroughAnyStoreObjectReachesTheDatabasesSubscribers) {
    std::vector<TDSPEvent> events;
    TDSPNotifier notifier(
        [&](int kind, QString name, int type) { events.emplace_back(kind, name, type); });
    notifier.AddTo(Dsp());
    // A second subscriber that reads the store when told: it must see the change.
    QStringList seenByReader;
    TDSPNotifier reader([&](int kind, QString name, int type) {
        if (kind == dckAdded || kind == dckChanged)
            seenByReader << (Dsp().DSPStructureExist(name, type) ? name : "?");
    });
    reader.SubscribeAlias(Alias().toLower());

    Dsp().PutStructure("A", 10, QByteArray("1"));
    TDSPTable direct(Alias());
    direct.PutStructure("B", 10, QByteArray("2"));
    direct.PutStructure("A", 10, QByteArray("3"));
    TDSPTable lower(Alias().toLower());
    lower.DeleteStructure("B", 10);
    TDSPTable byDefault{QString()};  // the default database
    byDefault.PutStructure("C", 12, QByteArray());
    GetDSPTable(QString()).ChangeStructureProperties("C", 12, QString(), "T", QString());
    direct.Refresh();

    const std::vector<TDSPEvent> expected = {
        {dckAdded, "A", 10}, {dckAdded, "B", 10},   {dckChanged, "A", 10}, {dckDeleted, "B", 10},
        {dckAdded, "C", 12}, {dckChanged, "C", 12}, {dckAll, "", 0}};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(seenByReader, (QStringList{"A", "B", "A", "C", "C"}));
    // Every object sees every other's writes.
    for (TDSPTable* t : {&Dsp(), &direct, &lower, &byDefault}) {
        EXPECT_TRUE(t->DSPStructureExist("A", 10));
        EXPECT_FALSE(t->DSPStructureExist("B", 10));
        EXPECT_TRUE(t->DSPStructureExist("C", 12));
        EXPECT_EQ(t->GetStructure("A", 10), QByteArray("3"));
    }

    // Writes to another database are not reported here.
    events.clear();
    {
        auto other = OtherDatabase();
        events.clear();  // its creation refreshed its own stores only
        GetDSPTable(other->Alias()).PutStructure("A", 10, QByteArray("x"));
        TDSPTable(other->Alias()).Refresh();
    }
    EXPECT_TRUE(events.empty());

    // A destroyed notifier hears nothing, also when destroyed by another
    // notifier's callback during the same notification.
    auto victim = std::make_unique<TDSPNotifier>();
    int victimCalls = 0;
    victim->SetCallback([&](int, QString, int) { ++victimCalls; });
    TDSPNotifier killer([&](int, QString, int) { victim.reset(); });
    killer.AddTo(Dsp());
    victim->AddTo(Dsp());
    Dsp().PutStructure("D", 10, QByteArray());
    EXPECT_EQ(victim, nullptr);
    EXPECT_EQ(victimCalls, 0);
    killer.Remove();

    // A notifier destroyed inside its own callback: the callback finishes with
    // its captures intact and is never called again.
    auto token = std::make_shared<int>(1);
    gToken = token;
    gSelf = new TDSPNotifier;
    int selfCalls = 0;
    gSelf->SetCallback([token, &selfCalls](int, QString, int) {
        ++selfCalls;
        delete gSelf;
        gSelf = nullptr;
        gCapturesAliveAfterDelete = !gToken.expired();
    });
    gSelf->AddTo(Dsp());
    token.reset();  // only the callback holds it now
    Dsp().PutStructure("E", 10, QByteArray());
    Dsp().PutStructure("F", 10, QByteArray());
    EXPECT_EQ(selfCalls, 1);
    EXPECT_TRUE(gCapturesAliveAfterDelete);

    events.clear();
    notifier.Remove();
    Dsp().DeleteStructure("D", 10);
    EXPECT_TRUE(events.empty());
}

// ---- system tables missing ----

// A fresh database without system tables.
class MissingTablesTest : public TEngineTest {};

TEST_P(MissingTablesTest, EveryStoreNamesTheDatabaseAndTableWhenSystemTablesAreMissing) {
    auto expectError = [&](const QString& table, const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << "no error without " << qPrintable(table);
        } catch (const EDatabaseError& e) {
            ADD_FAILURE() << "a raw database error: " << qPrintable(e.Message());
        } catch (const EPelvarError& e) {
            EXPECT_TRUE(e.Message().contains(Alias())) << qPrintable(e.Message());
            EXPECT_TRUE(e.Message().contains(table)) << qPrintable(e.Message());
        }
    };
    TDSPTable& dsp = GetDSPTable(Alias());
    TDSPList list;
    QStringList names;
    expectError("QXMAIL_DSP", [&] { dsp.FillStructuresList(0, list); });
    expectError("QXMAIL_DSP", [&] { dsp.GetStructure("X", 10); });
    expectError("QXMAIL_DSP", [&] { dsp.PutStructure("X", 10, QByteArray()); });
    expectError("QXMAIL_DSP", [&] { dsp.DSPStructureExist("X", 10); });
    TLocalizatorTable& loc = GetLocalizatorTable(Alias());
    expectError("TEXT_RESOURCES", [&] { loc.FillSectionList("ENGLISH", names); });
    expectError("TEXT_RESOURCES", [&] { loc.SetString("ST_OK", "ENGLISH", "OK"); });
    expectError("TEXT_RESOURCES", [&] {
        QString s, i;
        loc.SplitID("ST_OK", s, i);
    });
    // A text that cannot be there is simply missing.
    EXPECT_EQ(loc.GetString("ST_OK", "ENGLISH"), QString(QChar(0)));
    TLanguagesTable& langs = GetLanguagesTable(Alias());
    TOneLanguage language;
    expectError("LANGUAGES", [&] { langs.FillLanguageNames(names); });
    expectError("LANGUAGES", [&] { langs.GetLanguage("ENGLISH", language); });
    expectError("LANGUAGES", [&] { langs.SetLanguage("ENGLISH", TOneLanguage()); });
    // No structure store means no users to check.
    EXPECT_TRUE(SecurityManager().HavePrivilege("DESIGNER"));

    // Creating the tables mends every store.
    const QStringList created = CreateMissingSystemTables(Alias());
    EXPECT_TRUE(created.contains("QXMAIL_DSP"));
    EXPECT_TRUE(created.contains("TEXT_RESOURCES"));
    EXPECT_TRUE(created.contains("LANGUAGES"));
    EXPECT_TRUE(CreateMissingSystemTables(Alias()).isEmpty());
    dsp.FillStructuresList(0, list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(langs.LanguageExist("ENGLISH"));
}

PELVAR_ENGINE_TESTS(DSPStoreTest);
PELVAR_ENGINE_TESTS(MissingTablesTest);

}  // namespace
