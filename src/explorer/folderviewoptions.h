#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <map>
#include <optional>

#include "model/viewitems.h"

class TRegistry;

// How a folder is shown, as the settings keep it: the view (style, icon
// arrangement, window place) under the view key, which is the folder's own key
// or the one shared by all folders, and the columns, sort order and focused row
// under the folder's key. Reading is tolerant, value by value: a value that is
// missing or damaged leaves its field as it was (the caller's current state or
// the default), and the other values are still read.
struct TFolderViewOptions {
    // Sort types from this value on sort by (type - SortDescending), descending.
    static constexpr int SortDescending = 1000000;

    struct TColumnState {
        std::optional<bool> Visible;
        std::optional<int> Order;  // place among the shown columns
        std::optional<int> Width;
        bool operator==(const TColumnState&) const = default;
    };

    // ---- under the view key ----
    int ListViewStyle = 2;  // 0 large icons, 1 small icons, 2 list, 3 details
    bool AutoArrangeIcons = false;
    QPoint Pos;
    QSize Size;
    bool StorePlace = true;  // a minimised window keeps its stored place

    // ---- under the folder's key ----
    std::map<int, TColumnState> Columns;  // by column tag
    std::optional<int> SortType;
    std::optional<QString> FocusedItem;

    void ReadView(const TRegistry& R);
    void WriteView(TRegistry& R) const;
    // Reads the state of the Available columns, the sort type and the focused row.
    void ReadFolder(const TRegistry& R, const TListColumns& Available);
    void WriteFolder(TRegistry& R) const;

    // Records which of the Available columns are Shown, where and how wide.
    void SetShownColumns(const TListColumns& Available, const TListColumns& Shown);
    // The columns to show: those with a stored place first, in that order (two
    // columns never share a place), then the rest in the folder's order; hidden
    // ones left out (never the caption column, tag 0), stored widths applied.
    TListColumns ShownColumns(const TListColumns& Available) const;
};

// The options that every explorer window shares, tolerant like the above.
struct TExplorerGlobalOptions {
    bool ShowExplorer = true;
    bool ShowStatusBar = true;

    void Read(const TRegistry& R);
    void Write(TRegistry& R) const;
};
