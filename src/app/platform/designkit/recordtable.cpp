#include "recordtable.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"

TRecordTable::TRecordTable(const QList<TColumn>& columns, QWidget* parent)
    : QWidget(parent), FColumns(columns) {
    FTable = new QTableWidget(0, int(columns.size()), this);
    QStringList captions;
    for (const TColumn& c : columns)
        captions << c.Caption;
    FTable->setHorizontalHeaderLabels(captions);
    for (int i = 0; i < columns.size(); ++i)
        FTable->setColumnWidth(i, columns[i].Width);
    FTable->horizontalHeader()->setStretchLastSection(true);
    FTable->verticalHeader()->setDefaultSectionSize(FTable->fontMetrics().height() + 10);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->setSelectionMode(QAbstractItemView::SingleSelection);
    auto button = [this](const char* id) {
        auto* b = new QPushButton(LString(QLatin1String(id)), this);
        b->setAutoDefault(false);
        return b;
    };
    FAdd = button("C_Pelvar_RecordTable_AddButton_L");
    FDelete = button("C_Pelvar_RecordTable_DeleteButton_L");
    FUp = button("C_Pelvar_RecordTable_UpButton_L");
    FDown = button("C_Pelvar_RecordTable_DownButton_L");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {FAdd, FDelete, FUp, FDown})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FTable, 1);
    layout->addLayout(buttons);

    connect(FAdd, &QPushButton::clicked, this, &TRecordTable::AddRow);
    connect(FDelete, &QPushButton::clicked, this, [this] {
        const int row = CurrentRow();
        if (row < 0) return;
        FTable->removeRow(row);
        emit Changed();
        emit CurrentRowChanged(CurrentRow());
    });
    connect(FUp, &QPushButton::clicked, this, [this] { MoveRow(-1); });
    connect(FDown, &QPushButton::clicked, this, [this] { MoveRow(1); });
    connect(FTable, &QTableWidget::itemChanged, this, [this] {
        if (!FFilling) emit Changed();
    });
    connect(FTable, &QTableWidget::currentCellChanged, this,
            [this](int row) { emit CurrentRowChanged(row); });
}

void TRecordTable::SetRow(int row, const QStringList& values) {
    for (int c = 0; c < FColumns.size(); ++c) {
        const QString value = values.value(c);
        const TColumn& column = FColumns[c];
        if (column.Kind == TColumn::Choice) {
            auto* combo = new QComboBox(FTable);
            combo->addItems(column.Choices);
            if (!column.Choices.contains(value)) combo->addItem(value);  // shown as it came
            combo->setCurrentText(value);
            connect(combo, &QComboBox::currentTextChanged, this, [this] { emit Changed(); });
            FTable->setCellWidget(row, c, combo);
            continue;
        }
        auto* item = new QTableWidgetItem;
        if (column.Kind == TColumn::Check) {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(value == QLatin1String("1") ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setText(value);
        }
        FTable->setItem(row, c, item);
    }
}

void TRecordTable::SetRows(const QList<QStringList>& rows) {
    FFilling = true;
    FTable->setRowCount(0);
    FTable->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        SetRow(r, rows[r]);
    FFilling = false;
    if (!rows.isEmpty()) FTable->setCurrentCell(0, 0);
}

QList<QStringList> TRecordTable::Rows() const {
    QList<QStringList> rows;
    for (int r = 0; r < FTable->rowCount(); ++r) {
        QStringList values;
        for (int c = 0; c < FColumns.size(); ++c) {
            if (auto* combo = qobject_cast<QComboBox*>(FTable->cellWidget(r, c))) {
                values << combo->currentText();
                continue;
            }
            const QTableWidgetItem* item = FTable->item(r, c);
            if (FColumns[c].Kind == TColumn::Check)
                values << QString(item && item->checkState() == Qt::Checked ? QLatin1Char('1')
                                                                            : QLatin1Char('0'));
            else
                values << (item ? item->text() : QString());
        }
        rows << values;
    }
    return rows;
}

int TRecordTable::CurrentRow() const {
    return FTable->currentRow();
}

void TRecordTable::SetCurrentRow(int row) {
    FTable->setCurrentCell(row, 0);
}

void TRecordTable::AddRow() {
    const QList<QStringList> rows = Rows();
    QStringList values;
    for (int c = 0; c < FColumns.size(); ++c)
        values << (FNewRow.contains(c)                   ? FNewRow.value(c)
                   : FColumns[c].Kind == TColumn::Choice ? FColumns[c].Choices.value(0)
                   : FColumns[c].Kind == TColumn::Check  ? QStringLiteral("0")
                                                         : QString());
    // The naming column: numbered past every name in use.
    for (int n = int(rows.size()) + 1; FNameColumn >= 0; ++n) {
        const QString stem = FColumns[FNameColumn].Caption.simplified().remove(QLatin1Char(' '));
        values[FNameColumn] = stem + QString::number(n);
        bool used = false;
        for (const QStringList& r : rows)
            used =
                used || r.value(FNameColumn).compare(values[FNameColumn], Qt::CaseInsensitive) == 0;
        if (!used) break;
    }
    const int row = FTable->rowCount();
    FFilling = true;
    FTable->insertRow(row);
    SetRow(row, values);
    FFilling = false;
    FTable->setCurrentCell(row, 0);
    emit Changed();
}

void TRecordTable::SetChoices(int column, const QStringList& choices) {
    FColumns[column].Kind = TColumn::Choice;
    FColumns[column].Choices = choices;
}

void TRecordTable::MoveRow(int by) {
    const int row = CurrentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= FTable->rowCount()) return;
    QList<QStringList> rows = Rows();
    rows.swapItemsAt(row, to);
    SetRows(rows);
    FTable->setCurrentCell(to, 0);
    emit Changed();
}
