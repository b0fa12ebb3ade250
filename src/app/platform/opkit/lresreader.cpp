#include "lresreader.h"

#include <algorithm>

#include "appcore/database.h"
#include "appcore/dialect.h"
#include "appcore/localizator.h"
#include "appcore/query.h"

TLSectionReader::TLSectionReader(TDatabase& db)
    : FDb(db),
      FIDOrder(db.Dialect().CodePointCollation(db, TLocalizatorTable::kTableName,
                                               QStringLiteral("STRINGID"))) {
    TSelectQuery q(db, QStringLiteral("SELECT STRINGID FROM TEXT_RESOURCES WHERE LANGUAGEID = :m"));
    q.ParamByName(QStringLiteral("m")).SetValue(TLocalizatorTable::kSectionMarker);
    for (q.Open(); !q.Eof(); q.Next()) {
        const QString section = q.Fields().GetFields(0).AsString().toUpper();
        FKnown.insert(section);
        FLongestKnown = qMax(FLongestKnown, section.size());
    }
}

TLSectionReader::~TLSectionReader() = default;

void TLSectionReader::Split(const QString& upperID, QString& section, QString& ident) const {
    TLocalizatorTable::SplitWithSections(FKnown, upperID, section, ident);
}

QStringList TLSectionReader::Sections(const QStringList& languages) {
    QSet<QString> wanted;
    for (const QString& l : languages)
        wanted.insert(l.toUpper());
    QSet<QString> found;
    TSelectQuery q(FDb, QStringLiteral("SELECT STRINGID, LANGUAGEID FROM TEXT_RESOURCES"));
    QString section, ident;
    for (q.Open(); !q.Eof(); q.Next()) {
        const QString lang = q.Fields().GetFields(1).AsString().toUpper();
        if (lang == TLocalizatorTable::kSectionMarker) continue;
        if (!wanted.isEmpty() && !wanted.contains(lang)) continue;
        Split(q.Fields().GetFields(0).AsString().toUpper(), section, ident);
        found.insert(section);
    }
    QStringList list = found.values();
    std::sort(list.begin(), list.end());
    return list;
}

void TLSectionReader::Read(const QString& sectionID, const QStringList& languages,
                           QList<TEILResText>& texts) {
    texts.clear();
    if (!FQuery) {
        // "_" is followed by "`" in code order: the IDs of the section form one
        // range, but only where IDs compare by code point, not by a locale's rules.
        const QString id = QStringLiteral("STRINGID") + FIDOrder;
        FQuery = std::make_unique<TSelectQuery>(
            FDb, QStringLiteral("SELECT STRINGID, LANGUAGEID, TEXT FROM TEXT_RESOURCES WHERE "
                                "STRINGID = :sec OR (%1 >= :lo AND %1 < :hi) "
                                "ORDER BY %1, LANGUAGEID")
                     .arg(id));
    }
    const QString section = sectionID.toUpper();
    QSet<QString> wanted;
    for (const QString& l : languages)
        wanted.insert(l.toUpper());
    FQuery->Close();
    FQuery->ParamByName(QStringLiteral("sec")).SetValue(section);
    FQuery->ParamByName(QStringLiteral("lo")).SetValue(section + QLatin1Char('_'));
    FQuery->ParamByName(QStringLiteral("hi")).SetValue(section + QLatin1Char('`'));
    QString owner, ident;
    for (FQuery->Open(); !FQuery->Eof(); FQuery->Next()) {
        TRecord& r = FQuery->Fields();
        const QString lang = r.GetFields(1).AsString().toUpper();
        if (lang == TLocalizatorTable::kSectionMarker) continue;
        if (!wanted.isEmpty() && !wanted.contains(lang)) continue;
        SplitFast(r.GetFields(0).AsString().toUpper(), section, owner, &ident);
        if (owner != section) continue;  // a longer section that starts alike
        texts.append({lang, ident, QString::fromUtf8(r.GetFields(2).AsBinary())});
    }
    FQuery->Close();
}

