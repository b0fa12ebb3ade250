#include "tablecopyfilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "appcore/texts.h"
#include "basekit/strutils.h"

namespace {

TTableCopyPrompt gPrompt;

}  // namespace

TTableCopyPrompt SetTableCopyPrompt(TTableCopyPrompt prompt) {
    std::swap(gPrompt, prompt);
    return prompt;
}

bool ConfirmCopyTableByFilter(TTableCopyRequest& request) {
    return gPrompt && gPrompt(request);
}

QStringList FieldMapOf(const QStringList& targets, const QStringList& sources) {
    QStringList pairs;
    for (qsizetype i = 0; i < targets.size() && i < sources.size(); ++i)
        if (!sources[i].isEmpty()) pairs << targets[i] + QLatin1Char('=') + sources[i];
    return pairs;
}

TCopyTableByFilterForm::TCopyTableByFilterForm(TTableCopyRequest& request, QWidget* parent)
    : QDialog(parent), FRequest(request) {
    setObjectName(QStringLiteral("CopyTableByFilterForm"));
    setWindowTitle(
        SafeFormat(LString(QStringLiteral("M_pelvar_CopyByFilter_Caption")), request.Table));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        SafeFormat(LString(QStringLiteral("M_pelvar_CopyByFilter_From")), request.SourceAlias),
        this));
    FMap = new QTableWidget(int(request.TargetFields.size()), 2, this);
    FMap->setObjectName(QStringLiteral("FieldMap"));
    FMap->setHorizontalHeaderLabels({LString(QStringLiteral("M_pelvar_CopyByFilter_TargetField")),
                                     LString(QStringLiteral("M_pelvar_CopyByFilter_SourceField"))});
    FMap->horizontalHeader()->setStretchLastSection(true);
    FMap->verticalHeader()->hide();
    for (int row = 0; row < FMap->rowCount(); ++row) {
        const QString target = request.TargetFields[row];
        auto* name = new QTableWidgetItem(target);
        name->setFlags(Qt::ItemIsEnabled);
        FMap->setItem(row, 0, name);
        auto* source = new QComboBox(FMap);
        source->addItem(QString());  // the field stays out of the copy
        source->addItems(request.SourceFields);
        for (qsizetype i = 0; i < request.SourceFields.size(); ++i)
            if (SameText(request.SourceFields[i], target)) source->setCurrentIndex(int(i) + 1);
        FMap->setCellWidget(row, 1, source);
    }
    layout->addWidget(FMap);
    layout->addWidget(new QLabel(LString(QStringLiteral("M_pelvar_CopyByFilter_Filter")), this));
    FFilter = new QPlainTextEdit(request.Copy.Filter, this);
    FFilter->setObjectName(QStringLiteral("Filter"));
    layout->addWidget(FFilter);
    FDeleteExisting =
        new QCheckBox(LString(QStringLiteral("M_pelvar_CopyByFilter_DeleteExisting")), this);
    FDeleteExisting->setObjectName(QStringLiteral("DeleteExisting"));
    FDeleteExisting->setChecked(request.Copy.DeleteExisting);
    layout->addWidget(FDeleteExisting);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TCopyTableByFilterForm::accept() {
    QStringList sources;
    for (int row = 0; row < FMap->rowCount(); ++row)
        sources << static_cast<QComboBox*>(FMap->cellWidget(row, 1))->currentText();
    const QStringList pairs = FieldMapOf(FRequest.TargetFields, sources);
    // Nothing to copy into: the dialog stays until a field is mapped.
    if (pairs.isEmpty()) return;
    FRequest.Copy.FieldMap = pairs;
    FRequest.Copy.Filter = FFilter->toPlainText().trimmed();
    FRequest.Copy.DeleteExisting = FDeleteExisting->isChecked();
    QDialog::accept();
}
