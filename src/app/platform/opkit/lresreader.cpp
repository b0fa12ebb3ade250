#include "lresreader.h"

#include <algorithm>

#include "appcore/localizator.h"
#include "appcore/query.h"

TLSectionReader::TLSectionReader(TDatabase& db) : FDb(db) {
    TSelectQuery q(db, QStringLiteral("SELECT STRINGID FROM TEXT_RESOURCES WHERE LANGUAGEID = :m"));
    q.ParamByName(QStringLiteral("m")).SetValue(TLocalizatorTable::kSectionMarker);
    for (q.Open(); !q.Eof(); q.Next())
        FKnown.insert(q.Fields().GetFields(0).AsString().toUpper());
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
    if (!FQuery)
        // "_" is followed by "`" in code order: the IDs of the section form one range.
        FQuery = std::make_unique<TSelectQuery>(
            FDb, QStringLiteral("SELECT STRINGID, LANGUAGEID, TEXT FROM TEXT_RESOURCES WHERE "
                                "STRINGID = :sec OR (STRINGID >= :lo AND STRINGID < :hi) "
                                "ORDER BY STRINGID, LANGUAGEID"));
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
        Split(r.GetFields(0).AsString().toUpper(), owner, ident);
        if (owner != section) continue;  // a longer section that starts alike
        texts.append({lang, ident, QString::fromUtf8(r.GetFields(2).AsBinary())});
    }
    FQuery->Close();
}
