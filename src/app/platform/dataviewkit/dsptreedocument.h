#pragma once

#include <QObject>

#include "dsptreemodel.h"

// One DSP tree being edited: where it comes from (a structure in a database,
// or bytes handed over by the caller), its model, and what may be done with it.
// Widget-free: the tree view and dialog only show it and ask through the
// interaction seam.
class TDSPTreeDocument final : public QObject {
    Q_OBJECT
  public:
    enum TState {
        dsEmpty,        // nothing loaded yet
        dsLoaded,       // the tree is shown and may be edited
        dsDamaged,      // the body does not read as a tree: kept as it is, shown empty
        dsUnavailable,  // the structure could not be read
    };
    enum TCloseDecision { cdDiscard, cdKeep, cdStay };

    explicit TDSPTreeDocument(QObject* parent = nullptr);

    TDSPTreeModel& Model() { return FModel; }
    const TDSPTreeModel& Model() const { return FModel; }

    // The structure: alias, name, type. `Title` names it to the user when set.
    void SetAliasName(const QString& alias) { FAlias = alias; }
    const QString& AliasName() const { return FAlias; }
    void SetDSPName(const QString& name) { FDSPName = name; }
    const QString& DSPName() const { return FDSPName; }
    void SetObjectType(int type) { FObjectType = type; }
    int ObjectType() const { return FObjectType; }
    void SetTitle(const QString& title) { FTitle = title; }
    QString DisplayName() const;

    // Reads the structure from its database. Never raises: an unreadable body
    // or structure is reported once (naming the structure) and leaves the
    // document damaged or unavailable.
    void Load();
    // Memory mode: the tree comes from and goes back to the caller's bytes.
    void LoadFromBytes(const QByteArray& bytes);
    void Clear();
    bool MemoryMode() const { return FMemory; }

    TState State() const { return FState; }
    // Why the last load failed (the parser's or the database's words).
    const QString& LoadError() const { return FLoadError; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    bool Editable() const { return !FReadOnly && FState == dsLoaded; }
    bool Modified() const { return FModel.Modified(); }

    // The edited tree; while damaged (and not replaced), the bytes as they came.
    QByteArray Bytes() const;
    // Writes the tree back with PutStructure. A structure that vanished or a
    // database that went away gives one error naming the structure and leaves
    // everything as it was. False when nothing was saved.
    bool Save();
    bool CanSave() const { return !FMemory && Editable(); }
    // Offers to replace a damaged body with an empty tree (asks, defaulting to
    // No). The store is written only by a later Save.
    bool ReplaceDamagedBody();
    // Asks what to do with unsaved changes: Yes keeps them (saves in store
    // mode; cdStay if that fails), No discards, Cancel stays.
    TCloseDecision QueryClose();

  signals:
    void StateChanged();

  private:
    void SetState(TState state);
    void ShowTree(const QByteArray& bytes, const QString& what);
    TDSPTreeModel FModel;
    QString FAlias;
    QString FDSPName;
    QString FTitle;
    int FObjectType = 0;
    bool FMemory = false;
    bool FReadOnly = false;
    TState FState = dsEmpty;
    QString FLoadError;
    QByteArray FOriginal;
};
