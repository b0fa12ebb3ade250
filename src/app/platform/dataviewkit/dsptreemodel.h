#pragma once

#include <QAbstractItemModel>
#include <QHash>

#include "appcore/dsptree.h"

// The rows of a DSP tree for a tree view: the root node is the only top-level
// row; under a node come its properties, then its child nodes. Columns: name,
// type, value. Every edit goes through the rules here (names, type checks,
// read-only); a refused edit leaves the tree as it was and says why in
// LastError() and through EditRefused.
class TDSPTreeModel final : public QAbstractItemModel {
    Q_OBJECT
  public:
    enum TColumn { colName = 0, colType = 1, colValue = 2, ColumnCount = 3 };
    // Data roles beyond Qt's: whether a row is a node, and a property's stored type.
    enum TRole { IsNodeRole = Qt::UserRole + 1, TypeRole };

    explicit TDSPTreeModel(QObject* parent = nullptr);

    // Replaces the whole tree; the model is then unmodified.
    void SetTree(const TDSPNode& root);
    // No tree at all (nothing loaded, or a body that cannot be read): no rows, no edits.
    void ClearTree();
    bool HasTree() const { return FHasTree; }
    const TDSPNode& Tree() const { return FRoot; }
    QByteArray Bytes() const { return FRoot.ToBytes(); }

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    bool Modified() const { return FModified; }
    void SetModified(bool modified);

    bool IsNode(const QModelIndex& index) const;
    bool IsProperty(const QModelIndex& index) const;
    // The property's stored type; empty for a node.
    QString PropertyType(const QModelIndex& index) const;
    QVariant PropertyValue(const QModelIndex& index) const;

    // Edits; each returns false, with LastError(), when refused.
    bool Rename(const QModelIndex& index, const QString& name);
    bool SetValueText(const QModelIndex& index, const QString& text);
    bool SetValue(const QModelIndex& index, const QVariant& value);
    // Converts the value when it reads as the new type, else refuses.
    bool SetPropertyType(const QModelIndex& index, const QString& type);
    // Adds at the end of the node's children (the node of a property row: its
    // owner); returns the new row, invalid when refused.
    QModelIndex AddNode(const QModelIndex& at, const QString& name = QString());
    QModelIndex AddProperty(const QModelIndex& at, const QString& name = QString(),
                            const QString& type = QStringLiteral("string"));
    // A node (never the root) with all it holds, or a property.
    bool Remove(const QModelIndex& index);
    QString LastError() const { return FLastError; }

    // The next row after `after` (or from the top) whose name or value holds
    // `text`, ignoring case, in the order the tree shows them; wraps to the top
    // once. Invalid when nothing matches; `wrapped` tells whether it went round.
    QModelIndex Find(const QString& text, const QModelIndex& after, bool* wrapped = nullptr) const;
    // Every row in the order the tree shows them, for walking the whole tree.
    QList<QModelIndex> AllRows() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  signals:
    void ModifiedChanged(bool modified);
    void EditRefused(const QString& message);

  private:
    TDSPNode* Owner(const QModelIndex& index) const;
    TDSPNode* NodeAt(const QModelIndex& index) const;
    int PropertyRow(const QModelIndex& index) const;
    QModelIndex NodeIndex(const TDSPNode* node) const;
    QString ItemName(const QModelIndex& index) const;
    bool Refuse(const QString& id, const QString& arg1 = {}, const QString& arg2 = {});
    bool CanEdit();
    void Changed(const QModelIndex& row);
    void ReplaceProperty(TDSPNode& node, int row, const TDSPProperty& property);
    void IndexParents();
    QString UniqueName(const TDSPNode& node, const QString& base, bool property) const;

    TDSPNode FRoot;
    QHash<const TDSPNode*, TDSPNode*> FParents;  // node -> the node holding it
    bool FHasTree = false;
    bool FReadOnly = false;
    bool FModified = false;
    QString FLastError;
};
