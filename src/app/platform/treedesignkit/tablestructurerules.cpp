#include "tablestructurerules.h"

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/strutils.h"
#include "formdesignkit/checkname.h"

namespace {

// The fields and indexes of a body; a body without fields (a derived
// structure that adds none, a structure never saved) gives none.
TDicTableDescription ReadBody(const QByteArray& bytes, const QString& name,
                              const QString& tableName) {
    TDicTableDescription table;
    table.Name = tableName;
    if (bytes.isEmpty()) return table;
    const TDSPNode body = TDSPNode::FromBytes(bytes, QStringLiteral("DSP structure %1").arg(name));
    const TDSPNode* fields = body.FindNode(QStringLiteral("Fields"));
    if (!fields || fields->NodeCount() == 0) return table;
    return TableFromStructure(body, tableName);
}

QString Message(const char* id, const QString& arg = QString()) {
    return SafeFormat(LString(QLatin1String(id)), arg);
}

}  // namespace

void TTableStructureRules::Load(const QString& alias, const QString& structureName,
                                const QString& tableName, const QString& parentName,
                                bool newStructure) {
    FAlias = alias;
    FStructureName = structureName;
    FParentName = parentName;
    FNewStructure = newStructure;
    FInherited.clear();
    TDSPTable& dsp = GetDSPTable(alias);
    const QByteArray own = dsp.DSPStructureExist(structureName, otTable)
                               ? dsp.GetStructure(structureName, otTable)
                               : QByteArray();
    FTable = ReadBody(own, structureName, tableName.isEmpty() ? structureName : tableName);
    if (newStructure && FTable.Fields.isEmpty()) {
        FTable.AddField(QStringLiteral("ID"), dtAutoInc, 0);
        FTable.AddIndex(FTable.Name + QStringLiteral("_PK"), {QStringLiteral("ID")}, true, true);
    }
    // Ancestors root first; a loop in the chain ends it.
    QStringList seen = {structureName.toUpper()};
    QList<QList<TDicFieldDescription>> levels;
    for (QString parent = parentName.toUpper();
         !parent.isEmpty() && !seen.contains(parent) && dsp.DSPStructureExist(parent, otTable);) {
        seen << parent;
        levels.prepend(ReadBody(dsp.GetStructure(parent, otTable), parent, parent).Fields);
        TDSPListItem info;
        dsp.GetStructureProperties(parent, otTable, info);
        parent = info.ParentName.toUpper();
    }
    for (const auto& level : levels)
        FInherited += level;
}

QString TTableStructureRules::Check() const {
    if (FTable.Fields.isEmpty() && FInherited.isEmpty())
        return Message("M_Pelvar_TblStrForm_NoFields");
    QStringList names;
    for (const auto& f : FInherited)
        names << f.Name.toUpper();
    for (const auto& f : FTable.Fields) {
        if (!CheckName(f.Name)) return Message("M_Pelvar_TblStrForm_BadFieldName", f.Name);
        if (names.contains(f.Name.toUpper()))
            return Message("M_Pelvar_TblStrForm_DuplicateField", f.Name);
        names << f.Name.toUpper();
        if (!IsValidDataType(f.DataType)) return Message("M_Pelvar_TblStrForm_BadType", f.Name);
        if (TypeHasSize(f.DataType) && f.Size <= 0)
            return Message("M_Pelvar_TblStrForm_NoSize", f.Name);
    }
    QStringList indexes;
    bool primary = false;
    for (const auto& i : FTable.Indexes) {
        if (!CheckName(i.Name)) return Message("M_Pelvar_TblStrForm_BadIndexName", i.Name);
        if (indexes.contains(i.Name.toUpper()))
            return Message("M_Pelvar_TblStrForm_DuplicateIndex", i.Name);
        indexes << i.Name.toUpper();
        if (i.Fields.isEmpty()) return Message("M_Pelvar_TblStrForm_EmptyIndex", i.Name);
        for (const QString& f : i.Fields)
            if (!FTable.FindField(f)) return Message("M_Pelvar_TblStrForm_IndexField", f);
        if (i.Primary && primary) return Message("M_Pelvar_TblStrForm_TwoPrimary", i.Name);
        primary = primary || i.Primary;
    }
    return QString();
}

void TTableStructureRules::Save(const QString& remark) {
    if (const QString fault = Check(); !fault.isEmpty()) throw EDSPError(fault);
    TDSPTable& dsp = GetDSPTable(FAlias);
    dsp.PutStructure(FStructureName, otTable, MakeTableStructure(FStructureName, FTable).ToBytes());
    dsp.ChangeStructureProperties(FStructureName, otTable, FParentName, FTable.Name, remark);
    FNewStructure = false;
}

QStringList TTableStructureRules::TypeNames() {
    QStringList names;
    for (int code = 0; code < kDataTypeCount; ++code)
        names << DataTypeName(code);
    return names;
}

bool TTableStructureRules::TypeHasSize(int type) {
    return type == dtString || type == dtFixedChar || type == dtWideString;
}

bool TTableStructureRules::TypeHasPrecision(int type) {
    return type == dtCurrency;
}
