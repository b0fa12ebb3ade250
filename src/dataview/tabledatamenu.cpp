// The table data window's popup menu and its commands on a BLOB field: the
// table kept in the field and the DSP tree held in it.
#include <QAction>
#include <QMenu>
#include <QTableView>

#include "appcore/dsptree.h"
#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "gridkit/blobtable.h"
#include "gridkit/blobtableform.h"
#include "gridkit/datagrid.h"
#include "gridkit/tablemodel.h"
#include "gridkit/tablescroller.h"
#include "tabledataform.h"

void TTableDataForm::CreateFieldActions() {
    // The captions come as one localised text, one per line, the separator included.
    const QStringList captions =
        LString(QStringLiteral("C_Pelvar_TableDataForm_PopupMenu_LCaptions"))
            .split(QLatin1Char('\n'));
    FPopupMenu = new QMenu(this);
    FPopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    int index = 0;
    const auto add = [&](const char* name, auto slot, QKeySequence key = QKeySequence()) {
        auto* a = FPopupMenu->addAction(index < captions.size() ? captions[index] : QString());
        ++index;
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        FGrid->View()->addAction(a);
        return a;
    };
    FBLOBTableMenuItem = add("BLOBTableMenuItem", &TTableDataForm::OpenBLOBTable,
                             QKeySequence(Qt::ALT | Qt::Key_Return));
    FCreateBLOBTableMenuItem = add("CreateBLOBTableMenuItem", &TTableDataForm::CreateBLOBTable,
                                   QKeySequence(Qt::CTRL | Qt::Key_C));
    FPopupMenu->addSeparator();
    ++index;
    FDSPTreeMenuItem = add("DSPTreeMenuItem", &TTableDataForm::EditDSPTree);
    FCreateDSPTreeMenuItem = add("CreateDSPTreeMenuItem", &TTableDataForm::CreateDSPTree);
    FBlobToFileMenuItem = add("BlobToFileMenuItem", &TTableDataForm::BlobToFile);
    FFileToBlobMenuItem = add("FileToBlobMenuItem", &TTableDataForm::FileToBlob);
    FLongStringEditMenuItem = add("LongStringEditMenuItem", &TTableDataForm::LongStringEdit);

    FGrid->View()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FGrid->View(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateFieldActions(true);
        FPopupMenu->popup(FGrid->View()->viewport()->mapToGlobal(at));
    });
}

int TTableDataForm::CurrentFieldOf(std::initializer_list<int> types) const {
    const QModelIndex current = FGrid->CurrentIndex();
    if (!FScroller || !current.isValid()) return -1;
    const int type = FScroller->Fields()[current.column()].DataType;
    for (const int t : types)
        if (t == type) return current.column();
    return -1;
}

QString TTableDataForm::CurrentFieldName() const {
    const QModelIndex current = FGrid->CurrentIndex();
    return FScroller && current.isValid() ? FScroller->Fields()[current.column()].Name : QString();
}

void TTableDataForm::UpdateFieldActions(bool checkStructure) {
    const QModelIndex current = FGrid->CurrentIndex();
    const int type =
        FScroller && current.isValid() ? FScroller->Fields()[current.column()].DataType : -1;
    const bool rows = FModel && FModel->rowCount() > 0 && current.isValid();
    // Between popups the shortcut stays live and the command checks for itself.
    bool structure = !checkStructure;
    if (checkStructure && rows && IsBlobDataType(type)) {
        TDicTableDescription unused;
        try {
            structure = ReadTableStructure(
                FDatabaseName, BlobStructureName(FScroller->TableName(), CurrentFieldName()),
                unused);
        } catch (const EPelvarError&) {
            structure = false;
        }
    }
    const TPopupItems items = PopupItemsOf(rows, type, structure, FReadOnly);
    FBLOBTableMenuItem->setEnabled(items.BLOBTable);
    FCreateBLOBTableMenuItem->setEnabled(items.CreateBLOBTable);
    FDSPTreeMenuItem->setEnabled(items.DSPTree);
    FCreateDSPTreeMenuItem->setEnabled(items.CreateDSPTree);
    FBlobToFileMenuItem->setEnabled(items.BlobToFile);
    FFileToBlobMenuItem->setEnabled(items.FileToBlob);
    FLongStringEditMenuItem->setEnabled(items.LongStringEdit);
}

bool TTableDataForm::ConfirmReplace(const QModelIndex& current) {
    const TQXVariant old = FModel->FullValue(current);
    if (old.IsNull() || old.AsBinary().isEmpty()) return true;
    return LMessageBox(QStringLiteral("M_Pelvar_TblDatas_ReplaceFieldConfirm"),
                       QStringLiteral("ST_CONFIRMATION"),
                       MB::YESNO | MB::ICONQUESTION | MB::DEFBUTTON2) == IDYES;
}

void TTableDataForm::OpenBLOBTable() {
    const int field = CurrentFieldOf({dtBlob, dtGraphic});
    if (field < 0) return;
    const QModelIndex current = FGrid->CurrentIndex();
    const QString name = BlobStructureName(FScroller->TableName(), CurrentFieldName());
    try {
        TDicTableDescription description;
        if (!ReadTableStructure(FDatabaseName, name, description)) {
            ShowError(LString(QStringLiteral("M_Pelvar_TblDatas_NoBLOBStructure")).arg(name));
            return;
        }
        const QByteArray bytes = FModel->FullValue(current).AsBinary();
        OpenBLOBTableEditor(
            name, description, bytes, FReadOnly,
            [&](const QByteArray& changed) { FModel->WriteValue(current, TQXVariant(changed)); },
            this);
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}

void TTableDataForm::CreateBLOBTable() {
    const int field = CurrentFieldOf({dtBlob, dtGraphic});
    if (FReadOnly || field < 0) return;
    const QModelIndex current = FGrid->CurrentIndex();
    const QString name = BlobStructureName(FScroller->TableName(), CurrentFieldName());
    try {
        TDicTableDescription description;
        if (!ReadTableStructure(FDatabaseName, name, description)) {
            ShowError(LString(QStringLiteral("M_Pelvar_TblDatas_NoBLOBStructure")).arg(name));
            return;
        }
        if (!ConfirmReplace(current)) return;
        FModel->WriteValue(current, TQXVariant(TBlobTable(description).CreateTable()));
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
        return;
    }
    LMessageBox(QStringLiteral("M_Pelvar_TblDatas_CreateBLOBTableSuccess"),
                QStringLiteral("ST_INFORMATION"), MB::OK | MB::ICONINFORMATION);
}

void TTableDataForm::EditDSPTree() {
    if (CurrentFieldOf({dtBlob}) < 0) return;
    const QModelIndex current = FGrid->CurrentIndex();
    try {
        const QByteArray old = FModel->FullValue(current).AsBinary();
        QByteArray bytes = old;
        const QString title = windowTitle() + QStringLiteral(" - ") + CurrentFieldName();
        if (!EditDSPTreeBytes(bytes, title, FReadOnly, this) || FReadOnly || bytes == old) return;
        FModel->WriteValue(current, TQXVariant(bytes));
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}

void TTableDataForm::CreateDSPTree() {
    if (FReadOnly || CurrentFieldOf({dtBlob}) < 0) return;
    const QModelIndex current = FGrid->CurrentIndex();
    try {
        if (!ConfirmReplace(current)) return;
        FModel->WriteValue(current, TQXVariant(TDSPNode().ToBytes()));
    } catch (const EPelvarError& e) {
        ShowError(e.Message());
    }
}
