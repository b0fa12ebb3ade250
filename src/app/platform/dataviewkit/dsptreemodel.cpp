#include "dsptreemodel.h"

#include <functional>

#include "appcore/texts.h"
#include "basekit/strutils.h"
#include "dspvalues.h"

TDSPTreeModel::TDSPTreeModel(QObject* parent) : QAbstractItemModel(parent) {
    IndexParents();
}

void TDSPTreeModel::SetTree(const TDSPNode& root) {
    beginResetModel();
    FRoot = root;
    FHasTree = true;
    IndexParents();
    endResetModel();
    SetModified(false);
}

void TDSPTreeModel::ClearTree() {
    beginResetModel();
    FRoot = TDSPNode();
    FHasTree = false;
    FParents.clear();
    endResetModel();
    SetModified(false);
}

void TDSPTreeModel::SetModified(bool modified) {
    if (FModified == modified) return;
    FModified = modified;
    emit ModifiedChanged(modified);
}

// ---- rows ----

TDSPNode* TDSPTreeModel::Owner(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TDSPNode*>(index.internalPointer()) : nullptr;
}

TDSPNode* TDSPTreeModel::NodeAt(const QModelIndex& index) const {
    if (!index.isValid()) return nullptr;
    TDSPNode* owner = Owner(index);
    if (!owner) return const_cast<TDSPNode*>(&FRoot);
    const int row = index.row() - int(owner->Properties().size());
    return row >= 0 && row < owner->NodeCount() ? &owner->Node(row) : nullptr;
}

int TDSPTreeModel::PropertyRow(const QModelIndex& index) const {
    TDSPNode* owner = Owner(index);
    return owner && index.row() < owner->Properties().size() ? index.row() : -1;
}

bool TDSPTreeModel::IsNode(const QModelIndex& index) const {
    return NodeAt(index) != nullptr;
}

bool TDSPTreeModel::IsProperty(const QModelIndex& index) const {
    return PropertyRow(index) >= 0;
}

QString TDSPTreeModel::PropertyType(const QModelIndex& index) const {
    return IsProperty(index) ? DSPTypeOf(PropertyValue(index)) : QString();
}

QVariant TDSPTreeModel::PropertyValue(const QModelIndex& index) const {
    const int row = PropertyRow(index);
    return row < 0 ? QVariant() : Owner(index)->Properties().at(row).Value;
}

QString TDSPTreeModel::ItemName(const QModelIndex& index) const {
    const int row = PropertyRow(index);
    if (row >= 0) return Owner(index)->Properties().at(row).Name;
    const TDSPNode* node = NodeAt(index);
    return node ? node->Name() : QString();
}

QModelIndex TDSPTreeModel::NodeIndex(const TDSPNode* node) const {
    if (!node || node == &FRoot) return createIndex(0, 0, nullptr);
    TDSPNode* owner = FParents.value(node);
    if (!owner) return {};
    for (int k = 0; k < owner->NodeCount(); ++k)
        if (&owner->Node(k) == node)
            return createIndex(int(owner->Properties().size()) + k, 0, owner);
    return {};
}

void TDSPTreeModel::IndexParents() {
    FParents.clear();
    std::function<void(TDSPNode&)> walk = [&](TDSPNode& node) {
        for (int k = 0; k < node.NodeCount(); ++k) {
            FParents.insert(&node.Node(k), &node);
            walk(node.Node(k));
        }
    };
    walk(FRoot);
}

QModelIndex TDSPTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) return {};
    if (!parent.isValid()) return createIndex(row, column, nullptr);
    return createIndex(row, column, NodeAt(parent));
}

QModelIndex TDSPTreeModel::parent(const QModelIndex& child) const {
    TDSPNode* owner = Owner(child);
    return owner ? NodeIndex(owner) : QModelIndex();
}

int TDSPTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return FHasTree ? 1 : 0;
    if (parent.column() != colName) return 0;
    const TDSPNode* node = NodeAt(parent);
    return node ? int(node->Properties().size()) + node->NodeCount() : 0;
}

int TDSPTreeModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant TDSPTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const bool property = IsProperty(index);
    if (role == IsNodeRole) return !property;
    if (role == TypeRole) return PropertyType(index);
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case colName:
            return ItemName(index);
        case colType:
            if (role == Qt::EditRole) return PropertyType(index);
            return DSPTypeCaption(PropertyType(index));
        case colValue:
            if (!property) {
                if (role == Qt::EditRole) return {};
                // "3 properties, 2 nodes", leaving out what the node has none of.
                const TDSPNode* node = NodeAt(index);
                QStringList parts;
                if (!node->Properties().isEmpty())
                    parts << SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_PropertyCount")),
                                        int(node->Properties().size()));
                if (node->NodeCount() > 0)
                    parts << SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_NodeCount")),
                                        node->NodeCount());
                return parts.join(QStringLiteral(", "));
            }
            // A tooltip shows what the cell shows: a long binary value stays short.
            return role == Qt::EditRole ? DSPEditText(PropertyValue(index))
                                        : DSPDisplayText(PropertyValue(index));
    }
    return {};
}

Qt::ItemFlags TDSPTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!FReadOnly && (index.column() == colName || IsProperty(index))) f |= Qt::ItemIsEditable;
    return f;
}

QVariant TDSPTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case colName:
            return LString(QStringLiteral("C_Pelvar_DSPTreeViewDialog_NameColumn_L"));
        case colType:
            return LString(QStringLiteral("C_Pelvar_DSPTreeViewDialog_TypeColumn_L"));
        case colValue:
            return LString(QStringLiteral("C_Pelvar_DSPTreeViewDialog_ValueColumn_L"));
    }
    return {};
}

bool TDSPTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    switch (index.column()) {
        case colName:
            return Rename(index, value.toString());
        case colType:
            return SetPropertyType(index, value.toString());
        case colValue:
            return SetValueText(index, value.toString());
    }
    return false;
}

// ---- find ----

QList<QModelIndex> TDSPTreeModel::AllRows() const {
    QList<QModelIndex> rows;
    if (!FHasTree) return rows;
    std::function<void(TDSPNode*, const QModelIndex&)> walk = [&](TDSPNode* node,
                                                                  const QModelIndex& at) {
        rows.append(at);
        const int props = int(node->Properties().size());
        for (int r = 0; r < props; ++r)
            rows.append(createIndex(r, colName, node));
        for (int k = 0; k < node->NodeCount(); ++k)
            walk(&node->Node(k), createIndex(props + k, colName, node));
    };
    walk(const_cast<TDSPNode*>(&FRoot), createIndex(0, colName, nullptr));
    return rows;
}

QModelIndex TDSPTreeModel::Find(const QString& text, const QModelIndex& after,
                                bool* wrapped) const {
    if (wrapped) *wrapped = false;
    if (text.isEmpty()) return {};
    const QList<QModelIndex> rows = AllRows();
    if (rows.isEmpty()) return {};
    const int from = after.isValid() ? int(rows.indexOf(after.siblingAtColumn(colName))) + 1 : 0;
    for (int i = 0; i < rows.size(); ++i) {
        const QModelIndex& row = rows.at((from + i) % rows.size());
        const bool hit = ItemName(row).contains(text, Qt::CaseInsensitive) ||
                         (IsProperty(row) &&
                          DSPEditText(PropertyValue(row)).contains(text, Qt::CaseInsensitive));
        if (!hit) continue;
        if (wrapped) *wrapped = from + i >= rows.size();
        return row;
    }
    return {};
}
