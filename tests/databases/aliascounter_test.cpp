#include <gtest/gtest.h>

#include <memory>

#include "databases/aliascounter.h"

namespace {

TEST(AliasCounter, CountsUsesAndAnnouncesDatabasesEnteringAndLeavingUse) {
    TAliasCounter& c = AliasCounter();
    QStringList heard, heard2;
    auto a = std::make_unique<TAliasNotifier>(nullptr, [&](const QString& n) { heard << n; });
    TAliasNotifier b(nullptr, [&](const QString& n) { heard2 << n; });
    c.AddNotifier(a.get());
    c.AddNotifier(&b);
    c.AddNotifier(&b);  // registered once

    c.AddDatabase(QStringLiteral("sales"));
    c.AddDatabase(QStringLiteral("SALES"));
    EXPECT_EQ(c.GetUsed(QStringLiteral("Sales")), 2);
    EXPECT_EQ(heard, QStringList{QStringLiteral("SALES")});  // announced once, upper-cased
    c.RemoveDatabase(QStringLiteral("sales"));
    EXPECT_EQ(c.GetUsed(QStringLiteral("SALES")), 1);
    EXPECT_EQ(heard.size(), 1);
    c.RemoveDatabase(QStringLiteral("sAles"));  // the last use: announced as passed
    EXPECT_EQ(heard, QStringList({QStringLiteral("SALES"), QStringLiteral("sAles")}));
    EXPECT_EQ(heard2, heard);
    EXPECT_EQ(c.GetUsed(QStringLiteral("SALES")), 0);
    c.RemoveDatabase(QStringLiteral("SALES"));  // absent: nothing
    EXPECT_EQ(heard.size(), 2);

    // A notifier destroyed unregisters; one destroyed by another's handler is
    // not called afterwards.
    a.reset();
    std::unique_ptr<TAliasNotifier> victim;
    int victimCalls = 0;
    TAliasNotifier killer(nullptr, [&](const QString&) { victim.reset(); });
    victim = std::make_unique<TAliasNotifier>(nullptr, [&](const QString&) { ++victimCalls; });
    c.AddNotifier(&killer);
    c.AddNotifier(victim.get());
    c.AddDatabase(QStringLiteral("X"));
    EXPECT_EQ(victimCalls, 0);
    EXPECT_EQ(heard.size(), 2);
    EXPECT_EQ(c.Databases(), QStringList{QStringLiteral("X")});
    c.RemoveNotifier(&b);
    c.RemoveNotifier(&b);  // not registered: nothing
    c.RemoveDatabase(QStringLiteral("X"));
    EXPECT_EQ(heard2,
              QStringList({QStringLiteral("SALES"), QStringLiteral("sAles"), QStringLiteral("X")}));
}

}  // namespace
