#pragma once

#include <QIcon>
#include <QPixmap>

// The program's image lists. Every index that menus, toolbars, folders and rows
// name is listed here; the pictures are drawn once and cached.

// Action images: menu items, toolbar buttons and shortcuts.
namespace ActionImage {
enum : int {
    Check = 0,     // active view style, current sort column
    ToggleOn = 1,  // a switched-on toggle
    Cut = 2,
    Copy = 3,
    Paste = 4,
    UpOneLevel = 5,
    EditTree = 6,  // edit a structure's DSP tree
    Properties = 7,
    Add = 8,
    Delete = 9,
    Export = 10,
    Edit = 11,
    Scheme = 12,  // operation schemes
    Status = 13,  // statuses and wizard scenarios
    CopyForm = 14,
    Connect = 15,
    Query = 16,
    CreateSystemTables = 17,
    Disconnect = 18,
    Import = 19,
    Search = 20,
    Count = 21
};
}  // namespace ActionImage

// Tree node and list row images.
namespace ObjectImage {
enum : int {
    ClosedFolder = 0,
    OpenFolder = 1,
    DatabaseDisconnected = 2,
    Table = 3,
    View = 4,
    Procedure = 5,
    Structure = 6,  // a DSP structure without a picture of its own, scheduler entries
    Config = 7,
    DatabaseConnected = 8,
    Form = 9,  // visual forms, local resource section structures
    Language = 10,
    Resource = 11,  // a localised string
    SchemeOperation = 12,
    WizardScenario = 13,
    Generator = 14,
    Pattern = 15,
    User = 16,
    File = 17,  // an export/import file
    Section = 18,
    Status = 19,
    Parameter = 20,
    Count = 21
};
}  // namespace ObjectImage

// Column header images: the sort marks.
namespace HeaderImage {
enum : int { SortAscending = 4, SortDescending = 5 };
}  // namespace HeaderImage

class TImageLists {
  public:
    // 16-pixel pictures; a null icon for an index outside the list.
    static QIcon ActionIcon(int index);
    // 16 and 32 pixels, for the small and the large icon views.
    static QIcon ObjectIcon(int index);
    // Normal picture `image`, selected picture `selectedImage` (tree nodes).
    static QIcon ObjectIcon(int image, int selectedImage);
    static QIcon HeaderIcon(int index);
    static QPixmap ActionPixmap(int index, int size = 16);
    static QPixmap ObjectPixmap(int index, int size = 16);
};
