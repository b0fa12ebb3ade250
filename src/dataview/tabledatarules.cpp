#include "tabledatarules.h"

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/dsptree.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "basekit/datatypes.h"

TSearchStep SearchStepOf(TSearchDirection direction) {
    return TSearchStep{direction == dsFirst, direction != dsBack};
}

void ReorderFields(QList<TDicFieldDescription>& physical, const QStringList& dictionaryOrder) {
    int p = 0;
    for (const QString& name : dictionaryOrder) {
        if (p >= physical.size()) break;
        const QString n = name.toUpper();
        if (physical[p].Name.toUpper() == n) {
            ++p;
            continue;
        }
        for (int i = p + 1; i < physical.size(); ++i) {
            if (physical[i].Name.toUpper() != n) continue;
            physical.swapItemsAt(i, p);
            ++p;
            break;
        }
    }
}

QString ApplyDictionary(TDicTableDescription& physical, const TDicTableDescription& dictionary) {
    QStringList order;
    for (const auto& f : dictionary.Fields)
        order << f.Name;
    ReorderFields(physical.Fields, order);
    QString autoInc;
    for (const auto& f : dictionary.Fields) {
        if (f.DataType != dtAutoInc) continue;
        autoInc = f.Name;
        for (auto& pf : physical.Fields)
            if (pf.Name == f.Name.toUpper()) pf.DataType = dtAutoInc;
    }
    return autoInc;
}

bool ReadDictionaryTable(const QString& alias, const QString& table,
                         TDicTableDescription& description) {
    // A database without system tables has no dictionary: no need to ask it.
    if (!BaseMng().Databases().GetDatabase(alias).TableExists(QStringLiteral("QXMAIL_DSP")))
        return false;
    TDSPTable& dsp = GetDSPTable(alias);
    const QString name = table.toUpper();
    if (!dsp.DSPStructureExist(name, otTable)) return false;
    description =
        TableFromStructure(TDSPNode::FromBytes(dsp.GetStructure(name, otTable), name), name);
    return true;
}

QString FieldDataText(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c.unicode() < 32 || c == QLatin1Char('#'))
            out += QStringLiteral("#%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

void TSortState::Assign(const QString& field) {
    if (field == FField)
        FAscending = !FAscending;
    else
        FField = field;
}

QString TSortState::IndexFieldNames() const {
    if (FField.isEmpty()) return QString();
    return FAscending ? FField : FField + QStringLiteral(" DESC");
}

QString SearchDirectionParam() {
    return QStringLiteral("\\SearchInColumnWindow\\Direction");
}

QString SearchValueParam() {
    return QStringLiteral("\\SearchInColumnWindow\\SearchValue");
}

QString ShowFieldDataParam() {
    return QStringLiteral("\\PELVAR\\Confirmations\\ShowFieldData");
}
