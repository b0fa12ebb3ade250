#include "queryhistory.h"

#include <algorithm>

#include "basekit/registry.h"
#include "queryrules.h"

bool TQueryHistory::Add(const QString& sql, bool precompile, const TRecord& params) {
    const QString text = sql.trimmed();
    if (text.isEmpty()) return false;
    if (!FEntries.empty()) {
        const TEntry& newest = FEntries.front();
        if (StatementOf(newest).compare(text, Qt::CaseInsensitive) == 0 &&
            SameParameters(newest.Params, params))
            return false;
    }
    FEntries.insert(FEntries.begin(),
                    TEntry{QLatin1Char(precompile ? '1' : '0') + text, TRecord(params)});
    FPosition = 0;
    return true;
}

const TQueryHistory::TEntry* TQueryHistory::GoOlder() {
    if (!CanGoOlder()) return nullptr;
    return &FEntries[size_t(++FPosition)];
}

const TQueryHistory::TEntry* TQueryHistory::GoNewer() {
    if (!CanGoNewer()) return nullptr;
    return &FEntries[size_t(--FPosition)];
}

QString TQueryHistory::RegistryKey() {
    return RegistryBaseKey() + QStringLiteral("\\PELVAR\\QueryMemo\\History");
}

void TQueryHistory::Save() const {
    TRegistry reg;
    reg.DeleteKey(RegistryKey());
    const int count = qMin(Count(), kMaxSaved);
    for (int i = 0; i < count; ++i) {
        const TEntry& e = FEntries[size_t(i)];
        const QString key = RegistryKey() + QStringLiteral("\\Query%1").arg(i);
        if (!reg.OpenKey(key, true)) continue;
        reg.WriteString(QStringLiteral("Query"), e.Text);
        for (int p = 0; p < e.Params.GetFieldCount(); ++p) {
            const TField& f = e.Params.GetFields(p);
            if (!reg.OpenKey(key + QStringLiteral("\\%1").arg(p), true)) continue;
            reg.WriteString(QStringLiteral("Name"), f.Name());
            reg.WriteInteger(QStringLiteral("Type"), f.DataType());
            reg.WriteString(QStringLiteral("Value"), ParameterValueText(f));
        }
    }
    reg.CloseKey();
}

void TQueryHistory::Load() {
    FEntries.clear();
    TRegistry reg;
    if (reg.OpenKeyReadOnly(RegistryKey())) {
        const int count = int(reg.GetKeyNames().size());
        for (int i = 0; i < count; ++i) {
            const QString key = RegistryKey() + QStringLiteral("\\Query%1").arg(i);
            if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(QStringLiteral("Query"))) continue;
            TEntry e;
            e.Text = reg.ReadString(QStringLiteral("Query"));
            if (!e.Text.startsWith(QLatin1Char('0')) && !e.Text.startsWith(QLatin1Char('1')))
                e.Text.prepend(QLatin1Char('0'));
            // Positions in number order ("10" after "9").
            QStringList subs = reg.GetKeyNames();
            std::sort(subs.begin(), subs.end(),
                      [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
            for (const QString& sub : subs) {
                TRegistry p;
                if (!p.OpenKeyReadOnly(key + QLatin1Char('\\') + sub)) continue;
                try {
                    const int type = p.ReadInteger(QStringLiteral("Type"));
                    TField& f = e.Params.AddField(p.ReadString(QStringLiteral("Name")),
                                                  IsValidDataType(type) ? type : 0);
                    f.SetValue(ParameterValueFromText(f.DataType(),
                                                      p.ReadString(QStringLiteral("Value"))));
                } catch (const EPelvarError&) {
                    // A damaged parameter is left out; the statement still comes back.
                }
            }
            FEntries.push_back(std::move(e));
        }
    }
    FPosition = -1;
}
