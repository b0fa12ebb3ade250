#pragma once

#include <QWidget>
#include <memory>

#include "tabledatawindows.h"

class QAction;
class QModelIndex;
class QPlainTextEdit;
class QSplitter;
class QToolBar;
class TDataGrid;
class TTableDataModel;
class TTableScroller;

// What the table and view data windows share: the toolbar with Insert,
// Delete and the field data button, the grid over a scroller's rows, and the
// field data panel below it (shown as the button says, remembered between
// windows). The window frees itself when closed.
class TDataWindow : public QWidget, public TRegisteredDataWindow {
    Q_OBJECT
  public:
    explicit TDataWindow(QWidget* parent = nullptr);
    ~TDataWindow() override;

    QString DatabaseName() const override { return FDatabaseName; }
    bool InList() const override { return FInList; }
    void SetInList(bool inList) override { FInList = inList; }
    void CloseWindow() override;

    bool ReadOnly() const { return FReadOnly; }
    TDataGrid* Grid() const { return FGrid; }
    TTableDataModel* Model() const { return FModel; }
    QPlainTextEdit* FieldDataEdit() const { return FFieldDataEdit; }
    void SetShowFieldData(bool on);

  protected:
    // Opens the scroller and shows its rows; `title` names the window.
    void Attach(std::unique_ptr<TTableScroller> scroller, const QString& title, bool readOnly);
    void RefreshFieldData();
    void ShowError(const QString& message);
    void SetCurrent(int row, int column);

    std::unique_ptr<TTableScroller> FScroller;
    TTableDataModel* FModel = nullptr;
    TDataGrid* FGrid;
    QToolBar* FToolBar;
    QAction* FInsertButton;
    QAction* FDeleteButton;
    QAction* FShowFieldDataButton;
    QString FDatabaseName;
    bool FInList = false;
    bool FReadOnly = false;

  private:
    QSplitter* FSplitter;
    QWidget* FFieldDataPanel;
    QPlainTextEdit* FFieldDataEdit;
};
