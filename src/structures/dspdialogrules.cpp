#include "dspdialogrules.h"

#include "appcore/dsptable.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "formdesignkit/checkname.h"

namespace {
TDSPPropertiesPrompt gPrompt;
const QChar kDerived = QLatin1Char('$');
}  // namespace

QStringList ObjectTypeEntries() {
    QStringList entries;
    const QString list = LString(QStringLiteral("C_Pelvar_DSPPropertiesForm_ObjectTypeEdit_LList"));
    for (const QString& line : list.split(QLatin1Char('\n'))) {
        // Localised lists may come with Windows line ends.
        const QString entry = line.trimmed();
        if (!entry.isEmpty()) entries << entry;
    }
    return entries;
}

int ObjectTypeOfText(const QString& text) {
    bool ok = false;
    const int type = text.section(QLatin1Char(' '), 0, 0).toInt(&ok, 10);
    return ok ? type : -1;
}

int FindObjectTypeEntry(const QStringList& entries, int objectType) {
    const QString prefix = QString::number(objectType) + QLatin1Char(' ');
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i].startsWith(prefix)) return i;
    return -1;
}

TParentList FillParentList(const QString& alias, int objectType, const QString& name,
                           bool parentEnabled, bool tableNames) {
    TParentList result;
    // Type 0 would list every structure of the store; no type has no parents.
    if (objectType > 0) {
        TDSPList list;
        GetDSPTable(alias).FillStructuresList(objectType, list);
        for (int i = 0; i < list.Count(); ++i) {
            const TDSPListItem& item = list.Items(i);
            const QString& entry = tableNames ? item.TableName : item.Name;
            if (!entry.isEmpty() && entry != name && !result.Names.contains(entry))
                result.Names << entry;
        }
    }
    const bool derived = name.contains(kDerived);
    result.Enabled = !derived && parentEnabled;
    result.ClearText = derived;
    return result;
}

bool IsDottedName(const QString& name) {
    for (const QString& part : name.split(QLatin1Char('.')))
        if (!CheckName(part)) return false;
    return true;
}

bool IsInheritName(const QString& name, bool parentEnabled) {
    const int at = name.indexOf(kDerived);
    if (at < 0) return name.isEmpty() || IsDottedName(name);
    return parentEnabled && IsDottedName(name.left(at)) && CheckName(name.mid(at + 1));
}

TDSPPropertiesFault CheckDSPProperties(int objectType, const QString& name) {
    if (objectType < 0) return TDSPPropertiesFault::ObjectType;
    if (name.isEmpty()) return TDSPPropertiesFault::Name;
    return TDSPPropertiesFault::None;
}

void SetDSPPropertiesPrompt(TDSPPropertiesPrompt prompt) {
    gPrompt = std::move(prompt);
}

bool EditDSPProperties(TDSPPropertiesRequest& request) {
    if (!gPrompt) return false;
    TDSPPropertiesRequest edited = request;
    if (!gPrompt(edited)) return false;
    request = edited;
    return true;
}
