// Folder options: the registry form of each folder's view, window places and
// the options shared by all windows. Saving and loading never interrupt the
// user: failures are swallowed.
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "appcore/configuration.h"
#include "basekit/errors.h"
#include "basekit/registry.h"
#include "basekit/strutils.h"
#include "commonlistform.h"
#include "listview.h"

namespace {

constexpr int kDescending = 1000000;
const QString kOptionsKey = QStringLiteral("\\PELVAR\\Options");

QString ColumnValue(int tag, const char* suffix) {
    return QStringLiteral("Column") + QString::number(tag) + QLatin1String(suffix);
}

void OpenOrFail(TRegistry& reg, const QString& key) {
    if (!reg.OpenKey(key, true))
        throw ERegistryError(QStringLiteral("Can not create registry key"));
}

}  // namespace

QString TCommonListForm::FolderOptionsKey(const QString& registryPath) const {
    QString key = Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\FOLDER_OPTIONS");
    if (!registryPath.isEmpty()) key += QLatin1Char('\\') + registryPath;
    return key;
}

void TCommonListForm::SaveParamsInRegistry() {
    try {
        TPelvarObject* folder = FindCurrentFolder();
        if (!folder) return;
        const QString path = folder->GetRegistryPath();
        TRegistry reg;
        OpenOrFail(reg,
                   FolderOptionsKey(FStoreViewParamsByFolder ? path : QStringLiteral("COMMON")));
        reg.WriteInteger(QStringLiteral("ListViewStyle"), FListViewStyle);
        reg.WriteBool(QStringLiteral("AutoArrangeIcons"), FAutoArrangeIcons);
        if (!isMinimized()) {
            reg.WriteInteger(QStringLiteral("Left"), x());
            reg.WriteInteger(QStringLiteral("Top"), y());
            reg.WriteInteger(QStringLiteral("Width"), width());
            reg.WriteInteger(QStringLiteral("Height"), height());
        }
        reg.CloseKey();

        const QString folderKey = FolderOptionsKey(path);
        OpenOrFail(reg, folderKey);
        const TListColumns& shown = ListColumns();
        for (const TListColumn& column : FAvailableColumns) {
            const int index = shown.IndexOfTag(column.Tag);
            reg.WriteBool(ColumnValue(column.Tag, "_Visible"), index >= 0);
            if (index < 0) continue;
            reg.WriteInteger(ColumnValue(column.Tag, "_Order"), index);
            reg.WriteInteger(ColumnValue(column.Tag, "_Width"), shown[index].Width);
        }
        reg.WriteInteger(QStringLiteral("SortType"), FSortType);
        const int focused = FListView->FocusedRow();
        reg.WriteString(
            QStringLiteral("FocusedItem"),
            focused >= 0 ? FListView->Rows()[size_t(focused)].Data->SubPath() : QString());
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
    } catch (const std::exception&) {
        // Options are a convenience; the user's work goes on.
    }
}

