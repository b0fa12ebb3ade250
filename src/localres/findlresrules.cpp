#include "findlresrules.h"

#include "appcore/configuration.h"
#include "basekit/registry.h"

namespace {

QString SettingsKey() {
    return Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\FindLres");
}

void ReadBox(const TRegistry& reg, const QString& name, bool& checked, QString& text,
             QStringList& history) {
    checked = !reg.ValueExists(name + QStringLiteral("Checked")) ||
              reg.ReadInteger(name + QStringLiteral("Checked")) != 0;
    if (reg.ValueExists(name)) text = reg.ReadString(name).trimmed();
    const int count = reg.ValueExists(name + QStringLiteral("Count"))
                          ? qMin(reg.ReadInteger(name + QStringLiteral("Count")), kMaxHistory)
                          : 0;
    for (int i = 0; i < count; ++i) {
        const QString entry = name + QStringLiteral("_%1").arg(i);
        const QString value = reg.ValueExists(entry) ? reg.ReadString(entry).trimmed() : QString();
        if (!value.isEmpty() && !history.contains(value)) history << value;
    }
}

void WriteBox(TRegistry& reg, const QString& name, bool checked, const QString& text,
              const QStringList& history) {
    reg.WriteInteger(name + QStringLiteral("Checked"), checked ? 1 : 0);
    reg.WriteString(name, text.trimmed());
    QStringList kept;
    for (const QString& h : history)
        if (!h.isEmpty()) kept << h;
    const int count = qMin(int(kept.size()), kMaxHistory);
    reg.WriteInteger(name + QStringLiteral("Count"), count);
    for (int i = 0; i < count; ++i)
        reg.WriteString(name + QStringLiteral("_%1").arg(i), kept[i]);
}

}  // namespace

QString LResDisplayText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 32 || c == QLatin1Char('#'))
            out += QStringLiteral("#%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString LResDetailsText(const QString& stringID, const QStringList& languages,
                        const QStringList& texts) {
    QString details = stringID;
    for (int i = 0; i < languages.size(); ++i)
        details += QStringLiteral("\n %1: %2").arg(languages[i], LResDisplayText(texts.value(i)));
    return details;
}

void AddToHistory(QStringList& history, const QString& text) {
    const QString t = text.trimmed();
    if (!t.isEmpty() && !history.contains(t)) history.prepend(t);
}

TFindLresSettings LoadFindLresSettings() {
    TFindLresSettings s;
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(SettingsKey())) return s;
    ReadBox(reg, QStringLiteral("IDSubstr"), s.IDChecked, s.IDSubstr, s.IDHistory);
    ReadBox(reg, QStringLiteral("TextSubstr"), s.TextChecked, s.TextSubstr, s.TextHistory);
    return s;
}

void StoreFindLresSettings(const TFindLresSettings& s) {
    TRegistry reg;
    if (!reg.OpenKey(SettingsKey(), true)) return;
    WriteBox(reg, QStringLiteral("IDSubstr"), s.IDChecked, s.IDSubstr, s.IDHistory);
    WriteBox(reg, QStringLiteral("TextSubstr"), s.TextChecked, s.TextSubstr, s.TextHistory);
}

int TFoundRows::Add(const TLResBatch& batch) {
    int added = 0;
    for (const TLResFound& found : batch) {
        if (FRows.size() >= kMaxFoundRows) {
            FTooMany = true;
            break;
        }
        FRows.append(found);
        ++added;
    }
    return added;
}

void TFoundRows::Clear() {
    FRows.clear();
    FTooMany = false;
}
