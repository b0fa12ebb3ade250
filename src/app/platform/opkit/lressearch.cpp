#include "lressearch.h"

#include <QHash>
#include <algorithm>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/localizator.h"
#include "appcore/localizatorkeys.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "lresreader.h"

namespace {

class TSearch {
  public:
    TSearch(TDatabase& db, const TLResSearchRequest& request, const TLResSearchEvents& events)
        : FDb(db), FRequest(request), FEvents(events) {
        for (int i = 0; i < request.Languages.size(); ++i)
            FColumn.insert(request.Languages[i].toUpper(), i);
    }

    void Run() {
        if (FRequest.IDSubstr.isEmpty() && FRequest.TextSubstr.isEmpty()) return;
        if (!FRequest.Sections.isEmpty()) {
            TLSectionReader reader(FDb);
            QList<TEILResText> texts;
            for (const QString& section : FRequest.Sections) {
                if (Stopped()) return;
                FEvents.Status(section);
                reader.Read(section, FRequest.Languages, texts);
                SearchTexts(section.toUpper(), texts);
                Deliver();
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
            if (t != LocalizatorKeys::kNotFound && t.toUpper().contains(FRequest.TextSubstr))
                return true;
        return false;
    }

    // Texts come ordered by string ID: each ID's languages arrive together.
    void SearchTexts(const QString& section, const QList<TEILResText>& texts) {
        QString id;
        QStringList row;
        const auto flush = [&] {
            if (!id.isEmpty() && Matches(id, row)) FBatch.append({id, row});
        };
        for (const TEILResText& t : texts) {
            const QString current = TLocalizatorTable::ComposeID(section, t.Ident);
            if (current != id) {
                flush();
                if (Stopped()) return;
                id = current;
                row = EmptyTexts();
            }
            const auto column = FColumn.constFind(t.Language);
            if (column != FColumn.constEnd()) row[*column] = t.Text;
        }
        flush();
    }

    void SearchString(const QString& id) {
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
        if (Matches(id, row)) FBatch.append({id, row});
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
