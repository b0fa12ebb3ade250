#include "recreateform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/datatypes.h"
#include "basekit/interaction.h"
#include "basekit/strutils.h"
#include "treedesignwidgets.h"

TConfirmRecreateTableForm::TConfirmRecreateTableForm(TRecreateTableConfirmation& state,
                                                     QWidget* parent)
    : QDialog(parent), FState(state) {
    setObjectName(QStringLiteral("TConfirmRecreateTableForm"));
    setWindowTitle(LString(QStringLiteral("ST_CONFIRMATION")));
    MainLabel = new QLabel(SafeFormat(LString(QStringLiteral("M_Pelvar_RcrTblCf_MainLabel")),
                                      state.TableName(), state.Alias()),
                           this);
    MainLabel->setWordWrap(true);
    CopyDataCheckBox = new QCheckBox(LString(QStringLiteral("M_Pelvar_RcrTblCf_CopyData")), this);
    CopyDataCheckBox->setObjectName(QStringLiteral("CopyDataCheckBox"));
    CopyDataCheckBox->setChecked(state.CopyData);
    connect(CopyDataCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        FState.CopyData = on;
        ShowState();
    });
    MappingGrid = new QTableWidget(int(state.Rows().size()), 3, this);
    MappingGrid->setObjectName(QStringLiteral("MappingGrid"));
    SetHeaders(MappingGrid, {"M_Pelvar_RcrTblCf_NewFieldColumn", "M_Pelvar_RcrTblCf_TypeColumn",
                             "M_Pelvar_RcrTblCf_SourceColumn"});
    MappingGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    MappingGrid->setColumnWidth(0, 180);
    MappingGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QString none = LString(QStringLiteral("M_Pelvar_RcrTblCf_NoSource"));
    for (int row = 0; row < state.Rows().size(); ++row) {
        MappingGrid->setItem(row, 0, new QTableWidgetItem(state.Rows()[row].Name));
        MappingGrid->setItem(row, 1,
                             new QTableWidgetItem(DataTypeName(state.Rows()[row].DataType)));
        auto* source = new QComboBox(MappingGrid);
        for (const QString& s : state.Sources())
            source->addItem(s.isEmpty() ? none : s, s);
        connect(source, &QComboBox::activated, this,
                [this, row, source] { SetSource(row, source->currentData().toString()); });
        MappingGrid->setCellWidget(row, 2, source);
    }
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setWordWrap(true);
    OkButton = MakeButton(this, "OkButton", "ST_OK");
    OkButton->setDefault(true);
    CancelButton = MakeButton(this, "CancelButton", "ST_CANCEL");
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MainLabel);
    layout->addWidget(CopyDataCheckBox);
    layout->addWidget(MappingGrid, 1);
    layout->addWidget(SummaryLabel);
    layout->addLayout(buttons);
    resize(560, 420);
    ShowState();
}

void TConfirmRecreateTableForm::SetSource(int row, const QString& source) {
    FState.SetSource(row, source);
    ShowState();
}

void TConfirmRecreateTableForm::ShowState() {
    for (int row = 0; row < FState.Rows().size(); ++row)
        if (auto* c = qobject_cast<QComboBox*>(MappingGrid->cellWidget(row, 2))) {
            const QSignalBlocker block(c);
            c->setCurrentIndex(qMax(0, c->findData(FState.Rows()[row].Source)));
        }
    MappingGrid->setEnabled(FState.CopyData);
    QStringList lines;
    const auto line = [&](const char* id, const QStringList& names) {
        if (!names.isEmpty())
            lines << LString(QLatin1String(id)) + QStringLiteral(" ") +
                         names.join(QStringLiteral(", "));
    };
    if (FState.CopyData) {
        line("M_Pelvar_RcrTblCf_Renamed", FState.Renamed());
        line("M_Pelvar_RcrTblCf_Dropped", FState.Dropped());
        line("M_Pelvar_RcrTblCf_Added", FState.Added());
    } else {
        lines << LString(QStringLiteral("M_Pelvar_RcrTblCf_DataLost"));
    }
    SummaryLabel->setText(lines.join(QLatin1Char('\n')));
}

void InstallTreeDesignDialogs() {
    SetRecreateTablePrompt([](TRecreateTableConfirmation& state) {
        TConfirmRecreateTableForm form(state, QApplication::activeWindow());
        return Interaction().ExecModal(&form) == IDOK;
    });
}
