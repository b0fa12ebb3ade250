// The explorer windows of the main window: the saved list and reopening it.
#include <QMenu>
#include <QTimer>

#include "basekit/registry.h"
#include "explorer/commonlistform.h"
#include "mainform.h"

QWidget* TDictionaryForm::NewWindow() {
    auto* window = new TCommonListForm();
    try {
        window->Initialize(QString(), QString());
    } catch (...) {
        delete window;
        throw;
    }
    window->show();
    return window;
}

void TDictionaryForm::SaveWindowList() {
    const QString key = PelvarKey(QStringLiteral("Windows"));
    TRegistry reg;
    if (reg.KeyExists(key) && !reg.DeleteKey(key))
        RegistryFailure("Can not delete registry key '%s'", key);
    if (!reg.OpenKey(key, true)) RegistryFailure("Can not create registry key '%s'", key);
    int n = 0;
    for (TCommonListForm* w : TCommonListForm::Windows())
        reg.WriteString(QString::number(n++), MakeWindowEntry(w->FileName(), w->CurrentPath()));
}

void TDictionaryForm::LoadWindowList() {
    FWindowList.clear();
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(PelvarKey(QStringLiteral("Windows")))) {
        // The very first run: start with one window on the databases.
        QTimer::singleShot(0, this, [this] { Guard([this] { NewWindow(); }); });
        return;
    }
    for (int i = 0; reg.ValueExists(QString::number(i)); ++i)
        FWindowList << NormalizeWindowEntry(reg.ReadString(QString::number(i)));
    if (!FWindowList.isEmpty()) QTimer::singleShot(0, this, [this] { ReopenWindows(); });
}

void TDictionaryForm::ReopenWindows() {
    if (FWindowList.isEmpty() || FOpeningWindows) return;
    FOpeningWindows = true;
    const QStringList entries = FWindowList;
    for (const QString& entry : entries) {
        QString fileName, path;
        SplitWindowEntry(entry, fileName, path);
        auto* window = new TCommonListForm();
        bool reached = false;
        try {
            reached = window->Initialize(path, fileName);
        } catch (const EPelvarError&) {
            // A saved window that cannot be reached any more is dropped quietly.
        }
        if (reached)
            window->show();
        else
            delete window;
    }
    FWindowList.clear();
    FOpeningWindows = false;
}

void TDictionaryForm::FillWindowMenu() {
    FWindowMenu->clear();
    for (TCommonListForm* w : TCommonListForm::Windows()) {
        // A window on the databases has no caption: its folder's tree text names it.
        QString caption = w->windowTitle();
        if (caption.isEmpty()) {
            TTreeNodeItem item;
            if (TPelvarObject* folder = FindObjectByPath(w->RootObject(), w->CurrentPath()))
                folder->FillTreeViewItem(item);
            caption = item.Text;
        }
        QAction* a = FWindowMenu->addAction(caption);
        connect(a, &QAction::triggered, w, [w] {
            w->showNormal();
            w->raise();
            w->activateWindow();
        });
    }
}
