#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TRegistry;
class TPelvarObject;

// A saved jump to a folder of the object tree.
class TPelvarObjectShortcut {
  public:
    // Copies every field; the picture is copied, not shared.
    void Assign(const TPelvarObjectShortcut& Source);
    // Writes into / reads from the registry object's open key.
    void SaveToRegistry(TRegistry& Registry) const;
    void LoadFromRegistry(const TRegistry& Registry);
    // The caption ID's text when there is a caption ID, otherwise Caption.
    QString DisplayCaption() const;
    QString DisplayHint() const;

    // An empty alias component ("\\Structures\Tables") stands for the login database.
    QString FullPath;
    QString CaptionID;
    QString HintID;
    QString Caption;
    QString Hint;
    int ImageIndex = -1;  // negative: the shortcut carries its own Image
    QImage Image;
    int Shortcut = 0;  // Qt key combination of the shortcut's action
};

// Owns its shortcuts.
class TPelvarObjectShortcutList {
  public:
    void Clear() { FList.clear(); }
    TPelvarObjectShortcut* Add();
    TPelvarObjectShortcut* Insert(int Index);
    void Delete(int Index);
    int IndexOf(const TPelvarObjectShortcut* Shortcut) const;
    TPelvarObjectShortcut* FindByPath(const QString& Path) const;
    TPelvarObjectShortcut* Items(int Index) const { return FList.at(size_t(Index)).get(); }
    int Count() const { return int(FList.size()); }
    void Assign(const TPelvarObjectShortcutList& Source);
    // Reads the shortcuts kept in the numbered sub-keys "0", "1", ... of `key`,
    // up to the first missing number; nothing changes when `key` does not exist.
    // A damaged entry is skipped, its error added to `errors`, so that it costs
    // no other shortcut; when every entry is damaged the list keeps what it held.
    void LoadFromRegistry(const QString& key, QStringList& errors);

  private:
    std::vector<std::unique_ptr<TPelvarObjectShortcut>> FList;
};

// The owner of the shortcut list (the main window). Explorer windows add to it
// through the registered host; without a host, adding does nothing.
class TShortcutHost {
  public:
    virtual ~TShortcutHost() = default;
    virtual TPelvarObjectShortcutList& ObjectShortcuts() = 0;
    // Rebuilds the shortcut menu and bar after the list changed.
    virtual void FillShortcuts() = 0;
};

void SetShortcutHost(TShortcutHost* host);
TShortcutHost* ShortcutHost();

// The path a shortcut keeps: the login database's alias component is emptied,
// so the shortcut follows whatever database the user logs in to next time.
QString ShortcutPathFor(const QString& fullPath);
// Adds a shortcut to Folder (shown at fullPath) unless one with the same path
// exists; true when one was added.
bool AddFolderShortcut(TShortcutHost& host, const QString& fullPath, TPelvarObject* Folder);
