#include "demodictionary.h"

#include <QDateTime>
#include <QRandomGenerator>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dictionary.h"
#include "appcore/dsptable.h"
#include "appcore/localizator.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/security.h"
#include "appcore/structurebodies.h"
#include "appcore/systemtables.h"
#include "basekit/datatypes.h"
#include "demotables.h"

namespace {

class TGenerator {
  public:
    TGenerator(const TDemoOptions& o, const std::function<void(const QString&)>& progress)
        : FOpt(o), FProgress(progress), FRandom(quint32(20240 + o.Variant)) {}

    TDemoSummary Run() {
        TDatabase& db = BaseMng().Databases().GetDatabase(FOpt.Alias);
        if (db.TableExists(TDSPTable::kTableName))
            throw EPelvarError(
                QStringLiteral("The database %1 already holds a dictionary").arg(FOpt.Alias));
        Say(QStringLiteral("Creating the system tables of %1").arg(FOpt.Alias));
        CreateMissingSystemTables(FOpt.Alias);
        TTransactionScope tx(db);
        Tables();
        DatabaseObjects();
        OtherStructures();
        Resources();
        Generated();
        tx.Commit();
        return FSummary;
    }

  private:
    void Say(const QString& text) {
        if (FProgress) FProgress(text);
    }
    TDSPTable& Dsp() { return GetDSPTable(FOpt.Alias); }
    TLocalizatorTable& Texts() { return GetLocalizatorTable(FOpt.Alias); }

    void Put(const QString& name, int type, const TDSPNode& body, const QString& parent = QString(),
             const QString& table = QString(), const QString& remark = QString()) {
        Dsp().PutStructure(name, type, body.ToBytes());
        Dsp().ChangeStructureProperties(name, type, parent, table, remark);
        ++FSummary.Structures;
    }

    void Text(const QString& section, const QString& ident, const QString& russian,
              const QString& english) {
        Texts().SetSectionString(section, ident, QStringLiteral("RUSSIAN"), russian);
        Texts().SetSectionString(section, ident, QStringLiteral("ENGLISH"), english);
        FSummary.Texts += 2;
    }

    bool InVariant(int index) const {
        // The second database holds every other table and a few of its own.
        return FOpt.Variant == 1 || index % 2 == 0;
    }

    TDicTableDescription Describe(const QString& name, int index) {
        TDicTableDescription t;
        t.Name = name;
        t.AddField(QStringLiteral("ID"), dtInteger, 4, QStringLiteral("Record key")).Required =
            true;
        t.AddField(QStringLiteral("CODE"), dtString, 20);
        t.AddField(QStringLiteral("NAME"), dtString, 120);
        switch (index % 5) {
            case 0:
                t.AddField(QStringLiteral("CREATED"), dtDateTime, 8);
                t.AddField(QStringLiteral("AMOUNT"), dtFloat, 8);
                break;
            case 1:
                t.AddField(QStringLiteral("PARENT_ID"), dtInteger, 4);
                t.AddField(QStringLiteral("NOTE"), dtMemo, 0);
                break;
            case 2:
                t.AddField(QStringLiteral("QUANTITY"), dtSmallint, 2);
                t.AddField(QStringLiteral("ACTIVE"), dtBoolean, 1);
                break;
            case 3:
                t.AddField(QStringLiteral("PICTURE"), dtBlob, 0);
                t.AddField(QStringLiteral("CHANGED"), dtDateTime, 8);
                break;
            default:
                t.AddField(QStringLiteral("RATE"), dtFloat, 8);
                t.AddField(QStringLiteral("COMMENTS"), dtString, 250);
                break;
        }
        t.AddIndex(name + QStringLiteral("_PK"), {QStringLiteral("ID")}, true, true);
        t.AddIndex(name + QStringLiteral("_CODE"), {QStringLiteral("CODE")}, false, false);
        return t;
    }

