#include "tabledataform.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

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

TTableDataForm::TTableDataForm(QWidget* parent) : TDataWindow(parent) {
    setObjectName(QStringLiteral("TTableDataForm"));
    FGrid->View()->installEventFilter(this);
    // A double click opens the record editor; typing edits the cell.
    FGrid->View()->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
    CreateActions();
    connect(FGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TTableDataForm::TitleClick);
}

TTableDataForm::~TTableDataForm() {
    if (FInList) TTableDataWindowList::Instance().Remove(this);
}

void TTableDataForm::CreateActions() {
    const auto add = [this](const char* name, const char* caption, auto slot) {
        auto* a = new QAction(LString(QLatin1String(caption)), this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    connect(FInsertButton, &QAction::triggered, this, &TTableDataForm::InsertRecord);
    connect(FDeleteButton, &QAction::triggered, this, &TTableDataForm::DeleteRecord);
    QAction* find =
        add("FindInFieldAction", "M_Pelvar_TblDatas_FindCaption", &TTableDataForm::FindInColumn);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* next =
        add("FindNext", "M_Pelvar_TblDatas_FindNextCaption", &TTableDataForm::FindNextValue);
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    // Not in the popup menu: a key of its own (Delete without Shift deletes the record).
    FSetNullAction =
        add("SetNullMenuItem", "M_Pelvar_TblDatas_SetNullCaption", &TTableDataForm::SetCurrentNull);
    FSetNullAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    for (QAction* a : {find, next, FSetNullAction}) {
        a->setShortcutContext(Qt::WindowShortcut);
        FGrid->View()->addAction(a);
    }
    CreateFieldActions();
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

    auto scroller = std::make_unique<TTableScroller>(db, tableName);
    scroller->SetDescription(FTableDescription);
    Attach(std::move(scroller), tableName, readOnly);
    connect(FGrid, &TDataGrid::CurrentChanged, this, [this] { UpdateFieldActions(); });
    connect(FGrid, &TDataGrid::DoubleClicked, this, [this] {
        if (!FReadOnly) EditRecord();
    });
    UpdateFieldActions();
    TTableDataWindowList::Instance().Add(this);
    if (readOnly) FSetNullAction->setEnabled(false);
    return true;
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