void TCommonListForm::LoadParamsFromRegistry() {
    TPelvarObject* folder = FindCurrentFolder();
    if (!folder) return;
    QString path;
    try {
        path = folder->GetRegistryPath();
    } catch (const std::exception&) {
        return;
    }
    TRegistry reg;
    try {
        if (reg.OpenKeyReadOnly(
                FolderOptionsKey(FStoreViewParamsByFolder ? path : QStringLiteral("COMMON")))) {
            const int style = reg.ReadInteger(QStringLiteral("ListViewStyle"));
            if (style >= 0 && style <= 3) SetListViewStyle(style);
            SetAutoArrangeIcons(reg.ReadBool(QStringLiteral("AutoArrangeIcons")));
        }
    } catch (const std::exception&) {
    }
    reg.CloseKey();
    try {
        if (!reg.OpenKeyReadOnly(FolderOptionsKey(path))) return;
    } catch (const std::exception&) {
        return;
    }

    try {
        // Columns without a stored place follow the stored ones in the folder's order.
        struct TPlace {
            int Order;
            int Index;
        };
        std::vector<TPlace> places;
        for (int i = 0; i < FAvailableColumns.Count(); ++i) {
            const QString name = ColumnValue(FAvailableColumns[i].Tag, "_Order");
            int order = i + kDescending;
            if (reg.ValueExists(name)) {
                const int stored = reg.ReadInteger(name);
                if (stored >= 0 && stored < kDescending) order = stored;
            }
            places.push_back({order, i});
        }
        std::stable_sort(places.begin(), places.end(),
                         [](const TPlace& a, const TPlace& b) { return a.Order < b.Order; });
        TListColumns columns;
        int last = -1;
        for (const TPlace& place : places) {
            if (place.Order <= last) continue;  // two columns cannot share a place
            last = place.Order;
            TListColumn column = FAvailableColumns[place.Index];
            const QString visible = ColumnValue(column.Tag, "_Visible");
            if (reg.ValueExists(visible) && !reg.ReadBool(visible)) continue;
            const QString width = ColumnValue(column.Tag, "_Width");
            if (reg.ValueExists(width)) column.Width = reg.ReadInteger(width);
            columns.Add(column);
        }
        SetListColumns(columns);  // refills every row
    } catch (const std::exception&) {
    }

    try {
        const int sort = reg.ReadInteger(QStringLiteral("SortType"));
        const int tag = sort >= kDescending ? sort - kDescending : sort;
        if (tag >= 0 && FAvailableColumns.IndexOfTag(tag) >= 0) SetSortType(sort);
    } catch (const std::exception&) {
    }

    try {
        if (reg.ValueExists(QStringLiteral("FocusedItem"))) {
            const int row = FindListItemByPath(reg.ReadString(QStringLiteral("FocusedItem")));
            if (row >= 0) {
                if (FListUpdateCount > 0) {
                    FPendingFocus = FListView->Rows()[size_t(row)].Data;
                } else {
                    FListView->SetFocusedRow(row, true);
                    FListView->ScrollToRow(row);
                }
            }
        }
    } catch (const std::exception&) {
    }

    try {
        folder->LoadFolderOptions(reg);
    } catch (const std::exception&) {
    }
}

void TCommonListForm::LoadFormPosition() {
    int left = x(), top = y(), w = width(), h = height();
    try {
        TPelvarObject* folder = FindCurrentFolder();
        TRegistry reg;
        const QString path = folder ? folder->GetRegistryPath() : QString();
        if (reg.OpenKeyReadOnly(
                FolderOptionsKey(FStoreViewParamsByFolder ? path : QStringLiteral("COMMON")))) {
            left = reg.ReadInteger(QStringLiteral("Left"));
            top = reg.ReadInteger(QStringLiteral("Top"));
            w = reg.ReadInteger(QStringLiteral("Width"));
            h = reg.ReadInteger(QStringLiteral("Height"));
        }
    } catch (const std::exception&) {
    }
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
        const QString key = Configuration().GetRegistryKey() + kOptionsKey;
        TRegistry reg;
        if (!reg.OpenKey(key, true))
            throw ERegistryError(
                SafeFormat(QStringLiteral("Can not create registry key '%s'"), key));
        reg.WriteBool(QStringLiteral("ShowExplorer"), FShowExplorer);
        reg.WriteBool(QStringLiteral("ShowStatusBar"), FShowStatusBar);
    } catch (const std::exception&) {
    }
}

void TCommonListForm::LoadGlobalOptions() {
    try {
        TRegistry reg;
        if (!reg.OpenKeyReadOnly(Configuration().GetRegistryKey() + kOptionsKey)) return;
        SetShowExplorer(reg.ReadBool(QStringLiteral("ShowExplorer")));
        SetShowStatusBar(reg.ReadBool(QStringLiteral("ShowStatusBar")));
    } catch (const std::exception&) {
    }
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
