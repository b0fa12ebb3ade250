#include "recorddataform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "tablevalues.h"

namespace {

QString NullText() {
    return LString(QStringLiteral("M_Pelvar_Grid_NullText"));
}

}  // namespace

TQXVariant RecordCellValue(const QString& text, int dataType, bool* ok) {
    if (text == NullText() || (text.trimmed().isEmpty() && !IsTextDataType(dataType))) {
        *ok = true;
        return {};
    }
    return TableTextToValue(text, dataType, ok);
}

TRecordDataForm::TRecordDataForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TRecordDataForm"));
    setWindowTitle(LString(QStringLiteral("C_pelvar_RecordDataForm_LFormModifier1_L")));
    resize(420, 360);
    auto* layout = new QVBoxLayout(this);
    FGrid = new QTableWidget(0, 2, this);
    FGrid->setObjectName(QStringLiteral("Grid"));
    FGrid->setHorizontalHeaderLabels({LString(QStringLiteral("M_pelvar_RecDatas_GridFieldTitle")),
                                      LString(QStringLiteral("M_pelvar_RecDatas_GridValueTitle"))});
    FGrid->horizontalHeader()->setStretchLastSection(true);
    FGrid->verticalHeader()->hide();
    FGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(FGrid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(LString(QStringLiteral("ST_OK")));
    buttons->button(QDialogButtonBox::Cancel)->setText(LString(QStringLiteral("ST_CANCEL")));
    connect(buttons, &QDialogButtonBox::accepted, this, &TRecordDataForm::TryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString TRecordDataForm::FieldText(const TField& field) const {
    return field.IsNull() ? NullText() : TableValueText(field.Value(), field.DataType());
}

void TRecordDataForm::SetData(TRecord& record) {
    FSavedRec = &record;
    FRecord = TRecord();
    for (int i = 0; i < record.GetFieldCount(); ++i) {
        const TField& f = record.GetFields(i);
        if (!IsSortableDataType(f.DataType())) continue;
        FRecord.AddField(f.Name(), f.DataType(), f.Size()).SetValue(f.Value());
    }
    FGrid->setRowCount(FRecord.GetFieldCount());
    for (int i = 0; i < FRecord.GetFieldCount(); ++i) {
        const TField& f = FRecord.GetFields(i);
        auto* name = new QTableWidgetItem(f.Name());
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        FGrid->setItem(i, 0, name);
        FGrid->setItem(i, 1, new QTableWidgetItem(FieldText(record.FieldByName(f.Name()))));
    }
    if (FRecord.GetFieldCount() > 0) FGrid->setCurrentCell(0, 1);
}

int TRecordDataForm::RowOf(const QString& field) const {
    const int i = FRecord.IndexOf(field);
    return i < 0 ? -1 : i + 1;
}

void TRecordDataForm::SetCellText(const QString& field, const QString& text) {
    const int row = RowOf(field);
    if (row > 0) FGrid->item(row - 1, 1)->setText(text);
}

void TRecordDataForm::TryAccept() {
    if (!FSavedRec) return;
    FGrid->setCurrentCell(FGrid->currentRow(), 0);  // commits an open cell editor
    // Every changed cell must convert before anything is written.
    for (int i = 0; i < FRecord.GetFieldCount(); ++i) {
        const TField& f = FRecord.GetFields(i);
        const QString text = FGrid->item(i, 1)->text();
        if (text == FieldText(f)) continue;
        bool ok = false;
        RecordCellValue(text, f.DataType(), &ok);
        if (!ok) {
            FGrid->setCurrentCell(i, 1);
            FGrid->selectRow(i);
            QApplication::beep();
            return;
        }
    }
    FChanged.clear();
    for (int i = 0; i < FRecord.GetFieldCount(); ++i) {
        const TField& f = FRecord.GetFields(i);
        const QString text = FGrid->item(i, 1)->text();
        TField& saved = FSavedRec->FieldByName(f.Name());
        if (text == FieldText(saved)) continue;  // an unchanged cell is never written back
        bool ok = false;
        saved.SetValue(RecordCellValue(text, f.DataType(), &ok));
        FChanged << f.Name();
    }
    accept();
}
