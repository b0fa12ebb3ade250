#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

#include "basekit/errors.h"
#include "languages.h"
#include "notifiers.h"

class TDatabase;

PELVAR_DECLARE_ERROR(ELocalizatorError, EPelvarError);

// Change kinds reported to localiser notifiers.
enum TLocalizatorChangeKind { lckChanged = 0, lckAdded = 1, lckReset = 2, lckDeleted = 3 };

struct TLocalizatorNotifierTag {};
// Called with (string or section ID, language, section-level flag, kind).
// Text writes report the string ID (flag clear); a section appearing in or
// disappearing from a language is reported with the section ID (flag set);
// Refresh reports an empty ID with the flag set and kind lckReset (2).
using TLocalizatorNotifier = TStoreNotifier<TLocalizatorNotifierTag, QString, QString, bool, int>;

// Ident and text pairs of one section, in ident order.
using TLResList = QList<QPair<QString, QString>>;

// The localised texts of one database (table TEXT_RESOURCES).
//
// A string ID is section ID + "_" + ident (the section ID alone when the ident
// is empty); IDs and language IDs are stored upper-cased. A section is known
// once a text of it is stored: the store keeps one marker row per known
// section (language "#SECTION"), so SplitID is the exact inverse of ComposeID
// across sessions. SplitID takes the longest known section that the ID starts
// with (followed by "_" or the end); with none it falls back to a structural
// rule on the first component: "C", "M" and "E" sections have three
// components, "K" and "RT" two, everything else ("ST", "S", ...) one.
class TLocalizatorTable {
  public:
    // The empty alias names the default database at the time of construction.
    explicit TLocalizatorTable(const QString& alias);
    const QString& Alias() const { return FAlias; }

    // Sections that have at least one text in the language, in ID order.
    void FillSectionList(const QString& language, QStringList& list);
    // Sections that have a text in any of the languages, in ID order.
    void FillSectionListEx(const QStringList& languages, QStringList& list);
    // An empty language asks for any language.
    bool SectionExist(const QString& sectionID, const QString& language);
    void FillResList(const QString& sectionID, const QString& language, TLResList& list);
    void FillResNames(const QString& sectionID, const QString& language, QStringList& list);
    // The text, or the one-character string of code 0 when there is none.
    QString GetString(const QString& stringID, const QString& language);
    bool StringExists(const QString& stringID, const QString& language);
    // Languages in which the string ID has a text.
    QStringList StringLanguages(const QString& stringID);
    // Languages in which the section has at least one text.
    QStringList SectionLanguages(const QString& sectionID);

    void SplitID(const QString& stringID, QString& sectionID, QString& ident);
    static QString ComposeID(const QString& sectionID, const QString& ident);
    static void StructuralSplit(const QString& stringID, QString& sectionID, QString& ident);
    // SplitID over a given set of known sections (upper-cased), for readers
    // that hold their own connection (a worker thread) and their own copy.
    static void SplitWithSections(const QSet<QString>& sections, const QString& upperID,
                                  QString& sectionID, QString& ident);
    QStringList KnownSections();

    void SetString(const QString& stringID, const QString& language, const QString& text);
    // Stores a text under an explicitly named section (making it known).
    void SetSectionString(const QString& sectionID, const QString& ident, const QString& language,
                          const QString& text);
    // An empty language deletes the texts of every language.
    void DeleteString(const QString& stringID, const QString& language = QString());
    // Moves the texts of every language; existing texts of the new ID are replaced.
    void RenameString(const QString& oldID, const QString& newID);
    void DeleteSection(const QString& sectionID, const QString& language = QString());
    void RenameSection(const QString& oldID, const QString& newID);

    void Refresh();
    void DropCache();

    static const QString kTableName;
    static const QString kSectionMarker;

  private:
    TDatabase& Db() const;
    void CheckVersion();
    void EnsureIndex();
    void SplitKnown(const QString& id, QString& section, QString& ident) const;
    void RegisterSection(const QString& sectionID);
    void ForgetSectionIfEmpty(const QString& sectionID);
    void WriteText(const QString& id, const QString& language, const QString& text);
    void RemoveText(const QString& id, const QString& language);
    void Notify(const QString& id, const QString& language, bool sectionLevel, int kind);

    QString FAlias;
    quint64 FVersion = 0;  // of the store when the caches were read
    bool FIndexLoaded = false;
    QSet<QString> FKnown;                                  // known sections
    QHash<QString, QHash<QString, QSet<QString>>> FIndex;  // language -> section -> idents
    QHash<QString, QString> FTexts;                        // language + '\x1f' + id -> text or "\0"
};

// Localiser and languages tables, one each per database.
class TLContainer {
  public:
    TLocalizatorTable& GetLocalizatorTable(const QString& alias);
    TLanguagesTable& GetLanguagesTable(const QString& alias);
    void DropCaches(const QString& alias);

  private:
    std::map<QString, std::unique_ptr<TLocalizatorTable>> FLocalizators;
    std::map<QString, std::unique_ptr<TLanguagesTable>> FLanguages;
};
