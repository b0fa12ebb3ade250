#include "lressearch.h"

#include <QHash>
#include <QStringMatcher>
#include <algorithm>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/localizator.h"
#include "appcore/localizatorkeys.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "lresreader.h"

namespace {

// Sections read one by one before a one-pass search, and table rows per batch in it.
constexpr int kLeadSections = 4;
constexpr qint64 kRowsPerBatch = 4096;

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

class TSearch {
  public:
    TSearch(TDatabase& db, const TLResSearchRequest& request, const TLResSearchEvents& events)
        : FDb(db),
          FRequest(request),
          FEvents(events),
          FTextMatcher(request.TextSubstr, Qt::CaseInsensitive) {
        for (int i = 0; i < request.Languages.size(); ++i)
            FColumn.insert(request.Languages[i].toUpper(), i);
        const QString upper = request.TextSubstr.toUpper();
        bool ascii = true;
        for (const QChar c : upper)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) FAsciiNeedle = upper.toLatin1();
    }

    void Run() {
        if (FRequest.IDSubstr.isEmpty() && FRequest.TextSubstr.isEmpty()) return;
        if (!FRequest.Sections.isEmpty()) {
            TLSectionReader reader(FDb);
            const auto search = [&](const QString& section, const QList<TEILResText>& texts) {
                if (Stopped()) return false;
                FEvents.Status(section);
                SearchTexts(section, texts);
                Deliver();
                return true;
            };
            if (reader.PrefersOnePass(int(FRequest.Sections.size()))) {
                // The first sections one by one, so that the first finds show
                // at once; then one pass over the table for the rest.
                QSet<QString> wanted;
                for (const QString& s : FRequest.Sections)
                    wanted.insert(s.toUpper());
                QList<TEILResText> texts;
                for (const QString& section : FRequest.Sections.mid(0, kLeadSections)) {
                    reader.Read(section, FRequest.Languages, texts);
                    if (!search(section.toUpper(), texts)) return;
                    wanted.remove(section.toUpper());
                }
                ScanRest(reader, wanted);
            } else {
                QList<TEILResText> texts;
                for (const QString& section : FRequest.Sections) {
                    reader.Read(section, FRequest.Languages, texts);
                    if (!search(section.toUpper(), texts)) return;
                }
            }
        }
        for (const QString& id : FRequest.StringIDs) {
            if (Stopped()) return;
            FEvents.Status(id);
            SearchString(id.toUpper());
            Deliver();
        }
    }

  private:
    bool Stopped() const { return FEvents.Stopped && FEvents.Stopped(); }

    QStringList EmptyTexts() const {
        return QStringList(FRequest.Languages.size(), LocalizatorKeys::kNotFound);
    }

    bool Matches(const QString& id, const QStringList& texts) const {
        if (!FRequest.IDSubstr.isEmpty() && id.contains(FRequest.IDSubstr)) return true;
        if (FRequest.TextSubstr.isEmpty()) return false;
        for (const QString& t : texts)
            if (FTextMatcher.indexIn(t) >= 0) return true;
        return false;
    }

    // Texts come ordered by string ID: each ID's languages arrive together.
    void SearchTexts(const QString& section, const QList<TEILResText>& texts) {
        QString ident;
        QStringList row;
        bool any = false;
        const auto flush = [&] {
            if (!any) return;
            const QString id = TLocalizatorTable::ComposeID(section, ident);
            if (Matches(id, row)) FBatch.append({id, row});
        };
        for (const TEILResText& t : texts) {
            if (!any || t.Ident != ident) {
                flush();
                if (Stopped()) return;
                ident = t.Ident;
                row = EmptyTexts();
                any = true;
            }
            const auto column = FColumn.constFind(t.Language);
            if (column != FColumn.constEnd()) row[*column] = t.Text;
        }
        flush();
    }

