#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class TDatabase;

// Checks of the translations of sections, as translation platforms run them:
// strings without a text in some language, format placeholders that differ
// between languages (a formatted message then reads the wrong argument or
// crashes), and texts left identical to another language's.

enum class TTranslationFault { Missing, Placeholders, Identical };

struct TTranslationFinding {
    QString StringID;
    TTranslationFault Fault;
    QStringList Languages;  // those concerned
    QString Detail;
    bool operator==(const TTranslationFinding&) const = default;
};

// The placeholders of a text, sorted: "%s", "%d", "%5.2f", "%1"...; "%%" is none.
QStringList FormatPlaceholders(const QString& text);

// The checks on one string's texts, by language (languages without a text
// are absent from `texts`).
QList<TTranslationFinding> CheckTranslation(const QString& stringID, const QStringList& languages,
                                            const QList<QPair<QString, QString>>& texts);

// Checks every string of the sections in the languages. The description
// pseudo-language ("DESCRIPTION") is no translation and is left out.
QList<TTranslationFinding> CheckTranslations(TDatabase& db, const QStringList& sections,
                                             const QStringList& languages,
                                             const std::function<bool()>& stopped = {});

QString TranslationFaultName(TTranslationFault fault);
