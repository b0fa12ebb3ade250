#pragma once

#include <memory>

#include "model/pelvarobject.h"

class TAliasNotifier;

// One database (ODBC data source) under the root: connects and disconnects it,
// shows its three top folders once connected and offers the database actions.
class TDOAlias : public TDOCommonAliasObject {
  public:
    TDOAlias();
    ~TDOAlias() override;
    PELVAR_OBJECT_CREATE(TDOAlias)

    bool InternalOpen() override;
    bool InternalAcceptDragObject(const QStringList& ParsedPath,
                                  const TPelvarObjectList& SubItems) override;
    void InternalDragObjectDropped(const QStringList& ParsedPath,
                                   const TPelvarObjectList& SubItems) override;
    void Assign(const TPelvarObject& Source) override;
    void Close() override;
    bool Refresh() override;
    bool AutoOpen() override { return IsConnected(); }
    bool IsFolder() override { return true; }
    void FillListViewItem(TListRow& Item, const TListColumns& Columns) override;
    void FillTreeViewItem(TTreeNodeItem& Item) override;
    void FillActions() override;
    void FillRightDropPopupMenu(TPelvarObjectActionList& Items,
                                const TPelvarObjectList& SubItems) override;
    QString GetCaption() override;
    // A shortcut to a database is captioned by its name; one to the login
    // database (no alias in its path) says so.
    void FillShortcut(TPelvarObjectShortcut& ShortCut) override;

    // The alias's description as the platform lists it, upper-cased; empty for
    // a default alias the root added itself.
    const QString& DriverName() const { return FDriverName; }
    void SetDriverName(const QString& value) { FDriverName = value.toUpper(); }
    // The database of the login: always connected, never counted.
    bool IsDefault() const;
    bool IsConnected() const;

    // Connects (asking for a login when the database is not in use yet);
    // true when the database is usable.
    bool Connect();
    // Closes the database's table data windows and ends every use of it.
    void DisconnectDatabase();
    void CreateSystemTables();
    // This node counts as a user of a database the platform already holds.
    void HoldUse();

  private:
    void OnAliasChanged(const QString& databaseName);
    void ReleaseUse();
    QString FDriverName;
    std::unique_ptr<TAliasNotifier> FNotifier;
    // This node holds one use of the database in the alias counter.
    bool FCounted = false;
};
