// Initialisation and navigation: the tree, the list and the current path.
#include "commonlistform.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTreeWidget>
#include <algorithm>

#include "appcore/texts.h"
#include "basekit/errors.h"
#include "basekit/tracelog.h"
#include "imagelists.h"
#include "listview.h"

namespace {

TCommonListForm::TRootFactory& RootFactory() {
    static TCommonListForm::TRootFactory factory;
    return factory;
}

constexpr int kObjectRole = Qt::UserRole;
constexpr int kSubPathRole = Qt::UserRole + 1;

// Tree items are owned by their tree; taking one out hands it to us.
void DeleteTreeNode(QTreeWidgetItem* node) {
    std::unique_ptr<QTreeWidgetItem> gone(node);
}

}  // namespace

void TCommonListForm::SetRootFactory(TRootFactory factory) {
    RootFactory() = std::move(factory);
}

TPelvarObject* TCommonListForm::NodeObject(const QTreeWidgetItem* node) {
    return node ? static_cast<TPelvarObject*>(node->data(0, kObjectRole).value<void*>()) : nullptr;
}

bool TCommonListForm::IsFileRoot() const {
    return dynamic_cast<const TDOCommonFileObject*>(FRootObject.get()) != nullptr;
}

bool TCommonListForm::Initialize(const QString& Path, const QString& FileName) {
    PELVAR_TRACE("TCommonListForm.Initialize");
    FCurrentPath.clear();
    SetListViewStyle(2);
    SetShowStatusBar(true);
    SetShowExplorer(true);
    SetAutoArrangeIcons(false);
    FFileName = FileName;
    if (RootFactory()) FRootObject = RootFactory()(FileName);
    if (!FRootObject && !FileName.isEmpty())
        throw EPelvarError(QStringLiteral("Export/import file ") + FileName +
                           QStringLiteral(" can not be browsed: file browsing is not available"));
    bool opened = false;
    if (FRootObject) {
        FRootObject->SetOnDataChanged([this](const QString& path) { DataChanged(path); });
        FRootObject->SetFullPath(QString());
        try {
            if (FRootObject->Open()) {
                QTreeWidgetItem* top = AddTreeNode(nullptr, FRootObject.get());
                FCurrentPath.clear();
                opened = ExpandNode(top);
            }
        } catch (const EPelvarError&) {
            // A file that cannot be read says which and where: that is the
            // one error the user needs.
            if (IsFileRoot()) throw;
            opened = false;
        } catch (const std::exception&) {
            opened = false;
        }
    }
    if (!opened) throw EPelvarError(QStringLiteral("Can not initialize pelvar window"));

    // A stored path that no longer exists shows the root instead.
    bool reached = false;
    try {
        SetCurrentPath(Path);
        reached = FCurrentPath == Path;
    } catch (const EPelvarError&) {
        reached = false;
    }
    if (!reached) SetCurrentPath(QString());
    LoadFormPosition();
    LoadGlobalOptions();
    FInitialized = true;
    UpdateActions();
    return reached;
}

TPelvarObject* TCommonListForm::FindCurrentFolder() const {
    return FindObjectByPath(FRootObject.get(), FCurrentPath);
}

TPelvarObject* TCommonListForm::CurrentFolderObject() const {
    TPelvarObject* object = FRootObject.get();
    if (!object) return nullptr;
    for (const QString& part : ParsePath(FCurrentPath)) {
        TPelvarObject* child = object->SubObjects().FindBySubPath(part);
        if (!child)
            throw EPelvarError(QStringLiteral("Pelvar object not found. FullPath:'") +
                               object->FullPath() + QLatin1Char('\\') + part + QLatin1Char('\''));
        object = child;
    }
    return object;
}

