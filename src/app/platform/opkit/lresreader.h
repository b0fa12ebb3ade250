#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
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

  private:
    TDatabase& FDb;
    QSet<QString> FKnown;
    std::unique_ptr<TSelectQuery> FQuery;
};
