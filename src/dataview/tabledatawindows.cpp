#include "tabledatawindows.h"

TTableDataWindowList& TTableDataWindowList::Instance() {
    static TTableDataWindowList list;
    return list;
}

TViewDataWindowList& TViewDataWindowList::Instance() {
    static TViewDataWindowList list;
    return list;
}

void TDataWindowList::Add(TRegisteredDataWindow* window) {
    if (!window || FWindows.contains(window)) return;
    FWindows.append(window);
    window->SetInList(true);
}

void TDataWindowList::Remove(TRegisteredDataWindow* window) {
    FWindows.removeAll(window);
    if (window) window->SetInList(false);
}

void TDataWindowList::Delete(int index) {
    if (index >= 0 && index < FWindows.size()) FWindows.removeAt(index);
}

void TDataWindowList::CloseWindowsOf(const QString& databaseName) {
    for (int i = Count() - 1; i >= 0; --i) {
        TRegisteredDataWindow* w = Items(i);
        if (w->DatabaseName() != databaseName) continue;
        w->SetInList(false);
        // Out of the list first, so that its destruction leaves the list alone.
        Delete(i);
        w->CloseWindow();
    }
}
