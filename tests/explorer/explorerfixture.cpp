#include "explorerfixture.h"

#include <QCoreApplication>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

#include "appcore/configuration.h"
#include "basekit/registry.h"
#include "explorer/formlookup.h"
#include "explorer/listview.h"
#include "scriptedinteraction.h"

void TExplorerTest::SetUp() {
    World().Reset();
    TTestWorld& w = World();
    w.Add(QString(), {"A1", true});
    w.Add(QString(), {"A2", true});
    w.Add(QString(), {"Readme", false});
    w.Add("\\A1", {"Structures", true});
    w.Add("\\A1", {"Languages", true});
    w.Add("\\A1", {"Notes", false});
    w.Add("\\A1\\Structures", {"Views", true});
    w.Add("\\A1\\Structures", {"Tables", true});
    const QString tables = "\\A1\\Structures\\Tables";
    w.Add(tables, {"T2", false, 10, "alpha"});
    w.Add(tables, {"T1", false, 30, "beta"});
    w.Add(tables, {"T3", false, 20, "gamma"});
    w.Add(tables, {"Sub", true});
    w.Add("\\A2", {"Structures", true});
    w.Add("\\A2\\Structures", {"Tables", true});

    TCommonListForm::SetRootFactory([](const QString& file) -> std::unique_ptr<TPelvarObject> {
        if (file.isEmpty()) return std::make_unique<TTestRoot>();
        if (file.endsWith(".eif")) return std::make_unique<TTestFileRoot>(file);
        return nullptr;
    });
    TCommonListForm::SetDragRunner(nullptr);
    TRegistry().DeleteKey(Configuration().GetRegistryKey() + "\\PELVAR");
    Script().Reset();
}

void TExplorerTest::TearDown() {
    for (const QPointer<TCommonListForm>& window : FWindows)
        if (window) std::default_delete<TCommonListForm>()(window.data());
    FWindows.clear();
    // Windows a command opened and the test did not keep.
    for (TCommonListForm* window : TCommonListForm::Windows())
        std::default_delete<TCommonListForm>()(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TFormLookUp::DestroyShared();
    TCommonListForm::SetDragRunner(nullptr);
}

TCommonListForm* TExplorerTest::Window(const QString& path, const QString& file) {
    auto* window = Adopt(new TCommonListForm());
    window->Initialize(path, file);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    return window;
}

TCommonListForm* TExplorerTest::Adopt(TCommonListForm* window) {
    FWindows.emplace_back(window);
    return window;
}

QStringList TExplorerTest::Captions(const TCommonListForm* window) {
    QStringList captions;
    for (const TListRow& row : window->ListView()->Rows())
        captions << row.Caption;
    return captions;
}

QStringList TExplorerTest::ChildTexts(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; node && i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

int TExplorerTest::Row(const TCommonListForm* window, const QString& caption) {
    return int(Captions(window).indexOf(caption));
}

void TExplorerTest::Select(TCommonListForm* window, const QStringList& captions) {
    std::vector<int> rows;
    for (const QString& caption : captions)
        rows.push_back(Row(window, caption));
    std::sort(rows.begin(), rows.end());
    window->ListView()->SetSelection(rows);
    if (!rows.empty()) window->ListView()->SetFocusedRow(rows.front(), false);
}

bool TExplorerTest::WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200; ++i) {
        if (done()) return true;
        QTest::qWait(10);
    }
    return done();
}

QString TExplorerTest::Key(const QString& below) {
    return Configuration().GetRegistryKey() + QStringLiteral("\\PELVAR\\") + below;
}

QStringList TExplorerTest::Reported() {
    QStringList texts;
    for (const auto& asked : Script().Asked)
        texts << asked.Text;
    return texts;
}