    // The text substring in a stored (UTF-8) text. An ASCII text is searched
    // as it is, where upper-casing is plain; any other text is decoded first.
    bool TextMatches(const QByteArray& utf8) const {
        const QByteArray& needle = FAsciiNeedle;
        bool ascii = !needle.isEmpty();
        for (const char c : utf8)
            if (uchar(c) >= 0x80) {
                ascii = false;
                break;
            }
        if (!ascii) return FTextMatcher.indexIn(QString::fromUtf8(utf8)) >= 0;
        const qsizetype n = needle.size();
        for (qsizetype i = 0; i + n <= utf8.size(); ++i) {
            qsizetype k = 0;
            while (k < n && AsciiUpper(utf8[i + k]) == needle[k])
                ++k;
            if (k == n) return true;
        }
        return false;
    }

    // The texts of the string ID in every language of the request.
    QStringList TextsOf(const QString& id) {
        if (!FQuery)
            FQuery = std::make_unique<TSelectQuery>(
                FDb,
                QStringLiteral("SELECT LANGUAGEID, TEXT FROM TEXT_RESOURCES WHERE STRINGID = :id"));
        FQuery->Close();
        FQuery->ParamByName(QStringLiteral("id")).SetValue(id);
        QStringList row = EmptyTexts();
        for (FQuery->Open(); !FQuery->Eof(); FQuery->Next()) {
            const auto column =
                FColumn.constFind(FQuery->Fields().GetFields(0).AsString().toUpper());
            if (column != FColumn.constEnd())
                row[*column] = QString::fromUtf8(FQuery->Fields().GetFields(1).AsBinary());
        }
        FQuery->Close();
        return row;
    }

    void SearchString(const QString& id) {
        const QStringList row = TextsOf(id);
        if (Matches(id, row)) FBatch.append({id, row});
    }

    // One pass in the table's own order: a row that matches makes its string
    // ID found, whose texts in every language are then read by ID. Finds go
    // out every few thousand rows.
    void ScanRest(TLSectionReader& reader, const QSet<QString>& wanted) {
        QSet<QString> found;
        QStringList pending;
        QString section;
        qint64 rows = 0;
        const auto flush = [&] {
            if (pending.isEmpty()) return;
            FEvents.Status(section);
            for (const QString& id : pending)
                FBatch.append({id, TextsOf(id)});
            pending.clear();
            Deliver();
        };
        reader.Scan(FRequest.Languages, [&](const QString& owner, const QString& id, const QString&,
                                            const QString& text) {
            if (wanted.contains(owner) && !found.contains(id) &&
                ((!FRequest.IDSubstr.isEmpty() && id.contains(FRequest.IDSubstr)) ||
                 (!FRequest.TextSubstr.isEmpty() && FTextMatcher.indexIn(text) >= 0))) {
                found.insert(id);
                pending << id;
                section = owner;
            }
            if (++rows % kRowsPerBatch == 0) flush();
            return !Stopped();
        });
        if (!Stopped()) flush();
    }

    void Deliver() {
        if (FBatch.isEmpty()) return;
        std::sort(FBatch.begin(), FBatch.end(),
                  [](const TLResFound& a, const TLResFound& b) { return a.StringID < b.StringID; });
        FEvents.Batch(std::move(FBatch));
        FBatch.clear();
    }

    TDatabase& FDb;
    const TLResSearchRequest& FRequest;
    const TLResSearchEvents& FEvents;
    QStringMatcher FTextMatcher;
    QByteArray FAsciiNeedle;  // the upper-cased text substring when it is ASCII
    QHash<QString, int> FColumn;
    TLResBatch FBatch;
    std::unique_ptr<TSelectQuery> FQuery;
};

}  // namespace

void RunLResSearch(TDatabase& db, const TLResSearchRequest& request,
                   const TLResSearchEvents& events) {
    TSearch(db, request, events).Run();
}

TConnectionInfo ConnectionInfoOf(const QString& alias) {
    TDatabaseManager& dbs = BaseMng().Databases();
    const QString key = dbs.ResolveAlias(alias);
    const TLoginParams login = dbs.LoginParamsOf(key);
    return TConnectionInfo{key, dbs.GetDatabase(key).DataSource(), login.User, login.Password};
}

std::unique_ptr<TDatabase> OpenOwnConnection(const TConnectionInfo& info) {
    auto db = std::make_unique<TDatabase>(info.Alias, info.DataSource);
    db->Connect(info.User, info.Password);
    return db;
}
