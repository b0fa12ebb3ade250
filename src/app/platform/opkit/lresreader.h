#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "eiobjects.h"

class TDatabase;
class TSelectQuery;

// Reads the texts of a database section by section, over any connection (a
// worker thread brings its own). Each section is one index range of string
// IDs, so reading all sections costs one pass over the table.
class TLSectionReader {
  public:
    // Reads the known sections of the database.
    explicit TLSectionReader(TDatabase& db);
    ~TLSectionReader();

    const QSet<QString>& Known() const { return FKnown; }
    void Split(const QString& upperID, QString& section, QString& ident) const;
    // Every section with a text in one of the languages (all when empty), sorted.
    QStringList Sections(const QStringList& languages);
    // The section's texts in the languages (upper-cased; all when empty),
    // ordered by string ID, then language.
    void Read(const QString& section, const QStringList& languages, QList<TEILResText>& texts);
    // The texts of the wanted sections (every section when empty) in one pass
    // over the table in string ID order: `visit` gets each section once it is
    // complete, with its texts as Read gives them. Sections nested in another
    // ("A_B" in "A") complete before it. Returning false stops the pass.
    using TVisit = std::function<bool(const QString& section, const QList<TEILResText>& texts)>;
    void ReadAll(const QSet<QString>& wanted, const QStringList& languages, const TVisit& visit);
    // Every text in the languages (all when empty) in the table's own order,
    // the cheapest pass: `visit` gets (section, string ID, language, text as
    // stored, in UTF-8); returning false stops the pass.
    using TRowVisit = std::function<bool(const QString& section, const QString& stringID,
                                         const QString& language, const QByteArray& utf8Text)>;
    void Scan(const QStringList& languages, const TRowVisit& visit);
    // Whether reading these sections one by one costs more than one pass.
    bool PrefersOnePass(int sections) const {
        return sections > 32 || sections * 4 > FKnown.size();
    }

  private:
    // The section of an ID; `hint` is tried first (the previous row's section).
    // `ident` may be null when only the section is wanted.
    void SplitFast(const QString& id, const QString& hint, QString& section, QString* ident) const;
    TDatabase& FDb;
    QString FIDOrder;  // what makes string IDs compare in code-point order
    QSet<QString> FKnown;
    qsizetype FLongestKnown = 0;
    std::unique_ptr<TSelectQuery> FQuery;
};
