#include "vformrules.h"

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "formdesignkit/checkname.h"

bool IsFormName(const QString& name) {
    const qsizetype at = name.indexOf(QLatin1Char('$'));
    if (at < 0) return CheckName(name);
    return CheckName(name.left(at)) && CheckName(name.mid(at + 1));
}

QStringList FormTableList(const QString& alias, const QString& name, const QString& parent,
                          QString* baseTable) {
    TDSPTable& store = GetDSPTable(alias);
    QStringList tables;
    TDSPList list;
    store.FillStructuresList(10, list);
    for (int i = 0; i < list.Count(); ++i)
        tables << list.Items(i).Name;
    const qsizetype at = name.indexOf(QLatin1Char('$'));
    const QString base = at >= 0 ? name.left(at) : parent;
    QString table;
    TDSPListItem info;
    if (!base.isEmpty() && store.GetStructureProperties(base, 12, info)) table = info.TableName;
    if (baseTable) *baseTable = table;
    if (table.isEmpty()) return tables;
    // From the last entry to the first, keeping the tables derived from it.
    for (qsizetype i = tables.size() - 1; i >= 0; --i) {
        QStringList chain;
        try {
            store.FillHierarchy(tables[i].toUpper(), 10, chain);
        } catch (const EPelvarError&) {
            chain.clear();  // a broken chain derives from nothing
        }
        if (!chain.contains(table.toUpper())) tables.removeAt(i);
    }
    return tables;
}
