#pragma once

#include <QTreeView>

#include "dsptreedocument.h"

// The tree view of one DSP tree: names, types and values of its nodes and
// properties, edited in place. It is told which structure to show (object
// type, name, alias) and activated, or handed bytes (memory mode).
class TDSPFormTreeView final : public QTreeView {
    Q_OBJECT
  public:
    explicit TDSPFormTreeView(QWidget* parent = nullptr);

    void SetObjectType(int type) { FDocument.SetObjectType(type); }
    int ObjectType() const { return FDocument.ObjectType(); }
    // The structure's name as the user reads it (window header, messages).
    void SetName(const QString& name) { FDocument.SetTitle(name); }
    QString Name() const { return FDocument.DisplayName(); }
    // The structure read and written in the store.
    void SetDSPName(const QString& name) { FDocument.SetDSPName(name); }
    const QString& DSPName() const { return FDocument.DSPName(); }
    void SetAliasName(const QString& alias) { FDocument.SetAliasName(alias); }
    const QString& AliasName() const { return FDocument.AliasName(); }

    // true: reads the structure from the store and shows it; false: drops it.
    // The structure is that of DSPName, or of Name when DSPName is not set.
    void Activate(bool active);
    bool Active() const { return FDocument.State() != TDSPTreeDocument::dsEmpty; }
    // Memory mode: shows the tree held in `bytes`; `name` names it to the user.
    void LoadFromBytes(const QByteArray& bytes, const QString& name = QString());
    QByteArray Bytes() const { return FDocument.Bytes(); }

    void SetReadOnly(bool readOnly) { FDocument.SetReadOnly(readOnly); }
    bool ReadOnly() const { return !FDocument.Editable(); }
    bool Modified() const { return FDocument.Modified(); }
    // Saves what an open editor holds first.
    bool Save() {
        CommitEdit();
        return FDocument.Save();
    }
    // Writes what an open cell editor holds into the tree and closes the editor.
    void CommitEdit();
    bool Editing() const { return state() == QAbstractItemView::EditingState; }

    TDSPTreeDocument& Document() { return FDocument; }
    TDSPTreeModel& Model() { return FDocument.Model(); }

    // Commands of the dialog, on the current row.
    void AddNode();
    void AddProperty();
    void DeleteCurrent();
    void RenameCurrent();
    void EditValue();
    // Selects the next row holding `text`; false (and the user is told) when none does.
    bool FindNext(const QString& text);
    bool CurrentIsBinary() const;
    void LoadBinaryFromFile();
    void SaveBinaryToFile();

  signals:
    // What the view tells the user in passing (a search that went round).
    void Status(const QString& text);
    // A cell editor opened or closed: what it holds may be saved.
    void EditingChanged();

  protected:
    using QTreeView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void ShowRefusal(const QString& message);
    void Reveal(const QModelIndex& index);
    TDSPTreeDocument FDocument;
};
