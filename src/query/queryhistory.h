#pragma once

#include <QString>
#include <vector>

#include "basekit/record.h"

// The statements a query window ran, newest first, each with the parameters it
// ran with. Survives restarts in the settings.
class TQueryHistory {
  public:
    static constexpr int kMaxSaved = 41;
    struct TEntry {
        QString Text;  // "1" or "0" (the precompile option) and the statement
        TRecord Params;
    };

    // Adds a run unless it repeats the newest entry (text ignoring case, same
    // parameters); an empty text is not added. True when added.
    bool Add(const QString& sql, bool precompile, const TRecord& params);
    int Count() const { return int(FEntries.size()); }
    const TEntry& Entry(int index) const { return FEntries[size_t(index)]; }
    static QString StatementOf(const TEntry& e) { return e.Text.mid(1); }
    static bool PrecompileOf(const TEntry& e) { return e.Text.startsWith(QLatin1Char('1')); }

    // -1 after loading, 0 after an entry was added; the entry last brought back.
    int Position() const { return FPosition; }
    bool CanGoOlder() const { return FPosition < Count() - 1; }
    bool CanGoNewer() const { return FPosition > 0 && Count() >= 2; }
    // The entry now current, or nullptr when there is no move to make.
    const TEntry* GoOlder();
    const TEntry* GoNewer();

    // The settings key "\PELVAR\QueryMemo\History" below the program's key.
    static QString RegistryKey();
    // Replaces the stored history with the newest kMaxSaved entries.
    void Save() const;
    void Load();

  private:
    std::vector<TEntry> FEntries;
    int FPosition = 0;
};
