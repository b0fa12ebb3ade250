// The editing rules of TDSPTreeModel.
#include "appcore/texts.h"
#include "basekit/strutils.h"
#include "dsptreemodel.h"
#include "dspvalues.h"

namespace {

// What a user is told about writing a value of the type, after a refusal.
QString FormatHint(const QString& type) {
    if (type == QLatin1String("datetime"))
        return LString(QStringLiteral("M_Pelvar_DSPTree_DateTimeHint"));
    if (type == QLatin1String("binary"))
        return LString(QStringLiteral("M_Pelvar_DSPTree_BinaryHint"));
    if (type == QLatin1String("boolean"))
        return LString(QStringLiteral("M_Pelvar_DSPTree_BooleanHint"));
    return {};
}

}  // namespace

bool TDSPTreeModel::Refuse(const QString& id, const QString& arg1, const QString& arg2) {
    FLastError = SafeFormat(LString(id), arg1, arg2);
    emit EditRefused(FLastError);
    return false;
}

bool TDSPTreeModel::CanEdit() {
    return (FHasTree && !FReadOnly) || Refuse(QStringLiteral("M_Pelvar_DSPTree_ReadOnly"));
}

void TDSPTreeModel::Changed(const QModelIndex& row) {
    emit dataChanged(row.siblingAtColumn(colName), row.siblingAtColumn(colValue));
    SetModified(true);
}

// A node keeps its properties in a list addressed by name: a renamed property
// is written back in place by rebuilding the list.
void TDSPTreeModel::ReplaceProperty(TDSPNode& node, int row, const TDSPProperty& property) {
    const QList<TDSPProperty> old = node.Properties();
    QList<TDSPProperty> props = old;
    props[row] = property;
    for (const TDSPProperty& p : old)
        node.RemoveProperty(p.Name);
    for (const TDSPProperty& p : props)
        node.SetProperty(p.Name, p.Value);
}

QString TDSPTreeModel::UniqueName(const TDSPNode& node, const QString& base, bool property) const {
    for (int i = 1;; ++i) {
        const QString name = base + QString::number(i);
        if (property ? !node.HasProperty(name) : !node.FindNode(name)) return name;
    }
}

bool TDSPTreeModel::Rename(const QModelIndex& index, const QString& name) {
    if (!index.isValid() || !CanEdit()) return false;
    const QString newName = name.trimmed();
    if (newName.isEmpty()) return Refuse(QStringLiteral("M_Pelvar_DSPTree_EmptyName"));
    if (newName == ItemName(index)) return true;
    const int row = PropertyRow(index);
    if (row >= 0) {
        TDSPNode& owner = *Owner(index);
        for (int i = 0; i < owner.Properties().size(); ++i)
            if (i != row && SameText(owner.Properties().at(i).Name, newName))
                return Refuse(QStringLiteral("M_Pelvar_DSPTree_DuplicateProperty"), newName,
                              owner.Name());
        ReplaceProperty(owner, row, TDSPProperty{newName, owner.Properties().at(row).Value});
    } else {
        // Sibling nodes may share a name: bodies hold lists of like items.
        NodeAt(index)->SetName(newName);
    }
    Changed(index);
    return true;
}

bool TDSPTreeModel::SetValueText(const QModelIndex& index, const QString& text) {
    if (!index.isValid() || !CanEdit()) return false;
    if (!IsProperty(index))
        return Refuse(QStringLiteral("M_Pelvar_DSPTree_NodeHasNoValue"), ItemName(index));
    const QString type = PropertyType(index);
    QVariant value;
    if (!DSPParseValue(type, text, value)) {
        FLastError = SafeFormat(LString(QStringLiteral("M_Pelvar_DSPTree_WrongValue")), text,
                                ItemName(index), DSPTypeCaption(type));
        const QString hint = FormatHint(type);
        if (!hint.isEmpty()) FLastError += QLatin1Char('\n') + hint;
        emit EditRefused(FLastError);
        return false;
    }
    return SetValue(index, value);
}

