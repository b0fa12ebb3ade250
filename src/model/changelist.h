#pragma once

#include <QString>
#include <QStringList>

// A window's queue of change notifications: full paths, in arrival order,
// duplicates kept. It does no locking itself: the window guards it.
class TPelvarChangeList {
  public:
    void Clear() { FList.clear(); }
    void AddChange(const QString& FullPath) { FList.append(FullPath); }
    // Moves the first entry into FullPath; false (FullPath untouched) when empty.
    bool GetNextChange(QString& FullPath) {
        if (FList.isEmpty()) return false;
        FullPath = FList.takeFirst();
        return true;
    }
    int Count() const { return int(FList.size()); }

  private:
    QStringList FList;
};
