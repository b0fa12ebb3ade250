#pragma once

#include <QString>

// Rules of the main window that need no window.

// The main window's settings key `sub` below "\PELVAR\".
QString PelvarKey(const QString& sub);
// Raises the registry error `text` (with one "%s") for `key`.
[[noreturn]] void RegistryFailure(const char* text, const QString& key);

// A saved window entry with its alias component upper-cased: "\a\b" becomes
// "\A\b", "\a" becomes "\A"; a file entry (";file;path") is kept as it is, file
// names being case-sensitive; any other entry (the empty root path) has its
// text up to the first "\" upper-cased and a "\" put after it.
QString NormalizeWindowEntry(const QString& entry);

// A window entry to reopen: ";file;path" gives the file name and the path;
// anything else is a path, "\" (the databases) the empty root path.
void SplitWindowEntry(const QString& entry, QString& fileName, QString& path);
QString MakeWindowEntry(const QString& fileName, const QString& path);

// A shortcut's path with an empty alias component replaced by the login
// database: "\\Structures\Tables" gives "\MAINDB\Structures\Tables".
QString ExpandShortcutPath(const QString& path, const QString& currentAlias);

// The last letters typed into the main window; true from AddLetter when they
// end with the version key sequence.
class TVersionKeySequence {
  public:
    static constexpr int kKeep = 20;
    bool AddLetter(QChar letter);
    const QString& Current() const { return FCurrent; }

  private:
    QString FCurrent;
};

// Cache flushing: the default database's store, then that of every database
// in use (as the alias counter lists them).
void FlushDSPCaches();
void FlushLocalizatorCaches();
void FlushLanguagesCaches();
void FlushLanguageLibraries();
void FlushAllCaches();
