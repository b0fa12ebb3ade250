#include "languages.h"

#include <tuple>

#include "database.h"
#include "dbmanager.h"
#include "localizator.h"
#include "platform.h"
#include "query.h"

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
                    .arg(QLatin1String(what), key, QString::number(limit)));
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
