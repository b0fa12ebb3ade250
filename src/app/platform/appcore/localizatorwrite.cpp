#include <QDateTime>

#include "database.h"
#include "localizator.h"
#include "localizatorkeys.h"
#include "query.h"

// The write side of the localiser: texts and sections stored, renamed and deleted.

using LocalizatorKeys::kNotFound;
using LocalizatorKeys::TextKey;

namespace {

void CheckLanguage(const QString& language, const QString& id) {
    const QString lang = language.trimmed().toUpper();
    if (lang.isEmpty() || lang == TLocalizatorTable::kSectionMarker)
        throw ELocalizatorError(
            QStringLiteral("'%1' is not a language for the text of %2").arg(language, id));
}

}  // namespace

void TLocalizatorTable::RegisterSection(const QString& sectionID) {
    if (FKnown.contains(sectionID)) return;
    TExecQuery q(
        Db(), QStringLiteral("INSERT INTO TEXT_RESOURCES (STRINGID, LANGUAGEID, TEXT, LASTCHANGE) "
                             "VALUES (:id, :lang, NULL, :stamp)"));
    q.ParamByName(QStringLiteral("id")).SetValue(sectionID);
    q.ParamByName(QStringLiteral("lang")).SetValue(kSectionMarker);
    q.ParamByName(QStringLiteral("stamp")).SetValue(QDateTime::currentDateTime());
    q.Execute();
    FKnown.insert(sectionID);
}

void TLocalizatorTable::ForgetSectionIfEmpty(const QString& sectionID) {
    for (const auto& sections : std::as_const(FIndex))
        if (!sections.value(sectionID).isEmpty()) return;
    if (!FKnown.contains(sectionID)) return;
    TExecQuery q(
        Db(),
        QStringLiteral("DELETE FROM TEXT_RESOURCES WHERE STRINGID = :id AND LANGUAGEID = :lang"));
    q.ParamByName(QStringLiteral("id")).SetValue(sectionID);
    q.ParamByName(QStringLiteral("lang")).SetValue(kSectionMarker);
    q.Execute();
    FKnown.remove(sectionID);
}

void TLocalizatorTable::WriteText(const QString& id, const QString& lang, const QString& text) {
    TDatabase& db = Db();
    const QDateTime now = QDateTime::currentDateTime();
    TExecQuery up(db, QStringLiteral("UPDATE TEXT_RESOURCES SET TEXT = :text, LASTCHANGE = :stamp "
                                     "WHERE STRINGID = :id AND LANGUAGEID = :lang"));
    up.ParamByName(QStringLiteral("text")).SetValue(text.toUtf8());
    up.ParamByName(QStringLiteral("stamp")).SetValue(now);
    up.ParamByName(QStringLiteral("id")).SetValue(id);
    up.ParamByName(QStringLiteral("lang")).SetValue(lang);
    if (up.Execute() > 0) return;
    TExecQuery ins(
        db, QStringLiteral("INSERT INTO TEXT_RESOURCES (STRINGID, LANGUAGEID, TEXT, LASTCHANGE) "
                           "VALUES (:id, :lang, :text, :stamp)"));
    ins.ParamByName(QStringLiteral("id")).SetValue(id);
    ins.ParamByName(QStringLiteral("lang")).SetValue(lang);
    ins.ParamByName(QStringLiteral("text")).SetValue(text.toUtf8());
    ins.ParamByName(QStringLiteral("stamp")).SetValue(now);
    ins.Execute();
}

void TLocalizatorTable::RemoveText(const QString& id, const QString& lang) {
    TExecQuery q(
        Db(),
        QStringLiteral("DELETE FROM TEXT_RESOURCES WHERE STRINGID = :id AND LANGUAGEID = :lang"));
    q.ParamByName(QStringLiteral("id")).SetValue(id);
    q.ParamByName(QStringLiteral("lang")).SetValue(lang);
    q.Execute();
}

void TLocalizatorTable::SetSectionString(const QString& sectionID, const QString& ident,
                                         const QString& language, const QString& text) {
    const QString section = sectionID.trimmed().toUpper();
    if (section.isEmpty())
        throw ELocalizatorError(QStringLiteral("A local resource needs a section ID"));
    // Checked before the section is registered, so a refused text leaves no
    // empty section behind to change how IDs split.
    CheckLanguage(language, ComposeID(section, ident));
    EnsureIndex();
    TTransactionScope tx(Db());
    RegisterSection(section);
    tx.Commit();
    SetString(ComposeID(section, ident), language, text);
}

