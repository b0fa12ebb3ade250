#include "tabledatawindows.h"

TTableDataWindowList& TTableDataWindowList::Instance() {
    static TTableDataWindowList list;
    return list;
}

void TTableDataWindowList::Add(TRegisteredDataWindow* window) {
    if (!window || FWindows.contains(window)) return;
    FWindows.append(window);
    window->SetInList(true);
}

void TTableDataWindowList::Remove(TRegisteredDataWindow* window) {
    FWindows.removeAll(window);
    if (window) window->SetInList(false);
}

void TTableDataWindowList::Delete(int index) {
    if (index >= 0 && index < FWindows.size()) FWindows.removeAt(index);
}
