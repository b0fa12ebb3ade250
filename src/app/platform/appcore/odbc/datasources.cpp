#include "appcore/datasources.h"

#include "odbcapi.h"

void FillODBCAliasesWithDescription(TAliasList& list) {
    list.clear();
    const TOdbcApi& api = Odbc();
    SQLHENV env = OdbcEnvironment();
    for (SQLUSMALLINT direction :
         {SQLUSMALLINT(SQL_FETCH_FIRST_USER), SQLUSMALLINT(SQL_FETCH_FIRST_SYSTEM)}) {
        SQLUSMALLINT dir = direction;
        for (;;) {
            SQLCHAR dsn[SQL_MAX_DSN_LENGTH + 1] = {0};
            SQLCHAR driver[512] = {0};
            SQLSMALLINT l1 = 0, l2 = 0;
            const SQLRETURN rc =
                api.SQLDataSources(env, dir, dsn, sizeof dsn, &l1, driver, sizeof driver, &l2);
            if (!OdbcOk(rc)) break;
            dir = SQL_FETCH_NEXT;
            const QString name = QString::fromUtf8(reinterpret_cast<char*>(dsn));
            bool seen = false;
            for (const auto& p : list)
                seen = seen || p.first.compare(name, Qt::CaseInsensitive) == 0;
            if (seen) continue;  // a user data source hides the system one of that name
            QString description;
            if (api.SQLGetPrivateProfileString) {
                char buf[1024] = {0};
                api.SQLGetPrivateProfileString(reinterpret_cast<char*>(dsn), "Description", "", buf,
                                               sizeof buf, "odbc.ini");
                description = QString::fromUtf8(buf).trimmed();
            }
            if (description.isEmpty())
                description = QString::fromUtf8(reinterpret_cast<char*>(driver));
            list.append({name, description});
        }
    }
}
