#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "opkit/lressearch.h"

// The rules of the resource search window, without the window.

constexpr int kMaxFoundRows = 2000;
constexpr int kMaxHistory = 5;

// A text as the list and the details show it: every character of code 0 to
// 31 and every "#" as "#" and two upper-case hex digits.
QString LResDisplayText(const QString& text);
// The details of a row: the string ID, then " LANG: text" per language.
QString LResDetailsText(const QString& stringID, const QStringList& languages,
                        const QStringList& texts);
// Puts a trimmed, non-empty text not yet in the history at its top.
void AddToHistory(QStringList& history, const QString& text);

// What the window remembers between searches.
struct TFindLresSettings {
    bool IDChecked = true;
    QString IDSubstr;
    QStringList IDHistory;
    bool TextChecked = true;
    QString TextSubstr;
    QStringList TextHistory;
};
TFindLresSettings LoadFindLresSettings();
void StoreFindLresSettings(const TFindLresSettings& settings);

// The rows found so far; a batch adds rows until the cap, then sets TooMany.
class TFoundRows {
  public:
    // Returns the rows added by this batch.
    int Add(const TLResBatch& batch);
    const TLResBatch& Rows() const { return FRows; }
    bool TooMany() const { return FTooMany; }
    void SetTexts(int row, const QStringList& texts) { FRows[row].Texts = texts; }
    void Clear();

  private:
    TLResBatch FRows;
    bool FTooMany = false;
};
