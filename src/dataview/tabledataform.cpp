#include "tabledataform.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "appcore/database.h"
#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "findcolumndialog.h"
#include "gridkit/datagrid.h"
#include "gridkit/tablemodel.h"
#include "gridkit/tablescroller.h"
#include "gridkit/tablevalues.h"

TTableDataForm::TTableDataForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TTableDataForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    layout->addWidget(toolBar);
    FSplitter = new QSplitter(Qt::Vertical, this);
    layout->addWidget(FSplitter);
    FGrid = new TDataGrid(FSplitter);
    FGrid->setObjectName(QStringLiteral("Grid"));
    FGrid->View()->setContextMenuPolicy(Qt::ActionsContextMenu);
    FGrid->View()->installEventFilter(this);
    FFieldDataPanel = new QWidget(FSplitter);
    FFieldDataPanel->setObjectName(QStringLiteral("FieldDataPanel"));
    auto* panel = new QVBoxLayout(FFieldDataPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    FFieldDataEdit = new QPlainTextEdit(FFieldDataPanel);
    FFieldDataEdit->setObjectName(QStringLiteral("FieldDataEdit"));
    FFieldDataEdit->setReadOnly(true);
    FFieldDataEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    panel->addWidget(FFieldDataEdit);
    FSplitter->setStretchFactor(0, 4);
    FSplitter->setStretchFactor(1, 1);

    CreateActions();
    toolBar->addAction(FInsertButton);
    toolBar->addAction(FDeleteButton);
    toolBar->addSeparator();
    toolBar->addAction(FShowFieldDataButton);
    FShowFieldDataButton->setToolTip(
        LString(QStringLiteral("M_Pelvar_TblDatas_ShowFieldDataButtonHint")));
    SetShowFieldData(LoadRegistryParam(ShowFieldDataParam(), 0) != 0);
    connect(FGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TTableDataForm::TitleClick);
    resize(720, 480);
}

TTableDataForm::~TTableDataForm() {
    if (FInList) TTableDataWindowList::Instance().Remove(this);
    try {
        SaveRegistryParam(ShowFieldDataParam(), FShowFieldDataButton->isChecked() ? 1 : 0);
    } catch (const EPelvarError&) {
    }
    FGrid->SetModel(nullptr);
    delete FModel;
}

