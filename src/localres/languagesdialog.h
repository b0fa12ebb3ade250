#pragma once

#include <QDialog>
#include <QFont>

#include "appcore/languages.h"

class QLabel;
class QLineEdit;

// The font of a language record as a widget font, and back.
QFont FontOfLanguage(const TLanguageFont& font);
TLanguageFont LanguageFontOf(const QFont& font, const TLanguageFont& kept = {});
// What is wrong with a language entry; empty when it can be stored.
QString CheckLanguageEntry(const QString& id, const TOneLanguage& language);

// The language record: its ID, three names and the font.
class TLanguagesDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TLanguagesDialog(QWidget* parent = nullptr);
    void SetEntry(const QString& id, const TOneLanguage& language);
    QString ID() const;
    // The names from the edits, the font from the font choice.
    TOneLanguage Entry() const;
    void ApplyFont(const QFont& font);
    QLineEdit* IDEdit() const { return FIDEdit; }
    QLineEdit* NameEdit(int index) const { return FNames[index]; }
    // OK: refuses (beep, focus) an empty ID or an entry that cannot be stored.
    void TryAccept();

  private:
    void ChooseFont();
    QLineEdit* FIDEdit;
    QLineEdit* FNames[3];
    QLabel* FSamples[2];
    QFont FFont;
    TLanguageFont FKept;
};
