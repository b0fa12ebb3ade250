#include "datawindow.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "basekit/registry.h"
#include "gridkit/datagrid.h"
#include "gridkit/tablemodel.h"
#include "gridkit/tablescroller.h"
#include "gridkit/tablevalues.h"
#include "tabledatarules.h"

TDataWindow::TDataWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FToolBar = new QToolBar(this);
    FToolBar->setObjectName(QStringLiteral("ToolBar1"));
    layout->addWidget(FToolBar);
    FSplitter = new QSplitter(Qt::Vertical, this);
    layout->addWidget(FSplitter);
    FGrid = new TDataGrid(FSplitter);
    FGrid->setObjectName(QStringLiteral("Grid"));
    FGrid->View()->setContextMenuPolicy(Qt::ActionsContextMenu);
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

    const auto button = [this](const char* name, const char* caption) {
        auto* a = new QAction(LString(QLatin1String(caption)), this);
        a->setObjectName(QLatin1String(name));
        FToolBar->addAction(a);
        return a;
    };
    FInsertButton = button("InsertButton", "M_Pelvar_TblDatas_InsertCaption");
    FDeleteButton = button("DeleteButton", "M_Pelvar_TblDatas_DeleteCaption");
    FToolBar->addSeparator();
    FShowFieldDataButton = button("ShowFieldDataButton", "M_Pelvar_TblDatas_FieldDataCaption");
    FShowFieldDataButton->setCheckable(true);
    FShowFieldDataButton->setToolTip(
        LString(QStringLiteral("M_Pelvar_TblDatas_ShowFieldDataButtonHint")));
    connect(FShowFieldDataButton, &QAction::toggled, this, &TDataWindow::SetShowFieldData);
    SetShowFieldData(LoadRegistryParam(ShowFieldDataParam(), 0) != 0);
    resize(720, 480);
}

TDataWindow::~TDataWindow() {
    try {
        SaveRegistryParam(ShowFieldDataParam(), FShowFieldDataButton->isChecked() ? 1 : 0);
    } catch (const EPelvarError&) {
    }
    FGrid->SetModel(nullptr);
    delete FModel;
}

void TDataWindow::Attach(std::unique_ptr<TTableScroller> scroller, const QString& title,
                         bool readOnly) {
    FScroller = std::move(scroller);
    FScroller->Open();
    FModel = new TTableDataModel(*FScroller);
    FModel->SetReadOnly(readOnly);
    FReadOnly = readOnly;
    FGrid->SetModel(FModel);
    connect(FGrid, &TDataGrid::CurrentChanged, this, &TDataWindow::RefreshFieldData);
    connect(FModel, &QAbstractItemModel::dataChanged, this, &TDataWindow::RefreshFieldData);
    connect(FModel, &TTableDataModel::WriteFailed, this, &TDataWindow::ShowError);
    connect(FModel, &TTableDataModel::ReadFailed, this, &TDataWindow::ShowError);
    setWindowTitle(title);
    FGrid->setFocus();
    FInsertButton->setToolTip(LString(QStringLiteral("M_pelvar_BlbDatas_InsertButtonHint")));
    FDeleteButton->setToolTip(LString(QStringLiteral("M_pelvar_BlbDatas_DeleteButtonHint")));
    FShowFieldDataButton->setToolTip(
        LString(QStringLiteral("M_pelvar_BlbDatas_ShowFieldDataButtonHint")));
    if (readOnly) {
        FInsertButton->setEnabled(false);
        FDeleteButton->setEnabled(false);
        FGrid->View()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
}

void TDataWindow::CloseWindow() {
    close();
}

void TDataWindow::ShowError(const QString& message) {
    Interaction().MessageBox(message, LString(QStringLiteral("M_Pelvar_TblDatas_ErrorCaption")),
                             MB::OK | MB::ICONERROR);
}

void TDataWindow::SetCurrent(int row, int column) {
    if (!FModel || row < 0 || row >= FModel->rowCount()) return;
    FGrid->SetCurrent(row, column);
}

void TDataWindow::SetShowFieldData(bool on) {
    if (FShowFieldDataButton->isChecked() != on) FShowFieldDataButton->setChecked(on);
    FFieldDataPanel->setVisible(on);
    RefreshFieldData();
}

void TDataWindow::RefreshFieldData() {
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