void TTableDataForm::CreateActions() {
    const auto add = [this](const char* name, const char* caption, auto slot) {
        auto* a = new QAction(LString(QLatin1String(caption)), this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    FInsertButton =
        add("InsertButton", "M_Pelvar_TblDatas_InsertCaption", &TTableDataForm::InsertRecord);
    FDeleteButton =
        add("DeleteButton", "M_Pelvar_TblDatas_DeleteCaption", &TTableDataForm::DeleteRecord);
    FShowFieldDataButton =
        new QAction(LString(QStringLiteral("M_Pelvar_TblDatas_FieldDataCaption")), this);
    FShowFieldDataButton->setObjectName(QStringLiteral("ShowFieldDataButton"));
    FShowFieldDataButton->setCheckable(true);
    connect(FShowFieldDataButton, &QAction::toggled, this, &TTableDataForm::SetShowFieldData);
    QAction* find =
        add("FindInFieldAction", "M_Pelvar_TblDatas_FindCaption", &TTableDataForm::FindInColumn);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* next =
        add("FindNext", "M_Pelvar_TblDatas_FindNextCaption", &TTableDataForm::FindNextValue);
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    FSetNullAction =
        add("SetNullMenuItem", "M_Pelvar_TblDatas_SetNullCaption", &TTableDataForm::SetCurrentNull);
    CreateFieldActions();
    for (QAction* a : {find, next, FSetNullAction, FBlobToFileMenuItem, FFileToBlobMenuItem,
                       FLongStringEditMenuItem}) {
        a->setShortcutContext(Qt::WindowShortcut);
        FGrid->View()->addAction(a);
    }
}

bool TTableDataForm::Open(const QString& tableName, const QString& databaseName, bool readOnly) {
    FAutoIncFieldName.clear();
    FDatabaseName = databaseName;
    TDatabaseManager& dbs = BaseMng().Databases();
    if (!dbs.IsOpen(databaseName))
        throw EDatabaseError(LString(QStringLiteral("M_Pelvar_TblDatas_NoBaseManager"))
                                 .arg(tableName, databaseName));
    TDatabase& db = dbs.GetDatabase(databaseName);
    if (!db.DescribeTable(tableName, FTableDescription)) return false;
    TDicTableDescription dictionary;
    bool known = false;
    try {
        known = ReadDictionaryTable(databaseName, tableName, dictionary);
    } catch (const EPelvarError&) {
        known = false;  // a database without a dictionary shows its physical order
    }
    if (known) FAutoIncFieldName = ApplyDictionary(FTableDescription, dictionary);

    FScroller = std::make_unique<TTableScroller>(db, tableName);
    FScroller->SetDescription(FTableDescription);
    FScroller->Open();
    FModel = new TTableDataModel(*FScroller);
    FModel->SetReadOnly(readOnly);
    FGrid->SetModel(FModel);
    connect(FGrid, &TDataGrid::CurrentChanged, this, &TTableDataForm::RefreshFieldData);
    connect(FGrid, &TDataGrid::CurrentChanged, this, &TTableDataForm::UpdateFieldActions);
    connect(FGrid, &TDataGrid::DoubleClicked, this, [this] {
        if (!FReadOnly) EditRecord();
    });
    UpdateFieldActions();
    connect(FModel, &QAbstractItemModel::dataChanged, this, &TTableDataForm::RefreshFieldData);
    connect(FModel, &TTableDataModel::WriteFailed, this, &TTableDataForm::ShowError);
    connect(FModel, &TTableDataModel::ReadFailed, this, &TTableDataForm::ShowError);
    setWindowTitle(tableName);
    FGrid->setFocus();
    FInsertButton->setToolTip(LString(QStringLiteral("M_pelvar_BlbDatas_InsertButtonHint")));
    FDeleteButton->setToolTip(LString(QStringLiteral("M_pelvar_BlbDatas_DeleteButtonHint")));
    FShowFieldDataButton->setToolTip(
        LString(QStringLiteral("M_pelvar_BlbDatas_ShowFieldDataButtonHint")));

    TTableDataWindowList::Instance().Add(this);
    FReadOnly = readOnly;
    if (readOnly) {
        FInsertButton->setEnabled(false);
        FDeleteButton->setEnabled(false);
        FSetNullAction->setEnabled(false);
        FGrid->View()->setEditTriggers(QAbstractItemView::NoEditTriggers);
        FFileToBlobMenuItem->setVisible(false);
        FLongStringEditMenuItem->setVisible(false);
    }
    return true;
}

void TTableDataForm::CloseWindow() {
    close();
}

void TTableDataForm::ShowError(const QString& message) {
    Interaction().MessageBox(message, LString(QStringLiteral("M_Pelvar_TblDatas_ErrorCaption")),
                             MB::OK | MB::ICONERROR);
}

void TTableDataForm::SetCurrent(int row, int column) {
    if (!FModel || row < 0 || row >= FModel->rowCount()) return;
    FGrid->SetCurrent(row, column);
}

bool TTableDataForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FGrid->View() && event->type() == QEvent::KeyPress && !FReadOnly && FModel) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Delete && !(mods & (Qt::ShiftModifier | Qt::AltModifier))) {
            DeleteRecord();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            mods == Qt::NoModifier) {
            EditRecord();
            return true;
        }
        if (key->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
            InsertRecord();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TTableDataForm::DeleteRecord() {
    if (FReadOnly || !FModel) return;
    const QModelIndex current = FGrid->CurrentIndex();
    if (!current.isValid()) return;
    if (LMessageBox(QStringLiteral("M_Pelvar_TblDatas_DeleteConfirm"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    try {
        FModel->DeleteRow(current.row());
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
        FModel->Reload();
    }
    SetCurrent(qMin(current.row(), FModel->rowCount() - 1), current.column());
}

void TTableDataForm::SetCurrentNull() {
    const QModelIndex current = FGrid->CurrentIndex();
    if (FReadOnly || !FModel || !current.isValid()) return;
    try {
        FModel->WriteValue(current, TQXVariant());
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}

void TTableDataForm::SetShowFieldData(bool on) {
    if (FShowFieldDataButton->isChecked() != on) FShowFieldDataButton->setChecked(on);
    FFieldDataPanel->setVisible(on);
    RefreshFieldData();
}

void TTableDataForm::RefreshFieldData() {
    const QModelIndex current = FGrid->CurrentIndex();
    if (!FShowFieldDataButton->isChecked() || !FModel || !current.isValid()) {
        FFieldDataEdit->clear();
        return;
    }
    const int type = FScroller->Fields()[current.column()].DataType;
    const TQXVariant v = FModel->FullValue(current);
    const QString text =
        IsBlobDataType(type) ? QString::fromLatin1(v.AsBinary()) : TableValueText(v, type);
    FFieldDataEdit->setPlainText(FieldDataText(text));
}

void TTableDataForm::TitleClick(int column) {
    if (!FScroller || !FScroller->CanSort(column)) return;
    const QString field = FScroller->Fields()[column].Name;
    FSort.Assign(field);
    FModel->SortBy(column, FSort.Ascending());
    FGrid->horizontalHeader()->setSortIndicatorShown(true);
    FGrid->horizontalHeader()->setSortIndicator(
        column, FSort.Ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TTableDataForm::FindInColumn() {
    const QModelIndex current = FGrid->CurrentIndex();
    if (!FScroller || !current.isValid()) return;
    const TDicFieldDescription& field = FScroller->Fields()[current.column()];
    if (IsBlobDataType(field.DataType)) return;
    TFindColumnDialog dialog(this);
    dialog.SetFieldName(field.Name);
    dialog.SetFieldType(field.DataType);
    if (!FLastSearchColumn.isEmpty())
        dialog.SetLastValue(TableValueText(FLastSearchValue, field.DataType));
    if (Interaction().ExecModal(&dialog) != IDOK) return;
    FLastSearchColumn = field.Name;
    FLastSearchValue = dialog.Value();
    FLastSearchOptions = dialog.Direction();
    const TSearchStep step = SearchStepOf(FLastSearchOptions);
    SearchStep(step.FromFirst, step.Forward);
    QApplication::processEvents();
}

void TTableDataForm::FindNextValue() {
    if (FLastSearchColumn.isEmpty()) return;
    SearchStep(false, SearchStepOf(FLastSearchOptions).Forward);
}

void TTableDataForm::SearchStep(bool fromFirst, bool forward) {
    int field = -1;
    for (int i = 0; i < FScroller->Fields().size(); ++i)
        if (FScroller->Fields()[i].Name == FLastSearchColumn) field = i;
    if (field < 0) return;
    const QModelIndex old = FGrid->CurrentIndex();
    qint64 found = -1;
    try {
        found = FScroller->Locate(field, FLastSearchValue, fromFirst ? -1 : old.row(), forward);
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
    if (found >= FModel->rowCount()) FModel->FetchCount();
    if (found < 0) {
        LMessageBox(QStringLiteral("M_pelvar_TblDatas_FindColValueNotFound"),
                    QStringLiteral("ST_INFORMATION"), MB::OK | MB::ICONINFORMATION);
        SetCurrent(old.row(), old.column());
    } else {
        SetCurrent(int(found), field);
    }
    FGrid->View()->viewport()->update();
}
