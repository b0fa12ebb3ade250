#pragma once

#include <QStringList>
#include <QTableWidget>

class TLocalizatorTable;

// The texts of one string ID, one row per language, edited in place: the
// "Language" column is read-only, the "Text" column takes multi-line text.
// Languages are those of the database plus any the string has a text in.
class TLocalizatorGrid : public QTableWidget {
    Q_OBJECT
  public:
    explicit TLocalizatorGrid(QWidget* parent = nullptr);

    void SetStringID(const QString& id) { FStringID = id; }
    const QString& StringID() const { return FStringID; }
    // Not owned.
    void SetLocalizator(TLocalizatorTable* localizator) { FLocalizator = localizator; }
    void SetLanguages(const QStringList& languages) { FLanguages = languages; }
    // Reads the texts of the string ID.
    void LoadTexts();
    // Writes the texts that changed, in one transaction; an emptied text is
    // deleted. Returns how many languages changed.
    int StoreTexts();
    // The text shown for a language, -1 row when it has none.
    int RowOf(const QString& language) const;
    QString TextOf(const QString& language) const;
    void SetTextOf(const QString& language, const QString& text);

  private:
    QString FStringID;
    TLocalizatorTable* FLocalizator = nullptr;
    QStringList FLanguages;
    QStringList FLoaded;  // per row, as read
};