void TLSectionReader::SplitFast(const QString& id, const QString& hint, QString& section,
                                QString* ident) const {
    // Most IDs are "<hint>_<ident>" with no "_" in the ident: then no longer
    // section can own them unless the whole ID is a section.
    const qsizetype n = hint.size();
    if (n > 0 && id.size() > n + 1 && id[n] == QLatin1Char('_') && id.startsWith(hint) &&
        id.indexOf(QLatin1Char('_'), n + 1) < 0 &&
        (id.size() > FLongestKnown || !FKnown.contains(id))) {
        section = hint;
        if (ident) *ident = id.mid(n + 1);
        return;
    }
    QString rest;
    Split(id, section, ident ? *ident : rest);
}

namespace {

// UTF-16 units ranked as the code points they belong to: surrogates above
// U+E000..U+FFFF, as the database's code-point order has them.
char32_t CodePointRank(char16_t c) {
    if (c >= 0xE000) return c - 0x800;
    if (c >= 0xD800) return c + 0x2000;
    return c;
}

// Whether the pass, in code-point order of string IDs, has left the section's
// ID range ("S" and "S_..." lie below "S`"; siblings such as "SB..." lie inside it).
bool PastRange(const QString& id, const QString& section) {
    const qsizetype n = section.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i == id.size()) return false;
        if (id[i] != section[i])
            return CodePointRank(id[i].unicode()) > CodePointRank(section[i].unicode());
    }
    return id.size() > n && id[n] > QLatin1Char('_');
}

}  // namespace

void TLSectionReader::ReadAll(const QSet<QString>& wantedSections, const QStringList& languages,
                              const TVisit& visit) {
    QSet<QString> wanted;
    for (const QString& l : languages)
        wanted.insert(l.toUpper());
    TSelectQuery q(FDb, QStringLiteral("SELECT STRINGID, LANGUAGEID, TEXT FROM TEXT_RESOURCES "
                                       "ORDER BY STRINGID%1, LANGUAGEID")
                            .arg(FIDOrder));
    // Sections whose ID range the pass is inside, innermost last.
    struct TOpen {
        QString Section;
        QList<TEILResText> Texts;
        bool Wanted = false;
    };
    QList<TOpen> open;
    const auto flushTop = [&] {
        TOpen top = open.takeLast();
        return !top.Wanted || visit(top.Section, top.Texts);
    };
    QString section, ident, hint;
    for (q.Open(); !q.Eof(); q.Next()) {
        TRecord& r = q.Fields();
        const QString lang = r.GetFields(1).AsString().toUpper();
        if (lang == TLocalizatorTable::kSectionMarker) continue;
        if (!wanted.isEmpty() && !wanted.contains(lang)) continue;
        const QString id = r.GetFields(0).AsString().toUpper();
        SplitFast(id, hint, section, &ident);
        hint = section;
        while (!open.isEmpty() && PastRange(id, open.last().Section))
            if (!flushTop()) return;
        qsizetype at = open.size() - 1;
        while (at >= 0 && open[at].Section != section)
            --at;
        if (at < 0) {
            open.append(
                {section, {}, wantedSections.isEmpty() || wantedSections.contains(section)});
            at = open.size() - 1;
        }
        if (open[at].Wanted)
            open[at].Texts.append({lang, ident, QString::fromUtf8(r.GetFields(2).AsBinary())});
    }
    while (!open.isEmpty())
        if (!flushTop()) return;
}

void TLSectionReader::Scan(const QStringList& languages, const TRowVisit& visit) {
    QSet<QString> wanted;
    for (const QString& l : languages)
        wanted.insert(l.toUpper());
    TSelectQuery q(FDb, QStringLiteral("SELECT STRINGID, LANGUAGEID, TEXT FROM TEXT_RESOURCES"));
    QString section, hint;
    for (q.Open(); !q.Eof(); q.Next()) {
        TRecord& r = q.Fields();
        const QString lang = r.GetFields(1).AsString().toUpper();
        if (lang == TLocalizatorTable::kSectionMarker) continue;
        if (!wanted.isEmpty() && !wanted.contains(lang)) continue;
        const QString id = r.GetFields(0).AsString().toUpper();
        SplitFast(id, hint, section, nullptr);
        hint = section;
        if (!visit(section, id, lang, r.GetFields(2).AsBinary())) return;
    }
}
