#include "catalogrows.h"

bool TableCatalogRows(TDatabase& db, const QString& name, bool metadataId,
                      const std::function<SQLRETURN(SQLHSTMT, SQLCHAR*, bool literal)>& call,
                      const std::function<bool(const QString&)>& isTable,
                      const std::function<void(SQLHSTMT)>& row) {
    const TOdbcApi& api = Odbc();
    SQLCHAR escape[8] = {0};
    SQLSMALLINT escapeLen = 0;
    QString pattern = name;
    if (OdbcOk(api.SQLGetInfo(db.Handle(), SQL_SEARCH_PATTERN_ESCAPE, escape, sizeof escape,
                              &escapeLen)) &&
        escape[0]) {
        const QString e = QString::fromUtf8(reinterpret_cast<char*>(escape));
        pattern.replace(e, e + e)
            .replace(QLatin1Char('_'), e + QLatin1Char('_'))
            .replace(QLatin1Char('%'), e + QLatin1Char('%'));
    }
    for (const bool literal : {false, true}) {
        if (literal && !metadataId && pattern == name) break;  // the same call again
        TStmt st(db);
        if (literal && metadataId)
            api.SQLSetStmtAttr(st.H, SQL_ATTR_METADATA_ID, reinterpret_cast<SQLPOINTER>(SQL_TRUE),
                               0);
        QByteArray n = (literal ? name : pattern).toUtf8();
        if (!OdbcOk(call(st.H, reinterpret_cast<SQLCHAR*>(n.data()), literal))) continue;
        bool found = false;
        while (OdbcOk(api.SQLFetch(st.H)))
            if (isTable(ColumnText(api, st.H, 3))) {
                found = true;
                row(st.H);
            }
        if (found) return true;
    }
    return false;
}
