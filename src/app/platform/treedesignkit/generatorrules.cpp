#include "generatorrules.h"

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/structurebodies.h"
#include "appcore/texts.h"
#include "basekit/strutils.h"

namespace {

// A whole number in 64 bits, signs and surrounding blanks allowed.
bool ParseValue(const QString& text, qint64& value) {
    bool ok = false;
    value = text.trimmed().toLongLong(&ok);
    return ok;
}

TDSPNode ReadBody(const QString& name, const QString& alias) {
    TDSPTable& dsp = GetDSPTable(alias);
    const QByteArray bytes = dsp.DSPStructureExist(name, otGenerator)
                                 ? dsp.GetStructure(name, otGenerator)
                                 : QByteArray();
    if (bytes.isEmpty()) return TDSPNode(name);
    return TDSPNode::FromBytes(bytes, QStringLiteral("DSP structure %1").arg(name));
}

}  // namespace

void TGeneratorRules::Init(const QString& name, const QString& alias) {
    FName = name;
    FAlias = alias;
}

void TGeneratorRules::Load() {
    const TDSPNode body = ReadBody(FName, FAlias);
    FStartValue = QString::number(GeneratorStartValue(body));
    FIncrement = QString::number(GeneratorIncrement(body));
}

QString TGeneratorRules::Check(const QString& startValue, const QString& increment) {
    qint64 value = 0;
    if (!ParseValue(startValue, value))
        return SafeFormat(LString(QStringLiteral("M_Pelvar_GenStrForm_BadStartValue")),
                          startValue.trimmed());
    if (!ParseValue(increment, value) || value == 0)
        return SafeFormat(LString(QStringLiteral("M_Pelvar_GenStrForm_BadIncrement")),
                          increment.trimmed());
    return QString();
}

void TGeneratorRules::Save(const QString& startValue, const QString& increment) {
    if (const QString fault = Check(startValue, increment); !fault.isEmpty())
        throw EDSPError(fault);
    qint64 start = 0, step = 0;
    ParseValue(startValue, start);
    ParseValue(increment, step);
    TDSPNode body = ReadBody(FName, FAlias);
    SetGeneratorValues(body, start, step);
    GetDSPTable(FAlias).PutStructure(FName, otGenerator, body.ToBytes());
    FStartValue = QString::number(start);
    FIncrement = QString::number(step);
}
