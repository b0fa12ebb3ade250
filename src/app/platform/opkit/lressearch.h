#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TDatabase;

// The resource search, without a window: it runs on whatever thread calls it,
// over the connection it is given (a worker opens its own).

struct TLResSearchRequest {
    QStringList Sections;   // searched in this order
    QStringList StringIDs;  // then these
    QStringList Languages;  // the columns of every found row
    QString IDSubstr;       // upper-cased; empty: not searched by ID
    QString TextSubstr;     // upper-cased; empty: not searched by text
};

// One found string ID with its text per language of the request, in the
// request's language order; a language without a text gives the one
// character of code 0, as the localiser answers.
struct TLResFound {
    QString StringID;
    QStringList Texts;
};
// Sorted by string ID.
using TLResBatch = QList<TLResFound>;

struct TLResSearchEvents {
    // True once the search is to end; asked between rows.
    std::function<bool()> Stopped;
    // The section or string ID now searched.
    std::function<void(const QString&)> Status;
    // The finds of one section or string ID.
    std::function<void(TLResBatch&&)> Batch;
};

void RunLResSearch(TDatabase& db, const TLResSearchRequest& request,
                   const TLResSearchEvents& events);

// What a second connection to an alias needs, read on the thread that owns
// the alias's connection.
struct TConnectionInfo {
    QString Alias;
    QString DataSource;
    QString User;
    QString Password;
};
TConnectionInfo ConnectionInfoOf(const QString& alias);
// A connection of the calling thread's own.
std::unique_ptr<TDatabase> OpenOwnConnection(const TConnectionInfo& info);
