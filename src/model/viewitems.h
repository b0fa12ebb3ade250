#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class TPelvarObject;

// What a folder tells the explorer about its columns, its rows and its tree
// nodes. Plain values: the window turns them into its widgets, so folder classes
// never depend on the view classes.

// One column of the list: its tag is the column type the folder compares,
// stores and captions by.
struct TListColumn {
    QString Caption;
    int Width = 100;
    int Tag = 0;
    bool operator==(const TListColumn&) const = default;
};

class TListColumns {
  public:
    void Clear() { FItems.clear(); }
    TListColumn& Add(const QString& caption, int width, int tag) {
        FItems.push_back(TListColumn{caption, width, tag});
        return FItems.back();
    }
    void Add(const TListColumn& column) { FItems.push_back(column); }
    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    TListColumn& operator[](int index) { return FItems[size_t(index)]; }
    const TListColumn& operator[](int index) const { return FItems[size_t(index)]; }
    // Position of the column with this tag, -1 when it is not there.
    int IndexOfTag(int tag) const {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i].Tag == tag) return int(i);
        return -1;
    }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    bool operator==(const TListColumns& other) const = default;

  private:
    std::vector<TListColumn> FItems;
};

// One row of the list. SubItems[i] is shown in column i + 1.
struct TListRow {
    QString Caption;
    int ImageIndex = -1;
    QStringList SubItems;
    int Indent = 0;                 // levels the caption is indented by (inheritance depth)
    TPelvarObject* Data = nullptr;  // not owned: the object tree owns its objects
};

// One node of the folder tree.
struct TTreeNodeItem {
    QString Text;
    int ImageIndex = -1;
    int SelectedIndex = -1;
    bool HasChildren = false;  // shows the expand mark before the children are read
};