void TCommonListForm::SetCurrentPath(const QString& Path) {
    // Selecting the tree node below fires the tree's selection event: ignored here.
    if (FChangingPath) return;
    PELVAR_TRACE("TCommonListForm.SetCurrentPath");
    FChangingPath = true;
    const auto done = qScopeGuard([this] { FChangingPath = false; });
    if (FInitialized && !DeletingNode) SaveParamsInRegistry();

    std::vector<TPelvarObject*> chain{FRootObject.get()};
    TPelvarObject* object = FRootObject.get();
    for (const QString& part : ParsePath(Path)) {
        if (!object->Opened() && !object->Open()) return;
        TPelvarObject* child = object->SubObjects().FindBySubPath(part);
        if (!child)
            throw EPelvarError(QStringLiteral("Pelvar object not found. FullPath:'") +
                               object->FullPath() + QLatin1Char('\\') + part + QLatin1Char('\''));
        object = child;
        chain.push_back(object);
    }
    if (!object->Opened() && object->AutoOpen()) object->Open();

    QTreeWidgetItem* node = FTreeView->topLevelItem(0);
    for (size_t i = 1; node && i < chain.size(); ++i) {
        if (!ExpandNode(node)) break;
        QTreeWidgetItem* next = nullptr;
        for (int c = 0; c < node->childCount() && !next; ++c)
            if (NodeObject(node->child(c)) == chain[i]) next = node->child(c);
        if (!next) break;
        node = next;
    }
    if (node) {
        FTreeView->setCurrentItem(node);
        FTreeView->scrollToItem(node);
    }
    FCurrentPath = Path;

    BeginListUpdate();
    try {
        FillListView();
        object->CreateColumns(FAvailableColumns);
        FListView->AssignColumns(FAvailableColumns);
        UpdateSortTypes();
        ReAssignActions();
        SetSortType(0);
        LoadParamsFromRegistry();
    } catch (...) {
        AbandonListUpdate();
        throw;
    }
    EndListUpdate();
    ShowCurrentFolderState();
    UpdateActions();
}

void TCommonListForm::ShowCurrentFolderState() {
    FListView->ScrollToRow(FListView->FocusedRow());
    FStatusLabel->setText(FCurrentPath);
    TPelvarObject* folder = FindCurrentFolder();
    QString caption = folder ? folder->GetCaption() : QString();
    if (auto* alias = dynamic_cast<TDOCommonAliasObject*>(folder))
        caption += QStringLiteral(" - ") + alias->AliasName();
    if (IsFileRoot()) {
        QString file = static_cast<TDOCommonFileObject*>(FRootObject.get())->FileName();
        if (file.isEmpty()) file = FFileName;
        caption = caption.isEmpty() ? file : file + QStringLiteral(" - ") + caption;
    }
    setWindowTitle(caption);
}

QString TCommonListForm::StatusText() const {
    return FStatusLabel->text();
}

// ---- tree ----

