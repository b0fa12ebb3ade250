#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "appcore/tabledesc.h"

class QAction;
class QLabel;
class QToolBar;
class TBlobTable;
class TBlobTableModel;
class TDataGrid;

// The rows of the table kept in one BLOB field, edited in a modal dialog:
// Insert, Enter (or a double click) and Delete work on a row through the
// record editor, Ctrl+Enter is OK. OK hands the table's new bytes to the save
// handler when something changed; a save that fails is shown and the dialog
// stays open, so nothing is lost. A read-only dialog refuses every edit.
class TBLOBTableDataForm : public QDialog {
    Q_OBJECT
  public:
    explicit TBLOBTableDataForm(QWidget* parent = nullptr);
    ~TBLOBTableDataForm() override;

    // Shows the table held in `bytes` (empty bytes: an empty table) under
    // `title`. False when the description has no fields; raises what reading
    // the bytes raises.
    bool Open(const QString& title, const TDicTableDescription& description,
              const QByteArray& bytes, bool readOnly);
    void SetSaveHandler(std::function<void(const QByteArray&)> save) { FSave = std::move(save); }

    bool ReadOnly() const { return FReadOnly; }
    TBlobTable& Table() const { return *FTable; }
    TBlobTableModel* Model() const { return FModel; }
    TDataGrid* Grid() const { return FGrid; }

    // The commands, as the toolbar, the keys and a double click run them.
    void EditRecord();
    void InsertRecord();
    void DeleteRecord();  // asks first
    void TryAccept();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowRow(qint64 id, int fallbackRow);
    void ShowError(const QString& message);
    void UpdateCount();
    std::unique_ptr<TBlobTable> FTable;
    TBlobTableModel* FModel = nullptr;
    TDataGrid* FGrid;
    QToolBar* FToolBar;
    QAction* FInsertButton;
    QAction* FDeleteButton;
    QLabel* FCountLabel;
    std::function<void(const QByteArray&)> FSave;
    bool FReadOnly = false;
};

// Opens the BLOB table editor modally on a table kept in `bytes` and
// described by `description` (see ReadTableStructure), named `title` (the
// structure's name, "TABLE.FIELD"). After OK with changes `save` receives
// the new bytes; what it raises is shown and the dialog stays open. True when
// saved. Errors reading the bytes are shown (false). A read-only editor never
// calls `save`.
bool OpenBLOBTableEditor(const QString& title, const TDicTableDescription& description,
                         const QByteArray& bytes, bool readOnly,
                         const std::function<void(const QByteArray&)>& save,
                         QWidget* parent = nullptr);
