#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "appcore/dbmanager.h"
#include "appcore/platform.h"
#include "appcore/query.h"
#include "appcore/texts.h"
#include "basekit/strutils.h"
#include "gridkit/resultmodel.h"
#include "queryform.h"

// Running statements, the parameter grid, the history and transactions.

QString TQueryForm::QueryText() const {
    return FQueryEdit->text();
}

void TQueryForm::SetQueryText(const QString& text) {
    FQueryEdit->setText(text);
}

TQueryType TQueryForm::QueryType() const {
    return TQueryType(FQueryTypeBox->currentIndex());
}

void TQueryForm::SetQueryType(TQueryType type) {
    FQueryTypeBox->setCurrentIndex(int(type));
}

bool TQueryForm::Guard(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        BaseMng().ShowException(this, e);
        return false;
    }
}

void TQueryForm::FillParamGrid() {
    const int rows = qMax(1, FParams.GetFieldCount());
    FParamGrid->clearContents();
    FParamGrid->setRowCount(rows);
    QStringList typeNames;
    for (int code = 0; code < kDataTypeCount; ++code)
        typeNames << DataTypeName(code);
    for (int i = 0; i < FParams.GetFieldCount(); ++i) {
        const TField& f = FParams.GetFields(i);
        auto* name = new QTableWidgetItem(f.Name());
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        FParamGrid->setItem(i, 0, name);
        auto* type = new QComboBox;
        type->addItems(typeNames);
        type->setMaxVisibleItems(5);
        type->setCurrentIndex(f.DataType());
        FParamGrid->setCellWidget(i, 1, type);
        FParamGrid->setItem(i, 2, new QTableWidgetItem(ParameterValueText(f)));
    }
    if (FParams.GetFieldCount() == 0) FParamGrid->removeCellWidget(0, 1);
}

void TQueryForm::GridToRecord() {
    for (int i = 0; i < FParams.GetFieldCount() && i < FParamGrid->rowCount(); ++i) {
        const auto* type = qobject_cast<QComboBox*>(FParamGrid->cellWidget(i, 1));
        const int code =
            type ? DataTypeByName(type->currentText()) : FParams.GetFields(i).DataType();
        const QTableWidgetItem* value = FParamGrid->item(i, 2);
        ChangeParameterType(FParams, i, code < 0 ? 0 : code);
        FParams.GetFields(i).SetValue(ParameterValueFromText(FParams.GetFields(i).DataType(),
                                                             value ? value->text() : QString()));
    }
}

void TQueryForm::RefreshParams() {
    // What was typed in the grid stays with its name, converted or not.
    QHash<QString, QPair<int, QString>> typed;
    for (int i = 0; i < FParams.GetFieldCount() && i < FParamGrid->rowCount(); ++i) {
        const auto* type = qobject_cast<QComboBox*>(FParamGrid->cellWidget(i, 1));
        const QTableWidgetItem* value = FParamGrid->item(i, 2);
        typed.insert(FParams.GetFields(i).Name().toUpper(),
                     {type ? type->currentIndex() : 0, value ? value->text() : QString()});
    }
    SyncParameters(FParams, QueryText());
    FillParamGrid();
    for (int i = 0; i < FParams.GetFieldCount(); ++i) {
        const auto it = typed.constFind(FParams.GetFields(i).Name().toUpper());
        if (it == typed.constEnd()) continue;
        qobject_cast<QComboBox*>(FParamGrid->cellWidget(i, 1))->setCurrentIndex(it->first);
        FParamGrid->item(i, 2)->setText(it->second);
    }
}

void TQueryForm::AssignParams(TQuery& query) const {
    for (int i = 0; i < FParams.GetFieldCount(); ++i) {
        const TField& f = FParams.GetFields(i);
        TQueryParam* p = query.FindParam(f.Name());
        if (!p) continue;
        if (f.IsNull())
            p->SetNull(f.DataType());
        else
            p->SetValue(f.Value());
    }
}