void TCommonListForm::FillTreeNode(QTreeWidgetItem* node, TPelvarObject* object) {
    TTreeNodeItem item;
    object->FillTreeViewItem(item);
    node->setText(0, item.Text);
    node->setIcon(0, TImageLists::ObjectIcon(item.ImageIndex, item.SelectedIndex));
    node->setData(0, kObjectRole, QVariant::fromValue<void*>(object));
    node->setData(0, kSubPathRole, object->SubPath());
    if (!object->NodesCreated())
        node->setChildIndicatorPolicy(item.HasChildren
                                          ? QTreeWidgetItem::ShowIndicator
                                          : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* TCommonListForm::AddTreeNode(QTreeWidgetItem* parent, TPelvarObject* object) {
    auto node = std::make_unique<QTreeWidgetItem>();
    FillTreeNode(node.get(), object);
    QTreeWidgetItem* raw = node.get();
    if (!parent) {
        FTreeView->addTopLevelItem(node.release());
        return raw;
    }
    // Siblings stay in the order of the parent's Compare.
    TPelvarObject* parentObject = NodeObject(parent);
    int low = 0, high = parent->childCount();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (parentObject->Compare(NodeObject(parent->child(mid)), object, 0) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    parent->insertChild(low, node.release());
    return raw;
}

bool TCommonListForm::ExpandNode(QTreeWidgetItem* Node) {
    TPelvarObject* object = NodeObject(Node);
    if (!object) return false;
    if (!object->NodesCreated()) {
        if (!object->Opened() && !object->Open()) return false;
        for (QTreeWidgetItem* child : Node->takeChildren())
            DeleteTreeNode(child);
        std::vector<TPelvarObject*> folders;
        for (int i = 0; i < object->SubObjects().Count(); ++i)
            if (object->SubObjects().Items(i)->IsFolder())
                folders.push_back(object->SubObjects().Items(i));
        std::stable_sort(
            folders.begin(), folders.end(),
            [object](TPelvarObject* a, TPelvarObject* b) { return object->Compare(a, b, 0) < 0; });
        QList<QTreeWidgetItem*> nodes;
        for (TPelvarObject* folder : folders) {
            auto node = std::make_unique<QTreeWidgetItem>();
            FillTreeNode(node.get(), folder);
            nodes << node.release();
        }
        Node->addChildren(nodes);
        Node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
        object->SetNodesCreated(true);
    }
    Node->setExpanded(true);
    return true;
}

QTreeWidgetItem* TCommonListForm::FindTreeNodeByPath(const QString& Path) const {
    QTreeWidgetItem* node = FTreeView->topLevelItem(0);
    for (const QString& part : ParsePath(Path)) {
        if (!node) return nullptr;
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i)
            if (node->child(i)->data(0, kSubPathRole).toString() == part) next = node->child(i);
        node = next;
    }
    return node;
}

void TCommonListForm::SelectTreeNodeQuietly(QTreeWidgetItem* node) {
    const bool was = FChangingPath;
    FChangingPath = true;
    FTreeView->setCurrentItem(node);
    FChangingPath = was;
}

void TCommonListForm::OnTreeCurrentChanged(QTreeWidgetItem* current) {
    if (FRefreshing || FDestroying || !current || !FInitialized) return;
    TPelvarObject* object = NodeObject(current);
    if (object && object->FullPath() != FCurrentPath)
        Guard([&] { SetCurrentPath(object->FullPath()); });
}

void TCommonListForm::OnTreeItemExpanded(QTreeWidgetItem* node) {
    TPelvarObject* object = NodeObject(node);
    // A node already filled expands without navigating.
    if (!object || object->NodesCreated() || FRefreshing) return;
    Guard([&] {
        if (!ExpandNode(node)) {
            node->setExpanded(false);
            return;
        }
        if (node->childCount() == 0)
            node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
        if (!object->Opened() && object->AutoOpen()) object->Open();
        SetCurrentPath(object->FullPath());
    });
}

// ---- list ----

void TCommonListForm::FillListView() {
    TPelvarObject* folder = CurrentFolderObject();
    BeginListUpdate();
    std::vector<TListRow>& rows = FListView->Rows();
    rows.clear();
    rows.reserve(size_t(folder->SubObjects().Count()));
    for (int i = 0; i < folder->SubObjects().Count(); ++i) {
        TListRow row;
        row.Data = folder->SubObjects().Items(i);
        rows.push_back(std::move(row));
    }
    FPendingFill = true;
    FPendingSort = true;  // a refill keeps the list in the current order
    EndListUpdate();
    // A folder that could not open (a database not connected) says why it is empty.
    FListView->SetPlaceholderText(
        folder->Opened() ? QString() : LString(QStringLiteral("M_Pelvar_ListFrms_NotOpenedHint")));
}

int TCommonListForm::FindListItemByPath(const QString& SubPath) const {
    const std::vector<TListRow>& rows = FListView->Rows();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Data && rows[i].Data->SubPath() == SubPath) return int(i);
    return -1;
}

QStringList TCommonListForm::SelectedSubPaths() const {
    QStringList paths;
    for (int row : FListView->SelectedRows())
        paths << FListView->Rows()[size_t(row)].Data->SubPath();
    return paths;
}