    void FillRows(TDatabase& db, const TDicTableDescription& t, int rows) {
        QStringList names, params;
        for (const auto& f : t.Fields) {
            names << f.Name;
            params << QLatin1Char(':') + f.Name;
        }
        TExecQuery ins(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(t.Name, names.join(QStringLiteral(", ")),
                                    params.join(QStringLiteral(", "))));
        const QDateTime base(QDate(2024, 1, 1), QTime(9, 0));
        for (int r = 1; r <= rows; ++r) {
            for (const auto& f : t.Fields) {
                TQueryParam& p = ins.ParamByName(f.Name);
                if (f.Name == QLatin1String("ID"))
                    p.SetValue(r);
                else if (f.Name == QLatin1String("CODE"))
                    p.SetValue(QStringLiteral("%1-%2")
                                   .arg(t.Name.left(3))
                                   .arg(r, 5, 10, QLatin1Char('0')));
                else if (f.Name == QLatin1String("NAME"))
                    p.SetValue(
                        QStringLiteral("%1 %2")
                            .arg(t.Name.toLower().replace(QLatin1Char('_'), QLatin1Char(' ')))
                            .arg(r));
                else if (r % 7 == 0)
                    p.SetNull(f.DataType);  // every table shows some NULLs
                else if (f.DataType == dtDateTime)
                    p.SetValue(base.addSecs(qint64(r) * 3600 + FRandom.bounded(3600)));
                else if (f.DataType == dtFloat)
                    p.SetValue(double(FRandom.bounded(1000000)) / 100.0);
                else if (IsIntegerDataType(f.DataType))
                    p.SetValue(int(FRandom.bounded(f.DataType == dtSmallint ? 1000 : r + 1)));
                else if (f.DataType == dtBoolean)
                    p.SetValue(r % 2 == 0);
                else if (f.DataType == dtBlob)
                    p.SetValue(QByteArray(16 + r % 64, char('A' + r % 26)));
                else if (f.DataType == dtMemo)
                    p.SetValue(QStringLiteral("Примечание %1.\nNote %1.").arg(r));
                else
                    p.SetValue(QStringLiteral("text %1").arg(r));
            }
            ins.Execute();
            ++FSummary.Rows;
        }
    }

    void Tables() {
        TDatabase& db = BaseMng().Databases().GetDatabase(FOpt.Alias);
        TDictionary dictionary(FOpt.Alias);
        const int rows = 25 * FOpt.Size;
        int index = 0;
        for (const TDemoTable& d : DemoTables()) {
            const int i = index++;
            if (!InVariant(i)) continue;
            const QString name = QString::fromLatin1(d.Name);
            Say(QStringLiteral("Table %1").arg(name));
            const TDicTableDescription t = Describe(name, i);
            Put(name, otTable, MakeTableStructure(name, t), QString::fromLatin1(d.Parent), name,
                QString::fromLatin1(d.Remark));
            dictionary.CreateTableByDef(t, QString(), true);
            ++FSummary.Tables;
            FillRows(db, t, rows);
            Text(QStringLiteral("K_") + name + QStringLiteral("_FORM"), QStringLiteral("CAPTION"),
                 QString::fromUtf8(d.Russian), QString::fromLatin1(d.English));
        }
        if (FOpt.Variant == 2) {
            // Tables only the second database has.
            for (const char* extra : {"LOCAL_SETTINGS", "IMPORT_QUEUE"}) {
                const QString name = QString::fromLatin1(extra);
                const TDicTableDescription t = Describe(name, index++);
                Put(name, otTable, MakeTableStructure(name, t), QString(), name,
                    QStringLiteral("Only in the second demo"));
                dictionary.CreateTableByDef(t, QString(), true);
                ++FSummary.Tables;
                FillRows(db, t, 10);
            }
        }
    }

