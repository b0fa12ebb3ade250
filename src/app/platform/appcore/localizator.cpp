#include "localizator.h"

#include <QDateTime>
#include <algorithm>

#include "appmanager.h"
#include "database.h"
#include "query.h"

const QString TLocalizatorTable::kTableName = QStringLiteral("TEXT_RESOURCES");
const QString TLocalizatorTable::kSectionMarker = QStringLiteral("#SECTION");

namespace {

const QString kNotFound = QString(QChar(0));

QString TextKey(const QString& language, const QString& id) {
    return language + QChar(0x1f) + id;
}

void CheckLanguage(const QString& language, const QString& id) {
    const QString lang = language.trimmed().toUpper();
    if (lang.isEmpty() || lang == TLocalizatorTable::kSectionMarker)
        throw ELocalizatorError(
            QStringLiteral("'%1' is not a language for the text of %2").arg(language, id));
}

QStringList Sorted(QStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

}  // namespace

TLocalizatorTable::TLocalizatorTable(const QString& alias)
    : FAlias(BaseMng().Databases().ResolveAlias(alias)) {}

TDatabase& TLocalizatorTable::Db() const {
    return BaseMng().Databases().GetDatabase(FAlias);
}

void TLocalizatorTable::CheckVersion() {
    // Another store object of the database wrote or refreshed: read again.
    const quint64 version = TLocalizatorNotifier::THub::Instance().Version(FAlias);
    if (version == FVersion) return;
    DropCache();
    FVersion = version;
}

QString TLocalizatorTable::ComposeID(const QString& sectionID, const QString& ident) {
    return ident.isEmpty() ? sectionID.toUpper()
                           : sectionID.toUpper() + QLatin1Char('_') + ident.toUpper();
}

void TLocalizatorTable::StructuralSplit(const QString& stringID, QString& sectionID,
                                        QString& ident) {
    const QString id = stringID.toUpper();
    const QStringList parts = id.split(QLatin1Char('_'));
    const QString first = parts.first();
    int n = 1;
    if (first == QLatin1String("C") || first == QLatin1String("M") || first == QLatin1String("E"))
        n = 3;
    else if (first == QLatin1String("K") || first == QLatin1String("RT"))
        n = 2;
    n = qMin(n, int(parts.size()));
    sectionID = parts.mid(0, n).join(QLatin1Char('_'));
    ident = parts.mid(n).join(QLatin1Char('_'));
}

void TLocalizatorTable::SplitKnown(const QString& id, QString& section, QString& ident) const {
    // Longest known section first: the whole ID, then cut at each "_" from the end.
    if (FKnown.contains(id)) {
        section = id;
        ident.clear();
        return;
    }
    for (int pos = id.lastIndexOf(QLatin1Char('_')); pos > 0;
         pos = id.lastIndexOf(QLatin1Char('_'), pos - 1)) {
        if (FKnown.contains(id.left(pos))) {
            section = id.left(pos);
            ident = id.mid(pos + 1);
            return;
        }
    }
    StructuralSplit(id, section, ident);
}

void TLocalizatorTable::SplitID(const QString& stringID, QString& sectionID, QString& ident) {
    EnsureIndex();
    SplitKnown(stringID.toUpper(), sectionID, ident);
}

void TLocalizatorTable::EnsureIndex() {
    CheckVersion();
    if (FIndexLoaded) return;
    TDatabase& db = Db();
    if (!db.TableExists(kTableName))
        throw ELocalizatorError(
            QStringLiteral("The database %1 has no text table %2: create its system tables first")
                .arg(FAlias, kTableName));
    FKnown.clear();
    FIndex.clear();
    QList<QPair<QString, QString>> rows;
    TSelectQuery q(db, QStringLiteral("SELECT STRINGID, LANGUAGEID FROM TEXT_RESOURCES"));
    for (q.Open(); !q.Eof(); q.Next()) {
        const QString id = q.Fields().GetFields(0).AsString().toUpper();
        const QString lang = q.Fields().GetFields(1).AsString().toUpper();
        if (lang == kSectionMarker)
            FKnown.insert(id);
        else
            rows.append({id, lang});
    }
    // Sections are known before any ID is split.
    for (const auto& [id, lang] : rows) {
        QString section, ident;
        SplitKnown(id, section, ident);
        FIndex[lang][section].insert(ident);
    }
    FIndexLoaded = true;
}

void TLocalizatorTable::FillSectionList(const QString& language, QStringList& list) {
    EnsureIndex();
    list = Sorted(FIndex.value(language.toUpper()).keys());
}

void TLocalizatorTable::FillSectionListEx(const QStringList& languages, QStringList& list) {
    EnsureIndex();
    QSet<QString> all;
    for (const QString& l : languages)
        for (auto it = FIndex.value(l.toUpper()).cbegin(); it != FIndex.value(l.toUpper()).cend();
             ++it)
            all.insert(it.key());
    list = Sorted(all.values());
}

bool TLocalizatorTable::SectionExist(const QString& sectionID, const QString& language) {
    EnsureIndex();
    const QString s = sectionID.toUpper();
    if (!language.isEmpty()) return !FIndex.value(language.toUpper()).value(s).isEmpty();
    for (const auto& sections : std::as_const(FIndex))
        if (!sections.value(s).isEmpty()) return true;
    return false;
}

void TLocalizatorTable::FillResNames(const QString& sectionID, const QString& language,
                                     QStringList& list) {
    EnsureIndex();
    list = Sorted(FIndex.value(language.toUpper()).value(sectionID.toUpper()).values());
}

void TLocalizatorTable::FillResList(const QString& sectionID, const QString& language,
                                    TLResList& list) {
    list.clear();
    QStringList idents;
    FillResNames(sectionID, language, idents);
    if (idents.isEmpty()) return;
    const QString lang = language.toUpper();
    const QString section = sectionID.toUpper();
    // One query for the section's texts: IDs that start with the section.
    TSelectQuery q(
        Db(), QStringLiteral(
                  "SELECT STRINGID, TEXT FROM TEXT_RESOURCES WHERE LANGUAGEID = :lang "
                  "AND (STRINGID = :sec OR substr(STRINGID, 1, CAST(:len AS INTEGER)) = :prefix)"));
    q.ParamByName(QStringLiteral("lang")).SetValue(lang);
    q.ParamByName(QStringLiteral("sec")).SetValue(section);
    q.ParamByName(QStringLiteral("len")).SetValue(int(section.size() + 1));
    q.ParamByName(QStringLiteral("prefix")).SetValue(section + QLatin1Char('_'));
    QHash<QString, QString> texts;
    for (q.Open(); !q.Eof(); q.Next())
        texts.insert(q.Fields().GetFields(0).AsString().toUpper(),
                     QString::fromUtf8(q.Fields().GetFields(1).AsBinary()));
    for (const QString& ident : idents) {
        const QString id = ComposeID(section, ident);
        const QString text = texts.value(id);
        FTexts.insert(TextKey(lang, id), text);
        list.append({ident, text});
    }
}

QString TLocalizatorTable::GetString(const QString& stringID, const QString& language) {
    const QString id = stringID.toUpper(), lang = language.toUpper();
    if (lang == kSectionMarker) return kNotFound;  // the section markers are no texts
    const QString key = TextKey(lang, id);
    CheckVersion();
    const auto it = FTexts.constFind(key);
    if (it != FTexts.constEnd()) return *it;
    TDatabase& db = Db();
    TSelectQuery q(
        db, QStringLiteral(
                "SELECT TEXT FROM TEXT_RESOURCES WHERE STRINGID = :id AND LANGUAGEID = :lang"));
    q.ParamByName(QStringLiteral("id")).SetValue(id);
    q.ParamByName(QStringLiteral("lang")).SetValue(lang);
    QString text = kNotFound;
    try {
        q.Open();
        if (!q.Eof()) text = QString::fromUtf8(q.Fields().GetFields(0).AsBinary());
    } catch (const EDatabaseError&) {
        if (db.TableExists(kTableName)) throw;
        // No text table: the database simply has no texts.
    }
    FTexts.insert(key, text);
    return text;
}

bool TLocalizatorTable::StringExists(const QString& stringID, const QString& language) {
    return GetString(stringID, language) != kNotFound;
}

QStringList TLocalizatorTable::StringLanguages(const QString& stringID) {
    EnsureIndex();
    QString section, ident;
    SplitKnown(stringID.toUpper(), section, ident);
    QStringList result;
    for (auto it = FIndex.cbegin(); it != FIndex.cend(); ++it)
        if (it.value().value(section).contains(ident)) result << it.key();
    return Sorted(result);
}

QStringList TLocalizatorTable::KnownSections() {
    EnsureIndex();
    return Sorted(FKnown.values());
}

void TLocalizatorTable::Notify(const QString& id, const QString& language, bool sectionLevel,
                               int kind) {
    // These caches already hold the change; other objects of the database reload.
    auto& hub = TLocalizatorNotifier::THub::Instance();
    FVersion = hub.NextVersion(FAlias);
    hub.Notify(FAlias, id, language, sectionLevel, kind);
}

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
    if (sectionNew) Notify(section, lang, true, lckAdded);
    Notify(id, lang, false, existed ? lckChanged : lckAdded);
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
    for (const QString& lang : removed) {
        FTexts.insert(TextKey(lang, id), kNotFound);
        Notify(id, lang, false, lckDeleted);
        if (!FIndex.value(lang).contains(section)) Notify(section, lang, true, lckDeleted);
    }
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
    for (const QString& lang : touched)
        Notify(section, lang, true, lckDeleted);
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

void TLocalizatorTable::Refresh() {
    DropCache();
    Notify(QString(), QString(), true, lckReset);
}

void TLocalizatorTable::DropCache() {
    FIndexLoaded = false;
    FKnown.clear();
    FIndex.clear();
    FTexts.clear();
}

// ---- languages ----

const QString TLanguagesTable::kTableName = QStringLiteral("LANGUAGES");

TLanguagesTable::TLanguagesTable(const QString& alias)
    : FAlias(BaseMng().Databases().ResolveAlias(alias)) {}

TDatabase& TLanguagesTable::Db() const {
    return BaseMng().Databases().GetDatabase(FAlias);
}

void TLanguagesTable::Notify(const QString& id, int kind) {
    // This cache already holds the change; other objects of the database reload.
    auto& hub = TLanguagesNotifier::THub::Instance();
    FVersion = hub.NextVersion(FAlias);
    hub.Notify(FAlias, id, kind);
}

void TLanguagesTable::EnsureLoaded() {
    const quint64 version = TLanguagesNotifier::THub::Instance().Version(FAlias);
    if (FLoaded && FVersion == version) return;
    TDatabase& db = Db();
    if (!db.TableExists(kTableName))
        throw ELocalizatorError(
            QStringLiteral(
                "The database %1 has no languages table %2: create its system tables first")
                .arg(FAlias, kTableName));
    FLanguages.clear();
    TSelectQuery q(
        db, QStringLiteral(
                "SELECT LANGUAGEID, RUSSIANNAME, ENGLISHNAME, NATIVENAME, FONTCHARSET, FONTCOLOR, "
                "FONTNAME, FONTPITCH, FONTSIZE, FONTSTYLE FROM LANGUAGES"));
    for (q.Open(); !q.Eof(); q.Next()) {
        TRecord& r = q.Fields();
        TOneLanguage l;
        l.RussianName = r.GetFields(1).AsString();
        l.EnglishName = r.GetFields(2).AsString();
        l.NativeName = r.GetFields(3).AsString();
        l.Font.Charset = int(r.GetFields(4).AsInteger());
        l.Font.Color = int(r.GetFields(5).AsInteger());
        l.Font.Name = r.GetFields(6).AsString();
        l.Font.Pitch = int(r.GetFields(7).AsInteger());
        l.Font.Size = int(r.GetFields(8).AsInteger());
        l.Font.Style = int(r.GetFields(9).AsInteger());
        FLanguages[r.GetFields(0).AsString().trimmed().toUpper()] = l;
    }
    FLoaded = true;
    FVersion = version;
}

bool TLanguagesTable::GetLanguage(const QString& id, TOneLanguage& language) {
    EnsureLoaded();
    const auto it = FLanguages.find(id.toUpper());
    if (it == FLanguages.end()) return false;
    language = it->second;
    return true;
}

bool TLanguagesTable::LanguageExist(const QString& id) {
    EnsureLoaded();
    return FLanguages.count(id.toUpper()) > 0;
}

void TLanguagesTable::SetLanguage(const QString& id, const TOneLanguage& l) {
    const QString key = id.trimmed().toUpper();
    if (key.isEmpty()) throw ELocalizatorError(QStringLiteral("A language needs an ID"));
    if (key.size() > 16)
        throw ELocalizatorError(
            QStringLiteral("The language ID %1 is longer than 16 characters").arg(key));
    // Every engine must store the same: check the column sizes ourselves.
    const QList<std::tuple<const char*, QString, int>> sizes = {{"Russian name", l.RussianName, 40},
                                                                {"English name", l.EnglishName, 40},
                                                                {"native name", l.NativeName, 40},
                                                                {"font name", l.Font.Name, 80}};
    for (const auto& [what, text, limit] : sizes)
        if (text.size() > limit)
            throw ELocalizatorError(
                QStringLiteral("The %1 of language %2 is longer than %3 characters")
                    .arg(QLatin1String(what), key)
                    .arg(limit));
    EnsureLoaded();
    const bool existed = FLanguages.count(key) > 0;
    TDatabase& db = Db();
    TTransactionScope tx(db);
    if (existed) {
        TExecQuery del(db, QStringLiteral("DELETE FROM LANGUAGES WHERE LANGUAGEID = :id"));
        del.ParamByName(QStringLiteral("id")).SetValue(key);
        del.Execute();
    }
    TExecQuery q(
        db,
        QStringLiteral(
            "INSERT INTO LANGUAGES (LANGUAGEID, RUSSIANNAME, ENGLISHNAME, NATIVENAME, FONTCHARSET, "
            "FONTCOLOR, FONTNAME, FONTPITCH, FONTSIZE, FONTSTYLE) VALUES (:id, :ru, :en, :native, "
            ":charset, :color, :font, :pitch, :size, :style)"));
    q.ParamByName(QStringLiteral("id")).SetValue(key);
    q.ParamByName(QStringLiteral("ru")).SetValue(l.RussianName);
    q.ParamByName(QStringLiteral("en")).SetValue(l.EnglishName);
    q.ParamByName(QStringLiteral("native")).SetValue(l.NativeName);
    q.ParamByName(QStringLiteral("charset")).SetValue(l.Font.Charset);
    q.ParamByName(QStringLiteral("color")).SetValue(l.Font.Color);
    q.ParamByName(QStringLiteral("font")).SetValue(l.Font.Name);
    q.ParamByName(QStringLiteral("pitch")).SetValue(l.Font.Pitch);
    q.ParamByName(QStringLiteral("size")).SetValue(l.Font.Size);
    q.ParamByName(QStringLiteral("style")).SetValue(l.Font.Style);
    q.Execute();
    tx.Commit();
    FLanguages[key] = l;
    Notify(key, existed ? lgkChanged : lgkAdded);
}

void TLanguagesTable::DeleteLanguage(const QString& id) {
    const QString key = id.toUpper();
    EnsureLoaded();
    TExecQuery q(Db(), QStringLiteral("DELETE FROM LANGUAGES WHERE LANGUAGEID = :id"));
    q.ParamByName(QStringLiteral("id")).SetValue(key);
    q.Execute();
    if (FLanguages.erase(key) > 0) Notify(key, lgkDeleted);
}

void TLanguagesTable::FillLanguageNames(QStringList& list) {
    EnsureLoaded();
    list.clear();
    for (const auto& [id, l] : FLanguages)
        list << id;
}

void TLanguagesTable::FillLanguageInfo(TLanguageStrings& list) {
    EnsureLoaded();
    list.clear();
    for (const auto& [id, l] : FLanguages)
        list.append({id, l});
}

void TLanguagesTable::Refresh() {
    DropCache();
    Notify(QString(), lgkAll);
}

void TLanguagesTable::DropCache() {
    FLoaded = false;
    FLanguages.clear();
}

TLocalizatorTable& TLContainer::GetLocalizatorTable(const QString& alias) {
    const QString key = BaseMng().Databases().ResolveAlias(alias);
    auto& slot = FLocalizators[key];
    if (!slot) slot = std::make_unique<TLocalizatorTable>(key);
    return *slot;
}

TLanguagesTable& TLContainer::GetLanguagesTable(const QString& alias) {
    const QString key = BaseMng().Databases().ResolveAlias(alias);
    auto& slot = FLanguages[key];
    if (!slot) slot = std::make_unique<TLanguagesTable>(key);
    return *slot;
}

void TLContainer::DropCaches(const QString& alias) {
    const QString key = alias.toUpper();
    if (auto it = FLocalizators.find(key); it != FLocalizators.end()) it->second->DropCache();
    if (auto it = FLanguages.find(key); it != FLanguages.end()) it->second->DropCache();
}

TLanguageStrings StandardLanguages() {
    TLanguageStrings list;
    TOneLanguage d;
    d.RussianName = d.EnglishName = d.NativeName = QStringLiteral("DESCRIPTION");
    list.append({QStringLiteral("DESCRIPTION"), d});
    TOneLanguage ru;
    ru.RussianName = QStringLiteral("Русский язык");
    ru.EnglishName = QStringLiteral("Russian");
    ru.NativeName = QStringLiteral("Русский язык");
    ru.Font.Charset = 204;  // Cyrillic
    list.append({QStringLiteral("RUSSIAN"), ru});
    TOneLanguage en;
    en.RussianName = QStringLiteral("Английский язык");
    en.EnglishName = QStringLiteral("English");
    en.NativeName = QStringLiteral("English");
    list.append({QStringLiteral("ENGLISH"), en});
    return list;
}