void TQueryForm::Execute() {
    FModel->StopFetch();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Guard([this] {
        RefreshParams();
        GridToRecord();
        FResultLabel->clear();
        FModel->Clear();
        FColumnsSized = false;
        const QString sql = QueryText();
        FHistory.Add(sql, Action(QStringLiteral("PrecompileSQLAction"))->isChecked(), FParams);
        QElapsedTimer timer;
        if (DecideQueryType(QueryType(), sql) == qtSelect) {
            std::unique_ptr<TSelectQuery> query = BaseMng().GetSelectQuery(sql, FAlias);
            AssignParams(*query);
            timer.start();
            query->Open();
            FOpenMs = timer.elapsed();
            FBlobMemo->setPlainText(query->NativeSQL());
            FModel->Start(std::move(query));
        } else {
            std::unique_ptr<TExecQuery> query = BaseMng().GetExecQuery(sql, FAlias);
            AssignParams(*query);
            timer.start();
            const qint64 rows = query->Execute();
            FResultLabel->setText(
                SafeFormat(LString(QStringLiteral("M_pelvar_QueryFrm_OKExecQuery_Time")), rows,
                           timer.elapsed()));
            FBlobMemo->setPlainText(query->NativeSQL());
        }
    });
    QGuiApplication::restoreOverrideCursor();
    UpdateActions();
}

void TQueryForm::OnRowsArrived(qint64 rows) {
    FResultLabel->setText(SafeFormat(FRowsCountedText, rows));
    if (!FColumnsSized) SizeResultColumns();
}

void TQueryForm::OnFetchFinished() {
    const int rows = FModel->rowCount();
    FResultLabel->setText(FModel->Failed()
                              ? SafeFormat(FFetchFailedText, rows)
                              : SafeFormat(FSelectDoneText, rows, FOpenMs + FModel->FetchMs()));
    if (!FColumnsSized) SizeResultColumns();
    UpdateActions();
}

void TQueryForm::BringBack(const TQueryHistory::TEntry* entry) {
    if (entry) {
        SetQueryText(TQueryHistory::StatementOf(*entry));
        Action(QStringLiteral("PrecompileSQLAction"))
            ->setChecked(TQueryHistory::PrecompileOf(*entry));
        FParams = entry->Params;
        FParamsTimer->stop();
        FillParamGrid();
    }
    UpdateActions();
}

void TQueryForm::BringBackOlder() {
    BringBack(FHistory.GoOlder());
}

void TQueryForm::BringBackNewer() {
    BringBack(FHistory.GoNewer());
}

void TQueryForm::StartTransaction() {
    Guard([this] {
        TDatabaseManager& dbs = BaseMng().Databases();
        if (dbs.IsDatabaseValid(FAlias) && !dbs.GetDatabase(FAlias).InTransaction())
            BaseMng().StartTransaction(FAlias);
    });
    UpdateActions();
}

void TQueryForm::CommitTransaction() {
    Guard([this] {
        TDatabaseManager& dbs = BaseMng().Databases();
        if (dbs.IsDatabaseValid(FAlias) && dbs.GetDatabase(FAlias).InTransaction())
            BaseMng().Commit(FAlias);
    });
    UpdateActions();
}

void TQueryForm::RollbackTransaction() {
    Guard([this] {
        TDatabaseManager& dbs = BaseMng().Databases();
        if (dbs.IsDatabaseValid(FAlias) && dbs.GetDatabase(FAlias).InTransaction())
            BaseMng().Rollback(FAlias);
    });
    UpdateActions();
}

void TQueryForm::UpdateActions() {
    TDatabaseManager& dbs = BaseMng().Databases();
    const bool valid = dbs.IsDatabaseValid(FAlias);
    const bool inTransaction = valid && dbs.GetDatabase(FAlias).InTransaction();
    Action(QStringLiteral("StartTransactionAction"))->setEnabled(valid && !inTransaction);
    Action(QStringLiteral("CommitTransactionAction"))->setEnabled(inTransaction);
    Action(QStringLiteral("RollbackTransactionAction"))->setEnabled(inTransaction);
    Action(QStringLiteral("PrevQueryAction"))->setEnabled(FHistory.CanGoOlder());
    Action(QStringLiteral("NextQueryAction"))->setEnabled(FHistory.CanGoNewer());
    Action(QStringLiteral("CopyToBufferAction"))->setEnabled(FModel->rowCount() > 0);
    Action(QStringLiteral("ExportToCsvAction"))->setEnabled(FModel->rowCount() > 0);
    Action(QStringLiteral("SaveQueryDataAction"))->setEnabled(!QueryText().trimmed().isEmpty());
    UpdateResultActions();
}