    void DatabaseObjects() {
        TDatabase& db = BaseMng().Databases().GetDatabase(FOpt.Alias);
        TDicDatabase& dic = DicDBContainer().GetDicDatabase(FOpt.Alias);
        Say(QStringLiteral("Views, generators and procedures"));
        const QString viewSql = QStringLiteral("SELECT ID, CODE, NAME FROM COUNTRIES");
        Put(QStringLiteral("V_COUNTRY_CODES"), otView,
            MakeSqlStructure(QStringLiteral("V_COUNTRY_CODES"), viewSql), QString(),
            QStringLiteral("V_COUNTRY_CODES"), QStringLiteral("Country codes"));
        db.ExecDirect(QStringLiteral("CREATE VIEW V_COUNTRY_CODES AS ") + viewSql);
        if (FOpt.Variant == 1) {
            const QString ordersSql = QStringLiteral("SELECT ID, CODE, NAME FROM ORDERS");
            Put(QStringLiteral("V_ORDERS_LIST"), otView,
                MakeSqlStructure(QStringLiteral("V_ORDERS_LIST"), ordersSql), QString(),
                QStringLiteral("V_ORDERS_LIST"), QStringLiteral("Orders for the order list"));
            db.ExecDirect(QStringLiteral("CREATE VIEW V_ORDERS_LIST AS ") + ordersSql);
            // A view structure whose view was never created.
            Put(QStringLiteral("V_PLANNED"), otView,
                MakeSqlStructure(QStringLiteral("V_PLANNED"),
                                 QStringLiteral("SELECT ID FROM TASKS")),
                QString(), QStringLiteral("V_PLANNED"), QStringLiteral("Not created yet"));
        }
        for (const char* gen : {"GEN_ORDERS", "GEN_INVOICES"}) {
            const QString name = QString::fromLatin1(gen);
            Put(name, otGenerator, MakeGeneratorStructure(name, 1000), QString(), name,
                QStringLiteral("Numbers of documents"));
            dic.CreateGenerator(name, 1000);
        }
        Put(QStringLiteral("SP_CLOSE_PERIOD"), otExecStoredProc,
            MakeSqlStructure(QStringLiteral("SP_CLOSE_PERIOD"),
                             QStringLiteral("UPDATE DOCUMENTS SET CODE = CODE")),
            QString(), QStringLiteral("SP_CLOSE_PERIOD"),
            QStringLiteral("Closes the accounting period"));
        Put(QStringLiteral("SP_CLIENT_BALANCE"), otSelectStoredProc,
            MakeSqlStructure(QStringLiteral("SP_CLIENT_BALANCE"),
                             QStringLiteral("SELECT ID, AMOUNT FROM PAYMENTS")),
            QString(), QStringLiteral("SP_CLIENT_BALANCE"), QStringLiteral("Balance of a client"));
        TDSPNode pattern(QStringLiteral("INVOICE_PATTERN"));
        pattern.SetProperty(QStringLiteral("Text"), QStringLiteral("Invoice {NUMBER} of {DATE}"));
        Put(QStringLiteral("INVOICE_PATTERN"), otPattern, pattern, QString(),
            QStringLiteral("INVOICES"), QStringLiteral("Printed invoice"));
    }

    TDSPNode Form(const QString& name, const QString& table, const QStringList& controls) {
        TDSPNode root(name);
        root.SetProperty(QStringLiteral("TableName"), table);
        root.SetProperty(QStringLiteral("Width"), qlonglong(640));
        root.SetProperty(QStringLiteral("Height"), qlonglong(480));
        TDSPNode& list = root.AddNode(QStringLiteral("Controls"));
        int top = 8;
        for (const QString& c : controls) {
            TDSPNode& n = list.AddNode(c);
            n.SetProperty(QStringLiteral("Class"), c.endsWith(QStringLiteral("Label"))
                                                       ? QStringLiteral("TLabel")
                                                       : QStringLiteral("TEdit"));
            n.SetProperty(QStringLiteral("Top"), qlonglong(top));
            top += 28;
        }
        return root;
    }

