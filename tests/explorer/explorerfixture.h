#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

#include "../model/testobjects.h"
#include "explorer/commonlistform.h"

#include "model/shortcuts.h"

class QTreeWidgetItem;

inline const QString kTables = QStringLiteral("\\A1\\Structures\\Tables");

// Shortcuts kept for a test, with the number of times the bar was rebuilt.
struct TTestShortcutHost : TShortcutHost {
    TPelvarObjectShortcutList& ObjectShortcuts() override { return List; }
    void FillShortcuts() override { ++Rebuilt; }
    TPelvarObjectShortcutList List;
    int Rebuilt = 0;
};

// Explorer windows over the test world:
//   \A1 (Structures (Tables (T1 T2 T3 Sub) Views) Languages Notes)  \A2 (...)  Readme
class TExplorerTest : public testing::Test {
  public:
    // Runs the event loop until `done` holds (at most two seconds).
    static bool WaitFor(const std::function<bool()>& done);
    // Full key of a settings key below "\PELVAR".
    static QString Key(const QString& below);

  protected:
    void SetUp() override;
    void TearDown() override;

    // A shown window, initialised at `path` (or on `file`).
    TCommonListForm* Window(const QString& path = QString(), const QString& file = QString());
    // Keeps a window made by a command, so that the test frees it.
    TCommonListForm* Adopt(TCommonListForm* window);

    static QStringList Captions(const TCommonListForm* window);
    static QStringList ChildTexts(const QTreeWidgetItem* node);
    static int Row(const TCommonListForm* window, const QString& caption);
    static void Select(TCommonListForm* window, const QStringList& captions);
    // Messages and exceptions the windows reported through the interaction seam.
    static QStringList Reported();

    std::vector<QPointer<TCommonListForm>> FWindows;
};
