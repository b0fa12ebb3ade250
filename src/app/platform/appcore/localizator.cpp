#include "localizator.h"

#include <algorithm>

#include "database.h"
#include "dbmanager.h"
#include "localizatorkeys.h"
#include "platform.h"
#include "query.h"

const QString TLocalizatorTable::kTableName = QStringLiteral("TEXT_RESOURCES");
const QString TLocalizatorTable::kSectionMarker = QStringLiteral("#SECTION");

namespace {

QStringList Sorted(QStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

}  // namespace

using LocalizatorKeys::kNotFound;
using LocalizatorKeys::TextKey;

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

void TLocalizatorTable::SplitWithSections(const QSet<QString>& sections, const QString& id,
                                          QString& section, QString& ident) {
    // Longest known section first: the whole ID, then cut at each "_" from the end.
    if (sections.contains(id)) {
        section = id;
        ident.clear();
        return;
    }
    for (int pos = id.lastIndexOf(QLatin1Char('_')); pos > 0;
         pos = id.lastIndexOf(QLatin1Char('_'), pos - 1)) {
        if (sections.contains(id.left(pos))) {
            section = id.left(pos);
            ident = id.mid(pos + 1);
            return;
        }
    }
    StructuralSplit(id, section, ident);
}

void TLocalizatorTable::SplitKnown(const QString& id, QString& section, QString& ident) const {
    SplitWithSections(FKnown, id, section, ident);
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

QStringList TLocalizatorTable::SectionLanguages(const QString& sectionID) {
    EnsureIndex();
    const QString section = sectionID.toUpper();
    QStringList result;
    for (auto it = FIndex.cbegin(); it != FIndex.cend(); ++it)
        if (!it.value().value(section).isEmpty()) result << it.key();
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
