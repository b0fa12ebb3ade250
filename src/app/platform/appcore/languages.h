#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <map>

#include "notifiers.h"

class TDatabase;

// Language record of the platform.
struct TLanguageFont {
    QString Name = QStringLiteral("Arial");
    int Charset = 1;  // the default character set
    int Size = 10;
    int Style = 0;  // bits: 1 bold, 2 italic, 4 underline, 8 strike-out
    int Color = 0;
    int Pitch = 0;
    bool operator==(const TLanguageFont&) const = default;
};

struct TOneLanguage {
    QString RussianName;
    QString EnglishName;
    QString NativeName;
    TLanguageFont Font;
    bool operator==(const TOneLanguage&) const = default;
};

using TLanguageStrings = QList<QPair<QString, TOneLanguage>>;

enum TLanguagesChangeKind { lgkChanged = 0, lgkAdded = 1, lgkDeleted = 2, lgkAll = 3 };
struct TLanguagesNotifierTag {};
// Called with (language ID, kind); lgkAll (3) with an empty ID after Refresh.
using TLanguagesNotifier = TStoreNotifier<TLanguagesNotifierTag, QString, int>;

// The languages of one database (table LANGUAGES), cached until Refresh.
class TLanguagesTable {
  public:
    // The empty alias names the default database at the time of construction.
    explicit TLanguagesTable(const QString& alias);
    const QString& Alias() const { return FAlias; }

    bool GetLanguage(const QString& id, TOneLanguage& language);
    void SetLanguage(const QString& id, const TOneLanguage& language);
    void DeleteLanguage(const QString& id);
    bool LanguageExist(const QString& id);
    // Language IDs in ID order.
    void FillLanguageNames(QStringList& list);
    void FillLanguageInfo(TLanguageStrings& list);
    void Refresh();
    void DropCache();

    static const QString kTableName;

  private:
    TDatabase& Db() const;
    void EnsureLoaded();
    void Notify(const QString& id, int kind);
    QString FAlias;
    bool FLoaded = false;
    quint64 FVersion = 0;  // of the store when the cache was read
    std::map<QString, TOneLanguage> FLanguages;
};

// The languages every new dictionary starts with.
TLanguageStrings StandardLanguages();
