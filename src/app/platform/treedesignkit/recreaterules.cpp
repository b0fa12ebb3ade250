#include "recreaterules.h"

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "basekit/datatypes.h"

TRecreateTableConfirmation::TRecreateTableConfirmation(QString tableName, QString alias,
                                                       TDicTableDescription oldTable,
                                                       TDicTableDescription newTable, bool copyData)
    : CopyData(copyData),
      FTableName(std::move(tableName)),
      FAlias(std::move(alias)),
      FOld(std::move(oldTable)) {
    for (const auto& f : newTable.Fields) {
        const TDicFieldDescription* old = FOld.FindField(f.Name);
        FRows.append({f.Name, f.DataType, old ? old->Name : QString()});
    }
}

QStringList TRecreateTableConfirmation::Sources() const {
    QStringList s = {QString()};
    for (const auto& f : FOld.Fields)
        s << f.Name;
    return s;
}

void TRecreateTableConfirmation::SetSource(int row, const QString& source) {
    if (row < 0 || row >= FRows.size()) return;
    if (!source.isEmpty())
        for (auto& r : FRows)
            if (r.Source.compare(source, Qt::CaseInsensitive) == 0) r.Source.clear();
    FRows[row].Source = source;
}

QStringList TRecreateTableConfirmation::Dropped() const {
    QStringList dropped;
    for (const auto& f : FOld.Fields) {
        bool taken = false;
        for (const auto& r : FRows)
            taken = taken || r.Source.compare(f.Name, Qt::CaseInsensitive) == 0;
        if (!taken) dropped << f.Name;
    }
    return dropped;
}

QStringList TRecreateTableConfirmation::Renamed() const {
    QStringList renamed;
    for (const auto& r : FRows)
        if (!r.Source.isEmpty() && r.Source.compare(r.Name, Qt::CaseInsensitive) != 0)
            renamed << r.Source + QStringLiteral(" -> ") + r.Name;
    return renamed;
}

QStringList TRecreateTableConfirmation::Added() const {
    QStringList added;
    for (const auto& r : FRows)
        if (r.Source.isEmpty()) added << r.Name;
    return added;
}

void TRecreateTableConfirmation::Result(TRecreateFieldPairs& pairs, TRecreateFieldPairs& blobPairs,
                                        QStringList& fields) const {
    pairs.clear();
    blobPairs.clear();
    fields.clear();
    for (const auto& r : FRows) {
        fields << r.Name;
        if (r.Source.isEmpty()) continue;
        (IsLongDataType(r.DataType) ? blobPairs : pairs).append({r.Source, r.Name});
    }
}

namespace {
TRecreateTablePrompt& Prompt() {
    static TRecreateTablePrompt prompt;
    return prompt;
}
}  // namespace

void SetRecreateTablePrompt(TRecreateTablePrompt prompt) {
    Prompt() = std::move(prompt);
}

bool ConfirmRecreateTable(const QString& tableName, const QString& alias, bool& copyData,
                          TRecreateFieldPairs& pairs, TRecreateFieldPairs& blobPairs,
                          QStringList& fields) {
    if (!Prompt()) return false;
    TDicTableDescription old;
    BaseMng().Databases().GetDatabase(alias).DescribeTable(tableName, old);
    TDSPTable& dsp = GetDSPTable(alias);
    const TDSPNode body = TDSPNode::FromBytes(dsp.GetStructure(tableName, otTable),
                                              QStringLiteral("DSP structure %1").arg(tableName));
    TRecreateTableConfirmation state(tableName, alias, old, TableFromStructure(body, tableName),
                                     copyData);
    if (!Prompt()(state)) return false;
    copyData = state.CopyData;
    state.Result(pairs, blobPairs, fields);
    return true;
}
