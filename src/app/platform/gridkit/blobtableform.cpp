#include "blobtableform.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/interaction.h"
#include "blobtable.h"
#include "blobtablemodel.h"
#include "datagrid.h"
#include "recorddataform.h"

namespace {

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

Qt::KeyboardModifiers Modifiers(const QKeyEvent* key) {
    return key->modifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
}

}  // namespace

TBLOBTableDataForm::TBLOBTableDataForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TBLOBTableDataForm"));
    auto* layout = new QVBoxLayout(this);
    FToolBar = new QToolBar(this);
    FToolBar->setObjectName(QStringLiteral("ToolBar1"));
    FToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(FToolBar);
    const auto button = [this](const char* name, const char* caption, const char* hint) {
        auto* a = FToolBar->addAction(LString(QLatin1String(caption)));
        a->setObjectName(QLatin1String(name));
        a->setToolTip(LString(QLatin1String(hint)));
        return a;
    };
    FInsertButton = button("InsertButton", "M_Pelvar_TblDatas_InsertCaption",
                           "M_pelvar_BlbDatas_InsertButtonHint");
    FDeleteButton = button("DeleteButton", "M_Pelvar_TblDatas_DeleteCaption",
                           "M_pelvar_BlbDatas_DeleteButtonHint");
    connect(FInsertButton, &QAction::triggered, this, &TBLOBTableDataForm::InsertRecord);
    connect(FDeleteButton, &QAction::triggered, this, &TBLOBTableDataForm::DeleteRecord);

    FGrid = new TDataGrid(this);
    FGrid->setObjectName(QStringLiteral("Grid"));
    FGrid->View()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FGrid->View()->installEventFilter(this);
    layout->addWidget(FGrid, 1);

    auto* bottom = new QHBoxLayout;
    FCountLabel = new QLabel(this);
    FCountLabel->setObjectName(QStringLiteral("CountLabel"));
    bottom->addWidget(FCountLabel, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setText(LString(QStringLiteral("ST_OK")));
    // Enter belongs to the grid (it edits the row); Ctrl+Enter is OK.
    ok->setAutoDefault(false);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setText(LString(QStringLiteral("ST_CANCEL")));
    cancel->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TBLOBTableDataForm::TryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    resize(640, 400);
}

TBLOBTableDataForm::~TBLOBTableDataForm() {
    FGrid->SetModel(nullptr);
    delete FModel;
}

bool TBLOBTableDataForm::Open(const QString& title, const TDicTableDescription& description,
                              const QByteArray& bytes, bool readOnly) {
    if (description.Fields.isEmpty()) return false;
    auto table = std::make_unique<TBlobTable>(description);
    table->Load(bytes);
    FGrid->SetModel(nullptr);
    delete FModel;
    FTable = std::move(table);
    FModel = new TBlobTableModel(*FTable);
    FGrid->SetModel(FModel);
    connect(FModel, &QAbstractItemModel::modelReset, this, &TBLOBTableDataForm::UpdateCount);
    UpdateCount();
    connect(FGrid, &TDataGrid::DoubleClicked, this, [this] {
        if (!FReadOnly) EditRecord();
    });
    setWindowTitle(title);
    FReadOnly = readOnly;
    FInsertButton->setEnabled(!readOnly);
    FDeleteButton->setEnabled(!readOnly);
    if (FModel->rowCount() > 0) FGrid->SetCurrent(0, 0);
    FGrid->setFocus();
    return true;
}

bool TBLOBTableDataForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FGrid->View() || event->type() != QEvent::KeyPress || !FModel)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = Modifiers(key);
    if (IsEnter(key) && mods == Qt::ControlModifier) {
        TryAccept();
        return true;
    }
    if (FReadOnly) return QDialog::eventFilter(watched, event);
    if (key->key() == Qt::Key_Delete && !(mods & (Qt::ShiftModifier | Qt::AltModifier))) {
        DeleteRecord();
        return true;
    }
    if (IsEnter(key) && mods == Qt::NoModifier) {
        EditRecord();
        return true;
    }
    if (key->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        InsertRecord();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TBLOBTableDataForm::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event) && Modifiers(event) == Qt::ControlModifier) {
        TryAccept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TBLOBTableDataForm::UpdateCount() {
    FCountLabel->setText(
        LString(QStringLiteral("M_Pelvar_BlobTable_RowCount")).arg(FModel->rowCount()));
}

void TBLOBTableDataForm::ShowError(const QString& message) {
    Interaction().MessageBox(message, LString(QStringLiteral("M_Pelvar_TblDatas_ErrorCaption")),
                             MB::OK | MB::ICONERROR);
}

void TBLOBTableDataForm::ShowRow(qint64 id, int fallbackRow) {
    const int column = qMax(FGrid->CurrentColumn(), 0);
    FModel->Reload();
    const int row = FTable->IndexOfID(id);
    const int shown = row >= 0 ? row : qMin(fallbackRow, FModel->rowCount() - 1);
    if (shown >= 0) FGrid->SetCurrent(shown, column);
}

void TBLOBTableDataForm::EditRecord() {
    const int row = FGrid->CurrentRow();
    if (FReadOnly || !FModel || row < 0 || row >= FModel->rowCount()) return;
    const qint64 id = FModel->RecordID(row);
    try {
        TRecord record = FTable->ReadRecord(id);
        TRecordDataForm editor(this);
        editor.SetData(record);
        if (Interaction().ExecModal(&editor) != IDOK) return;
        FTable->Update(id, record, editor.ChangedFields());
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
    ShowRow(id, row);
}

void TBLOBTableDataForm::InsertRecord() {
    if (FReadOnly || !FModel) return;
    TRecord record = FTable->EmptyRecord();
    TRecordDataForm editor(this);
    editor.SetData(record);
    if (Interaction().ExecModal(&editor) != IDOK) return;
    try {
        ShowRow(FTable->Insert(record), FGrid->CurrentRow());
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}

void TBLOBTableDataForm::DeleteRecord() {
    const int row = FGrid->CurrentRow();
    if (FReadOnly || !FModel || row < 0 || row >= FModel->rowCount()) return;
    if (LMessageBox(QStringLiteral("M_Pelvar_TblDatas_DeleteConfirm"),
                    QStringLiteral("ST_CONFIRMATION"), MB::YESNO | MB::ICONQUESTION) != IDYES)
        return;
    try {
        FTable->Delete(FModel->RecordID(row));
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
    ShowRow(0, row);
}

void TBLOBTableDataForm::TryAccept() {
    if (!FReadOnly && FTable && FTable->Modified() && FSave) {
        try {
            FSave(FTable->Save());
        } catch (const EPelvarError& e) {
            ShowError(e.Message());
            return;
        }
    }
    accept();
}

bool OpenBLOBTableEditor(const QString& title, const TDicTableDescription& description,
                         const QByteArray& bytes, bool readOnly,
                         const std::function<void(const QByteArray&)>& save, QWidget* parent) {
    TBLOBTableDataForm form(parent);
    try {
        if (!form.Open(title, description, bytes, readOnly)) return false;
    } catch (const EPelvarError& e) {
        Interaction().MessageBox(e.Message(),
                                 LString(QStringLiteral("M_Pelvar_TblDatas_ErrorCaption")),
                                 MB::OK | MB::ICONERROR);
        return false;
    }
    form.SetSaveHandler(save);
    return Interaction().ExecModal(&form) == IDOK && !readOnly && form.Table().Modified();
}
