// Folder options: the settings form of each folder's view, window places and
// the options shared by all windows. Damaged values are read value by value
// (TFolderViewOptions); saving never interrupts the user: a settings failure
// is logged and the work goes on.
#include <QDebug>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "appcore/configuration.h"
#include "basekit/errors.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"
#include "commonlistform.h"
#include "folderviewoptions.h"
#include "listview.h"

namespace {

const QString kOptionsKey = QStringLiteral("\\PELVAR\\Options");

void OpenOrFail(TRegistry& reg, const QString& key) {
    if (!reg.OpenKey(key, true))
        throw ERegistryError(SafeFormat(QStringLiteral("Can not create registry key '%s'"), key));
}

void WarnNotSaved(const char* what, const std::exception& e) {
    qWarning().noquote() << what << ExceptionMessage(e);
}

}  // namespace

QString TCommonListForm::FolderOptionsKey(const QString& registryPath) const {
    QString key = Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\FOLDER_OPTIONS");
    if (!registryPath.isEmpty()) key += QLatin1Char('\\') + registryPath;
    return key;
}

QString TCommonListForm::ViewOptionsKey(const QString& registryPath) const {
    return FolderOptionsKey(FStoreViewParamsByFolder ? registryPath : QStringLiteral("COMMON"));
}

TFolderViewOptions TCommonListForm::CurrentViewOptions() const {
    TFolderViewOptions options;
    options.ListViewStyle = FListViewStyle;
    options.AutoArrangeIcons = FAutoArrangeIcons;
    options.Pos = pos();
    options.Size = size();
    options.StorePlace = !isMinimized();
    options.SetShownColumns(FAvailableColumns, ListColumns());
    options.SortType = FSortType;
    const int focused = FListView->FocusedRow();
    options.FocusedItem =
        focused >= 0 ? FListView->Rows()[size_t(focused)].Data->SubPath() : QString();
    return options;
}

void TCommonListForm::SaveParamsInRegistry() {
    try {
        TPelvarObject* folder = FindCurrentFolder();
        if (!folder) return;
        const QString path = folder->GetRegistryPath();
        const TFolderViewOptions options = CurrentViewOptions();
        TRegistry reg;
        OpenOrFail(reg, ViewOptionsKey(path));
        options.WriteView(reg);
        reg.CloseKey();

        const QString folderKey = FolderOptionsKey(path);
        OpenOrFail(reg, folderKey);
        options.WriteFolder(reg);
        folder->StoreFolderOptions(reg);
        const bool empty = reg.GetValueNames().isEmpty();
        reg.CloseKey();
        if (empty) reg.DeleteKey(folderKey);

        // The options key itself keeps the values of the file windows' folders.
        const QString all = FolderOptionsKey(QString());
        if (reg.OpenKeyReadOnly(all)) {
            const bool bare = !reg.HasSubKeys() && reg.GetValueNames().isEmpty();
            reg.CloseKey();
            if (bare) reg.DeleteKey(all);
        }
    } catch (const std::exception& e) {
        // Options are a convenience; the user's work goes on.
        WarnNotSaved("Folder options not saved:", e);
    }
}

void TCommonListForm::LoadParamsFromRegistry() {
    TPelvarObject* folder = FindCurrentFolder();
    if (!folder) return;
    const QString path = folder->GetRegistryPath();
    TFolderViewOptions options;
    options.ListViewStyle = FListViewStyle;
    options.AutoArrangeIcons = FAutoArrangeIcons;
    TRegistry reg;
    if (reg.OpenKeyReadOnly(ViewOptionsKey(path))) {
        options.ReadView(reg);
        SetListViewStyle(options.ListViewStyle);
        SetAutoArrangeIcons(options.AutoArrangeIcons);
    }
    reg.CloseKey();
    if (!reg.OpenKeyReadOnly(FolderOptionsKey(path))) return;

    options.ReadFolder(reg, FAvailableColumns);
    SetListColumns(options.ShownColumns(FAvailableColumns));  // refills every row
    if (options.SortType) {
        const int sort = *options.SortType;
        const int tag = sort >= TFolderViewOptions::SortDescending
                            ? sort - TFolderViewOptions::SortDescending
                            : sort;
        if (tag >= 0 && FAvailableColumns.IndexOfTag(tag) >= 0) SetSortType(sort);
    }
    if (options.FocusedItem) {
        const int row = FindListItemByPath(*options.FocusedItem);
        if (row >= 0) {
            if (FListUpdateCount > 0) {
                FPendingFocus = FListView->Rows()[size_t(row)].Data;
            } else {
                FListView->SetFocusedRow(row, true);
                FListView->ScrollToRow(row);
            }
        }
    }
    try {
        folder->LoadFolderOptions(reg);
    } catch (const std::exception& e) {
        // A folder's own damaged values must not stop the navigation.
        WarnNotSaved("Folder options not read:", e);
    }
}

void TCommonListForm::LoadFormPosition() {
    TFolderViewOptions options;
    options.Pos = pos();
    options.Size = size();
    TPelvarObject* folder = FindCurrentFolder();
    TRegistry reg;
    if (reg.OpenKeyReadOnly(ViewOptionsKey(folder ? folder->GetRegistryPath() : QString())))
        options.ReadView(reg);
    int left = options.Pos.x(), top = options.Pos.y();
    int w = options.Size.width(), h = options.Size.height();
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const auto taken = [&] {
        for (TCommonListForm* other : Windows())
            if (other != this && other->x() == left && other->y() == top) return true;
        return false;
    };
    while (taken() && work.contains(QPoint(left + 25, top + 25))) {
        left += 25;
        top += 25;
    }
    w = std::min(w, work.width());
    h = std::min(h, work.height());
    const int workRight = work.x() + work.width(), workBottom = work.y() + work.height();
    if (left + 10 > workRight) left = workRight - w;
    if (left + w - 10 < work.x()) left = work.x();
    if (top + 10 > workBottom) top = workBottom - h;
    if (top < work.y()) top = work.y();
    move(left, top);
    resize(w, h);
}

void TCommonListForm::SaveGlobalOptions() {
    try {
        TRegistry reg;
        OpenOrFail(reg, Configuration().GetRegistryKey() + kOptionsKey);
        TExplorerGlobalOptions{FShowExplorer, FShowStatusBar}.Write(reg);
    } catch (const std::exception& e) {
        WarnNotSaved("Explorer options not saved:", e);
    }
}

void TCommonListForm::LoadGlobalOptions() {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(Configuration().GetRegistryKey() + kOptionsKey)) return;
    TExplorerGlobalOptions options{FShowExplorer, FShowStatusBar};
    options.Read(reg);
    SetShowExplorer(options.ShowExplorer);
    SetShowStatusBar(options.ShowStatusBar);
}

void TCommonListForm::SetListViewStyle(int style) {
    FListViewStyle = style;
    FListView->SetViewStyle(style);
    UpdateFixedActions();
}

void TCommonListForm::SetShowExplorer(bool on) {
    FShowExplorer = on;
    FExplorerPanel->setVisible(on);
    UpdateFixedActions();
}

void TCommonListForm::SetShowStatusBar(bool on) {
    FShowStatusBar = on;
    statusBar()->setVisible(on);
    UpdateFixedActions();
}

void TCommonListForm::SetAutoArrangeIcons(bool on) {
    FAutoArrangeIcons = on;
    FListView->SetAutoArrange(on);
    UpdateFixedActions();
}
