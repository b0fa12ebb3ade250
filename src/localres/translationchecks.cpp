#include "translationchecks.h"

#include <QRegularExpression>
#include <algorithm>

#include "appcore/localizator.h"
#include "appcore/texts.h"
#include "opkit/lresreader.h"

QStringList FormatPlaceholders(const QString& text) {
    // printf conversions with flags, width and precision, and positional %1..%99.
    static const QRegularExpression re(
        QStringLiteral("%(%|[0-9]{1,2}(?![0-9.]*[sdiuxXfFeEgGcp])|[-+ #0]*(\\*|[0-9]+)?"
                       "(\\.(\\*|[0-9]+))?(l|ll|h|I64)?[sdiuxXfFeEgGcp])"));
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const QString m = it.next().captured(0);
        if (m != QLatin1String("%%")) found << m;
    }
    std::sort(found.begin(), found.end());
    return found;
}

namespace {

bool HasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

}  // namespace

QList<TTranslationFinding> CheckTranslation(const QString& stringID, const QStringList& languages,
                                            const QList<QPair<QString, QString>>& texts) {
    QList<TTranslationFinding> findings;
    QStringList missing;
    for (const QString& l : languages) {
        const bool has = std::any_of(texts.begin(), texts.end(), [&](const auto& t) {
            return t.first == l && !IsMissingText(t.second);
        });
        if (!has) missing << l;
    }
    if (!missing.isEmpty())
        findings.append({stringID, TTranslationFault::Missing, missing,
                         QStringLiteral("no text in %1").arg(missing.join(QStringLiteral(", ")))});
    // Placeholders: every language against the first that has a text.
    const QPair<QString, QString>* reference = nullptr;
    for (const auto& t : texts) {
        if (IsMissingText(t.second)) continue;
        if (!reference) {
            reference = &t;
            continue;
        }
        const QStringList a = FormatPlaceholders(reference->second);
        const QStringList b = FormatPlaceholders(t.second);
        if (a != b)
            findings.append({stringID,
                             TTranslationFault::Placeholders,
                             {reference->first, t.first},
                             QStringLiteral("%1: %2; %3: %4")
                                 .arg(reference->first, a.join(QLatin1Char(' ')), t.first,
                                      b.join(QLatin1Char(' ')))});
    }
    for (int i = 0; i < texts.size(); ++i)
        for (int j = i + 1; j < texts.size(); ++j)
            if (!IsMissingText(texts[i].second) && texts[i].second == texts[j].second &&
                HasLetter(texts[i].second))
                findings.append({stringID,
                                 TTranslationFault::Identical,
                                 {texts[i].first, texts[j].first},
                                 QStringLiteral("\"%1\"").arg(texts[i].second.left(60))});
    return findings;
}

QList<TTranslationFinding> CheckTranslations(TDatabase& db, const QStringList& sections,
                                             const QStringList& languages,
                                             const std::function<bool()>& stopped) {
    QStringList checked;
    for (const QString& l : languages)
        if (l.toUpper() != QLatin1String("DESCRIPTION")) checked << l.toUpper();
    TLSectionReader reader(db);
    QList<TTranslationFinding> findings;
    QList<TEILResText> texts;
    for (const QString& section : sections) {
        if (stopped && stopped()) break;
        reader.Read(section, checked, texts);
        QString ident;
        QList<QPair<QString, QString>> one;
        const auto flush = [&] {
            if (!one.isEmpty())
                findings << CheckTranslation(TLocalizatorTable::ComposeID(section.toUpper(), ident),
                                             checked, one);
            one.clear();
        };
        for (const TEILResText& t : texts) {
            if (t.Ident != ident) flush();
            ident = t.Ident;
            one.append({t.Language, t.Text});
        }
        flush();
    }
    return findings;
}

QString TranslationFaultName(TTranslationFault fault) {
    switch (fault) {
        case TTranslationFault::Missing:
            return LString(QStringLiteral("M_Pelvar_LResCheck_Missing"));
        case TTranslationFault::Placeholders:
            return LString(QStringLiteral("M_Pelvar_LResCheck_Placeholders"));
        case TTranslationFault::Identical:
            return LString(QStringLiteral("M_Pelvar_LResCheck_Identical"));
    }
    return QString();
}