    void OtherStructures() {
        Say(QStringLiteral("Forms, parameters, schemes and security"));
        Put(QStringLiteral("BASE_FORM"), otForm,
            Form(QStringLiteral("BASE_FORM"), QString(), {QStringLiteral("TitleLabel")}), QString(),
            QString(), QStringLiteral("Base of every form"));
        Put(QStringLiteral("CLIENTS_FORM"), otForm,
            Form(QStringLiteral("BASE_FORM"), QStringLiteral("CLIENTS"),
                 {QStringLiteral("NameLabel"), QStringLiteral("NameEdit")}),
            QStringLiteral("BASE_FORM"), QStringLiteral("CLIENTS"), QStringLiteral("Client card"));
        Put(QStringLiteral("ORDERS_FORM"), otForm,
            Form(QStringLiteral("BASE_FORM"), QStringLiteral("ORDERS"),
                 {QStringLiteral("CodeLabel"), QStringLiteral("CodeEdit")}),
            QStringLiteral("BASE_FORM"), QStringLiteral("ORDERS"), QStringLiteral("Order card"));
        for (const QString& form :
             {QStringLiteral("CLIENTS_FORM"), QStringLiteral("ORDERS_FORM")}) {
            Text(QStringLiteral("K_") + form, QStringLiteral("NAMELABEL_L"),
                 QStringLiteral("Наименование"), QStringLiteral("Name"));
            Text(QStringLiteral("K_") + form, QStringLiteral("CODELABEL_L"), QStringLiteral("Код"),
                 QStringLiteral("Code"));
        }

        TDSPNode params(QStringLiteral("SYSTEM_PARAMS"));
        params.SetProperty(QStringLiteral("CompanyName"), QStringLiteral("ООО \"Пример\""));
        params.SetProperty(QStringLiteral("FiscalYearStart"), qlonglong(1));
        params.SetProperty(QStringLiteral("UseVAT"), true);
        Put(QStringLiteral("SYSTEM_PARAMS"), otParams, params, QString(), QString(),
            QStringLiteral("Company settings"));

        TDSPNode sched(QStringLiteral("NIGHTLY_JOBS"));
        sched.AddNode(QStringLiteral("RecalcStock"))
            .SetProperty(QStringLiteral("At"), QStringLiteral("02:00"));
        Put(QStringLiteral("NIGHTLY_JOBS"), otScheduler, sched, QString(), QString(),
            QStringLiteral("Jobs run at night"));

        TDSPNode wizard(QStringLiteral("NEW_CLIENT_WIZARD"));
        wizard.AddNode(QStringLiteral("Step1"))
            .SetProperty(QStringLiteral("Form"), QStringLiteral("CLIENTS_FORM"));
        Put(QStringLiteral("NEW_CLIENT_WIZARD"), otWizardScenario, wizard, QString(),
            QStringLiteral("NEW_CLIENT_WIZARD"), QStringLiteral("Registers a new client"));

        const QList<QPair<int, QString>> schemes = {
            {otSimpleOperation, QStringLiteral("SIMPLE_APPROVAL")},
            {otTableOperation, QStringLiteral("ORDER_TABLE_OPS")},
            {otDocumentaryOperation, QStringLiteral("INVOICE_WORKFLOW")},
            {otStatuses, QStringLiteral("ORDER_STATUSES")}};
        for (const auto& [type, name] : schemes) {
            TDSPNode s(name);
            s.AddNode(QStringLiteral("Operations"))
                .SetProperty(QStringLiteral("Count"), qlonglong(3));
            Put(name, type, s, QString(), QString(), QStringLiteral("Document workflow"));
        }

        TDSPNode profile(QStringLiteral("DEFAULT_PROFILE"));
        profile.SetProperty(QStringLiteral("Language"), QStringLiteral("ENGLISH"));
        Put(QStringLiteral("DEFAULT_PROFILE"), otUserProfile, profile, QString(), QString(),
            QStringLiteral("Profile of new users"));
        for (const QString& role : {QStringLiteral("DESIGNER"), QStringLiteral("VIEWER")})
            Put(role, otRole, TDSPNode(role), QString(), QString(), QStringLiteral("Role"));
        Put(QStringLiteral("EDIT_DICTIONARY"), otPrivilege,
            TDSPNode(QStringLiteral("EDIT_DICTIONARY")), QString(), QString(),
            QStringLiteral("May change the dictionary"));
        Put(QStringLiteral("DESIGNER"), otUserInfo,
            MakeUserInfo(QStringLiteral("designer"), {QStringLiteral("DESIGNER")}), QString(),
            QString(), QStringLiteral("The designer of the demo"));
        Put(QStringLiteral("VIEWER"), otUserInfo,
            MakeUserInfo(QStringLiteral("viewer"), {QStringLiteral("VIEWER")}), QString(),
            QString(), QStringLiteral("A user without the designer role"));

        Put(QStringLiteral("WEB_CATALOG"), otInternet1, TDSPNode(QStringLiteral("WEB_CATALOG")),
            QString(), QString(), QStringLiteral("Web catalogue"));
        Put(QStringLiteral("WEB_ORDERS"), otInternet2, TDSPNode(QStringLiteral("WEB_ORDERS")),
            QString(), QString(), QStringLiteral("Web orders"));
        Put(QStringLiteral("LEGACY_OBJECT"), 99, TDSPNode(QStringLiteral("LEGACY_OBJECT")),
            QString(), QString(),
            QStringLiteral("A structure of a kind this program does not know"));
    }

