// Opens a folder of 20,000 children in the explorer's details view and, in the
// same run, fills a plain QTreeView over a QStandardItemModel with the same
// rows. Prints both times; the last line is the ratio. An argument changes the
// number of rows (to see that the time grows linearly).
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "appcore/platform.h"
#include "basekit/registry.h"
#include "explorer/commonlistform.h"
#include "explorer/imagelists.h"
#include "explorer/listview.h"

namespace {

int gRows = 20000;
constexpr int kRuns = 3;

struct TRowData {
    QString Name, Size, Type, Changed;
};

// The rows as a database would hand them over: in no particular order.
std::vector<TRowData> MakeRows() {
    std::vector<TRowData> rows;
    rows.reserve(gRows);
    for (int i = 0; i < gRows; ++i)
        rows.push_back({QStringLiteral("TABLE_%1").arg(i, 5, 10, QLatin1Char('0')),
                        QString::number((i * 7919) % 100000),
                        i % 3 ? QStringLiteral("Table") : QStringLiteral("View"),
                        QStringLiteral("2024-%1-%2 12:00").arg(1 + i % 12).arg(1 + i % 28)});
    std::shuffle(rows.begin(), rows.end(), std::mt19937(42));
    return rows;
}

const std::vector<TRowData>& Rows() {
    static const std::vector<TRowData> rows = MakeRows();
    return rows;
}

class TBenchItem : public TPelvarObject {
  public:
    PELVAR_OBJECT_CREATE(TBenchItem)
    QString GetRegistryPath() override { return QStringLiteral("BENCH_ITEM"); }
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override {
        Item.Caption = Data->Name;
        Item.ImageIndex = ObjectImage::Table;
        for (int i = 1; i < Columns.Count(); ++i) {
            switch (Columns[i].Tag) {
                case 1:
                    Item.SubItems << Data->Size;
                    break;
                case 2:
                    Item.SubItems << Data->Type;
                    break;
                default:
                    Item.SubItems << Data->Changed;
            }
        }
    }
    const TRowData* Data = nullptr;
};

class TBenchFolder : public TPelvarObject {
  public:
    PELVAR_OBJECT_CREATE(TBenchFolder)
    QString GetRegistryPath() override { return QStringLiteral("BENCH"); }
    bool IsFolder() override { return true; }
    bool InternalOpen() override {
        for (const TRowData& row : Rows()) {
            auto item = std::make_unique<TBenchItem>();
            item->Data = &row;
            AddSubObject(std::move(item), row.Name);
        }
        return true;
    }
    void CreateColumns(TListColumns& Columns) override {
        Columns.Clear();
        Columns.Add(QStringLiteral("Name"), 200, 0);
        Columns.Add(QStringLiteral("Size"), 80, 1);
        Columns.Add(QStringLiteral("Type"), 80, 2);
        Columns.Add(QStringLiteral("Changed"), 140, 3);
    }
    void FillTreeViewItem(TTreeNodeItem& Item) override {
        Item.Text = QStringLiteral("Big");
        Item.ImageIndex = ObjectImage::ClosedFolder;
        Item.SelectedIndex = ObjectImage::OpenFolder;
    }
};

class TBenchRoot : public TPelvarObject {
  public:
    PELVAR_OBJECT_CREATE(TBenchRoot)
    QString GetRegistryPath() override { return QStringLiteral("ROOT"); }
    bool IsFolder() override { return true; }
    bool InternalOpen() override {
        AddSubObject(std::make_unique<TBenchFolder>(), QStringLiteral("Big"));
        return true;
    }
    void FillTreeViewItem(TTreeNodeItem& Item) override {
        Item.Text = QStringLiteral("Root");
        Item.ImageIndex = ObjectImage::ClosedFolder;
        Item.HasChildren = true;
    }
};

void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

double ExplorerRun() {
    TCommonListForm window;
    window.Initialize(QString(), QString());
    window.SetListViewStyle(3);
    window.resize(900, 600);
    window.show();
    Settle();
    QElapsedTimer timer;
    timer.start();
    window.SetCurrentPath(QStringLiteral("\\Big"));
    Settle();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (window.ListView()->RowCount() != gRows || window.ListColumns().Count() != 4)
        std::fprintf(stderr, "explorer shows %d rows\n", window.ListView()->RowCount());
    return ms;
}

double BaselineRun() {
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.resize(900, 600);
    view.show();
    Settle();
    const QIcon icon = TImageLists::ObjectIcon(ObjectImage::Table);
    QElapsedTimer timer;
    timer.start();
    QStandardItemModel model(0, 4);
    model.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"),
                                     QStringLiteral("Type"), QStringLiteral("Changed")});
    for (const TRowData& row : Rows()) {
        auto* name = new QStandardItem(icon, row.Name);  // the model owns its items
        model.appendRow({name, new QStandardItem(row.Size), new QStandardItem(row.Type),
                         new QStandardItem(row.Changed)});
    }
    view.setModel(&model);
    Settle();
    const double ms = timer.nsecsElapsed() / 1e6;
    view.setModel(nullptr);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    SetSettingsFileName(settings.filePath(QStringLiteral("bench.ini")));
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0) gRows = QByteArray(argv[1]).toInt();
    TPlatform platform;
    TCommonListForm::SetRootFactory([](const QString&) -> std::unique_ptr<TPelvarObject> {
        return std::make_unique<TBenchRoot>();
    });
    Rows();
    ExplorerRun();  // warm up both: icons, fonts, caches
    BaselineRun();
    double explorer = 1e300, baseline = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        explorer = std::min(explorer, ExplorerRun());
        baseline = std::min(baseline, BaselineRun());
    }
    std::printf("explorer: folder of %d rows, details view, 4 columns: %.1f ms (best of %d)\n",
                gRows, explorer, kRuns);
    std::printf("baseline: QTreeView over QStandardItemModel, same rows: %.1f ms (best of %d)\n",
                baseline, kRuns);
    std::printf("explorer/baseline ratio: %.2f\n", explorer / baseline);
    return 0;
}
