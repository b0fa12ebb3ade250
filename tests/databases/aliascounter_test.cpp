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

    c.AddDatabase("sales");
    c.AddDatabase("SALES");
    EXPECT_EQ(c.GetUsed("Sales"), 2);
    EXPECT_EQ(heard, QStringList{"SALES"});  // announced once, upper-cased
    c.RemoveDatabase("sales");
    EXPECT_EQ(c.GetUsed("SALES"), 1);
    EXPECT_EQ(heard.size(), 1);
    c.RemoveDatabase("sAles");  // the last use: announced as passed
    EXPECT_EQ(heard, QStringList({"SALES", "sAles"}));
    EXPECT_EQ(heard2, heard);
    EXPECT_EQ(c.GetUsed("SALES"), 0);
    c.RemoveDatabase("SALES");  // absent: nothing
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
    c.AddDatabase("X");
    EXPECT_EQ(victimCalls, 0);
    EXPECT_EQ(heard.size(), 2);
    EXPECT_EQ(c.Databases(), QStringList{"X"});
    c.RemoveNotifier(&b);
    c.RemoveNotifier(&b);  // not registered: nothing
    c.RemoveDatabase("X");
    EXPECT_EQ(heard2, QStringList({"SALES", "sAles", "X"}));
}

}  // namespace
