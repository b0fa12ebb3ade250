// Creating views, generators and stored procedures from their structures.
#include "appcore/dictionary.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "dspopsupport.h"
#include "dsprecreate.h"

using namespace DSPOps;

namespace {

const char* KindOf(int type) {
    switch (type) {
        case otGenerator:
            return "generator";
        case otView:
            return "view";
        case otExecStoredProc:
            return "stored procedure";
        default:
            return "selectable stored procedure";
    }
}

QString SqlOf(const TDSPNode& body, int type) {
    const QString sql = StructureSql(body).trimmed();
    if (sql.isEmpty())
        throw EDSPError(QStringLiteral("The structure holds no SQL text for the %1")
                            .arg(QLatin1String(KindOf(type))));
    return sql;
}

}  // namespace

void RecreateDBObject(const QString& alias, int type, const QString& name,
                      const QByteArray& structure, std::optional<qint64> start) {
    const TDSPNode body =
        TDSPNode::FromBytes(structure, QStringLiteral("DSP structure %1").arg(name));
    TDicDatabase& dic = DicDBContainer().GetDicDatabase(alias);
    switch (type) {
        case otGenerator: {
            const qint64 value = start ? *start : GeneratorStartValue(body);
            if (dic.GeneratorExists(name)) dic.DropGenerator(name);
            dic.CreateGenerator(name, value);
            break;
        }
        case otView: {
            const QString sql = SqlOf(body, type);
            if (dic.ViewExists(name)) dic.DropView(name);
            dic.CreateView(name, sql);
            break;
        }
        case otExecStoredProc:
        case otSelectStoredProc: {
            const bool select = type == otSelectStoredProc;
            // An engine without procedures refuses through its dialect, naming itself.
            if (!dic.SupportsStoredProcedures()) dic.CreateStoredProc(QString());
            const QString sql = SqlOf(body, type);
            const auto exists = [&] {
                return select ? dic.SelectStoredProcExists(name) : dic.ExecStoredProcExists(name);
            };
            if (exists()) dic.DropStoredProc(name, select);
            dic.CreateStoredProc(sql);
            // The name is inside the text: a text that creates another
            // procedure must not pass for this one.
            if (!exists())
                throw EDSPError(QStringLiteral("Its SQL text does not create a %1 named %2")
                                    .arg(QLatin1String(KindOf(type)), name));
            break;
        }
        default:
            throw EDSPError(
                QStringLiteral("Structures of type %1 describe no database object").arg(type));
    }
}

namespace {

void RecreateObject(const QString& alias, int type, const QString& name, bool keepValue) {
    TDSPTable& dsp = GetDSPTable(alias);
    if (!dsp.DSPStructureExist(name, type))
        throw EDSPError(QStringLiteral("The structure does not exist"));
    std::optional<qint64> start;
    TDicDatabase& dic = DicDBContainer().GetDicDatabase(alias);
    if (type == otGenerator && keepValue && dic.GeneratorExists(name))
        start = dic.GeneratorNext(name, 0);
    RecreateDBObject(alias, type, name, dsp.GetStructure(name, type), start);
}

}  // namespace

void TUORecreateDBObjects::Execute(TOperationContext& context) {
    const QString alias = ResolveAlias(SourceAlias());
    const bool single = !ObjectName.isEmpty();
    const QStringList names = single ? QStringList{ObjectName} : ObjectNames();
    InTransaction(alias, [&] {
        for (int i = 0; i < names.size(); ++i) {
            const QString& name = names[i];
            const QString what = QStringLiteral("Can not create the %1 %2 in database %3")
                                     .arg(QLatin1String(KindOf(FObjectType)), name, alias);
            if (!HasOwnDatabaseObject(name, false)) {
                if (single)
                    throw EDSPError(what +
                                    QStringLiteral(": a derived structure has no database object"));
                continue;
            }
            context.Progress(i, names.size());
            context.Status(
                QStringLiteral("Creating the %1 %2").arg(QLatin1String(KindOf(FObjectType)), name));
            Naming(what, [&] { RecreateObject(alias, FObjectType, name, KeepValue); });
            context.CheckCancel();
        }
    });
}