void TLocalizatorTable::SetString(const QString& stringID, const QString& language,
                                  const QString& text) {
    const QString id = stringID.trimmed().toUpper(), lang = language.trimmed().toUpper();
    if (id.isEmpty()) throw ELocalizatorError(QStringLiteral("A local resource needs a string ID"));
    CheckLanguage(language, id);
    EnsureIndex();
    QString section, ident;
    SplitKnown(id, section, ident);
    const bool sectionNew = FIndex.value(lang).value(section).isEmpty();
    const bool existed = FIndex.value(lang).value(section).contains(ident);
    {
        TTransactionScope tx(Db());
        RegisterSection(section);
        WriteText(id, lang, text);
        tx.Commit();
    }
    FIndex[lang][section].insert(ident);
    FTexts.insert(TextKey(lang, id), text);
    // Both notices go out even when a subscriber fails on the first.
    TFirstError errors;
    if (sectionNew) errors.Run([&] { Notify(section, lang, true, lckAdded); });
    errors.Run([&] { Notify(id, lang, false, existed ? lckChanged : lckAdded); });
    errors.Rethrow();
}

void TLocalizatorTable::DeleteString(const QString& stringID, const QString& language) {
    const QString id = stringID.toUpper();
    EnsureIndex();
    QString section, ident;
    SplitKnown(id, section, ident);
    const QStringList languages =
        language.isEmpty() ? StringLanguages(id) : QStringList{language.toUpper()};
    QStringList removed;
    {
        TTransactionScope tx(Db());
        for (const QString& lang : languages) {
            if (!FIndex.value(lang).value(section).contains(ident)) continue;
            RemoveText(id, lang);
            removed << lang;
        }
        for (const QString& lang : removed) {
            FIndex[lang][section].remove(ident);
            if (FIndex[lang][section].isEmpty()) FIndex[lang].remove(section);
        }
        ForgetSectionIfEmpty(section);
        tx.Commit();
    }
    TFirstError errors;
    for (const QString& lang : removed) {
        FTexts.insert(TextKey(lang, id), kNotFound);
        errors.Run([&] { Notify(id, lang, false, lckDeleted); });
        if (!FIndex.value(lang).contains(section))
            errors.Run([&] { Notify(section, lang, true, lckDeleted); });
    }
    errors.Rethrow();
}

void TLocalizatorTable::RenameString(const QString& oldID, const QString& newID) {
    const QString from = oldID.toUpper(), to = newID.trimmed().toUpper();
    if (to.isEmpty()) throw ELocalizatorError(QStringLiteral("A local resource needs a string ID"));
    if (from == to) return;
    const QStringList languages = StringLanguages(from);
    if (languages.isEmpty())
        throw ELocalizatorError(
            QStringLiteral("The local resource %1 does not exist in database %2")
                .arg(from, FAlias));
    QList<QPair<QString, QString>> texts;
    for (const QString& lang : languages)
        texts.append({lang, GetString(from, lang)});
    try {
        TTransactionScope tx(Db());
        for (const auto& [lang, text] : texts)
            SetString(to, lang, text);
        DeleteString(from);
        tx.Commit();
    } catch (...) {
        Refresh();  // the caches saw writes that were rolled back
        throw;
    }
}

void TLocalizatorTable::DeleteSection(const QString& sectionID, const QString& language) {
    const QString section = sectionID.toUpper();
    EnsureIndex();
    const QStringList languages =
        language.isEmpty() ? FIndex.keys() : QStringList{language.toUpper()};
    QStringList touched;
    {
        TTransactionScope tx(Db());
        for (const QString& lang : languages) {
            const QSet<QString> idents = FIndex.value(lang).value(section);
            if (idents.isEmpty()) continue;
            for (const QString& ident : idents) {
                RemoveText(ComposeID(section, ident), lang);
                FTexts.insert(TextKey(lang, ComposeID(section, ident)), kNotFound);
            }
            FIndex[lang].remove(section);
            touched << lang;
        }
        ForgetSectionIfEmpty(section);
        tx.Commit();
    }
    TFirstError errors;
    for (const QString& lang : touched)
        errors.Run([&] { Notify(section, lang, true, lckDeleted); });
    errors.Rethrow();
}

void TLocalizatorTable::RenameSection(const QString& oldID, const QString& newID) {
    const QString from = oldID.toUpper(), to = newID.trimmed().toUpper();
    if (to.isEmpty()) throw ELocalizatorError(QStringLiteral("A section needs an ID"));
    if (from == to) return;
    EnsureIndex();
    QList<std::tuple<QString, QString, QString>> moves;  // language, ident, text
    for (auto it = FIndex.cbegin(); it != FIndex.cend(); ++it)
        for (const QString& ident : it.value().value(from))
            moves.append({it.key(), ident, QString()});
    if (moves.isEmpty())
        throw ELocalizatorError(
            QStringLiteral("The section %1 does not exist in database %2").arg(from, FAlias));
    for (auto& m : moves)
        std::get<2>(m) = GetString(ComposeID(from, std::get<1>(m)), std::get<0>(m));
    try {
        TTransactionScope tx(Db());
        for (const auto& [lang, ident, text] : moves)
            SetSectionString(to, ident, lang, text);
        DeleteSection(from);
        tx.Commit();
    } catch (...) {
        Refresh();  // the caches saw writes that were rolled back
        throw;
    }
}
