#pragma once

#include <QList>
#include <QString>

// A table data window as the process-wide list sees it.
class TRegisteredDataWindow {
  public:
    virtual ~TRegisteredDataWindow() = default;
    virtual QString DatabaseName() const = 0;
    // The window is in the list; a window taken out of it leaves the list alone
    // when it is destroyed.
    virtual bool InList() const = 0;
    virtual void SetInList(bool inList) = 0;
    // Closes (and so destroys) the window.
    virtual void CloseWindow() = 0;
};

// Open data windows of one kind, in opening order (not owned).
class TDataWindowList {
  public:
    void Add(TRegisteredDataWindow* window);
    void Remove(TRegisteredDataWindow* window);
    void Delete(int index);
    int Count() const { return int(FWindows.size()); }
    TRegisteredDataWindow* Items(int index) const { return FWindows[index]; }
    // Closes every window of the database (as disconnecting it does).
    void CloseWindowsOf(const QString& databaseName);

  private:
    QList<TRegisteredDataWindow*> FWindows;
};

// The open table data windows of the process.
class TTableDataWindowList : public TDataWindowList {
  public:
    static TTableDataWindowList& Instance();
};

// The open view data windows of the process.
class TViewDataWindowList : public TDataWindowList {
  public:
    static TViewDataWindowList& Instance();
};
