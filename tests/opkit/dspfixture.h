#pragma once

#include <QDir>
#include <QTemporaryDir>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dialect.h"
#include "appcore/dictionary.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "basekit/datatypes.h"
#include "eitestutil.h"
#include "opkit/dspoperations.h"
#include "scriptedinteraction.h"
#include "testenv.h"

// Names that quoting, file naming and parameter binding must survive.
inline const QString kDollar = QStringLiteral("ORD$1.X");
inline const QString kQuoted = QStringLiteral("Q'T\"; Ж");

// A dictionary on each engine with helpers to fill it.
class DSPOpTest : public TEngineTest {
  protected:
    void SetUp() override {
        TEngineTest::SetUp();
        if (IsSkipped()) return;
        CreateMissingSystemTables(Alias());
        Script().Reset();
    }
    void TearDown() override {
        Script().Reset();
        TEngineTest::TearDown();
    }
    TDatabase& Db() { return BaseMng().Databases().GetDatabase(Alias()); }
    TDSPTable& Dsp() { return GetDSPTable(Alias()); }
    TLocalizatorTable& Loc() { return GetLocalizatorTable(Alias()); }
    TDicDatabase& Dic() { return DicDBContainer().GetDicDatabase(Alias()); }

    qint64 Count(const QString& table) {
        TSelectQuery q(Db(), "SELECT COUNT(*) FROM " + Db().Dialect().Ident(table));
        q.Open();
        return q.Fields().GetFields(0).AsInteger();
    }
    // Structures as the database holds them, past every cache.
    qint64 StoredStructures() { return Count("QXMAIL_DSP"); }

    void Put(const QString& name, int type, const QByteArray& body, const QString& parent = {},
             const QString& remark = {}) {
        Dsp().PutStructure(name, type, body);
        Dsp().ChangeStructureProperties(name, type, parent, QString(), remark);
    }
    // A table structure whose table exists and holds `rows` rows.
    void PutTable(const QString& name, int rows, const QString& titleIndex = {}) {
        TDicTableDescription t;
        t.Name = name;
        t.AddField("ID", dtInteger, 4);
        t.AddField("TITLE", dtString, 40);
        t.AddIndex(name + "_PK", {"ID"}, true, true);
        t.AddIndex(titleIndex.isEmpty() ? name + "_BY_TITLE" : titleIndex, {"TITLE"});
        Put(name, otTable, MakeTableStructure(name, t).ToBytes());
        TDictionary(Alias()).CreateTableByDef(t, QString(), false);
        TExecQuery q(Db(), "INSERT INTO " + Db().Dialect().Ident(name) +
                               " (ID, TITLE) VALUES (:id, :title)");
        for (int i = 1; i <= rows; ++i) {
            q.ParamByName("id").SetValue(i);
            q.ParamByName("title").SetValue(QStringLiteral("row %1 ж'\"").arg(i));
            q.Execute();
        }
    }
    void PutForm(const QString& name) {
        Put(name, otForm, "{}");
        const QString section = "K_" + name.toUpper();
        Loc().SetSectionString(section, "CAPTION", "ENGLISH", "Orders of " + name);
        Loc().SetSectionString(section, "CAPTION", "RUSSIAN", "Заказы");
        Loc().SetSectionString(section, "OK", "ENGLISH", "OK");
    }
    QStringList Sections(const QString& form) {
        return Loc().SectionLanguages("K_" + form.toUpper());
    }
    TDSPListItem Item(const QString& name, int type) {
        TDSPListItem item;
        EXPECT_TRUE(Dsp().GetStructureProperties(name, type, item)) << name.toStdString();
        return item;
    }
};
