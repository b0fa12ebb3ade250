#include "tablestructureform.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "treedesignwidgets.h"

namespace {

enum FieldColumn { fcName, fcType, fcSize, fcPrecision, fcRequired, fcDefault, fcComment, fcCount };
enum IndexColumn { icName, icFields, icUnique, icPrimary, icCount };

QTableWidgetItem* TextItem(const QString& text, bool editable = true) {
    auto* item = new QTableWidgetItem(text);
    if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QTableWidgetItem* CheckItem(bool checked, bool editable = true) {
    auto* item = new QTableWidgetItem;
    item->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                            : Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

QString Cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text().trimmed() : QString();
}

bool Checked(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item && item->checkState() == Qt::Checked;
}

}  // namespace

TTableStructureForm::TTableStructureForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TTableStructureForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BaseCaption());
    auto* head = new QGridLayout;
    TableNameEdit = MakeReadOnlyEdit(this, "TableNameEdit");
    ParentNameEdit = MakeReadOnlyEdit(this, "ParentNameEdit");
    RemarkEdit = new QLineEdit(this);
    RemarkEdit->setObjectName(QStringLiteral("RemarkEdit"));
    connect(RemarkEdit, &QLineEdit::textEdited, this, [this] { SetModified(); });
    AddLabelledRow(head, this, "C_Pelvar_TableStructureForm_TableNameLabel_L", TableNameEdit);
    AddLabelledRow(head, this, "C_Pelvar_TableStructureForm_ParentNameLabel_L", ParentNameEdit);
    AddLabelledRow(head, this, "C_Pelvar_TableStructureForm_RemarkLabel_L", RemarkEdit);

    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->addTab(FieldsPage(),
                  LString(QStringLiteral("C_Pelvar_TableStructureForm_FieldsPage_L")));
    Pages->addTab(IndexesPage(),
                  LString(QStringLiteral("C_Pelvar_TableStructureForm_IndexesPage_L")));

    auto* buttons = SaveCloseRow(this, SaveButton, CloseButton, [this] { Save(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(Pages, 1);
    layout->addLayout(buttons);
    resize(860, 520);
}

QString TTableStructureForm::BaseCaption() {
    return LString(QStringLiteral("C_Pelvar_TableStructureForm_LFormModifier_L"));
}

QWidget* TTableStructureForm::FieldsPage() {
    auto* page = new QWidget;
    FieldsGrid = new QTableWidget(0, fcCount, page);
    FieldsGrid->setObjectName(QStringLiteral("FieldsGrid"));
    SetHeaders(FieldsGrid, {"C_Pelvar_TableStructureForm_NameColumn_L",
                            "C_Pelvar_TableStructureForm_TypeColumn_L",
                            "C_Pelvar_TableStructureForm_SizeColumn_L",
                            "C_Pelvar_TableStructureForm_PrecisionColumn_L",
                            "C_Pelvar_TableStructureForm_RequiredColumn_L",
                            "C_Pelvar_TableStructureForm_DefaultColumn_L",
                            "C_Pelvar_TableStructureForm_CommentColumn_L"});
    // Narrow number and check columns leave the comment the rest of the width.
    QHeaderView* header = FieldsGrid->horizontalHeader();
    for (int c : {fcSize, fcPrecision, fcRequired})
        header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(fcComment, QHeaderView::Stretch);
    FieldsGrid->setColumnWidth(fcName, 170);
    FieldsGrid->setColumnWidth(fcType, 130);
    FieldsGrid->setColumnWidth(fcDefault, 110);
    connect(FieldsGrid, &QTableWidget::itemChanged, this, [this] { SetModified(); });
    AddFieldButton = MakeButton(page, "AddFieldButton", "C_Pelvar_TableStructureForm_AddField_L");
    DeleteFieldButton =
        MakeButton(page, "DeleteFieldButton", "C_Pelvar_TableStructureForm_DeleteField_L");
    FieldUpButton = MakeButton(page, "FieldUpButton", "C_Pelvar_TableStructureForm_FieldUp_L");
    FieldDownButton =
        MakeButton(page, "FieldDownButton", "C_Pelvar_TableStructureForm_FieldDown_L");
    connect(AddFieldButton, &QPushButton::clicked, this, [this] { AddField(); });
    connect(DeleteFieldButton, &QPushButton::clicked, this, [this] { DeleteField(); });
    connect(FieldUpButton, &QPushButton::clicked, this, [this] { MoveField(-1); });
    connect(FieldDownButton, &QPushButton::clicked, this, [this] { MoveField(1); });
    return GridPage(page, FieldsGrid,
                    {AddFieldButton, DeleteFieldButton, FieldUpButton, FieldDownButton});
}

QWidget* TTableStructureForm::IndexesPage() {
    auto* page = new QWidget;
    IndexesGrid = new QTableWidget(0, icCount, page);
    IndexesGrid->setObjectName(QStringLiteral("IndexesGrid"));
    SetHeaders(IndexesGrid, {"C_Pelvar_TableStructureForm_IndexNameColumn_L",
                             "C_Pelvar_TableStructureForm_IndexFieldsColumn_L",
                             "C_Pelvar_TableStructureForm_UniqueColumn_L",
                             "C_Pelvar_TableStructureForm_PrimaryColumn_L"});
    IndexesGrid->horizontalHeader()->setSectionResizeMode(icFields, QHeaderView::Stretch);
    IndexesGrid->setColumnWidth(icName, 200);
    connect(IndexesGrid, &QTableWidget::itemChanged, this, [this] { SetModified(); });
    AddIndexButton = MakeButton(page, "AddIndexButton", "C_Pelvar_TableStructureForm_AddIndex_L");
    DeleteIndexButton =
        MakeButton(page, "DeleteIndexButton", "C_Pelvar_TableStructureForm_DeleteIndex_L");
    connect(AddIndexButton, &QPushButton::clicked, this, [this] { AddIndex(); });
    connect(DeleteIndexButton, &QPushButton::clicked, this, [this] { DeleteIndex(); });
    return GridPage(page, IndexesGrid, {AddIndexButton, DeleteIndexButton});
}

void TTableStructureForm::SetRemark(const QString& remark) {
    RemarkEdit->setText(remark);
}

void TTableStructureForm::Load() {
    FRules.Load(FAlias, FStructureName, FTableName, FParentName, FNewStructure);
    ShowStructure();
}

void TTableStructureForm::ShowStructure() {
    const QSignalBlocker fields(FieldsGrid), indexes(IndexesGrid);
    TableNameEdit->setText(FRules.TableName());
    ParentNameEdit->setText(FRules.ParentName());
    FieldsGrid->setRowCount(0);
    for (const auto& f : FRules.InheritedFields())
        AddFieldRow(f, true);
    for (const auto& f : FRules.Table().Fields)
        AddFieldRow(f, false);
    IndexesGrid->setRowCount(0);
    for (const auto& i : FRules.Table().Indexes)
        AddIndexRow(i);
    FModified = false;
}

void TTableStructureForm::AddFieldRow(const TDicFieldDescription& f, bool inherited) {
    const QSignalBlocker block(FieldsGrid);
    const int row = FieldsGrid->rowCount();
    FieldsGrid->insertRow(row);
    const bool edit = !inherited;
    FieldsGrid->setItem(row, fcName, TextItem(f.Name, edit));
    FieldsGrid->setItem(row, fcSize, TextItem(f.Size ? QString::number(f.Size) : QString(), edit));
    FieldsGrid->setItem(row, fcPrecision,
                        TextItem(f.Precision ? QString::number(f.Precision) : QString(), edit));
    FieldsGrid->setItem(row, fcRequired, CheckItem(f.Required, edit));
    FieldsGrid->setItem(row, fcDefault, TextItem(f.Default, edit));
    FieldsGrid->setItem(row, fcComment, TextItem(f.Comment, edit));
    if (inherited) {
        FieldsGrid->setItem(row, fcType, TextItem(DataTypeName(f.DataType), false));
        for (int c = 0; c < fcCount; ++c)
            FieldsGrid->item(row, c)->setForeground(
                palette().brush(QPalette::Disabled, QPalette::Text));
        return;
    }
    FieldsGrid->setItem(row, fcType, TextItem(QString(), false));
    auto* type = new QComboBox(FieldsGrid);
    type->addItems(TTableStructureRules::TypeNames());
    type->setCurrentIndex(f.DataType);
    connect(type, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
    FieldsGrid->setCellWidget(row, fcType, type);
}

void TTableStructureForm::AddIndexRow(const TDicIndexDescription& i) {
    const QSignalBlocker block(IndexesGrid);
    const int row = IndexesGrid->rowCount();
    IndexesGrid->insertRow(row);
    IndexesGrid->setItem(row, icName, TextItem(i.Name));
    IndexesGrid->setItem(row, icFields, TextItem(i.Fields.join(QStringLiteral("; "))));
    IndexesGrid->setItem(row, icUnique, CheckItem(i.Unique));
    IndexesGrid->setItem(row, icPrimary, CheckItem(i.Primary));
}

void TTableStructureForm::ReadGrids() {
    TDicTableDescription& t = FRules.Table();
    t.Fields.clear();
    t.Indexes.clear();
    for (int row = int(FRules.InheritedFields().size()); row < FieldsGrid->rowCount(); ++row) {
        TDicFieldDescription f;
        f.Name = Cell(FieldsGrid, row, fcName);
        const auto* type = qobject_cast<QComboBox*>(FieldsGrid->cellWidget(row, fcType));
        f.DataType = type ? type->currentIndex() : -1;
        f.Size = Cell(FieldsGrid, row, fcSize).toInt();
        f.Precision = Cell(FieldsGrid, row, fcPrecision).toInt();
        f.Required = Checked(FieldsGrid, row, fcRequired);
        f.Default = FieldsGrid->item(row, fcDefault)->text();
        f.Comment = FieldsGrid->item(row, fcComment)->text();
        t.Fields.append(f);
    }
    for (int row = 0; row < IndexesGrid->rowCount(); ++row) {
        QStringList fields;
        for (const QString& name : Cell(IndexesGrid, row, icFields).split(QLatin1Char(';')))
            if (!name.trimmed().isEmpty()) fields << name.trimmed();
        t.AddIndex(Cell(IndexesGrid, row, icName), fields, Checked(IndexesGrid, row, icUnique),
                   Checked(IndexesGrid, row, icPrimary));
    }
}

bool TTableStructureForm::Save() {
    ReadGrids();
    if (const QString fault = FRules.Check(); !fault.isEmpty()) {
        Interaction().MessageBox(fault, LString(QStringLiteral("ST_INCORRECTVALUE")),
                                 MB::OK | MB::ICONWARNING);
        return false;
    }
    FRules.Save(RemarkEdit->text());
    FModified = false;
    return true;
}

void TTableStructureForm::AddField() {
    TDicFieldDescription f;
    f.Name = QStringLiteral("FIELD%1").arg(FieldsGrid->rowCount() + 1);
    f.DataType = dtString;
    f.Size = 40;
    AddFieldRow(f, false);
    FieldsGrid->setCurrentCell(FieldsGrid->rowCount() - 1, fcName);
    SetModified();
}

void TTableStructureForm::DeleteField() {
    const int row = FieldsGrid->currentRow();
    if (row < int(FRules.InheritedFields().size())) return;  // not this structure's
    FieldsGrid->removeRow(row);
    SetModified();
}

void TTableStructureForm::MoveField(int delta) {
    const int row = FieldsGrid->currentRow(), first = int(FRules.InheritedFields().size());
    const int to = row + delta;
    if (row < first || to < first || to >= FieldsGrid->rowCount()) return;
    ReadGrids();
    FRules.Table().Fields.move(row - first, to - first);
    ShowStructure();
    FModified = true;
    FieldsGrid->setCurrentCell(to, fcName);
}

void TTableStructureForm::AddIndex() {
    AddIndexRow({FRules.TableName() + QStringLiteral("_IDX%1").arg(IndexesGrid->rowCount() + 1),
                 {},
                 false,
                 false});
    IndexesGrid->setCurrentCell(IndexesGrid->rowCount() - 1, icName);
    SetModified();
}

void TTableStructureForm::DeleteIndex() {
    if (IndexesGrid->currentRow() < 0) return;
    IndexesGrid->removeRow(IndexesGrid->currentRow());
    SetModified();
}

void TTableStructureForm::closeEvent(QCloseEvent* event) {
    if (!ConfirmClose(FModified, [this] { return Save(); })) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
