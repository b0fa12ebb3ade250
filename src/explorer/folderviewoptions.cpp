#include "folderviewoptions.h"

#include <algorithm>
#include <vector>

#include "basekit/registry.h"

namespace {

QString ColumnValue(int tag, const char* suffix) {
    return QStringLiteral("Column") + QString::number(tag) + QLatin1String(suffix);
}

// A stored integer, or none when it is missing, of another type or no number.
std::optional<int> IntegerValue(const TRegistry& R, const QString& name) {
    if (R.GetDataType(name) != TRegDataType::rdInteger) return std::nullopt;
    try {
        return R.ReadInteger(name);
    } catch (const ERegistryError&) {
        return std::nullopt;  // an integer entry whose text is no number
    }
}

std::optional<QString> StringValue(const TRegistry& R, const QString& name) {
    if (R.GetDataType(name) != TRegDataType::rdString) return std::nullopt;
    return R.ReadString(name);
}

}  // namespace

void TFolderViewOptions::ReadView(const TRegistry& R) {
    if (const auto style = IntegerValue(R, QStringLiteral("ListViewStyle"));
        style && *style >= 0 && *style <= 3)
        ListViewStyle = *style;
    if (const auto arrange = IntegerValue(R, QStringLiteral("AutoArrangeIcons")))
        AutoArrangeIcons = *arrange != 0;
    if (const auto left = IntegerValue(R, QStringLiteral("Left"))) Pos.setX(*left);
    if (const auto top = IntegerValue(R, QStringLiteral("Top"))) Pos.setY(*top);
    if (const auto width = IntegerValue(R, QStringLiteral("Width"))) Size.setWidth(*width);
    if (const auto height = IntegerValue(R, QStringLiteral("Height"))) Size.setHeight(*height);
}

void TFolderViewOptions::WriteView(TRegistry& R) const {
    R.WriteInteger(QStringLiteral("ListViewStyle"), ListViewStyle);
    R.WriteBool(QStringLiteral("AutoArrangeIcons"), AutoArrangeIcons);
    if (!StorePlace) return;
    R.WriteInteger(QStringLiteral("Left"), Pos.x());
    R.WriteInteger(QStringLiteral("Top"), Pos.y());
    R.WriteInteger(QStringLiteral("Width"), Size.width());
    R.WriteInteger(QStringLiteral("Height"), Size.height());
}

void TFolderViewOptions::ReadFolder(const TRegistry& R, const TListColumns& Available) {
    for (const TListColumn& column : Available) {
        TColumnState& state = Columns[column.Tag];
        if (const auto visible = IntegerValue(R, ColumnValue(column.Tag, "_Visible")))
            state.Visible = *visible != 0;
        if (const auto order = IntegerValue(R, ColumnValue(column.Tag, "_Order"));
            order && *order >= 0 && *order < SortDescending)
            state.Order = *order;
        if (const auto width = IntegerValue(R, ColumnValue(column.Tag, "_Width")))
            state.Width = *width;
    }
    if (const auto sort = IntegerValue(R, QStringLiteral("SortType"))) SortType = *sort;
    if (const auto focused = StringValue(R, QStringLiteral("FocusedItem"))) FocusedItem = *focused;
}

void TFolderViewOptions::WriteFolder(TRegistry& R) const {
    for (const auto& [tag, state] : Columns) {
        if (state.Visible) R.WriteBool(ColumnValue(tag, "_Visible"), *state.Visible);
        if (state.Order) R.WriteInteger(ColumnValue(tag, "_Order"), *state.Order);
        if (state.Width) R.WriteInteger(ColumnValue(tag, "_Width"), *state.Width);
    }
    if (SortType) R.WriteInteger(QStringLiteral("SortType"), *SortType);
    if (FocusedItem) R.WriteString(QStringLiteral("FocusedItem"), *FocusedItem);
}

void TFolderViewOptions::SetShownColumns(const TListColumns& Available, const TListColumns& Shown) {
    Columns.clear();
    for (const TListColumn& column : Available) {
        TColumnState& state = Columns[column.Tag];
        const int index = Shown.IndexOfTag(column.Tag);
        state.Visible = index >= 0;
        if (index < 0) continue;
        state.Order = index;
        state.Width = Shown[index].Width;
    }
}

TListColumns TFolderViewOptions::ShownColumns(const TListColumns& Available) const {
    struct TPlace {
        int Order;
        int Index;
    };
    std::vector<TPlace> places;
    for (int i = 0; i < Available.Count(); ++i) {
        const auto it = Columns.find(Available[i].Tag);
        const bool stored = it != Columns.end() && it->second.Order;
        places.push_back({stored ? *it->second.Order : i + SortDescending, i});
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const TPlace& a, const TPlace& b) { return a.Order < b.Order; });
    TListColumns columns;
    int last = -1;
    for (const TPlace& place : places) {
        if (place.Order <= last) continue;  // two columns cannot share a place
        last = place.Order;
        TListColumn column = Available[place.Index];
        if (const auto it = Columns.find(column.Tag); it != Columns.end()) {
            // The caption column stays, whatever a damaged value says.
            if (it->second.Visible == false && column.Tag != 0) continue;
            if (it->second.Width) column.Width = *it->second.Width;
        }
        columns.Add(column);
    }
    return columns;
}

void TExplorerGlobalOptions::Read(const TRegistry& R) {
    if (const auto show = IntegerValue(R, QStringLiteral("ShowExplorer"))) ShowExplorer = *show;
    if (const auto show = IntegerValue(R, QStringLiteral("ShowStatusBar"))) ShowStatusBar = *show;
}

void TExplorerGlobalOptions::Write(TRegistry& R) const {
    R.WriteBool(QStringLiteral("ShowExplorer"), ShowExplorer);
    R.WriteBool(QStringLiteral("ShowStatusBar"), ShowStatusBar);
}
