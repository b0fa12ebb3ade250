#pragma once

#include <QDateTime>
#include <QStringList>
#include <memory>
#include <tuple>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/systemtables.h"
#include "printers.h"
#include "testenv.h"

using TDSPEvent = std::tuple<int, QString, int>;
using TLEvent = std::tuple<QString, QString, bool, int>;
using TLangEvent = std::tuple<QString, int>;

// A fresh default database with its system tables.
class StoreTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
    }
    TDSPTable& Dsp() { return GetDSPTable(Alias()); }
    TLocalizatorTable& Loc() { return GetLocalizatorTable(Alias()); }
    TLanguagesTable& Langs() { return GetLanguagesTable(Alias()); }
    // Another database, always SQLite, so it is a different store on both engines.
    std::unique_ptr<TTestDatabase> OtherDatabase() {
        auto other = std::make_unique<TTestDatabase>("SQLite", "OTHERDB", false);
        CreateMissingSystemTables(other->Alias());
        return other;
    }
};