bool TDSPTreeModel::SetValue(const QModelIndex& index, const QVariant& value) {
    if (!index.isValid() || !CanEdit()) return false;
    if (!IsProperty(index))
        return Refuse(QStringLiteral("M_Pelvar_DSPTree_NodeHasNoValue"), ItemName(index));
    const QVariant old = PropertyValue(index);
    if (DSPTypeOf(old) == DSPTypeOf(value) && old == value) return true;
    Owner(index)->SetProperty(ItemName(index), value);
    Changed(index);
    return true;
}

bool TDSPTreeModel::SetPropertyType(const QModelIndex& index, const QString& type) {
    if (!index.isValid() || !CanEdit()) return false;
    if (!IsProperty(index))
        return Refuse(QStringLiteral("M_Pelvar_DSPTree_NodeHasNoValue"), ItemName(index));
    if (!DSPTypeNames().contains(type))
        return Refuse(QStringLiteral("M_Pelvar_DSPTree_UnknownType"), type);
    if (type == PropertyType(index)) return true;
    const QString text = DSPEditText(PropertyValue(index));
    QVariant value = DSPDefaultValue(type);
    // An empty value becomes the new type's empty value; any other must read as it.
    if (!text.trimmed().isEmpty() && !DSPParseValue(type, text, value))
        return Refuse(QStringLiteral("M_Pelvar_DSPTree_CannotConvert"), ItemName(index),
                      DSPTypeCaption(type));
    return SetValue(index, value);
}

QModelIndex TDSPTreeModel::AddNode(const QModelIndex& at, const QString& name) {
    if (!CanEdit()) return {};
    TDSPNode* node = at.isValid() ? (IsNode(at) ? NodeAt(at) : Owner(at)) : &FRoot;
    const QString newName =
        name.trimmed().isEmpty()
            ? UniqueName(*node, LString(QStringLiteral("M_Pelvar_DSPTree_NewNodeName")), false)
            : name.trimmed();
    const QModelIndex parentIndex = NodeIndex(node);
    const int row = rowCount(parentIndex);
    beginInsertRows(parentIndex, row, row);
    FParents.insert(&node->AddNode(newName), node);
    endInsertRows();
    const QModelIndex added = index(row, colName, parentIndex);
    Changed(added);
    return added;
}

QModelIndex TDSPTreeModel::AddProperty(const QModelIndex& at, const QString& name,
                                       const QString& type) {
    if (!CanEdit()) return {};
    TDSPNode* node = at.isValid() ? (IsNode(at) ? NodeAt(at) : Owner(at)) : &FRoot;
    if (!DSPTypeNames().contains(type)) {
        Refuse(QStringLiteral("M_Pelvar_DSPTree_UnknownType"), type);
        return {};
    }
    const QString newName =
        name.trimmed().isEmpty()
            ? UniqueName(*node, LString(QStringLiteral("M_Pelvar_DSPTree_NewPropertyName")), true)
            : name.trimmed();
    if (node->HasProperty(newName)) {
        Refuse(QStringLiteral("M_Pelvar_DSPTree_DuplicateProperty"), newName, node->Name());
        return {};
    }
    // Properties come before the child nodes: the new one is the last of them.
    const QModelIndex parentIndex = NodeIndex(node);
    const int row = int(node->Properties().size());
    beginInsertRows(parentIndex, row, row);
    node->SetProperty(newName, DSPDefaultValue(type));
    endInsertRows();
    const QModelIndex added = index(row, colName, parentIndex);
    Changed(added);
    return added;
}

bool TDSPTreeModel::Remove(const QModelIndex& index) {
    if (!index.isValid() || !CanEdit()) return false;
    TDSPNode* owner = Owner(index);
    if (!owner) return Refuse(QStringLiteral("M_Pelvar_DSPTree_CannotDeleteRoot"), FRoot.Name());
    const QModelIndex parentIndex = index.parent();
    const int row = index.row();
    const int props = int(owner->Properties().size());
    beginRemoveRows(parentIndex, row, row);
    if (row < props) {
        owner->RemoveProperty(owner->Properties().at(row).Name);
    } else {
        owner->RemoveNode(row - props);
        IndexParents();
    }
    endRemoveRows();
    SetModified(true);
    return true;
}