    void Resources() {
        Say(QStringLiteral("Local resources"));
        // Standard texts.
        Text(QStringLiteral("ST"), QStringLiteral("OK"), QStringLiteral("ОК"),
             QStringLiteral("OK"));
        Text(QStringLiteral("ST"), QStringLiteral("CANCEL"), QStringLiteral("Отмена"),
             QStringLiteral("Cancel"));
        Text(QStringLiteral("ST"), QStringLiteral("YES"), QStringLiteral("Да"),
             QStringLiteral("Yes"));
        Text(QStringLiteral("ST"), QStringLiteral("NO"), QStringLiteral("Нет"),
             QStringLiteral("No"));
        Text(QStringLiteral("ST"), QStringLiteral("DELETE"), QStringLiteral("Удалить"),
             QStringLiteral("Delete"));
        // System forms, messages and errors of the application.
        Text(QStringLiteral("C_DEMO_CLIENTSFORM"), QStringLiteral("NAMELABEL_L"),
             QStringLiteral("Наименование клиента"), QStringLiteral("Client name"));
        Text(QStringLiteral("C_DEMO_CLIENTSFORM"), QStringLiteral("OKBUTTON_L"),
             QStringLiteral("Сохранить"), QStringLiteral("Save"));
        Text(QStringLiteral("M_DEMO_ORDERS"), QStringLiteral("CONFIRMDELETE"),
             QStringLiteral("Удалить заказ %s?"), QStringLiteral("Delete order %s?"));
        Text(QStringLiteral("M_DEMO_ORDERS"), QStringLiteral("SAVED"),
             QStringLiteral("Заказ сохранён"), QStringLiteral("Order saved"));
        Text(QStringLiteral("E_DEMO_STOCK"), QStringLiteral("NOTENOUGH"),
             QStringLiteral("Недостаточно товара на складе"), QStringLiteral("Not enough stock"));
        Text(QStringLiteral("M_VORNAKAXLIB_GRID"), QStringLiteral("COPYROW"),
             QStringLiteral("Копировать строку"), QStringLiteral("Copy row"));
        // Statuses, internet resources and a section of no known kind.
        Text(QStringLiteral("S"), QStringLiteral("NEW"), QStringLiteral("Новый"),
             QStringLiteral("New"));
        Text(QStringLiteral("S"), QStringLiteral("APPROVED"), QStringLiteral("Утверждён"),
             QStringLiteral("Approved"));
        Text(QStringLiteral("S"), QStringLiteral("CLOSED"), QStringLiteral("Закрыт"),
             QStringLiteral("Closed"));
        Text(QStringLiteral("RT_CATALOG"), QStringLiteral("TITLE"),
             QStringLiteral("Каталог товаров"), QStringLiteral("Product catalogue"));
        Text(QStringLiteral("LEGACY"), QStringLiteral("BANNER"), QStringLiteral("Старый баннер"),
             QStringLiteral("Old banner"));
        // A text that exists in one language only.
        Texts().SetSectionString(QStringLiteral("M_DEMO_ORDERS"), QStringLiteral("ONLYRUSSIAN"),
                                 QStringLiteral("RUSSIAN"), QStringLiteral("Только по-русски"));
        ++FSummary.Texts;
    }

    void Generated() {
        if (FOpt.Size <= 1) return;
        Say(QStringLiteral("Generated structures and resources"));
        const int structures = (FOpt.Size - 1) * 200;
        for (int i = 1; i <= structures; ++i) {
            const QString name = QStringLiteral("GEN_TABLE_%1").arg(i, 5, 10, QLatin1Char('0'));
            Put(name, otTable, MakeTableStructure(name, Describe(name, i)), QString(), name,
                QStringLiteral("Generated structure %1").arg(i));
        }
        const int sections = (FOpt.Size - 1) * 50;
        for (int s = 1; s <= sections; ++s)
            for (int i = 1; i <= 10; ++i)
                Text(QStringLiteral("M_GEN_S%1").arg(s, 4, 10, QLatin1Char('0')),
                     QStringLiteral("TEXT%1").arg(i), QStringLiteral("Текст %1.%2").arg(s).arg(i),
                     QStringLiteral("Text %1.%2").arg(s).arg(i));
    }

    TDemoOptions FOpt;
    std::function<void(const QString&)> FProgress;
    QRandomGenerator FRandom;
    TDemoSummary FSummary;
};

}  // namespace

TDemoSummary GenerateDemoDictionary(const TDemoOptions& options,
                                    const std::function<void(const QString&)>& progress) {
    return TGenerator(options, progress).Run();
}
