#include "sqleditrules.h"

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"

namespace {

QString PropertyOf(int type) {
    return type == otPattern ? QStringLiteral("Text") : QStringLiteral("SQL");
}

// A start the designer completes; procedures carry their own name, which the
// database object must have.
QString Template(const QString& name, int type) {
    switch (type) {
        case otView:
            return QStringLiteral("SELECT\n  \nFROM\n  ");
        case otExecStoredProc:
            return QStringLiteral("CREATE PROCEDURE %1()\nLANGUAGE SQL\nAS $$\n  \n$$")
                .arg(name.toLower());
        case otSelectStoredProc:
            return QStringLiteral(
                       "CREATE FUNCTION %1()\nRETURNS TABLE (ID INTEGER)\nLANGUAGE SQL\nAS $$\n  "
                       "\n$$")
                .arg(name.toLower());
        default:
            return QString();
    }
}

}  // namespace

void TSqlStructureRules::Init(const QString& name, const QString& alias, int objectType) {
    FName = name;
    FAlias = alias;
    FObjectType = objectType;
}

QString TSqlStructureRules::Load() {
    TDSPTable& dsp = GetDSPTable(FAlias);
    const QByteArray bytes = dsp.DSPStructureExist(FName, FObjectType)
                                 ? dsp.GetStructure(FName, FObjectType)
                                 : QByteArray();
    if (bytes.isEmpty()) return Template(FName, FObjectType);
    const TDSPNode body = TDSPNode::FromBytes(bytes, QStringLiteral("DSP structure %1").arg(FName));
    if (!body.HasProperty(PropertyOf(FObjectType))) return Template(FName, FObjectType);
    return body.Property(PropertyOf(FObjectType)).toString();
}

void TSqlStructureRules::Save(const QString& text) {
    TDSPTable& dsp = GetDSPTable(FAlias);
    const bool exists = dsp.DSPStructureExist(FName, FObjectType);
    const QByteArray bytes = exists ? dsp.GetStructure(FName, FObjectType) : QByteArray();
    TDSPNode body = bytes.isEmpty()
                        ? TDSPNode(FName)
                        : TDSPNode::FromBytes(bytes, QStringLiteral("DSP structure %1").arg(FName));
    body.SetProperty(PropertyOf(FObjectType), text);
    dsp.PutStructure(FName, FObjectType, body.ToBytes());
}
