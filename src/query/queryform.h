#pragma once

#include <QWidget>
#include <functional>

#include "basekit/record.h"
#include "editcolors.h"
#include "queryhistory.h"
#include "queryrules.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTableView;
class QTableWidget;
class QTimer;
class QToolButton;
class QsciScintilla;
class TQueryResultModel;

// A window running free SQL on the database of one alias: the statement
// editor, its parameters, the result grid, transactions and the history.
class TQueryForm : public QWidget {
    Q_OBJECT
  public:
    explicit TQueryForm(const QString& alias, QWidget* parent = nullptr);
    // Writes the window settings and the history.
    ~TQueryForm() override;

    const QString& AliasName() const { return FAlias; }
    QString QueryText() const;
    void SetQueryText(const QString& text);
    TQueryType QueryType() const;
    void SetQueryType(TQueryType type);
    const TRecord& Params() const { return FParams; }
    const TQueryHistory& History() const { return FHistory; }
    TQueryResultModel* ResultModel() const { return FModel; }
    QAction* Action(const QString& name) const;
    bool Modified() const { return FModified; }

    // ExecuteAction: a select starts filling the grid, which goes on between
    // event-loop turns; errors are shown and leave the window usable.
    void Execute();
    // The parameter grid follows the statement text; values typed stay.
    void RefreshParams();
    // Older (PrevQueryAction) and newer (NextQueryAction) history entries.
    void BringBackOlder();
    void BringBackNewer();
    void StartTransaction();
    void CommitTransaction();
    void RollbackTransaction();
    void CopyToBuffer();
    // ColorEditAction: the editor's colours and font; applied to every open
    // query window and kept for the next ones.
    void EditColors();
    void SetEditorColors(const TEditorColors& colors);
    const TEditorColors& EditorColors() const { return FColors; }
    QsciScintilla* Editor() const { return FQueryEdit; }
    // ExportToCsvAction: the statement's rows, as many as the grid shows.
    void ExportToCsv();
    // SaveQueryDataAction: the statement's rows (as many as the grid shows)
    // and parameters into a query data file.
    void SaveQueryData();
    // LoadQueryDataAction asks for a file; this reads it into the grids. A
    // file that does not read leaves both grids as they were.
    bool LoadQueryData(const QString& fileName);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateActions();
    void CreateEditor();
    QWidget* CreateParamsPanel();
    QWidget* CreateResultPanel();
    void CreateResultMenu();
    void LoadSettings();
    void SaveSettings() const;
    void FillParamGrid();
    void GridToRecord();
    void AssignParams(class TQuery& query) const;
    void BringBack(const TQueryHistory::TEntry* entry);
    void UpdateActions();
    void OnRowsArrived(qint64 rows);
    void OnFetchFinished();
    void SizeResultColumns();
    void ShowCurrentCell();
    void InvertSelection();
    void SetRowSelectMode(bool on);
    void SaveBlobToFile();
    // FindAction: a search in the current column, repeated while the
    // search dialog is confirmed.
    void Find();
    void ShowBlobTable();
    void ShowBlobAsDSPTree();
    bool CurrentBlobAllowed() const;
    void UpdateResultActions();
    void AddDataFileButtons(class QHBoxLayout* head);
    void ApplyLoadedParams(const QList<struct TQueryDataParam>& params);
    bool Guard(const std::function<void()>& work);

    QString FAlias;
    TRecord FParams;
    TQueryHistory FHistory;
    bool FModified = false;
    TEditorColors FColors;
    bool FColumnsSized = false;
    bool FEscapePressed = false;
    // The last export target and sort choice, kept while the window lives.
    QString FLastExportName;
    bool FLastSortFields = false;
    int FFindDirection = 0;
    qint64 FOpenMs = 0;
    // Looked up once: a lookup reads the localiser, and another statement on
    // the connection would end a server cursor the grid is still reading.
    QString FRowsCountedText;
    QString FSelectDoneText;
    QString FFetchFailedText;
    QsciScintilla* FQueryEdit = nullptr;
    QTableWidget* FParamGrid = nullptr;
    QTableView* FResultView = nullptr;
    TQueryResultModel* FModel = nullptr;
    QLabel* FResultLabel = nullptr;
    QPlainTextEdit* FBlobMemo = nullptr;
    QComboBox* FQueryTypeBox = nullptr;
    QSplitter* FMainSplitter = nullptr;
    QSplitter* FTopSplitter = nullptr;
    QTimer* FParamsTimer = nullptr;
    QMenu* FResultMenu = nullptr;
};

// Opens a new query window on the alias's database, modeless; the window
// frees itself when closed.
TQueryForm* OpenQueryForm(const QString& alias);
