#pragma once

#include <QHash>
#include <QString>

// The text of a message ID: the current language in the default database's
// localiser, then the program's built-in catalogue, then `defaultText`.
QString LString(const QString& id, const QString& defaultText = QString());
// True for what the localiser answers when it has no text: empty, or the
// single character of code 0.
bool IsMissingText(const QString& text);
// A caption designed into a form in Russian (not a message ID), in the
// program's language: as designed while the current language is Russian,
// otherwise the built-in catalogue's English meaning of the designed text.
QString DesignedCaption(const QString& designed);
// What About says: the program's title, version and toolkit version.
QString AboutProgramText();
// Shows it (the main window's and every explorer window's About).
void ShowAboutProgram();
// A message box with texts looked up by ID; returns the button code.
int LMessageBox(const QString& id, const QString& titleId, int flags);
void LShowMessage(const QString& id);

// English texts for every message ID the program uses (resources/messages/*.txt,
// one file per subsystem).
class TMessageCatalogue {
  public:
    static const TMessageCatalogue& Builtin();
    bool Contains(const QString& id) const { return FTexts.contains(id.toUpper()); }
    QString Text(const QString& id) const { return FTexts.value(id.toUpper()); }
    int Count() const { return int(FTexts.size()); }
    // "ID=Text" lines; "#" starts a comment; "\n" in a text is a line break.
    void LoadFromText(const QString& text);

  private:
    QHash<QString, QString> FTexts;
};
